// Album records over generated catalogues: the album page and the save of an album with its
// tracks must not grow with the catalogue, and the list document must stay close to the bare
// cost of stepping its query.

#include "CatalogueGenerator.h"
#include "EngineFloor.h"
#include "app/AppPaths.h"
#include "app/ErrorReporter.h"
#include "db/AlbumTable.h"
#include "db/SqlText.h"
#include "views/AlbumColumns.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>
#include <sys/resource.h>

namespace
{

const char* const SortText = "artist_name ASC, title ASC";

QTemporaryDir& scratch()
{
    static QTemporaryDir folder;
    return folder;
}

// A private copy, so benchmarks that write leave the cached catalogue as it was.
QString copyOf(int albums)
{
    const QString target = scratch().filePath(QStringLiteral("copy-%1.muf").arg(albums));
    QFile::remove(target);
    QFile::copy(CatalogueGenerator::catalogue(albums), target);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

struct OpenCatalogue {
    explicit OpenCatalogue(const QString& path)
    {
        ok = table.OpenDatabase(&database, path, DatabaseEx::catalogConnectString());
    }
    ~OpenCatalogue() { table.CloseDatabase(&database); }
    AlbumTable table;
    DatabaseHandle database;
    bool ok = false;
};

AlbumRecord albumWithSixteenNames(int serial)
{
    const QString tag = QStringLiteral(" %1").arg(serial);
    AlbumRecord r;
    r.artist = QLatin1String("Bench artist") + tag;
    r.title = QLatin1String("Bench album") + tag;
    r.mediaType = QLatin1String("Type") + tag;
    r.genre = QLatin1String("Genre") + tag;
    r.subCategory = QLatin1String("Sub") + tag;
    r.onLoanTo = QLatin1String("Person") + tag;
    r.purchasedFrom = QLatin1String("Shop") + tag;
    r.location = QLatin1String("Shelf") + tag;
    r.condition = QLatin1String("Condition") + tag;
    r.language = QLatin1String("Language") + tag;
    r.country = QLatin1String("Country") + tag;
    r.label = QLatin1String("Label") + tag;
    r.studio = QLatin1String("Studio") + tag;
    r.producer = QLatin1String("Producer") + tag;
    r.engineer = QLatin1String("Engineer") + tag;
    r.conductor = QLatin1String("Conductor") + tag;
    r.orchestra = QLatin1String("Orchestra") + tag;
    r.currentValue = QStringLiteral("12.5");
    return r;
}

QVector<TrackRecord> twelveTracks()
{
    QVector<TrackRecord> tracks(12);
    for (int i = 0; i < tracks.size(); ++i) {
        tracks[i].trackNumber = i + 1;
        tracks[i].title = QStringLiteral("Track %1").arg(i + 1);
        tracks[i].length = QStringLiteral("3:%1").arg(10 + i);
    }
    return tracks;
}

void reportPeakMemory(benchmark::State& state)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024.0;
}

// Every column the album list offers.
QVector<ColumnInfo> allColumns()
{
    QVector<ColumnInfo> columns;
    for (const AlbumColumns::Column& column : AlbumColumns::defaults())
        columns.append(column.info());
    return columns;
}

void WritePage(benchmark::State& state)
{
    const int albums = int(state.range(0));
    OpenCatalogue catalogue(CatalogueGenerator::catalogue(albums));
    AppPaths::setPageDirectory(scratch().filePath(QStringLiteral("pages")));
    const int id = albums / 2;
    for (auto _ : state) {
        const QString path = catalogue.table.WritePage(catalogue.database.get(), id, false);
        if (path.isEmpty())
            state.SkipWithError("no page written");
        benchmark::DoNotOptimize(path);
    }
}

void SaveAlbumWithTracks(benchmark::State& state)
{
    const int albums = int(state.range(0));
    OpenCatalogue catalogue(copyOf(albums));
    int serial = 0;
    for (auto _ : state) {
        QVector<TrackRecord> tracks = twelveTracks();
        const int id = catalogue.table.saveWithTracks(catalogue.database.get(),
                                                      albumWithSixteenNames(++serial), -1, &tracks);
        if (id == -1)
            state.SkipWithError("save failed");
    }
}

void WriteListTable(benchmark::State& state)
{
    OpenCatalogue catalogue(CatalogueGenerator::catalogue(int(state.range(0))));
    const QVector<ColumnInfo> columns = allColumns();
    const QString path = scratch().filePath(QStringLiteral("print.html"));
    for (auto _ : state) {
        if (!catalogue.table.WriteListTable(catalogue.database.get(), columns, 1, path,
                                            QLatin1String(SortText), false, QString()))
            state.SkipWithError("list not written");
    }
    reportPeakMemory(state);
}

// The floor: the same query stepped through the bare engine, every listed column read as text.
void WriteListTableFloor(benchmark::State& state)
{
    OpenCatalogue catalogue(CatalogueGenerator::catalogue(int(state.range(0))));
    const QByteArray sql =
        CatalogTable::BuildItemQuery(catalogue.table.baseSelect(catalogue.database.get()),
                                     QLatin1String(SortText), false, QString())
            .toUtf8();
    sqlite3* connection = catalogue.database->handle();
    QVector<int> positions;
    {
        const QByteArray text = SqlText::withBooleanLiterals(sql);
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(connection, text.constData(), text.size(), &statement, nullptr);
        for (const ColumnInfo& column : allColumns()) {
            const QByteArray field = column.field.toLatin1();
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                if (field == sqlite3_column_name(statement, i)) {
                    positions.append(i);
                    break;
                }
            }
        }
        sqlite3_finalize(statement);
    }
    for (auto _ : state)
        EngineFloor::stepAsText(connection, sql, positions);
    reportPeakMemory(state);
}

} // namespace

BENCHMARK(WritePage)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(SaveAlbumWithTracks)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteListTableFloor)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteListTable)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    // Errors would otherwise stop nowhere visible; a benchmark that fails says so.
    ErrorReporter::setHandler(
        [](const Report& report) { fprintf(stderr, "%s\n", qPrintable(report.text)); });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
