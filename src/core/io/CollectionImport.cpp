#include "io/CollectionImport.h"

#include "db/AlbumInserter.h"
#include "db/AlbumTable.h"
#include "db/TransactionScope.h"
#include "io/AlbumCsvFields.h"
#include "io/CsvReader.h"
#include "io/DiscogsCollection.h"
#include "io/DiscogsWantlist.h"
#include "views/AlbumColumns.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <optional>

namespace
{

// Progress is told every so many rows: often enough for a smooth bar, rarely enough to cost
// nothing.
constexpr int ProgressEveryRows = 200;

const QString NothingImported = QStringLiteral("Nothing was imported.");

int captionIndex(const QString& caption)
{
    const QVector<AlbumColumns::Column>& columns = AlbumColumns::defaults();
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].caption == caption)
            return i;
    return -1;
}

// Release ids are kept as numbers: a million of them take a third of the memory as text.
qint64 releaseNumber(const QString& releaseId)
{
    bool ok = false;
    const qint64 number = releaseId.toLongLong(&ok);
    return ok ? number : 0;
}

bool isBlankRecord(const QStringList& row)
{
    return row.size() == 1 && row.first().isEmpty();
}

ImportSummary stopped(ImportSummary::Outcome outcome, const QString& message)
{
    ImportSummary summary;
    summary.outcome = outcome;
    summary.message = message;
    return summary;
}

// The file as it was when the import began, to notice a change while it is read.
struct FileStamp {
    qint64 size = -1;
    QDateTime modified;

    static FileStamp of(const QString& path)
    {
        const QFileInfo info(path);
        return {info.size(), info.lastModified()};
    }
    bool operator==(const FileStamp& other) const
    {
        return size == other.size && modified == other.modified;
    }
};

} // namespace

CollectionImport::CollectionImport(Database* database) : m_database(database) {}

QString CollectionImport::headerKind(const QStringList& header)
{
    if (DiscogsCollection::isCollectionHeader(header))
        return QStringLiteral("a Discogs collection export");
    const QString other = DiscogsCollection::otherExportKind(header);
    if (!other.isEmpty())
        return other;
    const bool allCaptions = std::all_of(header.begin(), header.end(), [](const QString& name) {
        return captionIndex(name.trimmed()) >= 0;
    });
    if (allCaptions)
        return QStringLiteral("a list of album columns");
    QStringList names = header.mid(0, 4);
    for (QString& name : names)
        name = QStringLiteral("\"%1\"").arg(name.left(40));
    return QStringLiteral("a CSV file whose header begins %1")
        .arg(names.join(QStringLiteral(", ")));
}

bool CollectionImport::mapCaptions(const QStringList& header, QString* refusal)
{
    m_fields.clear();
    for (const QString& name : header) {
        const int index = captionIndex(name.trimmed());
        if (index < 0) {
            *refusal = QStringLiteral("The column \"%1\" is not an album column.").arg(name);
            return false;
        }
        const QString field = AlbumColumns::defaults()[index].field;
        if (m_fields.contains(field)) {
            *refusal = QStringLiteral("The column \"%1\" appears twice.").arg(name);
            return false;
        }
        m_fields << field;
    }
    return true;
}

bool CollectionImport::chooseFormat(const QStringList& header, Format wanted, QString* refusal)
{
    const bool discogs = DiscogsCollection::isCollectionHeader(header);
    const bool wantlist = DiscogsWantlist::isWantlistHeader(header);
    QString captionRefusal;
    const bool captions = !discogs && mapCaptions(header, &captionRefusal);
    m_format = wanted;
    if (wanted == Format::DiscogsWantlist) {
        if (wantlist)
            return true;
        *refusal = QStringLiteral("This file looks like %1, not a Discogs wantlist.")
                       .arg(headerKind(header));
    } else if (wanted == Format::Discogs || (wanted == Format::Detect && discogs)) {
        m_format = Format::Discogs;
        if (discogs)
            return true;
        *refusal = QStringLiteral("This file looks like %1, not a Discogs collection export.")
                       .arg(headerKind(header));
    } else if (wanted == Format::Csv || (wanted == Format::Detect && captions)) {
        m_format = Format::Csv;
        if (captions)
            return true;
        *refusal = QStringLiteral("This file looks like %1, not a list of album columns.")
                       .arg(headerKind(header));
        if (!discogs && !wantlist)
            *refusal += QLatin1Char(' ') + captionRefusal;
    } else {
        *refusal = QStringLiteral("This file looks like %1: neither a Discogs collection export "
                                  "nor a list of album columns.")
                       .arg(headerKind(header));
    }
    if (wantlist)
        *refusal += QStringLiteral(" Its albums are wanted, not owned: import it with %1.")
                        .arg(m_wantlistCommand);
    *refusal += QLatin1Char(' ') + NothingImported;
    return false;
}

bool CollectionImport::rowToAlbum(const QStringList& row, AlbumRecord* album, QString* error) const
{
    if (m_format == Format::Discogs)
        return DiscogsCollection::toAlbum(m_header, row, album, error);
    if (m_format == Format::DiscogsWantlist)
        return DiscogsWantlist::toAlbum(m_header, row, album, error);
    if (row.size() != m_fields.size()) {
        *error = QStringLiteral("%1 fields where the header names %2")
                     .arg(row.size())
                     .arg(m_fields.size());
        return false;
    }
    for (int i = 0; i < row.size(); ++i) {
        QString cellError;
        if (!AlbumCsvFields::setField(album, m_fields[i], row[i], &cellError)) {
            *error = QStringLiteral("%1: %2").arg(m_header[i], cellError);
            return false;
        }
    }
    return true;
}

bool CollectionImport::loadKnownReleases()
{
    m_knownReleases.clear();
    AlbumTable albums;
    RecordsetHandle recordset;
    const QString sql = QStringLiteral("SELECT url FROM music WHERE deleted = %1 AND url LIKE "
                                       "'%discogs.com/%release/%'")
                            .arg(CatalogTable::booleanWord(false));
    if (!albums.OpenRecordset(&recordset, m_database, sql))
        return false;
    while (!recordset->isEOF()) {
        const qint64 id = releaseNumber(DiscogsCollection::releaseIdOfUrl(
            albums.GetFieldText(recordset.get(), QStringLiteral("url"))));
        if (id > 0)
            m_knownReleases.insert(id);
        if (!recordset->moveNext())
            break;
    }
    return true;
}

// False only when the catalogue refused the album; the engine has reported why.
bool CollectionImport::storeAlbum(const AlbumRecord& album, AlbumInserter* inserter,
                                  ImportSummary* summary)
{
    const qint64 release = releaseNumber(DiscogsCollection::releaseIdOfUrl(album.url));
    if (release > 0 && m_knownReleases.contains(release)) {
        ++summary->skipped;
        return true;
    }
    if (inserter && inserter->add(album) < 0)
        return false;
    if (release > 0)
        m_knownReleases.insert(release);
    ++summary->imported;
    return true;
}

void CollectionImport::importRows(CsvReader* reader, qint64 total, AlbumInserter* inserter,
                                  ImportSummary* summary)
{
    QStringList row;
    int rows = 0;
    // One blank album for the whole import: its default dates are read from the clock once,
    // and every album imported gets the same.
    const AlbumRecord blank;
    for (;;) {
        const CsvReader::Status status = reader->readRecord(&row);
        if (status == CsvReader::Status::End)
            break;
        if (status == CsvReader::Status::Failed) {
            summary->outcome = ImportSummary::Outcome::Failed;
            summary->message = reader->errorText() + QLatin1String(". ") + NothingImported;
            return;
        }
        if (++rows % ProgressEveryRows == 0 && m_progress &&
            !m_progress(reader->bytesRead(), total)) {
            summary->outcome = ImportSummary::Outcome::Cancelled;
            summary->message = QStringLiteral("The import was cancelled. ") + NothingImported;
            return;
        }
        if (status == CsvReader::Status::Malformed) {
            summary->addBadRow(reader->errorLine(), reader->errorReason());
            continue;
        }
        if (isBlankRecord(row))
            continue;
        AlbumRecord album = blank;
        QString error;
        if (!rowToAlbum(row, &album, &error)) {
            summary->addBadRow(reader->recordLine(), error);
            continue;
        }
        if (!storeAlbum(album, inserter, summary)) {
            summary->outcome = ImportSummary::Outcome::Failed;
            summary->message = QStringLiteral("The album on line %1 could not be stored: %2. ")
                                   .arg(reader->recordLine())
                                   .arg(m_database->lastError().description) +
                               NothingImported;
            return;
        }
    }
    summary->outcome = inserter ? ImportSummary::Outcome::Stored : ImportSummary::Outcome::DryRun;
    if (m_progress)
        m_progress(total, total);
}

ImportSummary CollectionImport::run(const QString& path, Format format, bool dryRun)
{
    using Outcome = ImportSummary::Outcome;
    if (!m_database)
        return stopped(Outcome::Failed, NothingImported);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return stopped(Outcome::Failed,
                       QStringLiteral("Cannot read \"%1\": %2").arg(path, file.errorString()));
    // A pipe (standard input, a process substitution) is read as it comes: it cannot change
    // while it is read, and has no size to tell progress by.
    const bool regularFile = QFileInfo(path).isFile();
    const FileStamp before = regularFile ? FileStamp::of(path) : FileStamp{0, QDateTime()};
    CsvReader reader(&file);
    switch (reader.readRecord(&m_header)) {
    case CsvReader::Status::End:
        return stopped(Outcome::Refused, QStringLiteral("The file is empty. ") + NothingImported);
    case CsvReader::Status::Failed:
    case CsvReader::Status::Malformed:
        return stopped(Outcome::Refused,
                       reader.errorText() + QLatin1String(". ") + NothingImported);
    case CsvReader::Status::Record:
        break;
    }
    QString refusal;
    if (!chooseFormat(m_header, format, &refusal))
        return stopped(Outcome::Refused, refusal);
    if (!dryRun && m_database->isReadOnly())
        return stopped(Outcome::Failed,
                       QStringLiteral("The catalogue is read-only. ") + NothingImported);

    // Nothing is stored unless every row has been read: a failure or a cancel rolls all back.
    std::optional<TransactionScope> transaction;
    if (!dryRun) {
        transaction.emplace(m_database);
        if (!transaction->isActive())
            return stopped(Outcome::Failed, m_database->lastError().description +
                                                QLatin1String(". ") + NothingImported);
    }
    if (!loadKnownReleases())
        return stopped(Outcome::Failed, NothingImported);
    ImportSummary summary;
    {
        // Its statements end before the transaction does.
        std::optional<AlbumInserter> inserter;
        if (!dryRun)
            inserter.emplace(m_database);
        importRows(&reader, before.size, inserter ? &*inserter : nullptr, &summary);
    }
    if (summary.outcome != Outcome::Stored && summary.outcome != Outcome::DryRun)
        return summary;
    if (regularFile && (!(FileStamp::of(path) == before) || reader.bytesRead() != before.size))
        return stopped(Outcome::Failed,
                       QStringLiteral("The file changed while it was read. ") + NothingImported);
    if (transaction && !transaction->commit())
        return stopped(Outcome::Failed,
                       m_database->lastError().description + QLatin1String(". ") + NothingImported);
    return summary;
}
