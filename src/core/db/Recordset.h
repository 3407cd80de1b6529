#pragma once

#include "db/Database.h"

#include <QVariant>
#include <QVector>
#include <memory>

struct sqlite3_stmt;

// A dynaset over one SQL text: a cursor that reads rows only as far as it is moved, and that
// can add, change and delete rows of its table when the SQL selects from a single table.
//
// Field values come typed by the column's declared type: int (integer), double (real),
// QDateTime (date), bool (boolean), QString (text); a null value is an invalid QVariant.
class Recordset
{
public:
    explicit Recordset(Database& database);
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Prepares the SQL and moves to its first row, if any.
    bool open(const QString& sql);
    void close();
    bool isOpen() const { return m_statement != nullptr; }

    bool isEOF() const;
    bool isBOF() const;
    bool moveNext();
    bool moveFirst();
    bool moveLast();
    // 0-based position of the current row; -1 (with an error set) when there is none.
    int absolutePosition();

    bool addNew();
    bool edit();
    bool setField(const QString& column, const QVariant& value);
    bool update();
    void cancelUpdate();
    bool deleteCurrent();

    bool field(const QString& column, QVariant* value);
    int columnIndex(const QString& column) const;
    bool field(int column, QVariant* value);
    // The current row's value as the engine holds it, UTF-8 and unconverted, when it is text;
    // null otherwise. Lets writers of long lists skip two conversions per cell.
    const char* textBytes(int column, int* size);
    int columnCount() const { return m_columns.size(); }
    QString columnName(int column) const;

    const DbError& lastError() const { return m_lastError; }

private:
    struct Column {
        QString name;
        QString lowerName;
        QString originTable;
        QString originColumn;
        ColumnKind kind = ColumnKind::Untyped;
    };
    enum class EditMode { None, Edit, AddNew };

    bool fail(const QString& description, int code);
    bool failFromEngine();
    bool stepTo(int position);
    bool ensureOnCurrentRow();
    void leaveCurrentRow();
    bool hasCurrentRow() const;
    void describeColumns();
    const TableInfo* updatableTable();
    bool bindValue(sqlite3_stmt* statement, int index, const QVariant& value, ColumnKind kind);
    bool runWrite(const QByteArray& sql, const QVector<QVariant>& values,
                  const QVector<ColumnKind>& kinds);
    QVariant currentKeyValue();
    QVariant readColumn(int column) const;

    Database& m_database;
    sqlite3_stmt* m_statement = nullptr;
    QVector<Column> m_columns;
    QHash<QString, int> m_columnByName; // lower-case names; the first of equal names wins
    QString m_baseTable;                // the one table every column comes from, if any
    int m_keyResultColumn = -1;

    int m_position = -1; // current row, -1 before the first
    int m_rowCount = -1; // known once the end was reached
    bool m_atEnd = true;
    bool m_onRow = false; // the statement itself sits on m_position
    bool m_currentDeleted = false;

    EditMode m_editMode = EditMode::None;
    QVector<QString> m_pendingColumns;
    QVector<QVariant> m_pendingValues;
    qint64 m_pendingKey = -1;
    QHash<int, QVariant> m_updatedValues; // current row's values changed by the last update

    DbError m_lastError;
};
