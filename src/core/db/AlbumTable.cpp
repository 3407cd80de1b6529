#include "db/AlbumTable.h"

#include "app/AppPaths.h"
#include "db/AlbumField.h"
#include "db/AlbumIdsTable.h"
#include "db/AlbumRowReader.h"
#include "db/CatalogSchema.h"
#include "db/LookupList.h"
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

// The album query: its text as it has always been, and then any field added since, so that
// every field of the table is read, the album's ids joined from their own table.
QString albumQuery(bool idsTablePresent)
{
    const QString query = QLatin1String(AlbumQuery);
    const qsizetype from = query.indexOf(QLatin1String(" FROM "));
    const QString selected = query.left(from) + u',';
    QString added;
    for (const AlbumField& field : AlbumField::all()) {
        const QString column = QLatin1String(field.table) + u'.' + QLatin1String(field.queryColumn);
        if (field.kind != AlbumField::Kind::Name && !selected.contains(column + u','))
            added += QLatin1String(", ") + column;
    }
    return query.left(from) + added + query.mid(from) + AlbumIdsTable::join(idsTablePresent);
}

} // namespace

AlbumTable::AlbumTable() : m_baseSelect(albumQuery(true)), m_selectWithoutIds(albumQuery(false)) {}

const QString& AlbumTable::baseSelect(Database* database) const
{
    const bool idsTablePresent =
        !database || database->hasTable(QLatin1String(AlbumIdsTable::Table));
    return idsTablePresent ? m_baseSelect : m_selectWithoutIds;
}

AlbumTable::~AlbumTable() = default;

QString AlbumTable::listedIdsQuery(Database* database, const QString& condition) const
{
    const QString& select = baseSelect(database);
    const QString joins = select.mid(select.indexOf(QLatin1String(" FROM ")));
    return BuildItemQuery(QLatin1String("SELECT music.music_id") + joins, QString(), false,
                          condition);
}

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
        QStringLiteral("%1 WHERE music_id = %2").arg(baseSelect(database), QString::number(id));
    if (!OpenRecordset(&recordset, database, sql))
        return false;
    if (GetRecordCount(recordset.get()) != 1)
        return false;
    AlbumRowReader::read(*this, recordset.get(), record);
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
    for (const AlbumField& field : AlbumField::all())
        if (field.list)
            record->loadedNames.remember(field.list->table, record->*field.text,
                                         GetFieldInt(recordset.get(), QLatin1String(field.column)));
    CloseRecordset(&recordset);
    return true;
}

QString AlbumTable::listSelect(Database* database, const QStringList& fields,
                               const QString& sortText, const QString& condition)
{
    const QString needed = fields.join(u' ') + u' ' + sortText + u' ' + condition;
    return m_listSelect.select(database, baseSelect(database), needed);
}

qint64 AlbumTable::countListed(Database* database, const QString& condition)
{
    if (!database)
        return -1;
    if (condition.isEmpty())
        return Count(database, false);
    // Without the sort: the engine need not order what it only counts.
    const QString sql = QStringLiteral("SELECT COUNT(*) AS total FROM (%1)")
                            .arg(BuildItemQuery(listSelect(database, {}, QString(), condition),
                                                QString(), false, condition));
    RecordsetHandle counted;
    if (!OpenRecordset(&counted, database, sql))
        return -1;
    QVariant total;
    const bool read = counted->field(0, &total);
    CloseRecordset(&counted);
    return read ? total.toLongLong() : -1;
}

bool AlbumTable::FillList(Database* database, RowTable* list, const QString& sortText,
                          bool deletedValue, const QString& condition)
{
    if (!database || !list)
        return false;
    return FillListFromHeader(database, list,
                              listSelect(database, list->headerFields(), sortText, condition),
                              QStringLiteral("music_id"), sortText, condition, deletedValue);
}

bool AlbumTable::Delete(Database* database, int id, bool hard)
{
    if (!database)
        return false;
    // A catalogue that cannot be written is told by the delete itself, as it always was: the
    // transaction is only what keeps the album and its ids together where it can begin.
    TransactionScope transaction(database);
    CatalogSchema::addMissingIndexes(database);
    if (!DeleteRowById(database, id, QStringLiteral("music"), QStringLiteral("music_id"),
                       QStringLiteral("deleted"), hard))
        return false;
    return idsFollowed(database, AlbumIdsTable(database).followDelete(id, hard), &transaction);
}

// The end of a change whose last step was to the album's ids: reported and undone when that
// step or the commit failed.
bool AlbumTable::idsFollowed(Database* database, bool stored, TransactionScope* transaction)
{
    if (!stored || (transaction->isActive() && !transaction->commit())) {
        reportEngineError(database->lastError());
        return false;
    }
    return true;
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
    // As with a delete, a catalogue that cannot be written is told by the row's own save.
    TransactionScope transaction(database);
    CatalogSchema::addMissingIndexes(database);
    const int albumId = saveAlbumRow(database, record, id);
    if (albumId == -1)
        return -1;
    return idsFollowed(database, AlbumIdsTable(database).store(albumId, record), &transaction)
               ? albumId
               : -1;
}

int AlbumTable::saveAlbumRow(Database* database, const AlbumRecord& record, int id)
{
    bool nameLost = false;
    QHash<QByteArray, int> ids; // by reference column
    for (const AlbumField& field : AlbumField::all())
        if (field.list)
            ids.insert(field.column,
                       findOrAddRecordName(database, record.loadedNames,
                                           field.list->table.toLatin1().constData(),
                                           field.queryColumn.constData(), record.*field.text,
                                           field.column.constData(), &nameLost));
    if (nameLost)
        return -1;

    RecordsetHandle recordset;
    if (!openRowForSave(&recordset, database, QStringLiteral("music"), QStringLiteral("music_id"),
                        id))
        return -1;
    bool written = true;
    for (const AlbumField& field : AlbumField::all()) {
        if (!field.isInAlbumsTable())
            continue;
        const QVariant value =
            field.list ? QVariant(ids.value(field.column)) : field.storedValue(record);
        written = written && recordset->setField(QLatin1String(field.column), value);
    }
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

int AlbumTable::CountUpTo(Database* database, int limit)
{
    return CountByDeleted(database, QStringLiteral("music"), QStringLiteral("deleted"), false,
                          limit);
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
    const QString sql =
        QStringLiteral("%1 WHERE music_id = %2 AND deleted = %3")
            .arg(baseSelect(database), QString::number(id), booleanWord(deletedValue));
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
    return writeListPreview(database, columns, gridLines, path, sortText, deletedValue, condition,
                            NoRowLimit);
}

bool AlbumTable::writeListPreview(Database* database, const QVector<ColumnInfo>& columns,
                                  int gridLines, const QString& path, const QString& sortText,
                                  bool deletedValue, const QString& condition, int rowLimit)
{
    if (!database)
        return false;
    return WriteQueryAsTable(
        database, BuildItemQuery(baseSelect(database), sortText, deletedValue, condition), columns,
        gridLines, path, rowLimit);
}
