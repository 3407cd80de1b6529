#include "db/TrackTable.h"

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
        const QString number = listNumber(*record);
        const QString text = listText(*record);
        list->appendTrack(number, text, std::move(record));
        if (!recordset->moveNext())
            break;
    }
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
    auto idOf = [&](const char* table, const char* nameColumn, const QString& name,
                    const char* idColumn) {
        return findOrAddRecordName(database, table, nameColumn, name, idColumn, &nameLost);
    };
    const int artistId = idOf("music_artists", "artist_name", record.artist, "artist_id");
    const int genreId = idOf("music_categories", "cat_name", record.genre, "cat_id");
    const int subCategoryId =
        idOf("music_subcategories", "subcat_name", record.subCategory, "subcat_id");
    const int languageId = idOf("languages", "language_name", record.language, "language_id");
    const int countryId = idOf("countries", "country_name", record.country, "country_id");
    const int labelId = idOf("music_labels", "label_name", record.label, "label_id");
    const int studioId = idOf("music_studios", "studio_name", record.studio, "studio_id");
    const int producerId = idOf("music_producers", "producer_name", record.producer, "producer_id");
    const int engineerId = idOf("music_engineers", "engineer_name", record.engineer, "engineer_id");
    const int conductorId =
        idOf("music_conductors", "conductor_name", record.conductor, "conductor_id");
    const int orchestraId =
        idOf("music_orchestras", "orchestra_name", record.orchestra, "orchestra_id");
    const int songwriterId =
        idOf("track_songwriters", "songwriter_name", record.songwriter, "songwriter_id");
    if (nameLost)
        return -1;

    RecordsetHandle recordset;
    if (!openRowForSave(&recordset, database, QStringLiteral("tracks"), QStringLiteral("track_id"),
                        trackId))
        return -1;
    Recordset* rs = recordset.get();
    const bool set = rs->setField(QStringLiteral("title"), record.title) &&
                     rs->setField(QStringLiteral("artist_id"), artistId) &&
                     rs->setField(QStringLiteral("cat_id"), genreId) &&
                     rs->setField(QStringLiteral("subcat_id"), subCategoryId) &&
                     rs->setField(QStringLiteral("length"), record.length) &&
                     rs->setField(QStringLiteral("notes"), record.notes) &&
                     rs->setField(QStringLiteral("language_id"), languageId) &&
                     rs->setField(QStringLiteral("country_id"), countryId) &&
                     rs->setField(QStringLiteral("label_id"), labelId) &&
                     rs->setField(QStringLiteral("labelnumber"), record.labelNumber) &&
                     rs->setField(QStringLiteral("studio_id"), studioId) &&
                     rs->setField(QStringLiteral("producer_id"), producerId) &&
                     rs->setField(QStringLiteral("engineer_id"), engineerId) &&
                     rs->setField(QStringLiteral("songwriter_id"), songwriterId) &&
                     rs->setField(QStringLiteral("conductor_id"), conductorId) &&
                     rs->setField(QStringLiteral("orchestra_id"), orchestraId) &&
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
