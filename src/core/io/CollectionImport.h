#pragma once

#include "io/ImportSummary.h"

#include <QSet>
#include <QStringList>
#include <functional>

class AlbumInserter;
class Database;
class CsvReader;
struct AlbumRecord;

// Brings albums from a CSV file into the catalogue: a Discogs collection export, a Discogs
// wantlist export (as albums not in the collection), or a list whose header names album column
// captions (what the CSV export writes). The whole import is one transaction, so a failure, a
// cancel or a killed program leaves the catalogue as it was. A Discogs release already in the
// catalogue (by the release id in its url), owned or wanted, is skipped.
class CollectionImport
{
public:
    // A wantlist is imported only when asked for: detected, it is refused, so that wanted
    // records are never stored as owned ones by mistake.
    enum class Format { Detect, Discogs, Csv, DiscogsWantlist };
    // Told the bytes read and the file's size now and then; returning false cancels.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    explicit CollectionImport(Database* database);

    void setProgress(Progress progress) { m_progress = std::move(progress); }
    // How the program at hand imports a wantlist ("--format discogs-wantlist", a menu item):
    // the refusal of a wantlist offered as anything else names it.
    void setWantlistCommand(const QString& command) { m_wantlistCommand = command; }
    // A dry run reads and checks everything and counts what would be stored, storing nothing.
    ImportSummary run(const QString& path, Format format, bool dryRun);

    // What a header looks like, for the refusal of a file that is not of the wanted kind.
    static QString headerKind(const QStringList& header);

private:
    bool chooseFormat(const QStringList& header, Format wanted, QString* refusal);
    bool mapCaptions(const QStringList& header, QString* refusal);
    bool rowToAlbum(const QStringList& row, AlbumRecord* album, QString* error) const;
    bool loadKnownReleases();
    // Without an inserter nothing is stored: a dry run.
    void importRows(CsvReader* reader, qint64 total, AlbumInserter* inserter,
                    ImportSummary* summary);
    bool storeAlbum(const AlbumRecord& album, AlbumInserter* inserter, ImportSummary* summary);

    Database* m_database;
    Progress m_progress;
    QString m_wantlistCommand = QStringLiteral("the wantlist import");
    Format m_format = Format::Detect;
    QStringList m_header;
    QStringList m_fields; // the SQL column of each header name, for the generic format
    QSet<qint64> m_knownReleases;
};
