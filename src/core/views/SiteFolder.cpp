#include "views/SiteFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace
{

const char* const MarkerText = "A web site published by Tunvale. Publishing again replaces this "
                               "whole folder.\n";

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

SiteFolder::SiteFolder(const QString& target, const QString& catalogue)
    : m_target(QDir::cleanPath(QFileInfo(target).absoluteFilePath())), m_catalogue(catalogue)
{
}

SiteFolder::~SiteFolder() = default;

QString SiteFolder::workPath() const
{
    return m_work ? m_work->path() : QString();
}

bool SiteFolder::isPreviousSite() const
{
    const QFileInfo marker(QDir(m_target).filePath(QLatin1String(MarkerName)));
    return marker.isFile() && !marker.isSymLink();
}

// The catalogue inside the folder (a previous site, say) would go with it.
bool SiteFolder::holdsCatalogue() const
{
    if (m_catalogue.isEmpty())
        return false;
    const QString folder = QFileInfo(m_target).canonicalFilePath();
    const QString catalogue = QFileInfo(m_catalogue).canonicalFilePath();
    return !folder.isEmpty() && !catalogue.isEmpty() &&
           (catalogue == folder || catalogue.startsWith(folder + QLatin1Char('/')));
}

QString SiteFolder::refusal() const
{
    const QFileInfo target(m_target);
    const QString shown = nativePath(m_target);
    if (target.fileName().isEmpty())
        return QStringLiteral("'%1' cannot hold a web site: choose a folder inside it.").arg(shown);
    if (!target.dir().exists())
        return QStringLiteral("The folder '%1' does not exist.").arg(nativePath(target.path()));
    // A link would be replaced itself, not the folder it leads to.
    if (target.isSymLink() || (target.exists() && !target.isDir()))
        return QStringLiteral("'%1' is not a folder.").arg(shown);
    if (!target.exists())
        return QString();
    if (holdsCatalogue())
        return QStringLiteral("'%1' holds the open catalogue: choose another folder.").arg(shown);
    const bool empty =
        QDir(m_target)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
            .isEmpty();
    if (!empty && !isPreviousSite())
        return QStringLiteral("'%1' holds files that are not a web site published before: choose "
                              "an empty or a new folder.")
            .arg(shown);
    return QString();
}

bool SiteFolder::begin(QString* error)
{
    *error = refusal();
    if (!error->isEmpty())
        return false;
    // Beside the target, so that putting it in place is a rename on the same file system.
    const QFileInfo target(m_target);
    m_work = std::make_unique<QTemporaryDir>(
        target.dir().filePath(QLatin1Char('.') + target.fileName() + QLatin1String("-XXXXXX")));
    if (!m_work->isValid()) {
        *error = QStringLiteral("Cannot make a folder beside '%1': %2")
                     .arg(nativePath(m_target), m_work->errorString());
        m_work.reset();
        return false;
    }
    // A temporary folder is the owner's alone; the site is to be copied and served.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(m_work->path()).constData(), 0777 & ~mask);
    return true;
}

bool SiteFolder::commit(QString* error)
{
    if (!m_work) {
        *error = QStringLiteral("Nothing was written for '%1'.").arg(nativePath(m_target));
        return false;
    }
    QFile marker(QDir(workPath()).filePath(QLatin1String(MarkerName)));
    if (!marker.open(QIODevice::WriteOnly) || marker.write(MarkerText) < 0 || !marker.flush()) {
        *error = QStringLiteral("Cannot write '%1': %2")
                     .arg(nativePath(marker.fileName()), marker.errorString());
        return false;
    }
    marker.close();
    // The target may have changed since begin: it is checked again right before the swap.
    *error = refusal();
    return error->isEmpty() && swapIn(error);
}

// The old folder steps aside under a name of its own, the new one takes its name, and only
// then is the old one removed; a failed second step puts the old folder back.
bool SiteFolder::swapIn(QString* error)
{
    const QString work = workPath();
    const QString old = work + QLatin1String("-old");
    const bool replacing = QFileInfo::exists(m_target);
    if (replacing && !QDir().rename(m_target, old)) {
        *error = QStringLiteral("Cannot replace '%1'.").arg(nativePath(m_target));
        return false;
    }
    if (!QDir().rename(work, m_target)) {
        if (replacing)
            QDir().rename(old, m_target);
        *error =
            QStringLiteral("Cannot put the web site in place at '%1'.").arg(nativePath(m_target));
        return false;
    }
    m_work->setAutoRemove(false);
    m_work.reset();
    if (replacing)
        QDir(old).removeRecursively();
    return true;
}
