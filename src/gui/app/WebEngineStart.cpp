#include "app/WebEngineStart.h"

#include "ui/MessageBox.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <cstdio>
#include <unistd.h>

namespace
{

constexpr char FlagsVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";
constexpr char NoSandbox[] = "--no-sandbox";

bool sandboxAlreadyOff(const QByteArray& userFlags)
{
    return userFlags.split(' ').contains(QByteArray(NoSandbox)) ||
           qEnvironmentVariableIntValue("QTWEBENGINE_DISABLE_SANDBOX") != 0;
}

// Where the engine itself looks for its helper, in its own order; an explicit path is the only
// place it looks when set.
QStringList helperCandidates()
{
    const QString fromEnvironment = qEnvironmentVariable("QTWEBENGINEPROCESS_PATH");
    if (!fromEnvironment.isEmpty())
        return {fromEnvironment};
    const QString name = QStringLiteral("/QtWebEngineProcess");
    return {QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + name,
            QCoreApplication::applicationDirPath() + name};
}

} // namespace

QByteArray WebEngineStart::flagsForRoot(const QByteArray& userFlags)
{
    if (sandboxAlreadyOff(userFlags))
        return userFlags;
    const QByteArray trimmed = userFlags.trimmed();
    return trimmed.isEmpty() ? QByteArray(NoSandbox) : QByteArray(NoSandbox) + ' ' + trimmed;
}

void WebEngineStart::prepareEnvironment()
{
    if (geteuid() != 0)
        return;
    const QByteArray userFlags = qgetenv(FlagsVariable);
    const QByteArray flags = flagsForRoot(userFlags);
    if (flags == userFlags)
        return;
    qputenv(FlagsVariable, flags);
    std::fputs("tunvale: running as root, so the album page runs without the web engine's "
               "sandbox (--no-sandbox); start the program as an ordinary user to keep it.\n",
               stderr);
}

QString WebEngineStart::unavailableReason()
{
    for (const QString& candidate : helperCandidates())
        if (QFileInfo(candidate).isExecutable())
            return {};
    return QStringLiteral("the web engine's helper program QtWebEngineProcess is missing (looked "
                          "for %1).")
        .arg(helperCandidates().join(QLatin1String(", ")));
}

bool WebEngineStart::usableFor(const QString& what, QWidget* parent)
{
    const QString reason = unavailableReason();
    if (reason.isEmpty())
        return true;
    MessageBox::show(parent, QStringLiteral("Tunvale"),
                     QStringLiteral("%1 cannot be shown: %2").arg(what, reason),
                     QMessageBox::Warning);
    return false;
}
