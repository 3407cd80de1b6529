#include "freedb/CdDrives.h"

#include "freedb/CdioLog.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cdio/cdio.h>

QStringList distinctDrives(const QStringList& names)
{
    // "/dev/cdrom" is usually a link to "/dev/sr0"; the drive is offered once, by its first name.
    QStringList drives;
    QSet<QString> seen;
    for (const QString& name : names) {
        const QString target = QFileInfo(name).canonicalFilePath();
        const QString key = target.isEmpty() ? name : target;
        if (name.isEmpty() || seen.contains(key))
            continue;
        seen.insert(key);
        drives.append(name);
    }
    return drives;
}

QStringList EnumerateCdDrives()
{
    CdioLog::install();
    char** devices = cdio_get_devices(DRIVER_DEVICE);
    if (!devices)
        return {};
    QStringList names;
    for (char** device = devices; *device; ++device)
        names.append(QFile::decodeName(*device));
    cdio_free_device_list(devices);
    return distinctDrives(names);
}
