// The main window's panes at growing catalogue sizes: reloading the album list (model fill and
// the view's layout) against the bare engine, and showing an album's page.
#include "CatalogueGenerator.h"
#include "EngineFloor.h"
#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/PrivateMessages.h"
#include "views/AlbumListCtrl.h"
#include "views/AlbumListModel.h"
#include "views/CBottomView.h"
#include "views/CTopView.h"
#include "views/CVastryDoc.h"

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace
{

struct Panes {
    std::unique_ptr<CVastryDoc> document;
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

Panes& panes(int albums)
{
    auto& slot = openPanes()[albums];
    if (!slot) {
        slot = std::make_unique<Panes>();
        slot->document = std::make_unique<CVastryDoc>(benchSettings());
        slot->document->openCatalog(CatalogueGenerator::catalogue(albums));
        slot->list = std::make_unique<CTopView>(*slot->document);
        slot->page = std::make_unique<CBottomView>(*slot->document);
        slot->document->setPanes(nullptr, slot->list.get(), slot->page.get());
        slot->list->resize(800, 300);
        slot->page->resize(800, 300);
        slot->list->show();
        slot->page->show();
        SendPaneMessage(slot->list.get(), UWM_NODE_SELECTED, 0, 0);
    }
    return *slot;
}

void waitForPage(CBottomView& page)
{
    QEventLoop loop;
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    QObject::connect(&page, &QWebEngineView::loadFinished, &loop, &QEventLoop::quit);
    loop.exec();
}

void ListReload(benchmark::State& state)
{
    Panes& p = panes(int(state.range(0)));
    for (auto _ : state) {
        SendPaneMessage(p.list.get(), UWM_RELOAD);
        p.list->list()->viewport()->repaint();
    }
    state.counters["rows"] = double(p.list->model()->rowCount());
}

void ListReloadFloor(benchmark::State& state)
{
    Panes& p = panes(int(state.range(0)));
    const QByteArray sql = CatalogTable::BuildItemQuery(p.document->albumTable().baseSelect(),
                                                        p.document->sortText(), false, QString())
                               .toUtf8();
    for (auto _ : state)
        EngineFloor::stepAsText(p.document->database()->handle(), sql, {2, 3, 5, 0});
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
        waitForPage(*p.page);
    }
}

} // namespace

BENCHMARK(ListReload)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ListReloadFloor)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ShowAlbumPage)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    openPanes().clear();
    return 0;
}
