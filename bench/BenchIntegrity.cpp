// The quick check at open against opening alone, at growing catalogue sizes: what the check
// adds to the wait before the window fills, which decides up to what size it runs at open.
#include "CatalogueGenerator.h"
#include "db/DatabaseEx.h"

#include <QFileInfo>
#include <benchmark/benchmark.h>

namespace
{

void openCatalogue(benchmark::State& state, bool check)
{
    const QString path = CatalogueGenerator::catalogue(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Database database;
        if (!database.open(path, DatabaseEx::catalogConnectString())) {
            state.SkipWithError("the catalogue does not open");
            return;
        }
        QStringList problems;
        if (check && (!database.quickCheck(&problems) || !problems.isEmpty())) {
            state.SkipWithError("the check failed");
            return;
        }
    }
    state.counters["MB"] = static_cast<double>(QFileInfo(path).size()) / 1e6;
}

void OpenCatalogue(benchmark::State& state)
{
    openCatalogue(state, false);
}

void OpenAndQuickCheck(benchmark::State& state)
{
    openCatalogue(state, true);
}

} // namespace

BENCHMARK(OpenCatalogue)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenAndQuickCheck)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
