// The duplicate search against its floor: the one read of the albums it makes, stepped
// through the bare engine with every column read as text. The rest is the grouping in
// memory (folding of every artist and title, four hash maps).
#include "CatalogueGenerator.h"
#include "EngineFloor.h"
#include "db/AlbumIdsTable.h"
#include "find/DuplicateFinder.h"

#include <QDir>
#include <QFile>
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

// Generated catalogues hold no duplicates: a copy gets some. One album in a hundred is entered
// again (every other one as its remastered edition), one in ten has a barcode, a hundred of
// them shared, and one in twenty a Discogs release, some shared.
bool addDuplicates(Database* database)
{
    return AlbumIdsTable(database).addToCatalogue() &&
           database->execute(
               "INSERT INTO music (artist_id, title, type_id, year, label_id, labelnumber, "
               "deleted) SELECT artist_id, title || CASE WHEN music_id % 200 = 0 THEN "
               "' (Remastered)' ELSE '' END, type_id, year, label_id, labelnumber, 0 FROM music "
               "WHERE music_id % 100 = 0") &&
           database->execute(
               "INSERT OR REPLACE INTO album_ids (album_id, barcode, discogs_release_id) "
               "SELECT music_id, printf('50%011d', music_id % 99000), CASE WHEN music_id % 20 = 0 "
               "THEN CAST(music_id % 99000 AS TEXT) END FROM music WHERE music_id % 10 = 0");
}

OpenCatalogue& catalogue(int albums)
{
    static std::map<int, std::unique_ptr<OpenCatalogue>> open;
    auto& slot = open[albums];
    if (!slot) {
        const QString copy = QDir(CatalogueGenerator::dataFolder())
                                 .filePath(QStringLiteral("duplicates-%1.muf").arg(albums));
        QFile::remove(copy);
        slot = std::make_unique<OpenCatalogue>();
        if (!QFile::copy(CatalogueGenerator::catalogue(albums), copy) ||
            !slot->table.OpenDatabase(&slot->database, copy, DatabaseEx::catalogConnectString()) ||
            !addDuplicates(slot->database.get()))
            std::abort();
    }
    return *slot;
}

int collectStatement(unsigned, void* context, void* statement, void*)
{
    static_cast<QVector<QByteArray>*>(context)->append(
        sqlite3_sql(static_cast<sqlite3_stmt*>(statement)));
    return 0;
}

// The statements one search prepares, as the engine received them.
QVector<QByteArray> statementsOf(OpenCatalogue& open)
{
    QVector<QByteArray> statements;
    sqlite3_trace_v2(open.database->handle(), SQLITE_TRACE_STMT, collectStatement, &statements);
    QVector<DuplicateFinder::Group> groups;
    DuplicateFinder(open.database.get()).find(&groups);
    sqlite3_trace_v2(open.database->handle(), 0, nullptr, nullptr);
    return statements;
}

void DuplicateSearch(benchmark::State& state)
{
    OpenCatalogue& open = catalogue(int(state.range(0)));
    QVector<DuplicateFinder::Group> groups;
    for (auto _ : state) {
        DuplicateFinder(open.database.get()).find(&groups);
        benchmark::DoNotOptimize(groups.data());
    }
    qint64 albums = 0;
    for (const DuplicateFinder::Group& group : groups)
        albums += group.albums.size();
    state.counters["groups"] = double(groups.size());
    state.counters["albums_in_groups"] = double(albums);
}

void DuplicateSearchFloor(benchmark::State& state)
{
    OpenCatalogue& open = catalogue(int(state.range(0)));
    const QVector<QByteArray> statements = statementsOf(open);
    state.counters["queries"] = double(statements.size());
    for (auto _ : state)
        for (const QByteArray& sql : statements)
            benchmark::DoNotOptimize(EngineFloor::stepAsText(open.database->handle(), sql,
                                                             {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

} // namespace

BENCHMARK(DuplicateSearch)->Arg(100000)->ArgName("albums")->Unit(benchmark::kMillisecond);
BENCHMARK(DuplicateSearchFloor)->Arg(100000)->ArgName("albums")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
