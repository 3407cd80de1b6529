#pragma once

#include "db/AlbumIdsTable.h"

#include <QHash>
#include <QString>
#include <QVector>

class Database;
struct AlbumRecord;
struct LookupList;
struct sqlite3_stmt;

// Adds many new albums quickly, for imports: the statements are prepared once and each name's
// id is remembered after its first lookup. The rows it stores are those AlbumTable::Add would
// store. The caller holds the transaction.
class AlbumInserter
{
public:
    explicit AlbumInserter(Database* database);
    ~AlbumInserter();
    AlbumInserter(const AlbumInserter&) = delete;
    AlbumInserter& operator=(const AlbumInserter&) = delete;

    // The new album's id, or -1 with the engine's reason in the database's last error.
    int add(const AlbumRecord& record);

private:
    struct NameList {
        const LookupList* list = nullptr;
        sqlite3_stmt* find = nullptr;
        sqlite3_stmt* insert = nullptr;
        QHash<QString, int> ids;
    };

    bool prepare(const QByteArray& sql, sqlite3_stmt** statement);
    bool nameId(NameList* list, const QString& name, int* id);
    int fail();

    Database* m_database;
    QVector<NameList> m_lists;
    sqlite3_stmt* m_insertAlbum = nullptr;
    AlbumIdsTable m_ids;
};
