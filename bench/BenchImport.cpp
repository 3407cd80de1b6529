// The Discogs collection import against its floor: the same albums and names inserted through
// the bare engine in one transaction, with everything the import reads and maps done
// beforehand.
#include "CatalogueGenerator.h"
#include "db/DatabaseEx.h"
#include "db/OleDate.h"
#include "io/CollectionImport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>
#include <sys/resource.h>

namespace
{

constexpr int AlbumsPerArtist = 5;
constexpr int Labels = 700;

struct GeneratedRow {
    QByteArray artist, title, label, labelNumber, format, url, notes, condition;
    int year = 0, grade = 0;
    double added = 0;
};

GeneratedRow generatedRow(int i)
{
    GeneratedRow row;
    row.artist = "Artist " + QByteArray::number(i / AlbumsPerArtist);
    row.title = "Title " + QByteArray::number(i);
    row.label = "Label " + QByteArray::number(i % Labels);
    row.labelNumber = "CAT " + QByteArray::number(i);
    row.format = "2xLP, Album, RE";
    row.year = 1950 + i % 70;
    row.grade = (i % 6) * 2;
    row.url = "https://www.discogs.com/release/" + QByteArray::number(i + 1);
    row.condition = "Mint (M)";
    row.notes = "Format: 2xLP, Album, RE\nLabel: " + row.label +
                ", Other Label\nSleeve Condition: Very Good (VG)";
    row.added = OleDate::toDays(QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5), Qt::UTC));
    return row;
}

// The export the import reads, written once per size into the benchmark data folder.
QString discogsExport(int rows)
{
    const QString path =
        QDir(CatalogueGenerator::dataFolder()).filePath(QStringLiteral("discogs-%1.csv").arg(rows));
    if (QFileInfo::exists(path))
        return path;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        std::abort();
    file.write("Catalog#,Artist,Title,Label,Format,Rating,Released,release_id,CollectionFolder,"
               "Date Added,Collection Media Condition,Collection Sleeve Condition,Collection "
               "Notes\r\n");
    for (int i = 0; i < rows; ++i) {
        const GeneratedRow row = generatedRow(i);
        file.write(row.labelNumber + ",\"" + row.artist + " (2)\"," + row.title + ",\"" +
                   row.label + ", Other Label\",\"" + row.format + "\"," +
                   QByteArray::number(row.grade / 2) + "," + QByteArray::number(row.year) + "," +
                   QByteArray::number(i + 1) +
                   ",Uncategorized,2020-01-02 03:04:05,Mint (M),Very Good (VG),\r\n");
    }
    return path;
}

void reportPeakMemory(benchmark::State& state)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MiB"] = double(usage.ru_maxrss) / 1024.0;
}

struct FreshCatalogue {
    DatabaseEx layer;
    DatabaseHandle database;
    FreshCatalogue()
    {
        if (!layer.OpenDatabase(&database, CatalogueGenerator::workingCopy(0),
                                DatabaseEx::catalogConnectString()))
            std::abort();
    }
    ~FreshCatalogue() { layer.CloseDatabase(&database); }
};

void ImportDiscogs(benchmark::State& state)
{
    const int rows = int(state.range(0));
    const QString csv = discogsExport(rows);
    for (auto _ : state) {
        state.PauseTiming();
        auto catalogue = std::make_unique<FreshCatalogue>();
        state.ResumeTiming();
        const ImportSummary summary = CollectionImport(catalogue->database.get())
                                          .run(csv, CollectionImport::Format::Discogs, false);
        if (summary.imported != rows)
            state.SkipWithError("not every row was imported");
        state.PauseTiming();
        catalogue.reset();
        state.ResumeTiming();
    }
    reportPeakMemory(state);
}

sqlite3_stmt* prepared(sqlite3* connection, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(connection, sql, -1, &statement, nullptr) != SQLITE_OK)
        std::abort();
    return statement;
}

void step(sqlite3_stmt* statement)
{
    if (sqlite3_step(statement) != SQLITE_DONE)
        std::abort();
    sqlite3_reset(statement);
}

void bindText(sqlite3_stmt* statement, int index, const QByteArray& text)
{
    sqlite3_bind_text(statement, index, text.constData(), int(text.size()), SQLITE_STATIC);
}

int insertName(sqlite3* connection, sqlite3_stmt* statement, const QByteArray& name)
{
    bindText(statement, 1, name);
    step(statement);
    return int(sqlite3_last_insert_rowid(connection));
}

// Each distinct name inserted once, each album once: the least any import must write.
void ImportDiscogsFloor(benchmark::State& state)
{
    const int rows = int(state.range(0));
    std::vector<GeneratedRow> data;
    for (int i = 0; i < rows; ++i)
        data.push_back(generatedRow(i));
    for (auto _ : state) {
        state.PauseTiming();
        auto catalogue = std::make_unique<FreshCatalogue>();
        sqlite3* connection = catalogue->database->handle();
        state.ResumeTiming();
        sqlite3_exec(connection, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* artist =
            prepared(connection, "INSERT INTO music_artists (artist_name) VALUES (?)");
        sqlite3_stmt* label =
            prepared(connection, "INSERT INTO music_labels (label_name) VALUES (?)");
        sqlite3_stmt* type = prepared(connection, "INSERT INTO music_types (type_name) VALUES (?)");
        sqlite3_stmt* condition =
            prepared(connection, "INSERT INTO conditions (condition_name) VALUES (?)");
        sqlite3_stmt* album = prepared(
            connection,
            "INSERT INTO music (title, artist_id, number, type_id, year, cat_id, subcat_id, value, "
            "person_id, purchasedfrom_id, purchasedate, frontimage, backimage, length, contents, "
            "notes, returndate, loandate, location_id, condition_id, grade, purchaseprice, url, "
            "incollection, language_id, country_id, label_id, labelnumber, studio_id, "
            "producer_id, ad, engineer_id, recordingdate, tourname, conductor_id, orchestra_id, "
            "freedbid) VALUES (?, ?, 0, ?, ?, -1, -1, 0, -1, -1, ?, '', '', '', '', ?, ?, ?, -1, "
            "?, ?, 0, ?, 1, -1, -1, ?, ?, -1, -1, 0, -1, ?, '', -1, -1, '0000000000')");
        const int typeId = insertName(connection, type, "LP");
        const int conditionId = insertName(connection, condition, "Mint (M)");
        std::vector<int> labelIds;
        for (int i = 0; i < Labels && i < rows; ++i)
            labelIds.push_back(insertName(connection, label, data[std::size_t(i)].label));
        int artistId = -1;
        const double now = OleDate::toDays(OleDate::now());
        for (int i = 0; i < rows; ++i) {
            const GeneratedRow& row = data[std::size_t(i)];
            if (i % AlbumsPerArtist == 0)
                artistId = insertName(connection, artist, row.artist);
            bindText(album, 1, row.title);
            sqlite3_bind_int(album, 2, artistId);
            sqlite3_bind_int(album, 3, typeId);
            sqlite3_bind_int(album, 4, row.year);
            sqlite3_bind_double(album, 5, row.added);
            bindText(album, 6, row.notes);
            sqlite3_bind_double(album, 7, now);
            sqlite3_bind_double(album, 8, now);
            sqlite3_bind_int(album, 9, conditionId);
            sqlite3_bind_int(album, 10, row.grade);
            bindText(album, 11, row.url);
            sqlite3_bind_int(album, 12, labelIds[std::size_t(i % Labels)]);
            bindText(album, 13, row.labelNumber);
            sqlite3_bind_double(album, 14, 0);
            step(album);
        }
        for (sqlite3_stmt* statement : {artist, label, type, condition, album})
            sqlite3_finalize(statement);
        if (sqlite3_exec(connection, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
            std::abort();
        state.PauseTiming();
        catalogue.reset();
        state.ResumeTiming();
    }
    reportPeakMemory(state);
}

} // namespace

// One import per repetition: each starts from an empty catalogue.
BENCHMARK(ImportDiscogs)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ImportDiscogsFloor)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
