// The catalogue engine layer against its floors: the album list fill against the same SQL
// stepped through the bare engine, and the name and row operations at growing catalogue sizes.
#include "CatalogueGenerator.h"
#include "db/CatalogTable.h"
#include "db/SqlText.h"

#include <QHash>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <sqlcipher/sqlite3.h>
#include <sys/resource.h>
#include <vector>

namespace
{

const QString AlbumSelect = QStringLiteral(
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
    "(((((((((((((((music LEFT JOIN music_categories AS c ON music.cat_id = c.cat_id) LEFT "
    "JOIN music_artists AS a ON music.artist_id = a.artist_id) LEFT JOIN persons AS p ON "
    "music.person_id = p.person_id) LEFT JOIN music_subcategories AS subcat ON "
    "music.subcat_id = subcat.subcat_id) LEFT JOIN music_types AS type ON music.type_id = "
    "type.type_id) LEFT JOIN purchasedfrom AS pf ON music.purchasedfrom_id = "
    "pf.purchasedfrom_id) LEFT JOIN music_locations ON music.location_id = "
    "music_locations.location_id) LEFT JOIN conditions ON music.condition_id = "
    "conditions.condition_id) LEFT JOIN languages ON music.language_id = "
    "languages.language_id) LEFT JOIN countries ON music.country_id = countries.country_id) "
    "LEFT JOIN music_labels ON music.label_id = music_labels.label_id) LEFT JOIN "
    "music_studios ON music.studio_id = music_studios.studio_id) LEFT JOIN music_producers ON "
    "music.producer_id = music_producers.producer_id) LEFT JOIN music_engineers ON "
    "music.engineer_id = music_engineers.engineer_id) LEFT JOIN music_conductors ON "
    "music.conductor_id = music_conductors.conductor_id) LEFT JOIN music_orchestras ON "
    "music.orchestra_id = music_orchestras.orchestra_id");
const QString DefaultSort = QStringLiteral("artist_name ASC, title ASC");
const QStringList DefaultColumns = {QStringLiteral("artist_name"), QStringLiteral("title"),
                                    QStringLiteral("year")};

class BenchTable : public CatalogTable
{
public:
    using CatalogTable::FillListFromHeader;
    using CatalogTable::FillLookupListView;
    using CatalogTable::FindOrAddName;
};

// Rows kept the way a list model keeps them.
class CollectingRows : public RowTable
{
public:
    explicit CollectingRows(QStringList fields = {}) : m_fields(std::move(fields)) {}
    void removeAllRows() override
    {
        cells.clear();
        ids.clear();
    }
    QStringList headerFields() const override { return m_fields; }
    void appendRow(const QStringList& row, int id) override
    {
        cells.push_back(row);
        ids.push_back(id);
    }
    std::vector<QStringList> cells;
    std::vector<int> ids;

private:
    QStringList m_fields;
};

struct OpenCatalogue {
    BenchTable table;
    DatabaseHandle database;
};

// One open catalogue per size and purpose, kept for the whole run.
OpenCatalogue& catalogue(int albums, bool writable)
{
    static std::map<std::pair<int, bool>, std::unique_ptr<OpenCatalogue>> open;
    auto& slot = open[{albums, writable}];
    if (!slot) {
        slot = std::make_unique<OpenCatalogue>();
        const QString path = writable ? CatalogueGenerator::workingCopy(albums)
                                      : CatalogueGenerator::catalogue(albums);
        if (!slot->table.OpenDatabase(&slot->database, path, DatabaseEx::CatalogConnectString()))
            std::abort();
    }
    return *slot;
}

void reportPeakMemory(benchmark::State& state)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MiB"] = double(usage.ru_maxrss) / 1024.0;
}

void FillListFromHeader(benchmark::State& state)
{
    OpenCatalogue& open = catalogue(int(state.range(0)), false);
    CollectingRows rows(DefaultColumns);
    for (auto _ : state) {
        open.table.FillListFromHeader(open.database.get(), &rows, AlbumSelect,
                                      QStringLiteral("music_id"), DefaultSort, QString(), false);
        benchmark::DoNotOptimize(rows.cells.data());
    }
    state.counters["rows"] = double(rows.cells.size());
    reportPeakMemory(state);
}

// The floor: the same SQL stepped through the bare engine on the same connection, reading the
// same columns as text.
void FillListFromHeaderFloor(benchmark::State& state)
{
    OpenCatalogue& open = catalogue(int(state.range(0)), false);
    const QByteArray sql = SqlText::withBooleanLiterals(
        CatalogTable::BuildItemQuery(AlbumSelect, DefaultSort, false, QString()).toUtf8());
    sqlite3* connection = open.database->handle();
    std::size_t rows = 0;
    for (auto _ : state) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(connection, sql.constData(), sql.size(), &statement, nullptr);
        const int columns[] = {2, 3, 5, 0}; // artist_name, title, year, music_id
        std::size_t bytes = 0;
        rows = 0;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            for (int column : columns) {
                benchmark::DoNotOptimize(sqlite3_column_text(statement, column));
                bytes += std::size_t(sqlite3_column_bytes(statement, column));
            }
            ++rows;
        }
        sqlite3_finalize(statement);
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["rows"] = double(rows);
}

void FindOrAddExistingName(benchmark::State& state)
{
    OpenCatalogue& open = catalogue(int(state.range(0)), true);
    CollectingRows names;
    open.table.FindOrAddName(open.database.get(), QStringLiteral("music_artists"),
                             QStringLiteral("artist_name"), QStringLiteral("Warm-up"),
                             QStringLiteral("artist_id"));
    QStringList known;
    {
        RecordsetHandle recordset;
        open.table.OpenRecordset(&recordset, open.database.get(),
                                 QStringLiteral("SELECT artist_name FROM music_artists WHERE "
                                                "artist_id % 97 = 1"));
        while (!recordset->isEOF()) {
            known << open.table.GetFieldText(recordset.get(), QStringLiteral("artist_name"));
            recordset->moveNext();
        }
    }
    int i = 0;
    for (auto _ : state) {
        const int id = open.table.FindOrAddName(
            open.database.get(), QStringLiteral("music_artists"), QStringLiteral("artist_name"),
            known[i++ % known.size()].toUpper(), QStringLiteral("artist_id"));
        benchmark::DoNotOptimize(id);
    }
}

void FindOrAddNewName(benchmark::State& state)
{
    OpenCatalogue& open = catalogue(int(state.range(0)), true);
    static int serial = 0;
    for (auto _ : state) {
        const int id = open.table.FindOrAddName(
            open.database.get(), QStringLiteral("music_artists"), QStringLiteral("artist_name"),
            QStringLiteral("New Artist %1").arg(++serial), QStringLiteral("artist_id"));
        benchmark::DoNotOptimize(id);
    }
}

void AddNewAlbumRow(benchmark::State& state)
{
    OpenCatalogue& open = catalogue(int(state.range(0)), true);
    for (auto _ : state) {
        RecordsetHandle recordset;
        open.table.OpenRecordset(&recordset, open.database.get(),
                                 QStringLiteral("SELECT * FROM music"));
        recordset->addNew();
        recordset->setField(QStringLiteral("title"), QStringLiteral("Added"));
        benchmark::DoNotOptimize(
            open.table.GetFieldInt(recordset.get(), QStringLiteral("music_id")));
        recordset->update();
        open.table.CloseRecordset(&recordset);
    }
}

void FillArtistListEditor(benchmark::State& state)
{
    OpenCatalogue& open = catalogue(int(state.range(0)), false);
    CollectingRows rows;
    for (auto _ : state) {
        rows.removeAllRows();
        open.table.FillLookupListView(open.database.get(), &rows, QStringLiteral("music"),
                                      QStringLiteral("artist_id"), QStringLiteral("music_artists"),
                                      QStringLiteral("artist_name"), QStringLiteral("artist_id"),
                                      QStringLiteral("artist_deleted"), false);
    }
    state.counters["entries"] = double(rows.cells.size());
}

} // namespace

BENCHMARK(FillListFromHeader)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(FillListFromHeaderFloor)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(FindOrAddExistingName)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(FindOrAddNewName)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(AddNewAlbumRow)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(FillArtistListEditor)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
