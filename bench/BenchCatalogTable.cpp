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
        AlbumTable().FillList(open.database.get(), &rows, DefaultSort, false, QString());
        benchmark::DoNotOptimize(rows.cells.data());
    }
    // A query the engine refused fills nothing, fast: that is no measurement.
    if (rows.cells.size() != std::size_t(state.range(0)))
        state.SkipWithError("the list did not fill");
    state.counters["rows"] = double(rows.cells.size());
    reportPeakMemory(state);
}

// The floors: the SQL the list runs (the album query cut to the shown columns), and the full
// album query it ran before, stepped through the bare engine on the same connection and
// reading the same columns as text.
void stepListFloor(benchmark::State& state, bool cut)
{
    OpenCatalogue& open = catalogue(int(state.range(0)), false);
    const QString full = AlbumTable().baseSelect(open.database.get());
    const QString select =
        cut ? AlbumListSelect().select(open.database.get(), full,
                                       DefaultColumns.join(u' ') + u' ' + DefaultSort)
            : full;
    const QByteArray sql =
        CatalogTable::BuildItemQuery(select, DefaultSort, false, QString()).toUtf8();
    QVector<int> columns;
    {
        RecordsetHandle recordset;
        open.table.OpenRecordset(&recordset, open.database.get(), QString::fromUtf8(sql));
        for (const QString& name : DefaultColumns + QStringList{QStringLiteral("music_id")})
            columns << recordset->columnIndex(name);
    }
    std::size_t rows = 0;
    for (auto _ : state)
        rows = EngineFloor::stepAsText(open.database->handle(), sql, columns);
    if (rows != std::size_t(state.range(0)))
        state.SkipWithError("the query returned the wrong number of rows");
    state.counters["rows"] = double(rows);
}

void FillListFromHeaderFloor(benchmark::State& state)
{
    stepListFloor(state, true);
}

void FillListFullQueryFloor(benchmark::State& state)
{
    stepListFloor(state, false);
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
BENCHMARK(FillListFullQueryFloor)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(FindOrAddExistingName)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(FindOrAddNewName)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(AddNewAlbumRow)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(FillArtistListEditor)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
