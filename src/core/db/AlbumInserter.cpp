#include "db/AlbumInserter.h"

#include "db/AlbumField.h"
#include "db/AlbumIdsTable.h"
#include "db/AlbumRecord.h"
#include "db/CatalogSchema.h"
#include "db/Database.h"
#include "db/LookupList.h"
#include "db/StatementBinder.h"

#include <sqlcipher/sqlite3.h>

namespace
{

// The album's columns in the order of the table of fields, each bound to a parameter.
QByteArray insertAlbumSql()
{
    QByteArrayList columns;
    QByteArrayList parameters;
    for (const AlbumField& field : AlbumField::all()) {
        if (!field.isInAlbumsTable())
            continue;
        columns << field.column;
        parameters << "?";
    }
    return "INSERT INTO music (" + columns.join(", ") + ") VALUES (" + parameters.join(", ") + ")";
}

bool stepDone(sqlite3_stmt* statement)
{
    const int result = sqlite3_step(statement);
    sqlite3_reset(statement);
    return result == SQLITE_DONE;
}

} // namespace

AlbumInserter::AlbumInserter(Database* database) : m_database(database), m_ids(database)
{
    for (const AlbumField& field : AlbumField::all()) {
        if (field.list) {
            NameList list;
            list.list = field.list;
            m_lists.append(list);
        }
    }
}

AlbumInserter::~AlbumInserter()
{
    for (NameList& list : m_lists) {
        sqlite3_finalize(list.find);
        sqlite3_finalize(list.insert);
    }
    sqlite3_finalize(m_insertAlbum);
}

int AlbumInserter::fail()
{
    m_database->setErrorFromConnection();
    return -1;
}

bool AlbumInserter::prepare(const QByteArray& sql, sqlite3_stmt** statement)
{
    if (*statement)
        return true;
    return sqlite3_prepare_v2(m_database->handle(), sql.constData(), int(sql.size()), statement,
                              nullptr) == SQLITE_OK;
}

// Finds the name as AlbumTable::Save does (the column's collation decides, a deleted entry is
// reused) and adds it when the list has never held it. An empty name has no id.
bool AlbumInserter::nameId(NameList* list, const QString& name, int* id)
{
    *id = -1;
    if (name.isEmpty())
        return true;
    const auto known = list->ids.constFind(name);
    if (known != list->ids.constEnd()) {
        *id = *known;
        return true;
    }
    const QByteArray table = list->list->table.toLatin1();
    const QByteArray nameColumn = list->list->nameColumn.toLatin1();
    if (!prepare("SELECT " + list->list->idColumn.toLatin1() + " FROM " + table + " WHERE " +
                     nameColumn + " = ? LIMIT 1",
                 &list->find) ||
        !prepare("INSERT INTO " + table + " (" + nameColumn + ") VALUES (?)", &list->insert))
        return false;
    if (!StatementBinder(list->find).text(name).ok())
        return false;
    const int found = sqlite3_step(list->find);
    if (found == SQLITE_ROW)
        *id = sqlite3_column_int(list->find, 0);
    sqlite3_reset(list->find);
    if (found != SQLITE_ROW && found != SQLITE_DONE)
        return false;
    if (found == SQLITE_DONE) {
        if (!StatementBinder(list->insert).text(name).ok() || !stepDone(list->insert))
            return false;
        *id = int(sqlite3_last_insert_rowid(m_database->handle()));
    }
    list->ids.insert(name, *id);
    return true;
}

int AlbumInserter::add(const AlbumRecord& record)
{
    static const QByteArray insertAlbum = insertAlbumSql();
    if (!m_database)
        return -1;
    // The table of ids and the indexes first: adding them after the statements were prepared
    // would make the engine prepare them again.
    if (!m_insertAlbum)
        CatalogSchema::addMissingIndexes(m_database);
    if (!m_ids.addToCatalogue() || !prepare(insertAlbum, &m_insertAlbum))
        return fail();
    // Every name first: looking one up runs statements of its own.
    QVector<int> ids(m_lists.size());
    int list = 0;
    for (const AlbumField& field : AlbumField::all()) {
        if (!field.list)
            continue;
        if (!nameId(&m_lists[list], record.*field.text, &ids[list]))
            return fail();
        ++list;
    }
    StatementBinder bind(m_insertAlbum);
    list = 0;
    for (const AlbumField& field : AlbumField::all())
        if (field.isInAlbumsTable())
            bind.value(field.list ? QVariant(ids[list++]) : field.storedValue(record));
    if (!bind.ok() || !stepDone(m_insertAlbum))
        return fail();
    const int albumId = int(sqlite3_last_insert_rowid(m_database->handle()));
    if (AlbumIdsTable::hasIds(record) && !m_ids.store(albumId, record))
        return -1;
    return albumId;
}
