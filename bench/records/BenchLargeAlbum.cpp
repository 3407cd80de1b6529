// One album with very many tracks: showing it (as the command line's JSON) and writing its page
// must grow with the number of tracks, not with its square. Two sizes, ten times apart, make
// the growth read as a ratio.

#include "app/ErrorReporter.h"
#include "cli/AlbumJson.h"
#include "db/AlbumTable.h"
#include "db/CatalogTemplate.h"
#include "db/TrackTable.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace
{

QTemporaryDir& scratch()
{
    static QTemporaryDir folder;
    return folder;
}

// A catalogue holding album 1 with `tracks` tracks, made once per size.
QString catalogueWithTracks(int tracks)
{
    const QString path = scratch().filePath(QStringLiteral("tracks-%1.muf").arg(tracks));
    if (QFileInfo::exists(path))
        return path;
    AlbumTable table;
    DatabaseHandle database;
    QString error;
    const QByteArray sql =
        "BEGIN; INSERT INTO music_artists (artist_id, artist_name) VALUES (1, 'Guest & Co'); "
        "INSERT INTO music (music_id, title, artist_id) VALUES (1, 'Everything', 1); "
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        QByteArray::number(tracks) +
        ") INSERT INTO tracks (tracknumber, title, length, year, music_id, artist_id) "
        "SELECT i, 'Track <' || i || '>', '3:' || (10 + i % 50), 1990 + i % 30, 1, "
        "CASE WHEN i % 3 = 0 THEN 1 END FROM n; COMMIT;";
    if (!CatalogTemplate::copyTo(path, &error) ||
        !table.OpenDatabase(&database, path, DatabaseEx::catalogConnectString()) ||
        !database->execute(sql)) {
        std::fprintf(stderr, "cannot make %s: %s\n", qPrintable(path), qPrintable(error));
        std::exit(1);
    }
    table.CloseDatabase(&database);
    return path;
}

struct OpenCatalogue {
    explicit OpenCatalogue(int tracks)
    {
        table.OpenDatabase(&database, catalogueWithTracks(tracks),
                           DatabaseEx::catalogConnectString());
    }
    ~OpenCatalogue() { table.CloseDatabase(&database); }
    AlbumTable table;
    DatabaseHandle database;
};

// What `tunvale-cli show` does: the album, its tracks, the JSON text.
void ShowLargeAlbum(benchmark::State& state)
{
    OpenCatalogue catalogue(int(state.range(0)));
    for (auto _ : state) {
        AlbumRecord album;
        QVector<TrackRecord> tracks;
        if (!catalogue.table.Load(catalogue.database.get(), 1, &album) ||
            !TrackTable().loadForPage(catalogue.database.get(), 1, &tracks))
            state.SkipWithError("album not read");
        const QByteArray json =
            QJsonDocument(AlbumJson::toJson(album, 1, tracks)).toJson(QJsonDocument::Indented);
        benchmark::DoNotOptimize(json.size());
    }
    state.SetComplexityN(state.range(0));
}

// What `tunvale-cli page` does, into memory.
void PageOfLargeAlbum(benchmark::State& state)
{
    OpenCatalogue catalogue(int(state.range(0)));
    for (auto _ : state) {
        QBuffer page;
        page.open(QIODevice::WriteOnly);
        if (catalogue.table.WritePageTo(catalogue.database.get(), 1, false, &page) !=
            AlbumTable::PageResult::Written)
            state.SkipWithError("page not written");
        benchmark::DoNotOptimize(page.size());
    }
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(ShowLargeAlbum)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(PageOfLargeAlbum)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    ErrorReporter::setHandler(
        [](const Report& report) { std::fprintf(stderr, "%s\n", qPrintable(report.text)); });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
