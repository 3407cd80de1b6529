// The command-line companion: the catalogue's work for scripts, without a window.
#include "app/AppSettings.h"
#include "app/ErrorReporter.h"
#include "cli/CliCommands.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QLatin1String(AppSettings::Organisation));
    QCoreApplication::setApplicationName(QLatin1String(AppSettings::Application));
    // Messages meant for a box become one line on standard error: the first line of the text
    // is the engine's own description.
    ErrorReporter::setHandler([](const Report& report) {
        std::fprintf(
            stderr, "tunvale-cli: %s\n",
            qPrintable(
                report.text.section(QLatin1Char('\r'), 0, 0).section(QLatin1Char('\n'), 0, 0)));
    });
    AppSettings settings;
    CliCommands commands(settings);
    return commands.run(application.arguments());
}
