#include "db/Database.h"

#include "db/LocaleCollation.h"
#include "db/SqlText.h"
#include "db/UnicodeCollation.h"

#include <QFileInfo>
#include <sqlcipher/sqlite3.h>

namespace
{

// Runs a query that yields one integer; false when it fails.
bool queryInteger(sqlite3* connection, const char* sql, qint64* result)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(connection, sql, -1, &statement, nullptr) != SQLITE_OK)
        return false;
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW)
        *result = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return rc == SQLITE_ROW || rc == SQLITE_DONE;
}

QString quotedIdentifier(const QString& name)
{
    QString text = name;
    return QLatin1Char('"') + text.replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

} // namespace

Database::Database() = default;

QByteArray Database::keyFromConnectString(const QString& connect)
{
    // The key is the last part and runs to the end: a collector's password may hold ';'.
    const QLatin1String marker(";PWD=");
    const int at = (QLatin1Char(';') + connect).indexOf(marker, 0, Qt::CaseInsensitive);
    return at < 0 ? QByteArray() : connect.mid(at + marker.size() - 1).toUtf8();
}

Database::~Database()
{
    close();
}

ColumnKind Database::kindOfDeclaredType(const char* declaredType)
{
    if (!declaredType)
        return ColumnKind::Untyped;
    const QByteArray type = QByteArray(declaredType).toUpper();
    if (type.contains("BOOL") || type == "BIT")
        return ColumnKind::Boolean;
    if (type.contains("DATE") || type.contains("TIME"))
        return ColumnKind::Date;
    if (type.contains("INT") || type == "LONG" || type == "COUNTER")
        return ColumnKind::Integer;
    if (type.contains("REAL") || type.contains("DOUB") || type.contains("FLOA") ||
        type.contains("NUMERIC") || type.contains("CURRENCY"))
        return ColumnKind::Real;
    if (type.contains("CHAR") || type.contains("TEXT") || type.contains("CLOB") ||
        type.contains("MEMO"))
        return ColumnKind::Text;
    return ColumnKind::Untyped;
}

void Database::setErrorFromConnection()
{
    if (!m_connection) {
        m_lastError = DbError{QStringLiteral("The database is not open."), SQLITE_MISUSE};
        return;
    }
    m_lastError = DbError{QString::fromUtf8(sqlite3_errmsg(m_connection)),
                          sqlite3_extended_errcode(m_connection)};
}

bool Database::open(const QString& path, const QString& connect)
{
    close();
    m_lastError = DbError();
    const QFileInfo file(path);
    if (!file.exists()) {
        m_lastError =
            DbError{QStringLiteral("Could not find file '%1'.").arg(path), SQLITE_CANTOPEN};
        return false;
    }
    if (file.isDir()) {
        m_lastError =
            DbError{QStringLiteral("'%1' is a folder, not a file.").arg(path), SQLITE_CANTOPEN};
        return false;
    }
    // A pipe or a device would block the first read for ever, or be written to as if it were a
    // catalogue: only regular files (or links to them) are opened.
    if (!file.isFile()) {
        m_lastError =
            DbError{QStringLiteral("'%1' is not a regular file.").arg(path), SQLITE_CANTOPEN};
        return false;
    }
    // A file marked read-only opens read-only, even for a user whose rights would let the
    // engine write to it anyway.
    const bool markedReadOnly =
        m_openReadOnly ||
        !(file.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
    sqlite3* connection = nullptr;
    const int rc =
        sqlite3_open_v2(path.toUtf8().constData(), &connection,
                        markedReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, nullptr);
    m_connection = connection;
    if (rc != SQLITE_OK) {
        setErrorFromConnection();
        close();
        return false;
    }
    // Another program (the desktop program, a script) may be writing: wait for it rather than
    // failing at once.
    m_busyTimeout = BusyTimeoutMs;
    sqlite3_busy_timeout(connection, m_busyTimeout);
    m_path = path;
    if (!unlock(keyFromConnectString(connect)) || !checkReadable()) {
        const DbError error = m_lastError;
        close();
        m_lastError = error;
        return false;
    }
    m_connect = connect;
    return true;
}

bool Database::unlock(const QByteArray& key)
{
    if (!key.isEmpty() && sqlite3_key(m_connection, key.constData(), key.size()) != SQLITE_OK) {
        setErrorFromConnection();
        return false;
    }
    if (!UnicodeCollation::install(m_connection) || !LocaleCollation::install(m_connection)) {
        setErrorFromConnection();
        return false;
    }
    return true;
}

// A wrong key, a file that is no database and a truncated file all show here, before anyone
// writes: reading the schema decrypts the first page, and the page count stored in the file
// must fit the bytes that are really there.
bool Database::checkReadable()
{
    qint64 tableCount = 0;
    if (!queryInteger(m_connection, "SELECT count(*) FROM sqlite_master", &tableCount)) {
        setErrorFromConnection();
        return false;
    }
    qint64 pageCount = 0;
    qint64 pageSize = 0;
    if (!queryInteger(m_connection, "PRAGMA page_count", &pageCount) ||
        !queryInteger(m_connection, "PRAGMA page_size", &pageSize)) {
        setErrorFromConnection();
        return false;
    }
    if (pageCount * pageSize > QFileInfo(m_path).size()) {
        m_lastError = DbError{QStringLiteral("database disk image is malformed"), SQLITE_CORRUPT};
        return false;
    }
    return true;
}

void Database::close()
{
    if (m_connection) {
        sqlite3_close_v2(m_connection);
        m_connection = nullptr;
    }
    // Overwritten before it is freed: the key should not linger in freed memory.
    m_connect.fill(QLatin1Char(' '));
    m_connect.clear();
    m_tables.clear();
}

bool Database::reopenReadOnly()
{
    const QString path = m_path;
    QString connect = m_connect;
    m_openReadOnly = true;
    const bool opened = open(path, connect);
    m_openReadOnly = false;
    connect.fill(QLatin1Char(' '));
    return opened;
}

void Database::interrupt()
{
    if (m_connection)
        sqlite3_interrupt(m_connection);
}

bool Database::isReadOnly() const
{
    return m_connection && sqlite3_db_readonly(m_connection, "main") == 1;
}

void Database::setBusyTimeout(int milliseconds)
{
    m_busyTimeout = milliseconds;
    if (m_connection)
        sqlite3_busy_timeout(m_connection, m_busyTimeout);
}

bool Database::isBusyError(const DbError& error)
{
    const int primary = error.code & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

bool Database::hasTable(const QString& table)
{
    if (!m_connection)
        return false;
    const QByteArray sql = "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = '" +
                           table.toUtf8().replace('\'', "''") + "'";
    qint64 count = 0;
    if (!queryInteger(m_connection, sql.constData(), &count)) {
        setErrorFromConnection();
        return false;
    }
    return count > 0;
}

bool Database::tableDefinition(int index, QString* tableName)
{
    if (!m_connection || index < 0) {
        setErrorFromConnection();
        return false;
    }
    sqlite3_stmt* statement = nullptr;
    const char* sql = "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                      "'sqlite\\_%' ESCAPE '\\' ORDER BY rowid LIMIT 1 OFFSET ?";
    if (sqlite3_prepare_v2(m_connection, sql, -1, &statement, nullptr) != SQLITE_OK) {
        setErrorFromConnection();
        return false;
    }
    sqlite3_bind_int(statement, 1, index);
    const int rc = sqlite3_step(statement);
    const bool found = rc == SQLITE_ROW;
    if (found && tableName)
        *tableName =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    if (!found) {
        if (rc == SQLITE_DONE)
            m_lastError =
                DbError{QStringLiteral("Item not found in this collection."), SQLITE_NOTFOUND};
        else
            setErrorFromConnection();
    }
    sqlite3_finalize(statement);
    return found;
}

bool Database::quickCheck(QStringList* problems)
{
    problems->clear();
    if (!m_connection) {
        setErrorFromConnection();
        return false;
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_connection, "PRAGMA quick_check", -1, &statement, nullptr) !=
        SQLITE_OK) {
        setErrorFromConnection();
        return false;
    }
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const QString line =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        if (line != QLatin1String("ok"))
            problems->append(line);
    }
    sqlite3_finalize(statement);
    // A file damaged badly enough stops the check itself; that is a finding, not a failure
    // to look.
    if (rc != SQLITE_DONE) {
        const int primary = sqlite3_errcode(m_connection) & 0xff;
        if (primary != SQLITE_CORRUPT && primary != SQLITE_NOTADB) {
            setErrorFromConnection();
            return false;
        }
        problems->append(QString::fromUtf8(sqlite3_errmsg(m_connection)));
    }
    return true;
}

bool Database::dataVersion(qint64* version)
{
    if (!m_connection)
        return false;
    // Asked on a timer from the window: while another program holds the file it answers
    // "busy" at once rather than waiting its turn like a write would.
    sqlite3_busy_timeout(m_connection, 0);
    const bool answered = queryInteger(m_connection, "PRAGMA data_version", version);
    sqlite3_busy_timeout(m_connection, m_busyTimeout);
    return answered;
}

bool Database::isSingleStatement(const QString& sql)
{
    if (!m_connection) {
        setErrorFromConnection();
        return false;
    }
    const QByteArray text = SqlText::withBooleanLiterals(sql.toUtf8());
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(m_connection, text.constData(), text.size(), &statement, &tail) !=
        SQLITE_OK) {
        setErrorFromConnection();
        sqlite3_finalize(statement);
        return false;
    }
    sqlite3_finalize(statement);
    const QByteArray rest = tail ? text.mid(int(tail - text.constData())).trimmed() : QByteArray();
    if (!statement || !rest.isEmpty()) {
        m_lastError = DbError{QStringLiteral("The SQL text is not one statement."), SQLITE_ERROR};
        return false;
    }
    return true;
}

void Database::aboutToChange()
{
    if (!m_beforeChange || m_inBeforeChange || !m_connection ||
        !sqlite3_get_autocommit(m_connection) || isReadOnly())
        return;
    m_inBeforeChange = true;
    m_beforeChange();
    m_inBeforeChange = false;
}

bool Database::execute(const QByteArray& sql)
{
    if (!m_connection) {
        setErrorFromConnection();
        return false;
    }
    char* message = nullptr;
    if (sqlite3_exec(m_connection, sql.constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        m_lastError = DbError{message ? QString::fromUtf8(message) : QString(),
                              sqlite3_extended_errcode(m_connection)};
        sqlite3_free(message);
        return false;
    }
    return true;
}

const TableInfo* Database::tableInfo(const QString& table)
{
    const QString key = table.toLower();
    const auto found = m_tables.constFind(key);
    if (found != m_tables.constEnd())
        return &found.value();
    if (!m_connection)
        return nullptr;

    TableInfo info;
    sqlite3_stmt* statement = nullptr;
    const QByteArray sql = "PRAGMA table_info(" + quotedIdentifier(table).toUtf8() + ")";
    if (sqlite3_prepare_v2(m_connection, sql.constData(), -1, &statement, nullptr) != SQLITE_OK) {
        setErrorFromConnection();
        return nullptr;
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const QString column =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)));
        const char* type = reinterpret_cast<const char*>(sqlite3_column_text(statement, 2));
        info.columns.append(column);
        info.kinds.insert(column.toLower(), kindOfDeclaredType(type));
        if (sqlite3_column_int(statement, 5) == 1)
            info.keyColumn = column;
    }
    sqlite3_finalize(statement);
    if (info.columns.isEmpty()) {
        m_lastError =
            DbError{QStringLiteral("The table '%1' does not exist.").arg(table), SQLITE_ERROR};
        return nullptr;
    }
    info.name = table;
    qint64 hasSequence = 0;
    const QByteArray sequenceSql =
        "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = "
        "'sqlite_sequence' AND EXISTS (SELECT 1 FROM sqlite_master WHERE name = '" +
        table.toUtf8().replace('\'', "''") + "' AND sql LIKE '%AUTOINCREMENT%')";
    info.autoIncrement =
        queryInteger(m_connection, sequenceSql.constData(), &hasSequence) && hasSequence > 0;
    return &m_tables.insert(key, info).value();
}

bool Database::nextKey(const TableInfo& table, qint64* key)
{
    qint64 highest = 0;
    const QByteArray maxSql = "SELECT max(" + quotedIdentifier(table.keyColumn).toUtf8() +
                              ") FROM " + quotedIdentifier(table.name).toUtf8();
    if (!queryInteger(m_connection, maxSql.constData(), &highest)) {
        setErrorFromConnection();
        return false;
    }
    if (table.autoIncrement) {
        // Keys of rows deleted since are never given out again.
        qint64 sequence = 0;
        const QByteArray sequenceSql = "SELECT seq FROM sqlite_sequence WHERE name = '" +
                                       table.name.toUtf8().replace('\'', "''") + "'";
        if (queryInteger(m_connection, sequenceSql.constData(), &sequence) && sequence > highest)
            highest = sequence;
    }
    *key = highest + 1;
    return true;
}
