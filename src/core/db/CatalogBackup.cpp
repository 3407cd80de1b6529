#include "db/CatalogBackup.h"

#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "db/BackupRotation.h"
#include "db/Database.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <algorithm>
#include <sqlcipher/sqlite3.h>

namespace
{

// How long a backup waits for another program's backup of the same catalogue to finish.
constexpr int LockWaitMs = 120000;
// A leftover of an interrupted copy beside a catalogue may belong to a copy still running in
// another program; one this old does not.
constexpr qint64 LeftoverAgeSeconds = 600;

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

const QRegularExpression& backupName()
{
    static const QRegularExpression name(
        QStringLiteral("^(\\d{4}-\\d{2}-\\d{2}_\\d{6})(?:-(\\d+))?\\.muf$"));
    return name;
}

QString lockPath(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral(".lock"));
}

// The nearest part of `path` that exists, to say why a folder cannot be made there.
QFileInfo nearestExisting(const QString& path)
{
    QFileInfo info(path);
    while (!info.exists() && !info.isRoot() && info.absolutePath() != info.absoluteFilePath())
        info = QFileInfo(info.absolutePath());
    return info;
}

bool prepareFolder(const QString& folder, QString* error)
{
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        *error =
            QStringLiteral("The backup folder '%1' is a file, not a folder.").arg(native(folder));
        return false;
    }
    if (QDir().mkpath(folder) && QFileInfo(folder).isWritable())
        return true;
    const QFileInfo blocker = nearestExisting(folder);
    if (blocker.exists() && !blocker.isDir())
        *error = QStringLiteral("The backup folder '%1' cannot be made: '%2' is a file.")
                     .arg(native(folder), native(blocker.absoluteFilePath()));
    else
        *error = QStringLiteral("The backup folder '%1' is not writable.").arg(native(folder));
    return false;
}

bool isMarkedReadOnly(const QFileInfo& file)
{
    return !(file.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)) ||
           !file.isWritable();
}

// The hidden files of copies that were interrupted (`pattern` matches them): `maxAgeSeconds` < 0
// takes every one, for a caller holding the folder's lock, so that no copy is running.
void removeLeftovers(const QString& folder, const QString& pattern, qint64 maxAgeSeconds)
{
    const QDir dir(folder);
    const QDateTime now = QDateTime::currentDateTime();
    const QFileInfoList files =
        dir.entryInfoList({pattern}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& file : files) {
        if (maxAgeSeconds < 0 || file.lastModified().secsTo(now) > maxAgeSeconds)
            QFile::remove(file.absoluteFilePath());
    }
}

int countAlbums(Database* database)
{
    sqlite3_stmt* statement = nullptr;
    int albums = -1;
    if (sqlite3_prepare_v2(database->handle(), "SELECT COUNT(*) FROM music WHERE deleted = 0", -1,
                           &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        albums = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    return albums;
}

// A backup's reason not to be restored, empty when it is sound.
QString backupProblem(Database* backup, const QString& path, const QString& connect)
{
    if (!backup->open(path, connect))
        return QStringLiteral("The backup '%1' cannot be read with this catalogue's password: %2")
            .arg(native(path), backup->lastError().description);
    QStringList problems;
    if (!backup->quickCheck(&problems))
        return backup->lastError().description;
    if (!problems.isEmpty())
        return QStringLiteral("The backup '%1' is damaged: %2").arg(native(path), problems.first());
    if (countAlbums(backup) < 0)
        return QStringLiteral("The backup '%1' is not a catalogue.").arg(native(path));
    return QString();
}

// A hot journal beside the catalogue belongs to the old file: once the backup is in its place
// the engine would play it back into the new one. A connection plays it back now, or, when the
// old file does not open, it goes.
void settleJournal(const QString& catalogPath, const QString& connect)
{
    const QString journal = catalogPath + QLatin1String("-journal");
    if (!QFileInfo::exists(journal))
        return;
    {
        Database old;
        old.open(catalogPath, connect);
    }
    if (QFileInfo::exists(journal))
        QFile::remove(journal);
}

} // namespace

CatalogBackup::CatalogBackup(const QString& rootFolder, int keep, bool enabled)
    : m_root(rootFolder), m_keep(std::max(1, keep)), m_enabled(enabled),
      m_clock([] { return QDateTime::currentDateTime(); })
{
}

CatalogBackup CatalogBackup::fromSettings(const AppSettings& settings)
{
    QString root = settings.read(SettingsTable::BackupFolder);
    if (root.isEmpty())
        root = AppPaths::dataDirectory() + QLatin1String("backups");
    return CatalogBackup(root, settings.read(SettingsTable::BackupKeep),
                         settings.read(SettingsTable::BackupEnabled) != 0);
}

// The path is hashed as the program reaches the file, so a link and its target share backups;
// the name keeps the folder recognisable.
QString CatalogBackup::folderFor(const QString& catalogPath) const
{
    const QFileInfo catalog(catalogPath);
    const QString canonical = catalog.canonicalFilePath();
    const QString path = canonical.isEmpty() ? catalog.absoluteFilePath() : canonical;
    const QByteArray hash =
        QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(12);
    return QDir(m_root).filePath(catalog.completeBaseName() + QLatin1Char('-') +
                                 QString::fromLatin1(hash));
}

QString CatalogBackup::reasonText(Reason reason)
{
    switch (reason) {
    case Reason::Daily:
        return QStringLiteral("the daily backup");
    case Reason::Import:
        return QStringLiteral("the backup before the import");
    case Reason::ListChange:
        return QStringLiteral("the backup before the change of the list");
    case Reason::PasswordChange:
        return QStringLiteral("the backup before the password change");
    case Reason::Restore:
        return QStringLiteral("the backup of the current catalogue before the restore");
    case Reason::Request:
        break;
    }
    return QStringLiteral("the backup");
}

bool CatalogBackup::take(Database* source, QString* written, QString* error,
                         const CatalogCopy::Progress& progress) const
{
    if (!source || !source->isOpen()) {
        *error = QStringLiteral("The catalog is not open.");
        return false;
    }
    const QString folder = folderFor(source->name());
    if (!prepareFolder(folder, error))
        return false;
    QLockFile lock(lockPath(folder));
    // Only a lock whose program has ended is stale: a large backup may take a while.
    lock.setStaleLockTime(0);
    if (!lock.tryLock(LockWaitMs)) {
        *error =
            lock.error() == QLockFile::LockFailedError
                ? QStringLiteral("Another backup of this catalogue is still running.")
                : QStringLiteral("The backup folder '%1' is not writable.").arg(native(folder));
        return false;
    }
    removeLeftovers(folder,
                    CatalogCopy::temporaryPrefix(QStringLiteral("*") + QLatin1String(FileSuffix)) +
                        QLatin1Char('*'),
                    -1);
    const QString target = newName(folder, m_clock());
    QString copyError;
    if (!CatalogCopy::write(source, target, source->connectString(), &copyError, progress)) {
        *error = QStringLiteral("The backup could not be written to '%1': %2")
                     .arg(native(folder), copyError);
        return false;
    }
    removeExpired(folder);
    if (written)
        *written = target;
    return true;
}

bool CatalogBackup::takeBefore(Database* source, Reason, QString* error,
                               const CatalogCopy::Progress& progress) const
{
    return !m_enabled || take(source, nullptr, error, progress);
}

bool CatalogBackup::isDailyDue(const QString& catalogPath) const
{
    const QVector<BackupEntry> backups = entries(folderFor(catalogPath));
    return backups.isEmpty() || backups.first().taken.date() < m_clock().date();
}

// The names of the folder's backups only, newest first; nothing is opened.
QVector<BackupEntry> CatalogBackup::entries(const QString& folder) const
{
    QVector<BackupEntry> found;
    const QFileInfoList files =
        QDir(folder).entryInfoList({QStringLiteral("*.muf")}, QDir::Files, QDir::Name);
    for (const QFileInfo& file : files) {
        const QRegularExpressionMatch match = backupName().match(file.fileName());
        if (!match.hasMatch())
            continue;
        BackupEntry entry;
        entry.path = file.absoluteFilePath();
        entry.taken = QDateTime::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd_HHmmss"));
        entry.size = file.size();
        if (entry.taken.isValid())
            found << entry;
    }
    // Same-second backups carry a number: "-2" is newer than none, "-10" newer than "-9".
    const auto order = [](const BackupEntry& entry) {
        const QRegularExpressionMatch match = backupName().match(QFileInfo(entry.path).fileName());
        return std::make_pair(entry.taken, match.captured(2).toInt());
    };
    std::sort(found.begin(), found.end(),
              [&](const BackupEntry& a, const BackupEntry& b) { return order(a) > order(b); });
    return found;
}

QString CatalogBackup::newName(const QString& folder, const QDateTime& taken) const
{
    const QString stem = taken.toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    const QDir dir(folder);
    QString name = stem + QLatin1String(FileSuffix);
    for (int number = 2; dir.exists(name); ++number)
        name = stem + QLatin1Char('-') + QString::number(number) + QLatin1String(FileSuffix);
    return dir.filePath(name);
}

void CatalogBackup::removeExpired(const QString& folder) const
{
    const QVector<BackupEntry> backups = entries(folder);
    QVector<QDateTime> taken;
    for (const BackupEntry& entry : backups)
        taken << entry.taken;
    for (int index : BackupRotation::expired(taken, m_keep, m_clock()))
        QFile::remove(backups[index].path);
}

QVector<BackupEntry> CatalogBackup::list(const QString& catalogPath, const QString& connect) const
{
    QVector<BackupEntry> backups = entries(folderFor(catalogPath));
    for (BackupEntry& entry : backups) {
        Database backup;
        if (backup.open(entry.path, connect))
            entry.albums = countAlbums(&backup);
    }
    return backups;
}

BackupEntry CatalogBackup::newestGood(const QString& catalogPath, const QString& connect) const
{
    for (BackupEntry entry : entries(folderFor(catalogPath))) {
        Database backup;
        if (!backupProblem(&backup, entry.path, connect).isEmpty())
            continue;
        entry.albums = countAlbums(&backup);
        return entry;
    }
    return BackupEntry();
}

bool CatalogBackup::canReplace(const QString& catalogPath, QString* error)
{
    const QFileInfo catalog(catalogPath);
    if ((catalog.exists() && isMarkedReadOnly(catalog)) ||
        !QFileInfo(catalog.absolutePath()).isWritable()) {
        *error = QStringLiteral("The catalogue '%1' is read-only: it cannot be replaced by a "
                                "backup.")
                     .arg(native(catalogPath));
        return false;
    }
    return true;
}

CatalogBackup::RestoreResult CatalogBackup::restore(const QString& catalogPath,
                                                    const QString& backupPath,
                                                    const QString& connect, bool force,
                                                    QString* previous, QString* error,
                                                    const CatalogCopy::Progress& progress) const
{
    if (!canReplace(catalogPath, error))
        return RestoreResult::Refused;
    // Held open from here on: the backup of the current state may rotate the chosen backup
    // out of the folder, and an open file stays readable until it is closed.
    Database backup;
    const QString problem = backupProblem(&backup, backupPath, connect);
    if (!problem.isEmpty()) {
        *error = problem;
        return RestoreResult::Refused;
    }
    QString kept;
    QString keepError = QStringLiteral("it does not open.");
    {
        Database current;
        if (current.open(catalogPath, connect))
            take(&current, &kept, &keepError, progress);
    }
    if (kept.isEmpty() && !force) {
        *error = QStringLiteral("The current catalogue could not be backed up, so nothing was "
                                "restored: %1")
                     .arg(keepError);
        return RestoreResult::CurrentNotBackedUp;
    }
    if (previous)
        *previous = kept;
    const QFileInfo catalog(catalogPath);
    removeLeftovers(catalog.absolutePath(),
                    CatalogCopy::temporaryPrefix(catalogPath) + QLatin1Char('*'),
                    LeftoverAgeSeconds);
    settleJournal(catalogPath, connect);
    // The copy is private to its owner; the catalogue keeps whatever access it had.
    const QFile::Permissions access =
        catalog.exists() ? catalog.permissions() : QFile::Permissions();
    if (!CatalogCopy::write(&backup, catalogPath, connect, error, progress))
        return RestoreResult::Refused;
    if (access)
        QFile::setPermissions(catalogPath, access);
    return RestoreResult::Restored;
}
