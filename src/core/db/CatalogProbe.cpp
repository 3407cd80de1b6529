#include "db/CatalogProbe.h"

#include "db/Database.h"
#include "db/DatabaseEx.h"

#include <QFile>
#include <QFileInfo>
#include <bitset>
#include <sqlcipher/sqlite3.h>

namespace
{

constexpr qint64 SmallestPage = 512;
constexpr qint64 FirstBytes = 1024;
constexpr int DistinctValuesOfCipherText = 128;

// The engine's extended result of reading the schema with the key of `connect`.
int readSchema(const QString& path, const QString& connect, int flags)
{
    if (!QFileInfo(path).isFile())
        return SQLITE_CANTOPEN;
    sqlite3* connection = nullptr;
    int result = sqlite3_open_v2(QFile::encodeName(path).constData(), &connection, flags, nullptr);
    // Another program's commit holds the file for a moment: that is no sign of a wrong key.
    if (connection)
        sqlite3_busy_timeout(connection, Database::BusyTimeoutMs);
    const QByteArray key = Database::keyFromConnectString(connect);
    if (result == SQLITE_OK && !key.isEmpty())
        result = sqlite3_key(connection, key.constData(), key.size());
    if (result == SQLITE_OK && sqlite3_exec(connection, "SELECT count(*) FROM sqlite_master",
                                            nullptr, nullptr, nullptr) != SQLITE_OK)
        result = sqlite3_extended_errcode(connection);
    sqlite3_close_v2(connection);
    return result;
}

// A journal left by a write that was killed must be played back before anyone can read the
// file. The engine copies the old pages back as they are, whatever the key, so a read-write
// connection does that much and nothing else.
int readSchemaRecovering(const QString& path, const QString& connect)
{
    const int result = readSchema(path, connect, SQLITE_OPEN_READONLY);
    if (result == SQLITE_READONLY_ROLLBACK && QFileInfo(path).isWritable())
        return readSchema(path, connect, SQLITE_OPEN_READWRITE);
    return result;
}

} // namespace

bool CatalogProbe::opensWith(const QString& path, const QString& connect)
{
    return readSchemaRecovering(path, connect) == SQLITE_OK;
}

CatalogProbe::Kind CatalogProbe::kind(const QString& path)
{
    const int result = readSchemaRecovering(path, DatabaseEx::catalogConnectString());
    if (result == SQLITE_OK)
        return Kind::BuiltInKey;
    // Only the engine's "not a database" is a key that does not fit; a file it cannot read for
    // another reason is opened as always, and refused with that reason.
    return result == SQLITE_NOTADB && looksEncrypted(path) ? Kind::NeedsPassword : Kind::NotCatalog;
}

bool CatalogProbe::looksEncrypted(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() < FirstBytes || info.size() % SmallestPage != 0)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray start = file.read(FirstBytes);
    if (start.size() < FirstBytes || start.startsWith(QByteArray("SQLite format 3\0", 16)))
        return false;
    std::bitset<256> seen;
    for (const char byte : start)
        seen.set(static_cast<unsigned char>(byte));
    return int(seen.count()) >= DistinctValuesOfCipherText;
}
