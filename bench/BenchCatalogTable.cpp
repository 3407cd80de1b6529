// The catalogue engine layer against its floors: the album list fill against the same SQL
// stepped through the bare engine, and the name and row operations at growing catalogue sizes.
#include "CatalogueGenerator.h"
#include "EngineFloor.h"
#include "db/AlbumTable.h"

#include <QHash>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace
{

const QString AlbumSelect = AlbumTable().baseSelect(nullptr);
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
        if (!slot->table.OpenDatabase(&slot->database, path, DatabaseEx::catalogConnectString()))
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
    const QByteArray sql =
        CatalogTable::BuildItemQuery(AlbumSelect, DefaultSort, false, QString()).toUtf8();
    std::size_t rows = 0;
    for (auto _ : state)
        rows = EngineFloor::stepAsText(open.database->handle(), sql,
                                       {2, 3, 5, 0}); // artist_name, title, year, music_id
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
