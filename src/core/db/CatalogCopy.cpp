#include "db/CatalogCopy.h"

#include "db/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlcipher/sqlite3.h>
#include <unistd.h>

namespace
{

// Pages per backup step: small enough for steady progress and to let writers in between,
// large enough that the step overhead does not show.
constexpr int PagesPerStep = 4096;
// Bytes per step of a copy of the file itself.
constexpr qint64 BytesPerStep = 4 * 1024 * 1024;
// How long a copy waits, in all, for other connections' locks before it gives up.
constexpr int BusyWaitLimitMs = 30000;
constexpr int BusyPauseMs = 20;

QString engineMessage(sqlite3* connection)
{
    return QString::fromUtf8(sqlite3_errmsg(connection));
}

bool syncPath(const QString& path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// Copies every page of `source` into `destination`, which is already keyed.
bool copyPages(sqlite3* source, sqlite3* destination, const CatalogCopy::Progress& progress,
               QString* error)
{
    sqlite3_backup* backup = sqlite3_backup_init(destination, "main", source, "main");
    if (!backup) {
        *error = engineMessage(destination);
        return false;
    }
    int rc = SQLITE_OK;
    int waitedMs = 0;
    bool cancelled = false;
    while (true) {
        rc = sqlite3_backup_step(backup, PagesPerStep);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            if (waitedMs >= BusyWaitLimitMs)
                break;
            sqlite3_sleep(BusyPauseMs);
            waitedMs += BusyPauseMs;
            continue;
        }
        if (rc != SQLITE_OK && rc != SQLITE_DONE)
            break;
        const int total = sqlite3_backup_pagecount(backup);
        if (progress && !progress(total - sqlite3_backup_remaining(backup), total)) {
            cancelled = true;
            break;
        }
        if (rc == SQLITE_DONE)
            break;
    }
    sqlite3_backup_finish(backup);
    if (cancelled) {
        *error = QStringLiteral("The copy was cancelled.");
        return false;
    }
    if (rc != SQLITE_DONE) {
        *error = QString::fromUtf8(sqlite3_errstr(rc));
        return false;
    }
    return true;
}

// The engine's journal mode of the connection's file ("delete", "wal", ...).
QByteArray journalMode(sqlite3* connection)
{
    sqlite3_stmt* statement = nullptr;
    QByteArray mode;
    if (sqlite3_prepare_v2(connection, "PRAGMA journal_mode", -1, &statement, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        mode = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    return mode.toLower();
}

// A copy under the source's own key is the file's bytes as they are: nothing to decrypt and
// encrypt again. Only for a connection outside a transaction on a file with a rollback journal,
// where a read transaction keeps every writer from changing the file while it is read.
bool canCopyBytes(Database* source, const QString& connect)
{
    return Database::keyFromConnectString(connect) ==
               Database::keyFromConnectString(source->connectString()) &&
           sqlite3_get_autocommit(source->handle()) && journalMode(source->handle()) != "wal";
}

bool writeAll(int fd, const char* data, qint64 length)
{
    while (length > 0) {
        const ssize_t written = ::write(fd, data, size_t(length));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        length -= written;
    }
    return true;
}

bool copyBlocks(sqlite3_file* file, sqlite3_int64 size, int out,
                const CatalogCopy::Progress& progress, QString* error)
{
    const qint64 blocks = std::max<qint64>(1, (size + BytesPerStep - 1) / BytesPerStep);
    QByteArray bytes(int(BytesPerStep), Qt::Uninitialized);
    for (qint64 block = 0; block * BytesPerStep < size; ++block) {
        const qint64 offset = block * BytesPerStep;
        const int length = int(std::min<qint64>(BytesPerStep, size - offset));
        if (file->pMethods->xRead(file, bytes.data(), length, offset) != SQLITE_OK) {
            *error = QStringLiteral("The catalogue's file cannot be read.");
            return false;
        }
        if (!writeAll(out, bytes.constData(), length)) {
            *error = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        if (progress && !progress(int(block + 1), int(blocks))) {
            *error = QStringLiteral("The copy was cancelled.");
            return false;
        }
    }
    return true;
}

// Reads through the connection's own open file, so the bytes are those of the file it holds,
// even when another has been renamed over its name meanwhile.
bool copyBytes(Database* source, const QString& to, const CatalogCopy::Progress& progress,
               QString* error)
{
    sqlite3_file* file = nullptr;
    sqlite3_int64 size = 0;
    if (sqlite3_file_control(source->handle(), "main", SQLITE_FCNTL_FILE_POINTER, &file) !=
            SQLITE_OK ||
        !file || !file->pMethods || file->pMethods->xFileSize(file, &size) != SQLITE_OK) {
        *error = QStringLiteral("The catalogue's file cannot be read.");
        return false;
    }
    const int out = ::open(QFile::encodeName(to).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (out < 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const bool copied = copyBlocks(file, size, out, progress, error);
    ::close(out);
    return copied;
}

bool writeByteCopy(Database* source, const QString& path, const CatalogCopy::Progress& progress,
                   QString* error)
{
    // The first read takes the shared lock, and the open transaction holds it to the end.
    if (!source->execute("BEGIN") || !source->execute("SELECT count(*) FROM sqlite_master")) {
        *error = source->lastError().description;
        source->execute("ROLLBACK");
        return false;
    }
    const bool copied = copyBytes(source, path, progress, error);
    source->execute("ROLLBACK");
    return copied;
}

bool checkCopy(const QString& path, const QString& connect, QString* error)
{
    Database copy;
    if (!copy.open(path, connect)) {
        *error = copy.lastError().description;
        return false;
    }
    QStringList problems;
    if (!copy.quickCheck(&problems)) {
        *error = copy.lastError().description;
        return false;
    }
    if (!problems.isEmpty()) {
        *error = QStringLiteral("The copy failed its check: %1").arg(problems.first());
        return false;
    }
    return true;
}

bool writeKeyedCopy(Database* source, const QString& path, const QString& connect,
                    const CatalogCopy::Progress& progress, QString* error)
{
    sqlite3* destination = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &destination,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        *error = engineMessage(destination);
        sqlite3_close_v2(destination);
        return false;
    }
    const QByteArray key = Database::keyFromConnectString(connect);
    bool ok = key.isEmpty() || sqlite3_key(destination, key.constData(), key.size()) == SQLITE_OK;
    if (!ok)
        *error = engineMessage(destination);
    ok = ok && copyPages(source->handle(), destination, progress, error);
    sqlite3_close_v2(destination);
    return ok;
}

} // namespace

QString CatalogCopy::temporaryPrefix(const QString& target)
{
    return QLatin1Char('.') + QFileInfo(target).fileName() + QLatin1String(".part-");
}

bool CatalogCopy::write(Database* source, const QString& target, const QString& connect,
                        QString* error, const Progress& progress)
{
    if (!source || !source->isOpen()) {
        *error = QStringLiteral("The catalog is not open.");
        return false;
    }
    const QFileInfo targetInfo(target);
    QTemporaryFile reserved(
        targetInfo.dir().filePath(temporaryPrefix(target) + QLatin1String("XXXXXX")));
    reserved.setAutoRemove(false);
    if (!reserved.open()) {
        *error =
            QStringLiteral("Could not write in the folder '%1': %2")
                .arg(QDir::toNativeSeparators(targetInfo.absolutePath()), reserved.errorString());
        return false;
    }
    const QString temporary = reserved.fileName();
    reserved.close();

    bool ok = (canCopyBytes(source, connect)
                   ? writeByteCopy(source, temporary, progress, error)
                   : writeKeyedCopy(source, temporary, connect, progress, error)) &&
              checkCopy(temporary, connect, error);
    if (ok && !syncPath(temporary, O_RDONLY)) {
        *error = QStringLiteral("Could not write the copy to disk.");
        ok = false;
    }
    if (ok && std::rename(QFile::encodeName(temporary).constData(),
                          QFile::encodeName(target).constData()) != 0) {
        *error = QStringLiteral("Could not rename the copy to '%1'.")
                     .arg(QDir::toNativeSeparators(target));
        ok = false;
    }
    if (!ok) {
        QFile::remove(temporary);
        QFile::remove(temporary + QLatin1String("-journal"));
        return false;
    }
    // The rename itself only lasts once the folder is on disk too.
    syncPath(targetInfo.absolutePath(), O_RDONLY | O_DIRECTORY);
    return true;
}
