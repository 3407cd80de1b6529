#include "app/AppPaths.h"

#include "app/UserFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <unistd.h>

namespace
{

QString& programDirectoryOverride()
{
    static QString folder;
    return folder;
}

QString& pageDirectoryOverride()
{
    static QString folder;
    return folder;
}

QString& dataDirectoryOverride()
{
    static QString folder;
    return folder;
}

QString withSeparator(const QString& folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

QString executableFolder()
{
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                        : QDir::currentPath();
}

} // namespace

QString AppPaths::programDirectory()
{
    if (!programDirectoryOverride().isEmpty())
        return withSeparator(programDirectoryOverride());
    const QString beside = executableFolder();
    if (QFileInfo::exists(beside + QLatin1String("/template.bin")))
        return withSeparator(beside);
    // Installed layout: <prefix>/bin/tunvale with assets in <prefix>/share/tunvale.
    const QString shared = QDir::cleanPath(beside + QLatin1String("/../share/tunvale"));
    if (QFileInfo::exists(shared + QLatin1String("/template.bin")))
        return withSeparator(shared);
    return withSeparator(beside);
}

namespace
{

// Two running instances (or an instance and a script) must never write each other's pages:
// each process keeps its pages in a folder named after it, removed when the application object
// goes away.
QString& instancePageFolder()
{
    static QString folder;
    return folder;
}

void removeInstancePageFolder()
{
    if (!instancePageFolder().isEmpty())
        QDir(instancePageFolder()).removeRecursively();
    instancePageFolder().clear();
}

bool processIsRunning(qint64 pid)
{
    return pid > 0 && pid <= INT_MAX && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

// A program that was killed or crashed left its folder behind, holding a plain copy of an
// album from the encrypted catalogue: the folders of processes that no longer run go.
void removeStalePageFolders(const QString& parent, const QString& prefix)
{
    const QFileInfoList folders = QDir(parent).entryInfoList(
        {prefix + QLatin1Char('*')}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo& folder : folders) {
        bool isNumber = false;
        const qint64 pid = folder.fileName().mid(prefix.size()).toLongLong(&isNumber);
        if (isNumber && pid > 0 && folder.ownerId() == ::getuid() && !processIsRunning(pid))
            QDir(folder.filePath()).removeRecursively();
    }
}

QString makeInstancePageFolder()
{
    const QString pid = QString::number(QCoreApplication::applicationPid());
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!cache.isEmpty())
        removeStalePageFolders(cache, QStringLiteral("pages-"));
    removeStalePageFolders(QDir::tempPath(), QStringLiteral("tunvale-pages-"));
    // The cache is where pages belong; a home without one (read-only, full, missing) still
    // leaves the temporary folder, so the album pane keeps working.
    QStringList candidates;
    if (!cache.isEmpty())
        candidates << cache + QLatin1String("/pages-") + pid;
    candidates << QDir::tempPath() + QLatin1String("/tunvale-pages-") + pid;
    const auto usable = std::find_if(candidates.cbegin(), candidates.cend(), [](const QString& f) {
        return UserFolders::writeError(f).isEmpty();
    });
    if (QCoreApplication::instance())
        qAddPostRoutine(removeInstancePageFolder);
    return usable != candidates.cend() ? *usable : candidates.first();
}

} // namespace

QString AppPaths::pageDirectory()
{
    if (!pageDirectoryOverride().isEmpty()) {
        QDir().mkpath(pageDirectoryOverride());
        return withSeparator(pageDirectoryOverride());
    }
    if (instancePageFolder().isEmpty())
        instancePageFolder() = makeInstancePageFolder();
    else
        QDir().mkpath(instancePageFolder());
    return withSeparator(instancePageFolder());
}

QString AppPaths::templatePath()
{
    return programDirectory() + QLatin1String("template.bin");
}

void AppPaths::setProgramDirectory(const QString& folder)
{
    programDirectoryOverride() = folder;
}

void AppPaths::setPageDirectory(const QString& folder)
{
    pageDirectoryOverride() = folder;
}

QString AppPaths::dataDirectory()
{
    QString folder = dataDirectoryOverride();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return withSeparator(folder);
}

void AppPaths::setDataDirectory(const QString& folder)
{
    dataDirectoryOverride() = folder;
}
