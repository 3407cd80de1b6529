#include "db/Recordset.h"

#include "db/OleDate.h"
#include "db/SqlText.h"

#include <limits>
#include <sqlcipher/sqlite3.h>

namespace
{

const char* const NoCurrentRecord = "No current record.";
const char* const ItemNotFound = "Item not found in this collection.";
const char* const NotUpdatable = "Database or object is read-only.";
const char* const NoEditPending = "Update or CancelUpdate without AddNew or Edit.";
const char* const ConversionError = "Data type conversion error.";

QString quotedIdentifier(const QString& name)
{
    QString text = name;
    return QLatin1Char('"') + text.replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

QString textOf(const unsigned char* text, int bytes)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(text), bytes);
}

QVariant integerValue(sqlite3_int64 value)
{
    if (value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max())
        return QVariant(int(value));
    return QVariant(qlonglong(value));
}

} // namespace

Recordset::Recordset(Database& database) : m_database(database) {}

Recordset::~Recordset()
{
    close();
}

bool Recordset::fail(const QString& description, int code)
{
    m_lastError = DbError{description, code};
    m_database.setError(m_lastError);
    return false;
}

bool Recordset::failFromEngine()
{
    m_database.setErrorFromConnection();
    m_lastError = m_database.lastError();
    return false;
}

bool Recordset::open(const QString& sql)
{
    close();
    m_lastError = DbError();
    if (!m_database.isOpen())
        return fail(QStringLiteral("The database is not open."), SQLITE_MISUSE);
    const QByteArray text = SqlText::withBooleanLiterals(sql.toUtf8());
    if (sqlite3_prepare_v2(m_database.handle(), text.constData(), text.size(), &m_statement,
                           nullptr) != SQLITE_OK) {
        failFromEngine();
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
        return false;
    }
    if (!m_statement)
        return fail(QStringLiteral("The SQL text holds no statement."), SQLITE_ERROR);
    describeColumns();
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW) {
        m_position = 0;
        m_atEnd = false;
        m_onRow = true;
        return true;
    }
    if (rc == SQLITE_DONE) {
        m_rowCount = 0;
        return true;
    }
    failFromEngine();
    close();
    return false;
}

void Recordset::describeColumns()
{
    const int count = sqlite3_column_count(m_statement);
    m_columns.reserve(count);
    QString commonTable;
    bool singleTable = count > 0;
    for (int i = 0; i < count; ++i) {
        Column column;
        column.name = QString::fromUtf8(sqlite3_column_name(m_statement, i));
        column.lowerName = column.name.toLower();
        column.originTable = QString::fromUtf8(sqlite3_column_table_name(m_statement, i));
        column.originColumn = QString::fromUtf8(sqlite3_column_origin_name(m_statement, i));
        column.kind = Database::kindOfDeclaredType(sqlite3_column_decltype(m_statement, i));
        if (column.originTable.isEmpty() ||
            (!commonTable.isEmpty() && column.originTable != commonTable))
            singleTable = false;
        commonTable = column.originTable;
        if (!m_columnByName.contains(column.lowerName))
            m_columnByName.insert(column.lowerName, i);
        m_columns.append(column);
    }
    if (singleTable)
        m_baseTable = commonTable;
}

void Recordset::close()
{
    if (m_statement) {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
    }
    m_columns.clear();
    m_columnByName.clear();
    m_baseTable.clear();
    m_keyResultColumn = -1;
    m_position = -1;
    m_rowCount = -1;
    m_atEnd = true;
    m_onRow = false;
    m_currentDeleted = false;
    cancelUpdate();
    m_updatedValues.clear();
}

bool Recordset::isEOF() const
{
    return m_atEnd;
}

bool Recordset::isBOF() const
{
    return m_rowCount == 0 || m_position < 0;
}

bool Recordset::hasCurrentRow() const
{
    return m_statement && !m_atEnd && m_position >= 0 && !m_currentDeleted;
}

// Re-reads from the start up to `position`; used after the cursor was moved without the
// statement (to the last row) and a value of that row is wanted.
bool Recordset::stepTo(int position)
{
    sqlite3_reset(m_statement);
    for (int i = 0; i <= position; ++i) {
        const int rc = sqlite3_step(m_statement);
        if (rc == SQLITE_DONE) {
            m_onRow = false;
            return fail(QLatin1String(NoCurrentRecord), SQLITE_NOTFOUND);
        }
        if (rc != SQLITE_ROW) {
            m_onRow = false;
            return failFromEngine();
        }
    }
    m_onRow = true;
    return true;
}

bool Recordset::ensureOnCurrentRow()
{
    if (!hasCurrentRow())
        return fail(QLatin1String(NoCurrentRecord), SQLITE_NOTFOUND);
    return m_onRow || stepTo(m_position);
}

// Moving on drops any pending change and what the last update left of the row.
void Recordset::leaveCurrentRow()
{
    if (m_editMode != EditMode::None)
        cancelUpdate();
    if (!m_updatedValues.isEmpty())
        m_updatedValues.clear();
    m_currentDeleted = false;
}

void Recordset::cancelUpdate()
{
    m_editMode = EditMode::None;
    m_pendingColumns.clear();
    m_pendingValues.clear();
    m_pendingKey = -1;
}

bool Recordset::moveNext()
{
    if (!m_statement || m_atEnd)
        return fail(QLatin1String(NoCurrentRecord), SQLITE_NOTFOUND);
    leaveCurrentRow();
    if (m_position >= 0 && !m_onRow && !stepTo(m_position))
        return false;
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW) {
        ++m_position;
        m_onRow = true;
        return true;
    }
    m_onRow = false;
    if (rc == SQLITE_DONE) {
        m_rowCount = m_position + 1;
        m_position = m_rowCount;
        m_atEnd = true;
        return true;
    }
    return failFromEngine();
}

bool Recordset::moveFirst()
{
    if (!m_statement || m_rowCount == 0)
        return fail(QLatin1String(NoCurrentRecord), SQLITE_NOTFOUND);
    leaveCurrentRow();
    sqlite3_reset(m_statement);
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW) {
        m_position = 0;
        m_atEnd = false;
        m_onRow = true;
        return true;
    }
    m_onRow = false;
    if (rc == SQLITE_DONE) {
        m_rowCount = 0;
        m_position = -1;
        m_atEnd = true;
        return fail(QLatin1String(NoCurrentRecord), SQLITE_NOTFOUND);
    }
    return failFromEngine();
}

// Counts its way to the end without reading any values; the last row itself is fetched again
// only if someone asks for one of its fields.
bool Recordset::moveLast()
{
    if (!m_statement || m_rowCount == 0)
        return fail(QLatin1String(NoCurrentRecord), SQLITE_NOTFOUND);
    leaveCurrentRow();
    if (m_rowCount < 0) {
        int rows = 0;
        if (m_onRow) {
            rows = m_position + 1;
        } else {
            sqlite3_reset(m_statement);
        }
        int rc;
        while ((rc = sqlite3_step(m_statement)) == SQLITE_ROW)
            ++rows;
        m_onRow = false;
        if (rc != SQLITE_DONE)
            return failFromEngine();
        m_rowCount = rows;
        if (rows == 0) {
            m_position = -1;
            m_atEnd = true;
            return fail(QLatin1String(NoCurrentRecord), SQLITE_NOTFOUND);
        }
    } else {
        m_onRow = m_onRow && m_position == m_rowCount - 1;
    }
    m_position = m_rowCount - 1;
    m_atEnd = false;
    return true;
}

int Recordset::absolutePosition()
{
    if (!hasCurrentRow()) {
        fail(QLatin1String(NoCurrentRecord), SQLITE_NOTFOUND);
        return -1;
    }
    return m_position;
}

const TableInfo* Recordset::updatableTable()
{
    if (!m_statement || m_baseTable.isEmpty()) {
        fail(QLatin1String(NotUpdatable), SQLITE_READONLY);
        return nullptr;
    }
    const TableInfo* table = m_database.tableInfo(m_baseTable);
    if (!table || table->keyColumn.isEmpty()) {
        fail(QLatin1String(NotUpdatable), SQLITE_READONLY);
        return nullptr;
    }
    if (m_keyResultColumn < 0) {
        for (int i = 0; i < m_columns.size(); ++i) {
            if (m_columns[i].originColumn.compare(table->keyColumn, Qt::CaseInsensitive) == 0) {
                m_keyResultColumn = i;
                break;
            }
        }
    }
    return table;
}

bool Recordset::addNew()
{
    const TableInfo* table = updatableTable();
    if (!table)
        return false;
    qint64 key = -1;
    if (!m_database.nextKey(*table, &key)) {
        m_lastError = m_database.lastError();
        return false;
    }
    // Ids travel as 32-bit integers: a key past the largest one would be stored and then be
    // unreadable as an id.
    if (key > std::numeric_limits<int>::max())
        return fail(QStringLiteral("The id %1 for a new row of '%2' is out of range (the largest "
                                   "id is %3).")
                        .arg(QString::number(key), table->name,
                             QString::number(std::numeric_limits<int>::max())),
                    SQLITE_RANGE);
    cancelUpdate();
    m_editMode = EditMode::AddNew;
    m_pendingKey = key;
    return true;
}

bool Recordset::edit()
{
    const TableInfo* table = updatableTable();
    if (!table)
        return false;
    if (m_keyResultColumn < 0)
        return fail(QLatin1String(NotUpdatable), SQLITE_READONLY);
    if (!ensureOnCurrentRow())
        return false;
    cancelUpdate();
    m_editMode = EditMode::Edit;
    return true;
}

bool Recordset::setField(const QString& column, const QVariant& value)
{
    if (m_editMode == EditMode::None)
        return fail(QLatin1String(NoEditPending), SQLITE_MISUSE);
    const TableInfo* table = m_database.tableInfo(m_baseTable);
    const QString lower = column.toLower();
    if (!table || !table->kinds.contains(lower))
        return fail(QLatin1String(ItemNotFound), SQLITE_NOTFOUND);
    const int existing = m_pendingColumns.indexOf(lower);
    if (existing >= 0) {
        m_pendingValues[existing] = value;
    } else {
        m_pendingColumns.append(lower);
        m_pendingValues.append(value);
    }
    return true;
}

bool Recordset::bindValue(sqlite3_stmt* statement, int index, const QVariant& value,
                          ColumnKind kind)
{
    if (!value.isValid() || value.isNull())
        return sqlite3_bind_null(statement, index) == SQLITE_OK;
    bool ok = true;
    switch (kind) {
    case ColumnKind::Boolean:
        return sqlite3_bind_int(statement, index, value.toBool() ? 1 : 0) == SQLITE_OK;
    case ColumnKind::Date:
        if (value.typeId() == QMetaType::QDateTime)
            return sqlite3_bind_double(statement, index, OleDate::toDays(value.toDateTime())) ==
                   SQLITE_OK;
        {
            const double days = value.toDouble(&ok);
            return ok && sqlite3_bind_double(statement, index, days) == SQLITE_OK;
        }
    case ColumnKind::Integer: {
        const qlonglong number = value.toLongLong(&ok);
        return ok && sqlite3_bind_int64(statement, index, number) == SQLITE_OK;
    }
    case ColumnKind::Real: {
        const double number = value.toDouble(&ok);
        return ok && sqlite3_bind_double(statement, index, number) == SQLITE_OK;
    }
    case ColumnKind::Text:
    case ColumnKind::Untyped:
        break;
    }
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Bool:
        return sqlite3_bind_int64(statement, index, value.toLongLong()) == SQLITE_OK;
    case QMetaType::Double:
        return sqlite3_bind_double(statement, index, value.toDouble()) == SQLITE_OK;
    default: {
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text(statement, index, text.constData(), text.size(),
                                 SQLITE_TRANSIENT) == SQLITE_OK;
    }
    }
}

bool Recordset::runWrite(const QByteArray& sql, const QVector<QVariant>& values,
                         const QVector<ColumnKind>& kinds)
{
    m_database.aboutToChange();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_database.handle(), sql.constData(), sql.size(), &statement, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(statement);
        return failFromEngine();
    }
    for (int i = 0; i < values.size(); ++i) {
        if (!bindValue(statement, i + 1, values[i], kinds[i])) {
            sqlite3_finalize(statement);
            return fail(QLatin1String(ConversionError), SQLITE_MISMATCH);
        }
    }
    const int rc = sqlite3_step(statement);
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE)
        return failFromEngine();
    return true;
}

QVariant Recordset::currentKeyValue()
{
    if (m_keyResultColumn < 0 || !ensureOnCurrentRow())
        return QVariant();
    return readColumn(m_keyResultColumn);
}

bool Recordset::update()
{
    if (m_editMode == EditMode::None)
        return fail(QLatin1String(NoEditPending), SQLITE_MISUSE);
    const TableInfo* table = m_database.tableInfo(m_baseTable);
    if (!table)
        return fail(QLatin1String(NotUpdatable), SQLITE_READONLY);

    QVector<QVariant> values = m_pendingValues;
    QVector<ColumnKind> kinds;
    QStringList columns;
    for (const QString& column : qAsConst(m_pendingColumns)) {
        columns.append(quotedIdentifier(column));
        kinds.append(table->kinds.value(column));
    }

    QByteArray sql;
    if (m_editMode == EditMode::AddNew) {
        QStringList placeholders;
        if (!m_pendingColumns.contains(table->keyColumn.toLower())) {
            columns.prepend(quotedIdentifier(table->keyColumn));
            values.prepend(QVariant(m_pendingKey));
            kinds.prepend(ColumnKind::Integer);
        }
        for (int i = 0; i < columns.size(); ++i)
            placeholders.append(QStringLiteral("?"));
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(quotedIdentifier(table->name), columns.join(QLatin1String(", ")),
                       placeholders.join(QLatin1String(", ")))
                  .toUtf8();
    } else {
        if (columns.isEmpty()) {
            cancelUpdate();
            return true;
        }
        const QVariant key = currentKeyValue();
        if (!key.isValid())
            return false;
        QStringList assignments;
        for (const QString& column : qAsConst(columns))
            assignments.append(column + QLatin1String(" = ?"));
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                  .arg(quotedIdentifier(table->name), assignments.join(QLatin1String(", ")),
                       quotedIdentifier(table->keyColumn))
                  .toUtf8();
        values.append(key);
        kinds.append(ColumnKind::Integer);
    }
    if (!runWrite(sql, values, kinds))
        return false;

    if (m_editMode == EditMode::Edit) {
        // The cursor keeps showing the row as it now is.
        for (int i = 0; i < m_pendingColumns.size(); ++i) {
            for (int c = 0; c < m_columns.size(); ++c) {
                if (m_columns[c].originColumn.compare(m_pendingColumns[i], Qt::CaseInsensitive) ==
                    0)
                    m_updatedValues.insert(c, m_pendingValues[i]);
            }
        }
    }
    cancelUpdate();
    return true;
}

bool Recordset::deleteCurrent()
{
    const TableInfo* table = updatableTable();
    if (!table)
        return false;
    if (m_keyResultColumn < 0)
        return fail(QLatin1String(NotUpdatable), SQLITE_READONLY);
    const QVariant key = currentKeyValue();
    if (!key.isValid())
        return false;
    const QByteArray sql =
        QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
            .arg(quotedIdentifier(table->name), quotedIdentifier(table->keyColumn))
            .toUtf8();
    if (!runWrite(sql, {key}, {ColumnKind::Integer}))
        return false;
    cancelUpdate();
    m_currentDeleted = true;
    return true;
}

int Recordset::columnIndex(const QString& column) const
{
    const auto found = m_columnByName.constFind(column);
    if (found != m_columnByName.constEnd())
        return found.value();
    return m_columnByName.value(column.toLower(), -1);
}

QString Recordset::columnName(int column) const
{
    return column >= 0 && column < m_columns.size() ? m_columns[column].name : QString();
}

bool Recordset::field(const QString& column, QVariant* value)
{
    if (m_editMode != EditMode::None) {
        const QString lower = column.toLower();
        const int pending = m_pendingColumns.indexOf(lower);
        if (pending >= 0) {
            *value = m_pendingValues[pending];
            return true;
        }
        if (m_editMode == EditMode::AddNew) {
            const TableInfo* table = m_database.tableInfo(m_baseTable);
            if (!table || !table->kinds.contains(lower))
                return fail(QLatin1String(ItemNotFound), SQLITE_NOTFOUND);
            *value = lower == table->keyColumn.toLower() ? integerValue(m_pendingKey) : QVariant();
            return true;
        }
    }
    const int index = columnIndex(column);
    if (index < 0)
        return fail(QLatin1String(ItemNotFound), SQLITE_NOTFOUND);
    return field(index, value);
}

bool Recordset::field(int column, QVariant* value)
{
    if (column < 0 || column >= m_columns.size())
        return fail(QLatin1String(ItemNotFound), SQLITE_NOTFOUND);
    if (!ensureOnCurrentRow())
        return false;
    *value = readColumn(column);
    return true;
}

const char* Recordset::textBytes(int column, int* size)
{
    if (column < 0 || column >= m_columns.size() || m_updatedValues.contains(column) ||
        !ensureOnCurrentRow() || sqlite3_column_type(m_statement, column) != SQLITE_TEXT)
        return nullptr;
    const unsigned char* text = sqlite3_column_text(m_statement, column);
    *size = sqlite3_column_bytes(m_statement, column);
    return reinterpret_cast<const char*>(text);
}

QVariant Recordset::readColumn(int column) const
{
    if (!m_updatedValues.isEmpty()) {
        const auto updated = m_updatedValues.constFind(column);
        if (updated != m_updatedValues.constEnd())
            return updated.value();
    }
    const int storage = sqlite3_column_type(m_statement, column);
    switch (storage) {
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_TEXT:
        return textOf(sqlite3_column_text(m_statement, column),
                      sqlite3_column_bytes(m_statement, column));
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(m_statement, column)),
                          sqlite3_column_bytes(m_statement, column));
    default:
        break;
    }
    const bool isInteger = storage == SQLITE_INTEGER;
    switch (m_columns[column].kind) {
    case ColumnKind::Boolean:
        return isInteger ? sqlite3_column_int64(m_statement, column) != 0
                         : sqlite3_column_double(m_statement, column) != 0.0;
    case ColumnKind::Date:
        return OleDate::fromDays(sqlite3_column_double(m_statement, column));
    case ColumnKind::Real:
        return sqlite3_column_double(m_statement, column);
    default:
        return isInteger ? integerValue(sqlite3_column_int64(m_statement, column))
                         : QVariant(sqlite3_column_double(m_statement, column));
    }
}
