#include "db/CatalogTemplate.h"

#include "app/AppPaths.h"

#include <QFile>
#include <QFileInfo>

bool CatalogTemplate::copyTo(const QString& path, QString* error)
{
    const QString source = AppPaths::templatePath();
    auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!QFileInfo::exists(source))
        return fail(QStringLiteral("The empty catalogue '%1' is missing.").arg(source));
    // Copied beside the target first, so a failed copy leaves any old file as it was.
    const QString partial = path + QLatin1String(".part");
    QFile::remove(partial);
    if (!QFile::copy(source, partial)) {
        QFile::remove(partial);
        return fail(QStringLiteral("Cannot write '%1'.").arg(path));
    }
    QFile::setPermissions(partial, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                       QFile::ReadOther);
    if ((QFileInfo::exists(path) && !QFile::remove(path)) || !QFile::rename(partial, path)) {
        QFile::remove(partial);
        return fail(QStringLiteral("Cannot replace '%1'.").arg(path));
    }
    return true;
}
