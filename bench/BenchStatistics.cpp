// The collection figures against their floor: every aggregate query the figures run, stepped
// through the bare engine on the same connection, with and without a list filter.
#include "CatalogueGenerator.h"
#include "EngineFloor.h"
#include "stats/CollectionStatistics.h"

#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <sqlcipher/sqlite3.h>

namespace
{

struct OpenCatalogue {
    AlbumTable table;
    DatabaseHandle database;
};

OpenCatalogue& catalogue(int albums)
{
    static std::map<int, std::unique_ptr<OpenCatalogue>> open;
    auto& slot = open[albums];
    if (!slot) {
        slot = std::make_unique<OpenCatalogue>();
        if (!slot->table.OpenDatabase(&slot->database, CatalogueGenerator::catalogue(albums),
                                      DatabaseEx::catalogConnectString()))
            std::abort();
    }
    return *slot;
}

// A find condition over a joined name, as the find dialog writes one.
QString condition(int64_t filtered)
{
    return filtered ? QStringLiteral("music.year < 1990 AND c.cat_name <> 'x'") : QString();
}

int collectStatement(unsigned, void* context, void* statement, void*)
{
    static_cast<QVector<QByteArray>*>(context)->append(
        sqlite3_sql(static_cast<sqlite3_stmt*>(statement)));
    return 0;
}

// The statements one computation prepares, as the engine received them.
QVector<QByteArray> statementsOf(OpenCatalogue& open, const QString& where)
{
    QVector<QByteArray> statements;
    sqlite3_trace_v2(open.database->handle(), SQLITE_TRACE_STMT, collectStatement, &statements);
    CollectionStatistics::Figures figures;
    CollectionStatistics(open.database.get()).compute(where, &figures);
    sqlite3_trace_v2(open.database->handle(), 0, nullptr, nullptr);
    return statements;
}

void Statistics(benchmark::State& state)
{
    OpenCatalogue& open = catalogue(int(state.range(0)));
    const QString where = condition(state.range(1));
    CollectionStatistics::Figures figures;
    for (auto _ : state) {
        CollectionStatistics(open.database.get()).compute(where, &figures);
        benchmark::DoNotOptimize(figures.albums);
    }
    state.counters["albums"] = double(figures.albums);
    state.counters["tracks"] = double(figures.tracks);
}

// What an overview shows first: the totals alone.
void StatisticsTotals(benchmark::State& state)
{
    OpenCatalogue& open = catalogue(int(state.range(0)));
    CollectionStatistics::Figures figures;
    for (auto _ : state) {
        CollectionStatistics(open.database.get())
            .compute(QString(), &figures, CollectionStatistics::TotalFigures);
        benchmark::DoNotOptimize(figures.albums);
    }
}

void StatisticsFloor(benchmark::State& state)
{
    OpenCatalogue& open = catalogue(int(state.range(0)));
    const QVector<QByteArray> statements = statementsOf(open, condition(state.range(1)));
    state.counters["queries"] = double(statements.size());
    for (auto _ : state)
        for (const QByteArray& sql : statements)
            benchmark::DoNotOptimize(EngineFloor::stepAsText(open.database->handle(), sql, {0}));
}

} // namespace

BENCHMARK(Statistics)
    ->ArgsProduct({{1000, 100000}, {0, 1}})
    ->ArgNames({"albums", "filtered"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(StatisticsTotals)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(StatisticsFloor)
    ->ArgsProduct({{1000, 100000}, {0, 1}})
    ->ArgNames({"albums", "filtered"})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
