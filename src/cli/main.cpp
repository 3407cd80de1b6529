// The command-line companion: the catalogue's work for scripts, without a window.
#include "app/AppSettings.h"
#include "app/UserFolders.h"
#include "cli/CliCommands.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    UserFolders::adoptAccountHomeIfUnset();
    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QLatin1String(AppSettings::Organisation));
    QCoreApplication::setApplicationName(QLatin1String(AppSettings::Application));
    AppSettings settings;
    CliCommands commands(settings);
    return commands.run(application.arguments());
}
