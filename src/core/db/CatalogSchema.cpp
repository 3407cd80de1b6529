#include "db/CatalogSchema.h"

#include "db/AlbumIdsTable.h"
#include "db/Database.h"

const QStringList& CatalogSchema::tableNames()
{
    static const QStringList names = {
        QStringLiteral("music"),
        QStringLiteral("tracks"),
        QStringLiteral("music_artists"),
        QStringLiteral("music_categories"),
        QStringLiteral("music_types"),
        QStringLiteral("music_subcategories"),
        QStringLiteral("persons"),
        QStringLiteral("purchasedfrom"),
        QStringLiteral("music_locations"),
        QStringLiteral("conditions"),
        QStringLiteral("languages"),
        QStringLiteral("countries"),
        QStringLiteral("music_labels"),
        QStringLiteral("music_studios"),
        QStringLiteral("music_producers"),
        QStringLiteral("music_engineers"),
        QStringLiteral("music_conductors"),
        QStringLiteral("music_orchestras"),
        QStringLiteral("track_songwriters"),
    };
    return names;
}

const QStringList& CatalogSchema::addedTableNames()
{
    static const QStringList names = {QLatin1String(AlbumIdsTable::Table)};
    return names;
}

QString CatalogSchema::firstMissingTable(const QStringList& present)
{
    for (const QString& name : tableNames()) {
        if (!present.contains(name, Qt::CaseInsensitive))
            return name;
    }
    return QString();
}

void CatalogSchema::addMissingIndexes(Database* database)
{
    // The album count and every list read only the albums not deleted: on a large catalogue
    // the count would otherwise read the whole table.
    static const QByteArrayList indexes = {
        "CREATE INDEX IF NOT EXISTS idx_music_deleted ON music (deleted)",
    };
    if (!database || database->isReadOnly())
        return;
    const DbError before = database->lastError();
    for (const QByteArray& sql : indexes)
        database->execute(sql);
    database->setError(before);
}
