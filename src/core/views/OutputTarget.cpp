#include "views/OutputTarget.h"

#include <QCoreApplication>
#include <QFile>
#include <sys/stat.h>

namespace
{

bool sameFile(const QString& first, const QString& second)
{
    struct stat a {
    };
    struct stat b {
    };
    return !second.isEmpty() && ::stat(QFile::encodeName(first).constData(), &a) == 0 &&
           ::stat(QFile::encodeName(second).constData(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

} // namespace

QString OutputTarget::refusal(const QString& path, const QString& catalogue)
{
    struct stat entry {
    };
    if (::lstat(QFile::encodeName(path).constData(), &entry) != 0)
        return QString(); // a new file
    if (!S_ISREG(entry.st_mode))
        return QStringLiteral("'%1' is not a regular file; it was left as it is.").arg(path);
    if (sameFile(path, catalogue))
        return QStringLiteral("'%1' is the open catalogue; it was left as it is.").arg(path);
    return QString();
}

QString OutputTarget::cannotWrite(const QString& path, const QFileDevice& file)
{
    // A write that stops short (a full disk, a size limit) leaves no error code behind, and a
    // failed flush of a file being saved leaves the code without its reason.
    const QString reason = file.errorString();
    const bool known = file.error() != QFileDevice::NoError &&
                       file.error() != QFileDevice::UnspecifiedError &&
                       reason != QCoreApplication::translate("QIODevice", "Unknown error");
    return QStringLiteral("cannot write '%1': %2")
        .arg(path,
             known ? reason : QStringLiteral("not all of it was written (is the disk full?)"));
}
