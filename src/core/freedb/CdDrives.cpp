#include "freedb/CdDrives.h"

#include "freedb/CdioLog.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cdio/cdio.h>

QStringList EnumerateCdDrives()
{
    CdioLog::install();
    QStringList drives;
    char** devices = cdio_get_devices(DRIVER_DEVICE);
    if (!devices)
        return drives;
    // "/dev/cdrom" is usually a link to "/dev/sr0"; offer the drive once, by its first name.
    QSet<QString> seen;
    for (char** device = devices; *device; ++device) {
        const QString name = QFile::decodeName(*device);
        const QString target = QFileInfo(name).canonicalFilePath();
        const QString key = target.isEmpty() ? name : target;
        if (name.isEmpty() || seen.contains(key))
            continue;
        seen.insert(key);
        drives.append(name);
    }
    cdio_free_device_list(devices);
    return drives;
}
