#include "db/StatementBinder.h"

#include "db/OleDate.h"

#include <sqlcipher/sqlite3.h>

StatementBinder& StatementBinder::check(int result)
{
    m_ok = m_ok && result == SQLITE_OK;
    return *this;
}

StatementBinder& StatementBinder::text(const QString& value)
{
    const QByteArray bytes = value.toUtf8();
    return check(sqlite3_bind_text(m_statement, ++m_index, bytes.constData(), bytes.size(),
                                   SQLITE_TRANSIENT));
}

StatementBinder& StatementBinder::integer(qint64 value)
{
    return check(sqlite3_bind_int64(m_statement, ++m_index, value));
}

StatementBinder& StatementBinder::real(double value)
{
    return check(sqlite3_bind_double(m_statement, ++m_index, value));
}

StatementBinder& StatementBinder::date(const QDateTime& value)
{
    if (!value.isValid())
        return check(sqlite3_bind_null(m_statement, ++m_index));
    return real(OleDate::toDays(value));
}

StatementBinder& StatementBinder::value(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return text(value.toString());
    case QMetaType::Double:
        return real(value.toDouble());
    case QMetaType::Int:
        return integer(value.toInt());
    case QMetaType::Bool:
        return integer(value.toBool() ? 1 : 0);
    case QMetaType::QDateTime:
        return date(value.toDateTime());
    default:
        return check(sqlite3_bind_null(m_statement, ++m_index));
    }
}
