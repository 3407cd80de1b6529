#include "app/UserFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <pwd.h>
#include <unistd.h>

void UserFolders::adoptAccountHomeIfUnset()
{
    if (!qEnvironmentVariableIsEmpty("HOME"))
        return;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && *entry->pw_dir)
        qputenv("HOME", entry->pw_dir);
}

QString UserFolders::writeError(const QString& folder)
{
    if (folder.isEmpty())
        return QStringLiteral("no folder is known");
    if (!QDir().mkpath(folder))
        return QStringLiteral("the folder cannot be created");
    // Permissions alone do not tell: a read-only mount or a full disc refuses files too.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".write-test-XXXXXX")));
    if (!probe.open())
        return probe.errorString();
    return QString();
}

QStringList UserFolders::problems(const QString& settingsFile, const QString& pageFolder)
{
    QStringList found;
    const QFileInfo settings(settingsFile);
    QString settingsError = writeError(settings.absolutePath());
    if (settingsError.isEmpty() && settings.exists() && !settings.isWritable())
        settingsError = QStringLiteral("the file is read-only");
    if (!settingsError.isEmpty())
        found << QStringLiteral("Settings cannot be saved to %1 (%2). Changes to the window, "
                                "the columns and the options last until Tunvale closes.")
                     .arg(QDir::toNativeSeparators(settings.absoluteFilePath()), settingsError);
    if (const QString pageError = writeError(pageFolder); !pageError.isEmpty())
        found << QStringLiteral("Album pages cannot be written to %1 (%2), so the album pane "
                                "and printing stay empty.")
                     .arg(QDir::toNativeSeparators(pageFolder), pageError);
    return found;
}
