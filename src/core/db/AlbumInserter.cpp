#include "db/AlbumInserter.h"

#include "db/AlbumRecord.h"
#include "db/AlbumTable.h"
#include "db/Database.h"
#include "db/OleDate.h"

#include <sqlcipher/sqlite3.h>

namespace
{

// The album's name lists, in the order of the ids bound below.
enum NameListIndex {
    Artist,
    MediaType,
    Genre,
    SubCategory,
    OnLoanTo,
    PurchasedFrom,
    Location,
    Condition,
    Language,
    Country,
    Label,
    Studio,
    Producer,
    Engineer,
    Conductor,
    Orchestra
};

const char* const InsertAlbumSql =
    "INSERT INTO music (title, artist_id, number, type_id, year, cat_id, subcat_id, value, "
    "person_id, purchasedfrom_id, purchasedate, frontimage, backimage, length, contents, notes, "
    "returndate, loandate, location_id, condition_id, grade, purchaseprice, url, incollection, "
    "language_id, country_id, label_id, labelnumber, studio_id, producer_id, ad, engineer_id, "
    "recordingdate, tourname, conductor_id, orchestra_id, freedbid) VALUES (?, ?, ?, ?, ?, ?, "
    "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

// Binds the values of one statement in order, remembering the first failure.
class Binder
{
public:
    explicit Binder(sqlite3_stmt* statement) : m_statement(statement) {}
    Binder& text(const QString& value)
    {
        const QByteArray bytes = value.toUtf8();
        return check(sqlite3_bind_text(m_statement, ++m_index, bytes.constData(), bytes.size(),
                                       SQLITE_TRANSIENT));
    }
    Binder& integer(qint64 value)
    {
        return check(sqlite3_bind_int64(m_statement, ++m_index, value));
    }
    Binder& real(double value) { return check(sqlite3_bind_double(m_statement, ++m_index, value)); }
    // A date never given is stored as none, as AlbumTable::Save stores it.
    Binder& date(const QDateTime& value)
    {
        if (!value.isValid())
            return check(sqlite3_bind_null(m_statement, ++m_index));
        return real(OleDate::toDays(value));
    }
    bool ok() const { return m_ok; }

private:
    Binder& check(int result)
    {
        m_ok = m_ok && result == SQLITE_OK;
        return *this;
    }
    sqlite3_stmt* m_statement;
    int m_index = 0;
    bool m_ok = true;
};

bool stepDone(sqlite3_stmt* statement)
{
    const int result = sqlite3_step(statement);
    sqlite3_reset(statement);
    return result == SQLITE_DONE;
}

} // namespace

AlbumInserter::AlbumInserter(Database* database) : m_database(database)
{
    static const char* const Lists[][3] = {
        {"music_artists", "artist_name", "artist_id"},
        {"music_types", "type_name", "type_id"},
        {"music_categories", "cat_name", "cat_id"},
        {"music_subcategories", "subcat_name", "subcat_id"},
        {"persons", "person_name", "person_id"},
        {"purchasedfrom", "purchasedfrom_name", "purchasedfrom_id"},
        {"music_locations", "location_name", "location_id"},
        {"conditions", "condition_name", "condition_id"},
        {"languages", "language_name", "language_id"},
        {"countries", "country_name", "country_id"},
        {"music_labels", "label_name", "label_id"},
        {"music_studios", "studio_name", "studio_id"},
        {"music_producers", "producer_name", "producer_id"},
        {"music_engineers", "engineer_name", "engineer_id"},
        {"music_conductors", "conductor_name", "conductor_id"},
        {"music_orchestras", "orchestra_name", "orchestra_id"},
    };
    for (const auto& names : Lists) {
        NameList list;
        list.table = names[0];
        list.nameColumn = names[1];
        list.idColumn = names[2];
        m_lists.append(list);
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
    const QByteArray table(list->table);
    const QByteArray nameColumn(list->nameColumn);
    if (!prepare("SELECT " + QByteArray(list->idColumn) + " FROM " + table + " WHERE " +
                     nameColumn + " = ? LIMIT 1",
                 &list->find) ||
        !prepare("INSERT INTO " + table + " (" + nameColumn + ") VALUES (?)", &list->insert))
        return false;
    if (!Binder(list->find).text(name).ok())
        return false;
    const int found = sqlite3_step(list->find);
    if (found == SQLITE_ROW)
        *id = sqlite3_column_int(list->find, 0);
    sqlite3_reset(list->find);
    if (found != SQLITE_ROW && found != SQLITE_DONE)
        return false;
    if (found == SQLITE_DONE) {
        if (!Binder(list->insert).text(name).ok() || !stepDone(list->insert))
            return false;
        *id = int(sqlite3_last_insert_rowid(m_database->handle()));
    }
    list->ids.insert(name, *id);
    return true;
}

int AlbumInserter::add(const AlbumRecord& record)
{
    if (!m_database || !prepare(InsertAlbumSql, &m_insertAlbum))
        return m_database ? fail() : -1;
    const QString* names[] = {
        &record.artist,   &record.mediaType,     &record.genre,     &record.subCategory,
        &record.onLoanTo, &record.purchasedFrom, &record.location,  &record.condition,
        &record.language, &record.country,       &record.label,     &record.studio,
        &record.producer, &record.engineer,      &record.conductor, &record.orchestra};
    int ids[Orchestra + 1];
    for (int i = 0; i <= Orchestra; ++i)
        if (!nameId(&m_lists[i], *names[i], &ids[i]))
            return fail();
    Binder bind(m_insertAlbum);
    bind.text(record.title)
        .integer(ids[Artist])
        .integer(record.number)
        .integer(ids[MediaType])
        .integer(record.year)
        .integer(ids[Genre])
        .integer(ids[SubCategory])
        .real(AlbumTable::moneyValue(record.currentValue))
        .integer(ids[OnLoanTo])
        .integer(ids[PurchasedFrom])
        .date(record.purchaseDate)
        .text(record.frontImage)
        .text(record.backImage)
        .text(record.length)
        .text(record.contents)
        .text(record.notes)
        .date(record.returnDate)
        .date(record.loanDate)
        .integer(ids[Location])
        .integer(ids[Condition])
        .integer(record.grade)
        .real(AlbumTable::moneyValue(record.purchasePrice))
        .text(record.url)
        .integer(record.inCollection != 0 ? 1 : 0)
        .integer(ids[Language])
        .integer(ids[Country])
        .integer(ids[Label])
        .text(record.labelNumber)
        .integer(ids[Studio])
        .integer(ids[Producer])
        .integer(record.ad)
        .integer(ids[Engineer])
        .date(record.recordingDate)
        .text(record.tourName)
        .integer(ids[Conductor])
        .integer(ids[Orchestra])
        .text(record.freedbId);
    if (!bind.ok() || !stepDone(m_insertAlbum))
        return fail();
    return int(sqlite3_last_insert_rowid(m_database->handle()));
}
