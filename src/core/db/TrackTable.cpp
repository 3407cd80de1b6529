#include "db/TrackTable.h"

#include <QHash>

namespace
{

const char* const TrackQuery =
    "SELECT tracks.track_id, tracks.tracknumber, tracks.title, music_artists.artist_name, "
    "music_categories.cat_name, music_subcategories.subcat_name, tracks.length, tracks.notes, "
    "languages.language_name, countries.country_name, music_labels.label_name, "
    "tracks.labelnumber, music_studios.studio_name, music_producers.producer_name, "
    "music_engineers.engineer_name, music_conductors.conductor_name, "
    "music_orchestras.orchestra_name, tracks.year, tracks.grade, tracks.lyrics, "
    "tracks.audiofile, tracks.music_id, track_songwriters.songwriter_name FROM "
    "(((((((((((tracks LEFT JOIN music_categories ON tracks.cat_id = music_categories.cat_id) "
    "LEFT JOIN music_artists ON tracks.artist_id = music_artists.artist_id) "
    "LEFT JOIN music_subcategories ON tracks.subcat_id = music_subcategories.subcat_id) "
    "LEFT JOIN languages ON tracks.language_id = languages.language_id) "
    "LEFT JOIN countries ON tracks.country_id = countries.country_id) "
    "LEFT JOIN music_labels ON tracks.label_id = music_labels.label_id) "
    "LEFT JOIN music_studios ON tracks.studio_id = music_studios.studio_id) "
    "LEFT JOIN music_producers ON tracks.producer_id = music_producers.producer_id) "
    "LEFT JOIN music_engineers ON tracks.engineer_id = music_engineers.engineer_id) "
    "LEFT JOIN music_conductors ON tracks.conductor_id = music_conductors.conductor_id) "
    "LEFT JOIN music_orchestras ON tracks.orchestra_id = music_orchestras.orchestra_id) "
    "LEFT JOIN track_songwriters ON tracks.songwriter_id = track_songwriters.songwriter_id";

// One of the track's twelve names: its lookup table with the name and id columns (the track's
// reference column is named like the id column) and the record's field.
struct TrackName {
    const char* table;
    const char* nameColumn;
    const char* idColumn;
    QString TrackRecord::*field;
};

// In the order a save looks them up.
const TrackName TrackNames[] = {
    {"music_artists", "artist_name", "artist_id", &TrackRecord::artist},
    {"music_categories", "cat_name", "cat_id", &TrackRecord::genre},
    {"music_subcategories", "subcat_name", "subcat_id", &TrackRecord::subCategory},
    {"languages", "language_name", "language_id", &TrackRecord::language},
    {"countries", "country_name", "country_id", &TrackRecord::country},
    {"music_labels", "label_name", "label_id", &TrackRecord::label},
    {"music_studios", "studio_name", "studio_id", &TrackRecord::studio},
    {"music_producers", "producer_name", "producer_id", &TrackRecord::producer},
    {"music_engineers", "engineer_name", "engineer_id", &TrackRecord::engineer},
    {"music_conductors", "conductor_name", "conductor_id", &TrackRecord::conductor},
    {"music_orchestras", "orchestra_name", "orchestra_id", &TrackRecord::orchestra},
    {"track_songwriters", "songwriter_name", "songwriter_id", &TrackRecord::songwriter},
};

} // namespace

TrackTable::TrackTable() : m_baseSelect(QLatin1String(TrackQuery)) {}

TrackTable::~TrackTable() = default;

bool TrackTable::openAlbumTracks(RecordsetHandle* recordset, Database* database, int albumId)
{
    if (!database)
        return false;
    const QString sql = QStringLiteral("%1 WHERE music_id = %2 ORDER BY tracknumber ASC")
                            .arg(m_baseSelect, QString::number(albumId));
    return OpenRecordset(recordset, database, sql);
}

bool TrackTable::readRow(Recordset* recordset, TrackRecord* record)
{
    Recordset* rs = recordset;
    record->trackId = GetFieldInt(rs, QStringLiteral("track_id"));
    record->grade = GetFieldInt(rs, QStringLiteral("grade"));
    record->albumId = GetFieldInt(rs, QStringLiteral("music_id"));
    record->year = GetFieldInt(rs, QStringLiteral("year"));
    record->trackNumber = GetFieldInt(rs, QStringLiteral("tracknumber"));
    record->artist = GetFieldText(rs, QStringLiteral("artist_name"));
    record->audioFile = GetFieldText(rs, QStringLiteral("audiofile"));
    record->genre = GetFieldText(rs, QStringLiteral("cat_name"));
    record->conductor = GetFieldText(rs, QStringLiteral("conductor_name"));
    record->country = GetFieldText(rs, QStringLiteral("country_name"));
    record->engineer = GetFieldText(rs, QStringLiteral("engineer_name"));
    record->label = GetFieldText(rs, QStringLiteral("label_name"));
    record->labelNumber = GetFieldText(rs, QStringLiteral("labelnumber"));
    record->language = GetFieldText(rs, QStringLiteral("language_name"));
    record->length = GetFieldText(rs, QStringLiteral("length"));
    record->lyrics = GetFieldText(rs, QStringLiteral("lyrics"));
    record->notes = GetFieldText(rs, QStringLiteral("notes"));
    record->orchestra = GetFieldText(rs, QStringLiteral("orchestra_name"));
    record->producer = GetFieldText(rs, QStringLiteral("producer_name"));
    record->songwriter = GetFieldText(rs, QStringLiteral("songwriter_name"));
    record->studio = GetFieldText(rs, QStringLiteral("studio_name"));
    record->subCategory = GetFieldText(rs, QStringLiteral("subcat_name"));
    record->title = GetFieldText(rs, QStringLiteral("title"));
    return true;
}

bool TrackTable::fillTrackList(Database* database, int albumId, TrackList* list)
{
    RecordsetHandle recordset;
    if (!list || !openAlbumTracks(&recordset, database, albumId))
        return false;
    while (!recordset->isEOF()) {
        auto record = std::make_unique<TrackRecord>();
        readRow(recordset.get(), record.get());
        if (!readNameIds(database, record.get()))
            return false;
        const QString number = listNumber(*record);
        const QString text = listText(*record);
        list->appendTrack(number, text, std::move(record));
        if (!recordset->moveNext())
            break;
    }
    CloseRecordset(&recordset);
    return true;
}

// The track query gives the names only; a save needs the entries they came from.
bool TrackTable::readNameIds(Database* database, TrackRecord* record)
{
    record->loadedNames.clear();
    RecordsetHandle recordset;
    const QString sql = QStringLiteral("SELECT * FROM tracks WHERE track_id = %1")
                            .arg(QString::number(record->trackId));
    if (!OpenRecordset(&recordset, database, sql) || GetRecordCount(recordset.get()) != 1)
        return false;
    for (const TrackName& name : TrackNames)
        record->loadedNames.remember(QLatin1String(name.table), record->*name.field,
                                     GetFieldInt(recordset.get(), QLatin1String(name.idColumn)));
    CloseRecordset(&recordset);
    return true;
}

QString TrackTable::listNumber(const TrackRecord& record)
{
    return QString::asprintf("%02d", record.trackNumber);
}

QString TrackTable::listText(const TrackRecord& record)
{
    if (record.length.isEmpty())
        return record.title;
    return QStringLiteral("%1 - (%2)").arg(record.title, record.length);
}

bool TrackTable::loadForPage(Database* database, int albumId, QVector<TrackRecord>* tracks)
{
    RecordsetHandle recordset;
    if (!tracks || !openAlbumTracks(&recordset, database, albumId))
        return false;
    while (!recordset->isEOF()) {
        TrackRecord record;
        readRow(recordset.get(), &record);
        tracks->append(record);
        if (!recordset->moveNext())
            break;
    }
    CloseRecordset(&recordset);
    return true;
}

int TrackTable::Save(Database* database, TrackRecord record, int trackId)
{
    if (!database)
        return -1;
    bool nameLost = false;
    QHash<QString, int> ids; // by reference column
    for (const TrackName& name : TrackNames)
        ids.insert(QLatin1String(name.idColumn),
                   findOrAddRecordName(database, record.loadedNames, name.table, name.nameColumn,
                                       record.*name.field, name.idColumn, &nameLost));
    if (nameLost)
        return -1;

    RecordsetHandle recordset;
    if (!openRowForSave(&recordset, database, QStringLiteral("tracks"), QStringLiteral("track_id"),
                        trackId))
        return -1;
    Recordset* rs = recordset.get();
    auto refer = [rs, &ids](const char* column) {
        return rs->setField(QLatin1String(column), ids.value(QLatin1String(column)));
    };
    const bool set = rs->setField(QStringLiteral("title"), record.title) && refer("artist_id") &&
                     refer("cat_id") && refer("subcat_id") &&
                     rs->setField(QStringLiteral("length"), record.length) &&
                     rs->setField(QStringLiteral("notes"), record.notes) && refer("language_id") &&
                     refer("country_id") && refer("label_id") &&
                     rs->setField(QStringLiteral("labelnumber"), record.labelNumber) &&
                     refer("studio_id") && refer("producer_id") && refer("engineer_id") &&
                     refer("songwriter_id") && refer("conductor_id") && refer("orchestra_id") &&
                     rs->setField(QStringLiteral("year"), record.year) &&
                     rs->setField(QStringLiteral("grade"), record.grade) &&
                     rs->setField(QStringLiteral("lyrics"), record.lyrics) &&
                     rs->setField(QStringLiteral("audiofile"), record.audioFile) &&
                     rs->setField(QStringLiteral("music_id"), record.albumId) &&
                     rs->setField(QStringLiteral("tracknumber"), record.trackNumber);
    return storeSavedRow(&recordset, set, QStringLiteral("track_id"));
}

bool TrackTable::Delete(Database* database, int trackId, bool hard)
{
    return DeleteRowById(database, trackId, QStringLiteral("tracks"), QStringLiteral("track_id"),
                         QStringLiteral("deleted"), hard);
}
