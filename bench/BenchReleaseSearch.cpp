// A release search answer of 100 candidates (665 KB, a real answer of the service) mapped into
// the candidate list, against its floor: the same bytes only parsed into a JSON document.
#include "musicbrainz/ReleaseCandidate.h"

#include <QFile>
#include <QJsonDocument>
#include <benchmark/benchmark.h>

namespace
{

QByteArray hundredCandidates()
{
    QFile file(QStringLiteral(TUNVALE_SEARCH_ANSWER));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void MapSearchAnswer(benchmark::State& state)
{
    const QByteArray answer = hundredCandidates();
    QVector<ReleaseCandidate> candidates;
    for (auto _ : state) {
        if (!ReleaseCandidate::fromSearchAnswer(answer, &candidates))
            state.SkipWithError("the answer was not read");
        benchmark::DoNotOptimize(candidates.data());
    }
    state.counters["candidates"] = candidates.size();
}

void MapSearchAnswerFloor(benchmark::State& state)
{
    const QByteArray answer = hundredCandidates();
    for (auto _ : state) {
        const QJsonDocument document = QJsonDocument::fromJson(answer);
        benchmark::DoNotOptimize(document.isObject());
    }
}

} // namespace

BENCHMARK(MapSearchAnswer)->Unit(benchmark::kMillisecond);
BENCHMARK(MapSearchAnswerFloor)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
