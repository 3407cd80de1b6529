#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

struct sqlite3_stmt;

// Binds the values of one prepared statement in order, remembering the first failure.
class StatementBinder
{
public:
    explicit StatementBinder(sqlite3_stmt* statement) : m_statement(statement) {}

    StatementBinder& text(const QString& value);
    StatementBinder& integer(qint64 value);
    StatementBinder& real(double value);
    // A date never given is stored as none, as AlbumTable::Save stores it.
    StatementBinder& date(const QDateTime& value);
    // A value as AlbumTable::Save would store it.
    StatementBinder& value(const QVariant& value);
    bool ok() const { return m_ok; }

private:
    StatementBinder& check(int result);

    sqlite3_stmt* m_statement;
    int m_index = 0;
    bool m_ok = true;
};
