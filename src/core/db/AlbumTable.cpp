#include "db/AlbumTable.h"

#include "app/AppPaths.h"
#include "db/TrackTable.h"
#include "db/TransactionScope.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace
{

const char* const AlbumQuery =
    "SELECT music.music_id, music.number, a.artist_name, music.title, type.type_name, "
    "music.year, music.length, c.cat_name, subcat.subcat_name, music.value, p.person_name, "
    "pf.purchasedfrom_name, music.purchasedate, music.frontimage, music.backimage, "
    "music.contents, music.notes, music.loandate, music.returndate, "
    "music_locations.location_name, music.grade, music.incollection, "
    "conditions.condition_name, music.purchaseprice, languages.language_name, "
    "countries.country_name, music.url, music_labels.label_name, music.labelnumber, "
    "music_studios.studio_name, music_producers.producer_name, music.ad, "
    "music_engineers.engineer_name, music.recordingdate, music.tourname, "
    "music_conductors.conductor_name, music_orchestras.orchestra_name, music.freedbid FROM "
    "(((((((((((((((music LEFT JOIN music_categories AS c ON music.cat_id = c.cat_id) "
    "LEFT JOIN music_artists AS a ON music.artist_id = a.artist_id) "
    "LEFT JOIN persons AS p ON music.person_id = p.person_id) "
    "LEFT JOIN music_subcategories AS subcat ON music.subcat_id = subcat.subcat_id) "
    "LEFT JOIN music_types AS type ON music.type_id = type.type_id) "
    "LEFT JOIN purchasedfrom AS pf ON music.purchasedfrom_id = pf.purchasedfrom_id) "
    "LEFT JOIN music_locations ON music.location_id = music_locations.location_id) "
    "LEFT JOIN conditions ON music.condition_id = conditions.condition_id) "
    "LEFT JOIN languages ON music.language_id = languages.language_id) "
    "LEFT JOIN countries ON music.country_id = countries.country_id) "
    "LEFT JOIN music_labels ON music.label_id = music_labels.label_id) "
    "LEFT JOIN music_studios ON music.studio_id = music_studios.studio_id) "
    "LEFT JOIN music_producers ON music.producer_id = music_producers.producer_id) "
    "LEFT JOIN music_engineers ON music.engineer_id = music_engineers.engineer_id) "
    "LEFT JOIN music_conductors ON music.conductor_id = music_conductors.conductor_id) "
    "LEFT JOIN music_orchestras ON music.orchestra_id = music_orchestras.orchestra_id";

const char* const PageFileName = "post.html";

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int skipDigits(const QString& text, int at)
{
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return at;
}

// One of the album's sixteen names: its lookup table with the name and id columns (the album's
// reference column is named like the id column) and the record's field.
struct AlbumName {
    const char* table;
    const char* nameColumn;
    const char* idColumn;
    QString AlbumRecord::*field;
};

// In the order a save looks them up.
const AlbumName AlbumNames[] = {
    {"music_artists", "artist_name", "artist_id", &AlbumRecord::artist},
    {"music_types", "type_name", "type_id", &AlbumRecord::mediaType},
    {"music_categories", "cat_name", "cat_id", &AlbumRecord::genre},
    {"music_subcategories", "subcat_name", "subcat_id", &AlbumRecord::subCategory},
    {"persons", "person_name", "person_id", &AlbumRecord::onLoanTo},
    {"purchasedfrom", "purchasedfrom_name", "purchasedfrom_id", &AlbumRecord::purchasedFrom},
    {"music_locations", "location_name", "location_id", &AlbumRecord::location},
    {"conditions", "condition_name", "condition_id", &AlbumRecord::condition},
    {"languages", "language_name", "language_id", &AlbumRecord::language},
    {"countries", "country_name", "country_id", &AlbumRecord::country},
    {"music_labels", "label_name", "label_id", &AlbumRecord::label},
    {"music_studios", "studio_name", "studio_id", &AlbumRecord::studio},
    {"music_producers", "producer_name", "producer_id", &AlbumRecord::producer},
    {"music_engineers", "engineer_name", "engineer_id", &AlbumRecord::engineer},
    {"music_conductors", "conductor_name", "conductor_id", &AlbumRecord::conductor},
    {"music_orchestras", "orchestra_name", "orchestra_id", &AlbumRecord::orchestra},
};

} // namespace

AlbumTable::AlbumTable() : m_baseSelect(QLatin1String(AlbumQuery)) {}

AlbumTable::~AlbumTable() = default;

double AlbumTable::moneyValue(const QString& text)
{
    int at = 0;
    while (at < text.size() && (text[at] == QLatin1Char(' ') ||
                                (text[at] >= QLatin1Char('\t') && text[at] <= QLatin1Char('\r'))))
        ++at;
    const int start = at;
    if (at < text.size() && (text[at] == QLatin1Char('+') || text[at] == QLatin1Char('-')))
        ++at;
    const int integerEnd = skipDigits(text, at);
    int end = integerEnd;
    bool hasDigits = integerEnd > at;
    if (end < text.size() && text[end] == QLatin1Char('.')) {
        const int fractionEnd = skipDigits(text, end + 1);
        hasDigits = hasDigits || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!hasDigits)
        return 0.0;
    if (end < text.size() && (text[end] == QLatin1Char('e') || text[end] == QLatin1Char('E'))) {
        int exponent = end + 1;
        if (exponent < text.size() &&
            (text[exponent] == QLatin1Char('+') || text[exponent] == QLatin1Char('-')))
            ++exponent;
        const int exponentEnd = skipDigits(text, exponent);
        if (exponentEnd > exponent)
            end = exponentEnd;
    }
    bool ok = false;
    const double value = text.mid(start, end - start).toLatin1().toDouble(&ok);
    return ok ? value : 0.0;
}

bool AlbumTable::Load(Database* database, int id, AlbumRecord* record)
{
    if (!database || !record)
        return false;
    RecordsetHandle recordset;
    const QString sql =
        QStringLiteral("%1 WHERE music_id = %2").arg(m_baseSelect, QString::number(id));
    if (!OpenRecordset(&recordset, database, sql))
        return false;
    if (GetRecordCount(recordset.get()) != 1)
        return false;
    Recordset* rs = recordset.get();
    auto text = [&](const char* column) { return GetFieldText(rs, QLatin1String(column)); };
    auto integer = [&](const char* column) { return GetFieldInt(rs, QLatin1String(column)); };
    auto date = [&](const char* column) { return GetFieldDate(rs, QLatin1String(column)); };
    record->artist = text("artist_name");
    record->title = text("title");
    record->mediaType = text("type_name");
    record->genre = text("cat_name");
    record->subCategory = text("subcat_name");
    record->currentValue = text("value");
    record->length = text("length");
    record->onLoanTo = text("person_name");
    record->purchasedFrom = text("purchasedfrom_name");
    record->contents = text("contents");
    record->notes = text("notes");
    record->frontImage = text("frontimage");
    record->backImage = text("backimage");
    record->location = text("location_name");
    record->condition = text("condition_name");
    record->purchasePrice = text("purchaseprice");
    record->language = text("language_name");
    record->country = text("country_name");
    record->url = text("url");
    record->label = text("label_name");
    record->labelNumber = text("labelnumber");
    record->studio = text("studio_name");
    record->producer = text("producer_name");
    record->engineer = text("engineer_name");
    record->tourName = text("tourname");
    record->conductor = text("conductor_name");
    record->orchestra = text("orchestra_name");
    record->freedbId = text("freedbid");
    record->number = integer("number");
    record->year = integer("year");
    record->grade = integer("grade");
    record->inCollection = integer("incollection");
    record->ad = integer("ad");
    record->purchaseDate = date("purchasedate");
    record->loanDate = date("loandate");
    record->returnDate = date("returndate");
    record->recordingDate = date("recordingdate");
    CloseRecordset(&recordset);
    return readNameIds(database, id, record);
}

// The album query gives the names only; a save needs the entries they came from.
bool AlbumTable::readNameIds(Database* database, int id, AlbumRecord* record)
{
    record->loadedNames.clear();
    RecordsetHandle recordset;
    const QString sql =
        QStringLiteral("SELECT * FROM music WHERE music_id = %1").arg(QString::number(id));
    if (!OpenRecordset(&recordset, database, sql) || GetRecordCount(recordset.get()) != 1)
        return false;
    for (const AlbumName& name : AlbumNames)
        record->loadedNames.remember(QLatin1String(name.table), record->*name.field,
                                     GetFieldInt(recordset.get(), QLatin1String(name.idColumn)));
    CloseRecordset(&recordset);
    return true;
}

bool AlbumTable::FillList(Database* database, RowTable* list, const QString& sortText,
                          bool deletedValue, const QString& condition)
{
    return FillListFromHeader(database, list, m_baseSelect, QStringLiteral("music_id"), sortText,
                              condition, deletedValue);
}

bool AlbumTable::Delete(Database* database, int id, bool hard)
{
    return DeleteRowById(database, id, QStringLiteral("music"), QStringLiteral("music_id"),
                         QStringLiteral("deleted"), hard);
}

int AlbumTable::Update(Database* database, int id, const AlbumRecord& record)
{
    return Save(database, record, id);
}

int AlbumTable::Add(Database* database, const AlbumRecord& record)
{
    return Save(database, record, -1);
}

int AlbumTable::Save(Database* database, const AlbumRecord& record, int id)
{
    if (!database)
        return -1;
    bool nameLost = false;
    QHash<QString, int> ids; // by reference column
    for (const AlbumName& name : AlbumNames)
        ids.insert(QLatin1String(name.idColumn),
                   findOrAddRecordName(database, record.loadedNames, name.table, name.nameColumn,
                                       record.*name.field, name.idColumn, &nameLost));
    if (nameLost)
        return -1;

    RecordsetHandle recordset;
    if (!openRowForSave(&recordset, database, QStringLiteral("music"), QStringLiteral("music_id"),
                        id))
        return -1;
    Recordset* rs = recordset.get();
    auto set = [rs](const char* column, const QVariant& value) {
        return rs->setField(QLatin1String(column), value);
    };
    // A date that was never given (as an empty cell of an imported list) is stored as none.
    auto dateValue = [](const QDateTime& date) {
        return date.isValid() ? QVariant(date) : QVariant();
    };
    auto refer = [&set, &ids](const char* column) {
        return set(column, ids.value(QLatin1String(column)));
    };
    const bool written =
        set("title", record.title) && refer("artist_id") && set("number", record.number) &&
        refer("type_id") && set("year", record.year) && refer("cat_id") && refer("subcat_id") &&
        set("value", moneyValue(record.currentValue)) && refer("person_id") &&
        refer("purchasedfrom_id") && set("purchasedate", dateValue(record.purchaseDate)) &&
        set("frontimage", record.frontImage) && set("backimage", record.backImage) &&
        set("length", record.length) && set("contents", record.contents) &&
        set("notes", record.notes) && set("returndate", dateValue(record.returnDate)) &&
        set("loandate", dateValue(record.loanDate)) && refer("location_id") &&
        refer("condition_id") && set("grade", record.grade) &&
        set("purchaseprice", moneyValue(record.purchasePrice)) && set("url", record.url) &&
        set("incollection", record.inCollection != 0) && refer("language_id") &&
        refer("country_id") && refer("label_id") && set("labelnumber", record.labelNumber) &&
        refer("studio_id") && refer("producer_id") && set("ad", record.ad) &&
        refer("engineer_id") && set("recordingdate", dateValue(record.recordingDate)) &&
        set("tourname", record.tourName) && refer("conductor_id") && refer("orchestra_id") &&
        set("freedbid", record.freedbId);
    return storeSavedRow(&recordset, written, QStringLiteral("music_id"));
}

int AlbumTable::saveWithTracks(Database* database, const AlbumRecord& record, int id,
                               QVector<TrackRecord>* tracks)
{
    if (!database || !tracks)
        return -1;
    TransactionScope transaction(database);
    if (!transaction.isActive()) {
        reportEngineError(database->lastError());
        return -1;
    }
    const int albumId = Save(database, record, id);
    if (albumId == -1)
        return -1;
    // Ids are handed back only once everything is stored, so a failed save leaves the
    // caller's tracks as they were and a retry adds them afresh.
    QVector<TrackRecord> saved = *tracks;
    TrackTable trackTable;
    for (TrackRecord& track : saved) {
        track.albumId = albumId;
        track.trackId = trackTable.Save(database, track, track.trackId);
        if (track.trackId == -1)
            return -1;
    }
    if (!transaction.commit()) {
        reportEngineError(database->lastError());
        return -1;
    }
    *tracks = saved;
    return albumId;
}

AlbumTable::AlbumState AlbumTable::albumState(Database* database, int id)
{
    RecordsetHandle recordset;
    const QString sql = QStringLiteral("SELECT music_id FROM music WHERE music_id = %1 AND "
                                       "deleted = FALSE")
                            .arg(QString::number(id));
    if (!database || !OpenRecordset(&recordset, database, sql))
        return AlbumState::Unreadable;
    const bool stored = GetRecordCount(recordset.get()) == 1;
    CloseRecordset(&recordset);
    return stored ? AlbumState::Stored : AlbumState::Deleted;
}

int AlbumTable::Count(Database* database, bool deletedValue)
{
    return CountByDeleted(database, QStringLiteral("music"), QStringLiteral("deleted"),
                          deletedValue);
}

bool AlbumTable::Export(Database*, const QString&, bool, const QString&)
{
    return false;
}

QString AlbumTable::WritePage(Database* database, int id, bool deletedValue)
{
    AlbumRecord record;
    if (!LoadPageAlbum(database, id, deletedValue, &record))
        return QString();
    QFile file(AppPaths::pageDirectory() + QLatin1String(PageFileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    // The view shows what the page got, a write error or not.
    WritePageContent(database, id, record, &file);
    file.close();
    return QFileInfo(file).absoluteFilePath();
}

AlbumTable::PageResult AlbumTable::WritePageTo(Database* database, int id, bool deletedValue,
                                               QIODevice* device)
{
    AlbumRecord record;
    if (!LoadPageAlbum(database, id, deletedValue, &record))
        return PageResult::NoAlbum;
    return WritePageContent(database, id, record, device);
}

// The album the page is of: exactly one row with that id and deleted value.
bool AlbumTable::LoadPageAlbum(Database* database, int id, bool deletedValue, AlbumRecord* record)
{
    if (!database)
        return false;
    RecordsetHandle recordset;
    const QString sql = QStringLiteral("%1 WHERE music_id = %2 AND deleted = %3")
                            .arg(m_baseSelect, QString::number(id), booleanWord(deletedValue));
    if (!OpenRecordset(&recordset, database, sql))
        return false;
    const bool single = GetRecordCount(recordset.get()) == 1;
    CloseRecordset(&recordset);
    return single && Load(database, id, record);
}

AlbumTable::PageResult AlbumTable::WritePageContent(Database* database, int id,
                                                    const AlbumRecord& record, QIODevice* device)
{
    QVector<TrackRecord> tracks;
    // Without its tracks the album would look complete when it is not: the page stays empty.
    if (!TrackTable().loadForPage(database, id, &tracks))
        return PageResult::TracksUnreadable;
    // Each part runs even when one before it failed.
    const bool header = WritePageHeader(device, QStringLiteral("Music Item"));
    const bool body = WriteAlbumBody(device, record, tracks);
    const bool footer = WritePageFooter(device);
    return header && body && footer ? PageResult::Written : PageResult::WriteFailed;
}

bool AlbumTable::WriteListTable(Database* database, const QVector<ColumnInfo>& columns,
                                int gridLines, const QString& path, const QString& sortText,
                                bool deletedValue, const QString& condition)
{
    if (!database)
        return false;
    return WriteQueryAsTable(database,
                             BuildItemQuery(m_baseSelect, sortText, deletedValue, condition),
                             columns, gridLines, path);
}
