#include "db/AlbumIdsTable.h"

#include "db/AlbumField.h"
#include "db/Database.h"
#include "db/StatementBinder.h"

#include <sqlcipher/sqlite3.h>

namespace
{

const QVector<const AlbumField*>& idFields()
{
    static const QVector<const AlbumField*> fields = [] {
        QVector<const AlbumField*> kept;
        for (const AlbumField& field : AlbumField::all())
            if (field.table == AlbumIdsTable::Table)
                kept << &field;
        return kept;
    }();
    return fields;
}

QByteArray declaredType(AlbumField::Kind kind)
{
    switch (kind) {
    case AlbumField::Kind::Money:
        return "REAL";
    case AlbumField::Kind::Whole:
        return "INTEGER";
    case AlbumField::Kind::YesNo:
        return "BOOLEAN";
    case AlbumField::Kind::Date:
        return "DATE";
    case AlbumField::Kind::Text:
    case AlbumField::Kind::Name:
        break;
    }
    // A name would need its lookup list joined as well: ids are texts.
    Q_ASSERT(kind == AlbumField::Kind::Text);
    return "TEXT COLLATE NOCASE";
}

QByteArray columnDefinition(const AlbumField& field)
{
    return field.column + ' ' + declaredType(field.kind);
}

QByteArrayList columnsOf(Database* database, const char* table)
{
    QByteArrayList columns;
    sqlite3_stmt* statement = nullptr;
    const QByteArray sql = QByteArray("PRAGMA table_info(") + table + ')';
    if (sqlite3_prepare_v2(database->handle(), sql.constData(), -1, &statement, nullptr) !=
        SQLITE_OK)
        return columns;
    while (sqlite3_step(statement) == SQLITE_ROW)
        columns << QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)))
                       .toLower();
    sqlite3_finalize(statement);
    return columns;
}

// The row of one album's ids; the album's own deleted flag is copied, so that a deleted album
// never shows its ids.
QByteArray rowStoreSql()
{
    QByteArrayList columns{AlbumIdsTable::KeyColumn};
    QByteArrayList values{"?"};
    for (const AlbumField* field : idFields()) {
        columns << field->column;
        values << "?";
    }
    columns << AlbumIdsTable::DeletedColumn;
    values << "deleted";
    return QByteArray("INSERT OR REPLACE INTO ") + AlbumIdsTable::Table + " (" +
           columns.join(", ") + ") SELECT " + values.join(", ") + " FROM music WHERE music_id = ?";
}

bool stepDone(sqlite3_stmt* statement)
{
    const int result = sqlite3_step(statement);
    sqlite3_reset(statement);
    return result == SQLITE_DONE;
}

} // namespace

AlbumIdsTable::AlbumIdsTable(Database* database) : m_database(database) {}

AlbumIdsTable::~AlbumIdsTable()
{
    sqlite3_finalize(m_store);
    sqlite3_finalize(m_remove);
}

bool AlbumIdsTable::fail()
{
    m_database->setErrorFromConnection();
    return false;
}

bool AlbumIdsTable::prepare(const QByteArray& sql, sqlite3_stmt** statement)
{
    if (*statement)
        return true;
    return sqlite3_prepare_v2(m_database->handle(), sql.constData(), int(sql.size()), statement,
                              nullptr) == SQLITE_OK;
}

QByteArray AlbumIdsTable::createSql()
{
    QByteArrayList columns{QByteArray(KeyColumn) + " INTEGER PRIMARY KEY"};
    for (const AlbumField* field : idFields())
        columns << columnDefinition(*field);
    columns << QByteArray(DeletedColumn) + " BOOLEAN NOT NULL DEFAULT 0";
    return QByteArray("CREATE TABLE ") + Table + " (" + columns.join(", ") + ")";
}

bool AlbumIdsTable::addToCatalogue()
{
    if (m_added)
        return true;
    const QByteArrayList present = columnsOf(m_database, Table);
    if (present.isEmpty()) {
        m_added = m_database->execute(createSql());
        return m_added;
    }
    // A catalogue written by a version that kept fewer ids.
    for (const AlbumField* field : idFields()) {
        if (!present.contains(field->column) &&
            !m_database->execute(QByteArray("ALTER TABLE ") + Table + " ADD COLUMN " +
                                 columnDefinition(*field)))
            return false;
    }
    m_added = true;
    return true;
}

bool AlbumIdsTable::hasIds(const AlbumRecord& record)
{
    for (const AlbumField* field : idFields())
        if (!field->storedValue(record).toString().isEmpty())
            return true;
    return false;
}

bool AlbumIdsTable::store(int albumId, const AlbumRecord& record)
{
    if (!m_database || !addToCatalogue())
        return false;
    if (!hasIds(record)) {
        static const QByteArray remove =
            QByteArray("DELETE FROM ") + Table + " WHERE " + KeyColumn + " = ?";
        if (!prepare(remove, &m_remove) || !StatementBinder(m_remove).integer(albumId).ok() ||
            !stepDone(m_remove))
            return fail();
        return true;
    }
    static const QByteArray storeSql = rowStoreSql();
    if (!prepare(storeSql, &m_store))
        return fail();
    StatementBinder bind(m_store);
    bind.integer(albumId);
    for (const AlbumField* field : idFields())
        bind.value(field->storedValue(record));
    bind.integer(albumId);
    if (!bind.ok() || !stepDone(m_store))
        return fail();
    return true;
}

bool AlbumIdsTable::followDelete(int albumId, bool hard)
{
    if (!m_database)
        return false;
    if (!m_database->hasTable(QLatin1String(Table)))
        return true;
    const QByteArray where =
        QByteArray(" WHERE ") + KeyColumn + " = " + QByteArray::number(albumId);
    return m_database->execute(hard ? QByteArray("DELETE FROM ") + Table + where
                                    : QByteArray("UPDATE ") + Table + " SET " + DeletedColumn +
                                          " = 1" + where);
}

QString AlbumIdsTable::join(bool tablePresent)
{
    QString source = QLatin1String(Table);
    if (!tablePresent) {
        QStringList columns{QStringLiteral("NULL AS %1").arg(QLatin1String(KeyColumn))};
        for (const AlbumField* field : idFields())
            columns << QStringLiteral("NULL AS %1").arg(QLatin1String(field->column));
        columns << QStringLiteral("0 AS %1").arg(QLatin1String(DeletedColumn));
        source = QStringLiteral("(SELECT %1 WHERE 0) AS %2")
                     .arg(columns.join(QLatin1String(", ")), QLatin1String(Table));
    }
    return QStringLiteral(" LEFT JOIN %1 ON %2.%3 = music.music_id AND %2.%4 = FALSE")
        .arg(source, QLatin1String(Table), QLatin1String(KeyColumn), QLatin1String(DeletedColumn));
}
