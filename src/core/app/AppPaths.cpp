#include "app/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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

QString AppPaths::pageDirectory()
{
    QString folder = pageDirectoryOverride();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    return withSeparator(folder);
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
