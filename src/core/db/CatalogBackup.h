#pragma once

#include "db/CatalogCopy.h"

#include <QDateTime>
#include <QString>
#include <QVector>
#include <functional>

class AppSettings;
class Database;

// One backup of a catalogue in its backup folder.
struct BackupEntry {
    QString path;
    QDateTime taken; // local time, from the file name
    qint64 size = 0;
    // Not deleted albums, counted in the backup itself; -1 when it does not open with the
    // catalogue's key (damaged, garbage, another password).
    int albums = -1;

    bool isReadable() const { return albums >= 0; }
};

// Backups of catalogues: copies taken while the catalogue is open, encrypted with its key, in
// "<root>/<catalogue name>-<hash of its path>/YYYY-MM-DD_HHMMSS.muf". Each is written under a
// temporary name, checked and renamed (see CatalogCopy), so the folder never holds half a
// backup under a backup's name. After each new backup the folder keeps the newest `keep` and
// one a month for a year (see BackupRotation); older ones are removed.
class CatalogBackup
{
public:
    // Why a backup is taken: told in the message when it fails.
    enum class Reason { Daily, Import, ListChange, PasswordChange, Restore, Request };
    enum class RestoreResult { Restored, CurrentNotBackedUp, Refused };
    using Clock = std::function<QDateTime()>;

    static constexpr const char* FileSuffix = ".muf";

    CatalogBackup(const QString& rootFolder, int keep, bool enabled);
    // Backup/Folder (absent: "backups" in the per-user data folder), Backup/Keep (at least 1)
    // and Backup/Enabled.
    static CatalogBackup fromSettings(const AppSettings& settings);

    // Tests drive the rotation with times of their choosing.
    void setClock(Clock clock) { m_clock = std::move(clock); }
    bool isEnabled() const { return m_enabled; }
    QString folderFor(const QString& catalogPath) const;

    // A backup of the open catalogue now, whether backups are switched on or not; `written`
    // gets its path. `source` must be used by this thread alone while it runs. Two programs
    // backing up the same catalogue take turns; neither overwrites the other's backup.
    bool take(Database* source, QString* written, QString* error,
              const CatalogCopy::Progress& progress = {}) const;
    // The backup before a change that may lose data: nothing (and true) when backups are
    // switched off, otherwise take(). A failure is the caller's to tell; the change goes on.
    bool takeBefore(Database* source, Reason reason, QString* error,
                    const CatalogCopy::Progress& progress = {}) const;
    // True while no backup of the catalogue has been taken today.
    bool isDailyDue(const QString& catalogPath) const;

    // The backups of a catalogue, newest first, each opened with `connect` to count its albums.
    // Leftovers of backups that never finished are not listed.
    QVector<BackupEntry> list(const QString& catalogPath, const QString& connect) const;
    // The newest backup that opens with `connect` and passes the engine's check; an entry with
    // an empty path when there is none.
    BackupEntry newestGood(const QString& catalogPath, const QString& connect) const;

    // Whether a restore may replace the catalogue; false, with the reason, for a read-only one.
    static bool canReplace(const QString& catalogPath, QString* error);
    // Replaces the catalogue with a backup, atomically: a kill leaves either the old catalogue
    // or the whole backup in its place. The catalogue's current state is backed up first
    // (`previous` gets that backup's path); when that fails nothing is restored
    // (CurrentNotBackedUp), unless
    // `force` (a damaged catalogue cannot be backed up). Nothing of this program may hold
    // the catalogue open. Refused (false, the reason in `error`) for a read-only catalogue and
    // for a backup that does not open with `connect` or fails the engine's check (Refused).
    RestoreResult restore(const QString& catalogPath, const QString& backupPath,
                          const QString& connect, bool force, QString* previous, QString* error,
                          const CatalogCopy::Progress& progress = {}) const;

    // "the backup before the import" and the like, for messages.
    static QString reasonText(Reason reason);

private:
    QVector<BackupEntry> entries(const QString& folder) const;
    QString newName(const QString& folder, const QDateTime& taken) const;
    void removeExpired(const QString& folder) const;

    QString m_root;
    int m_keep = 10;
    bool m_enabled = true;
    Clock m_clock;
};
