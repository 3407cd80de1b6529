// The main window's panes at growing catalogue sizes: reloading the album list (model fill and
// the view's layout) against the bare engine, showing an album's page, and the whole start-up of
// the desktop program against its floor (opening the catalogue, filling the tree and the list).
// The million-album rows (a catalogue of about 1.2 GB, generated once) re-sort the list while
// measuring the longest time the window's event loop was kept from running.
#include "CatalogueGenerator.h"
#include "EngineFloor.h"
#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/PrivateMessages.h"
#include "db/AlbumListSelect.h"
#include "db/AlbumTable.h"
#include "find/FilterDialog.h"
#include "stats/FigureTab.h"
#include "stats/StatisticsWindow.h"
#include "views/AlbumListCtrl.h"
#include "views/AlbumListModel.h"
#include "views/CBottomView.h"
#include "views/CLeftView.h"
#include "views/CTopView.h"
#include "views/CVastryDoc.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <functional>
#include <map>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace
{

struct Panes {
    std::unique_ptr<CVastryDoc> document;
    std::unique_ptr<CLeftView> tree;
    std::unique_ptr<CTopView> list;
    std::unique_ptr<CBottomView> page;
};

AppSettings& benchSettings()
{
    static QTemporaryDir folder;
    static bool ready = [] {
        AppSettings::useFolder(folder.path());
        AppPaths::setPageDirectory(folder.filePath(QStringLiteral("pages")));
        return true;
    }();
    Q_UNUSED(ready);
    static AppSettings settings;
    return settings;
}

// Every catalogue's panes, kept for the run and closed before the application object goes.
std::map<int, std::unique_ptr<Panes>>& openPanes()
{
    static std::map<int, std::unique_ptr<Panes>> open;
    return open;
}

// Reloads the list and returns once its rows are in, whether the fill ran here or on the
// worker.
void reloadList(Panes& p)
{
    bool filled = false;
    const QMetaObject::Connection done =
        QObject::connect(p.document.get(), &CVastryDoc::listFilled, [&filled] { filled = true; });
    SendPaneMessage(p.list.get(), UWM_RELOAD);
    while (!filled)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QObject::disconnect(done);
}

Panes& panes(int albums)
{
    auto& slot = openPanes()[albums];
    if (!slot) {
        slot = std::make_unique<Panes>();
        slot->document = std::make_unique<CVastryDoc>(benchSettings());
        slot->document->openCatalog(CatalogueGenerator::catalogue(albums));
        slot->tree = std::make_unique<CLeftView>(*slot->document);
        slot->list = std::make_unique<CTopView>(*slot->document);
        slot->page = std::make_unique<CBottomView>(*slot->document);
        slot->document->setPanes(slot->tree.get(), slot->list.get(), slot->page.get());
        slot->tree->resize(180, 600);
        slot->list->resize(800, 300);
        slot->page->resize(800, 300);
        slot->tree->show();
        slot->list->show();
        slot->page->show();
        SendPaneMessage(slot->list.get(), UWM_NODE_SELECTED, 0, 0);
        reloadList(*slot);
    }
    return *slot;
}

// Runs the event loop until `done`; false when a minute went by without it.
bool waitUntil(const std::function<bool()>& done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > 60000)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    return true;
}

// True when the page loaded: a failed load ends too, and must not count as a page shown.
bool waitForPage(CBottomView& page)
{
    QEventLoop loop;
    bool loaded = false;
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    QObject::connect(&page, &QWebEngineView::loadFinished, &loop, [&loop, &loaded](bool ok) {
        loaded = ok;
        loop.quit();
    });
    loop.exec();
    return loaded;
}

void ListReload(benchmark::State& state)
{
    Panes& p = panes(int(state.range(0)));
    for (auto _ : state) {
        reloadList(p);
        p.list->list()->viewport()->repaint();
    }
    state.counters["rows"] = double(p.list->model()->rowCount());
}

// The sorted query of the shown columns through the bare engine: what no list can beat.
void ListReloadFloor(benchmark::State& state)
{
    Panes& p = panes(int(state.range(0)));
    Database* database = p.document->database();
    const QStringList shown = p.list->model()->headerFields();
    const QString select =
        AlbumListSelect().select(database, p.document->albumTable().baseSelect(database),
                                 shown.join(u' ') + u' ' + p.document->sortText());
    const QByteArray sql =
        CatalogTable::BuildItemQuery(select, p.document->sortText(), false, QString()).toUtf8();
    QVector<int> columns;
    for (int column = 0; column <= shown.size(); ++column)
        columns << column;
    std::size_t rows = 0;
    for (auto _ : state)
        rows = EngineFloor::stepAsText(database->handle(), sql, columns);
    if (rows != std::size_t(state.range(0)))
        state.SkipWithError("the query returned the wrong number of rows");
}

// The longest the window could not have answered while it was measured: the longest gap
// between the ticks of a 5 ms timer, the last stretch until stop() included.
class StallMeter
{
public:
    StallMeter()
    {
        m_ticker.setInterval(5);
        QObject::connect(&m_ticker, &QTimer::timeout,
                         [this] { m_longest = std::max(m_longest, m_sinceTick.restart()); });
    }
    void start()
    {
        m_sinceTick.start();
        m_ticker.start();
    }
    void stop()
    {
        m_ticker.stop();
        m_longest = std::max(m_longest, m_sinceTick.elapsed());
    }
    double longestMs() const { return double(m_longest); }

private:
    QTimer m_ticker;
    QElapsedTimer m_sinceTick;
    qint64 m_longest = 0;
};

// A click on another column's caption until the list shows the new order, alternating between
// two orders.
void ListResort(benchmark::State& state)
{
    Panes& p = panes(int(state.range(0)));
    const QString orders[] = {QStringLiteral("title ASC"),
                              QStringLiteral("artist_name ASC, title ASC")};
    StallMeter stalls;
    int turn = 0;
    for (auto _ : state) {
        p.document->setSortText(orders[turn++ % 2]);
        stalls.start();
        reloadList(p);
        stalls.stop();
    }
    p.document->setSortText(orders[1]);
    state.counters["longest_stall_ms"] = stalls.longestMs();
}

// The count the status bar shows.
void CountAlbums(benchmark::State& state)
{
    Panes& p = panes(int(state.range(0)));
    int count = 0;
    for (auto _ : state)
        count = p.document->albumTable().Count(p.document->database(), false);
    if (count != state.range(0))
        state.SkipWithError("wrong count");
}

// Opening a catalogue as the program does at start-up (the key derivation is most of it).
void OpenCatalogue(benchmark::State& state)
{
    const QString path = CatalogueGenerator::catalogue(int(state.range(0)));
    for (auto _ : state) {
        auto document = std::make_unique<CVastryDoc>(benchSettings());
        document->openCatalog(path);
        state.PauseTiming();
        if (!document->database())
            state.SkipWithError("catalogue did not open");
        document.reset();
        state.ResumeTiming();
    }
}

// Until the tree shows the artists, whether it was built here or on the worker.
void TreeFill(benchmark::State& state)
{
    Panes& p = panes(int(state.range(0)));
    StallMeter stalls;
    for (auto _ : state) {
        bool built = false;
        const QMetaObject::Connection done =
            QObject::connect(p.tree.get(), &CLeftView::built, [&built] { built = true; });
        stalls.start();
        SendPaneMessage(p.tree.get(), UWM_RELOAD);
        if (!waitUntil([&built] { return built; })) {
            state.SkipWithError("the tree was never built");
            break;
        }
        p.tree->viewport()->repaint();
        stalls.stop();
        QObject::disconnect(done);
    }
    state.counters["nodes"] = double(p.tree->topLevelItem(0)->childCount());
    state.counters["longest_stall_ms"] = stalls.longestMs();
}

// Find's "Apply filter" with the artist field chosen, until its value box offers every artist.
void FilterDialogArtists(benchmark::State& state)
{
    Panes& p = panes(int(state.range(0)));
    StallMeter stalls;
    int offered = 0;
    for (auto _ : state) {
        FilterDialog dialog(*p.document);
        dialog.show();
        auto* items = dialog.findChild<QComboBox*>(QStringLiteral("items"));
        auto* values = dialog.findChild<QComboBox*>(QStringLiteral("values"));
        stalls.start();
        items->setCurrentIndex(items->findText(QStringLiteral("Artist")));
        if (!waitUntil([values] { return values->count() > 0 && values->isEnabled(); })) {
            state.SkipWithError("the value box never offered the artists");
            break;
        }
        values->repaint();
        stalls.stop();
        offered = values->count();
    }
    state.counters["artists"] = double(offered);
    state.counters["longest_stall_ms"] = stalls.longestMs();
}

// The desktop program as the user starts it, from the process start until its window shows
// tree, list and page; it then quits (TUNVALE_QUIT_WHEN_FILLED), which is not timed.
void StartUp(benchmark::State& state)
{
    const QString catalogue = CatalogueGenerator::catalogue(int(state.range(0)));
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TUNVALE_QUIT_WHEN_FILLED"), QStringLiteral("1"));
    // Settings and pages of the runs stay out of the user's own folders.
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
    // The tip of the day would wait for a click before the window reports itself filled; a
    // collector who keeps it is timed by the same path up to the tip.
    QSettings(home.filePath(QStringLiteral("config/Quillon/Tunvale.conf")), QSettings::IniFormat)
        .setValue(QStringLiteral("Vastry/Settings/DisableTips"), 1);
    const QString program = QCoreApplication::applicationDirPath() + QLatin1String("/tunvale");
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(home.path());
        process.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        process.start(program, {catalogue});
        bool filled = false;
        while (!filled && process.waitForReadyRead(60000))
            filled = process.readAllStandardOutput() == "filled\n"; // a page that failed fails
        state.SetIterationTime(double(clock.nsecsElapsed()) * 1e-9);
        process.waitForFinished(60000);
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        // The largest program waited for so far: run the sizes upwards to read it per size.
        state.counters["peak_rss_MiB"] = double(usage.ru_maxrss) / 1024.0;
        if (!filled || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            state.SkipWithError("the program did not show a filled window and quit");
            break;
        }
    }
}

void ShowAlbumPage(benchmark::State& state)
{
    Panes& p = panes(int(state.range(0)));
    AlbumListCtrl* control = p.list->list();
    const int rows = p.list->model()->rowCount();
    int row = 0;
    for (auto _ : state) {
        row = (row + 7919) % rows; // hop about the list
        control->selectRow(row);
        SendPaneMessage(p.list.get(), UWM_SHOW_ALBUM);
        if (!waitForPage(*p.page)) {
            state.SkipWithError("the album page did not load");
            break;
        }
    }
}

// View > Statistics... until its first tab shows the totals: the window itself, the worker's
// own connection and the totals counted over every album.
void StatisticsWindowFirstTab(benchmark::State& state)
{
    Panes& open = panes(int(state.range(0)));
    for (auto _ : state) {
        StatisticsWindow window(*open.document, benchSettings());
        window.show();
        QEventLoop loop;
        QObject::connect(&window, &StatisticsWindow::figuresShown, &loop, &QEventLoop::quit);
        if (window.isCounting())
            loop.exec();
        benchmark::DoNotOptimize(window.figureTab(StatisticsWindow::OverviewTab)->table());
    }
}

} // namespace

BENCHMARK(StatisticsWindowFirstTab)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The start-up and its floor run nine times each, interleaved with each other (see main), so
// that a busy machine slows both alike and their ratio holds.
constexpr int StartUpRepetitions = 9;
BENCHMARK(StartUp)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Repetitions(StartUpRepetitions);
BENCHMARK(OpenCatalogue)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(StartUpRepetitions);
BENCHMARK(TreeFill)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(StartUpRepetitions);
BENCHMARK(ListReload)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(StartUpRepetitions);
BENCHMARK(ListReloadFloor)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ShowAlbumPage)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A million albums: three repetitions (each start-up reads the 1.2 GB file), run on their own
// with --benchmark_filter=Million/.
constexpr int Million = 1000000;
constexpr int MillionRepetitions = 3;
BENCHMARK(StartUp)
    ->Name("Million/StartUp")
    ->Arg(Million)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Repetitions(MillionRepetitions);
BENCHMARK(ListReloadFloor)
    ->Name("Million/ListReloadFloor")
    ->Arg(Million)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(MillionRepetitions);
BENCHMARK(ListResort)
    ->Name("Million/ListResort")
    ->Arg(Million)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(MillionRepetitions);
BENCHMARK(FilterDialogArtists)
    ->Name("Million/FilterDialogArtists")
    ->Arg(Million)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(TreeFill)->Name("Million/TreeFill")->Arg(Million)->Unit(benchmark::kMillisecond);
BENCHMARK(CountAlbums)
    ->Name("Million/CountAlbums")
    ->Arg(10000)
    ->Arg(Million)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ShowAlbumPage)
    ->Name("Million/ShowAlbumPage")
    ->Arg(10000)
    ->Arg(Million)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    // Repetitions of different benchmarks take turns unless the caller says otherwise.
    std::vector<char*> arguments(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    arguments.insert(arguments.begin() + 1, interleave);
    int count = int(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    openPanes().clear();
    return 0;
}
