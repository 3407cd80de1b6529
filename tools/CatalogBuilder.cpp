#include "CatalogBuilder.h"

#include "db/UnicodeCollation.h"

#include <QFile>
#include <sqlcipher/sqlite3.h>

namespace
{

bool run(sqlite3* connection, const QByteArray& sql, QString* error)
{
    char* message = nullptr;
    if (sqlite3_exec(connection, sql.constData(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    if (error)
        *error = QString::fromUtf8(message ? message : sqlite3_errmsg(connection));
    sqlite3_free(message);
    return false;
}

} // namespace

bool CatalogBuilder::create(const QString& path, const QByteArray& key, const QByteArray& sql,
                            QString* error)
{
    QFile::remove(path);
    sqlite3* connection = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &connection,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(sqlite3_errmsg(connection));
        sqlite3_close(connection);
        return false;
    }
    bool ok = true;
    if (!key.isEmpty() && sqlite3_key(connection, key.constData(), key.size()) != SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(sqlite3_errmsg(connection));
        ok = false;
    }
    // Name indexes must be built with the same collation the program compares with.
    ok = ok && UnicodeCollation::install(connection);
    ok = ok && run(connection, "BEGIN", error) && run(connection, sql, error) &&
         run(connection, "COMMIT", error);
    sqlite3_close(connection);
    if (!ok)
        QFile::remove(path);
    return ok;
}

QByteArray CatalogBuilder::readFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return QByteArray();
    }
    return file.readAll();
}
