#pragma once

#include "db/DbError.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

struct sqlite3;

// Declared kinds of column values, taken from the column's declared type in the schema.
enum class ColumnKind { Untyped, Integer, Real, Date, Boolean, Text };

// What the recordsets need to know of one table in order to add, change and delete its rows.
struct TableInfo {
    QString name;
    QString keyColumn; // the auto-numbered integer key
    bool autoIncrement = false;
    QStringList columns;              // declared order
    QHash<QString, ColumnKind> kinds; // by lower-case column name
};

// One open connection to a catalogue file (an encrypted SQLite database).
class Database
{
public:
    // How long a statement waits for another connection's lock before it fails with
    // "database is locked".
    static constexpr int BusyTimeoutMs = 5000;

    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing file for reading and writing (read-only when the file is), never
    // creating it. The connect string carries the key as ";PWD=<password>". Fails when the
    // key does not unlock the file; the file is left untouched then.
    bool open(const QString& path, const QString& connect);
    void close();
    // The same file opened again, read-only whatever its marks: nothing more is written to a
    // file found damaged. False, closed, when it no longer opens.
    bool reopenReadOnly();
    // Makes the statement running on this connection stop at once with SQLITE_INTERRUPT. The
    // one call that may come from another thread, as long as the connection stays open
    // meanwhile (the caller's lock sees to that).
    void interrupt();
    bool isOpen() const { return m_connection != nullptr; }
    // The file path, as given to open.
    QString name() const { return m_path; }
    // The connect string the file was opened with, for further connections to the same file
    // (workers, backups); empty once closed, so the key lives no longer than the connection.
    QString connectString() const { return m_connect; }
    bool isReadOnly() const;
    // How long statements wait for another connection's lock from now on (BusyTimeoutMs at
    // first).
    void setBusyTimeout(int milliseconds);
    int busyTimeout() const { return m_busyTimeout; }

    // Whether the file holds a table of that name now (asked afresh each time: another
    // connection may have added it).
    bool hasTable(const QString& table);
    // Name of table number `index` (0-based, in creation order); false past the last one (the
    // error's code is SQLITE_NOTFOUND then) or when the engine fails.
    bool tableDefinition(int index, QString* tableName);

    // A number that changes whenever another connection (this process's or another's) commits
    // to the file; this connection's own commits leave it alone. False, quietly, while the
    // file is busy: the caller asks again later.
    bool dataVersion(qint64* version);
    // Whether `sql` is exactly one statement the engine accepts (and, under a ReadOnlyScope,
    // one that only reads); it is prepared, not run. The engine's reason is the last error.
    bool isSingleStatement(const QString& sql);

    // The engine's quick consistency check of the whole file. True when it ran; `problems` then
    // holds what it found, empty for a sound file. Reads every page: seconds on a large file.
    bool quickCheck(QStringList* problems);
    // The key part of a connect string (";PWD=<password>", always the last part, so the
    // password may hold any character), empty when it names none.
    static QByteArray keyFromConnectString(const QString& connect);

    // Runs one statement that returns no rows.
    bool execute(const QByteArray& sql);

    // Called before this connection starts a change of its own (a transaction, or a single
    // write outside one), while nothing of the change is written yet: the moment to take a
    // copy of the catalogue as it stands. The hook may use other connections, never this one.
    void setBeforeChange(std::function<void()> hook) { m_beforeChange = std::move(hook); }
    // Runs the hook unless a transaction is already open or the hook is running.
    void aboutToChange();

    const TableInfo* tableInfo(const QString& table);
    // The key the next added row of `table` will get.
    bool nextKey(const TableInfo& table, qint64* key);

    const DbError& lastError() const { return m_lastError; }
    // Whether `error` says another connection holds the lock the statement needed.
    static bool isBusyError(const DbError& error);
    void setError(const DbError& error) { m_lastError = error; }
    void setErrorFromConnection();

    // The raw connection for code that must step SQL itself (benchmarks, transactions).
    sqlite3* handle() const { return m_connection; }

    static ColumnKind kindOfDeclaredType(const char* declaredType);

private:
    bool unlock(const QByteArray& key);
    bool checkReadable();

    sqlite3* m_connection = nullptr;
    QString m_path;
    QString m_connect;
    bool m_openReadOnly = false;
    int m_busyTimeout = BusyTimeoutMs;
    DbError m_lastError;
    QHash<QString, TableInfo> m_tables; // by lower-case table name
    std::function<void()> m_beforeChange;
    bool m_inBeforeChange = false;
};
