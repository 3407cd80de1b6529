#pragma once

#include <QByteArray>
#include <QString>

class Database;
struct AlbumRecord;
struct sqlite3_stmt;

// The album's ids (its barcode and its release ids at online catalogues) in a table beside
// `music`: one row per album that has any, keyed by the album's id, marked deleted with its
// album. Catalogues made before the table lack it: they read as holding no ids, and the first
// write of an album adds it. Its columns are the fields of AlbumField::all() kept here.
class AlbumIdsTable
{
public:
    static constexpr const char* Table = "album_ids";
    static constexpr const char* KeyColumn = "album_id";
    // Not "deleted": the album query joins this table, where that name is the album's.
    static constexpr const char* DeletedColumn = "ids_deleted";

    explicit AlbumIdsTable(Database* database);
    ~AlbumIdsTable();
    AlbumIdsTable(const AlbumIdsTable&) = delete;
    AlbumIdsTable& operator=(const AlbumIdsTable&) = delete;

    // Adds the table, or the columns it lacks, to the catalogue (once per object). False with
    // the engine's reason in the database's last error.
    bool addToCatalogue();
    // Stores the ids of album `albumId`, a row of `music` already: its row holds them, deleted
    // when the album is, or is removed when the record has none. Adds the table first.
    bool store(int albumId, const AlbumRecord& record);
    // The album's row follows its delete: marked deleted with a soft one, removed with a hard
    // one. Nothing to do where the catalogue has no table.
    bool followDelete(int albumId, bool hard);

    static bool hasIds(const AlbumRecord& record);
    // The table as a new catalogue holds it.
    static QByteArray createSql();
    // The join the album query ends with: the table, or where the catalogue lacks it an empty
    // stand-in of the same name and columns, so that conditions and sort texts naming its
    // columns hold either way.
    static QString join(bool tablePresent);

private:
    bool prepare(const QByteArray& sql, sqlite3_stmt** statement);
    bool fail();

    Database* m_database;
    bool m_added = false;
    sqlite3_stmt* m_store = nullptr;
    sqlite3_stmt* m_remove = nullptr;
};
