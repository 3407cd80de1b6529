// Finding albums and printing the list over 100 000 albums: a find's list reload against the
// bare engine running the same SQL; the print dialog's preview with every column; the whole list
// printed into a PDF file with every column (at 10 000 and 100 000 albums) against writing the
// list document, which is what the command line's export does.
#include "CatalogueGenerator.h"
#include "EngineFloor.h"
#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/PrivateMessages.h"
#include "print/PrintListDialog.h"
#include "ui/MessageBox.h"
#include "ui/PrintDialogs.h"
#include "views/AlbumListCtrl.h"
#include "views/CTopView.h"
#include "views/CVastryDoc.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <unistd.h>

namespace
{

constexpr int Albums = 100000;

struct Catalogue {
    QTemporaryDir folder;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<CVastryDoc> document;
    std::unique_ptr<CTopView> list;
};

std::map<int, std::unique_ptr<Catalogue>>& opened()
{
    static std::map<int, std::unique_ptr<Catalogue>> catalogues;
    return catalogues;
}

Catalogue& catalogue(int albums = Albums)
{
    std::unique_ptr<Catalogue>& c = opened()[albums];
    if (!c) {
        c = std::make_unique<Catalogue>();
        AppSettings::useFolder(c->folder.path());
        AppPaths::setPageDirectory(c->folder.filePath(QStringLiteral("pages")));
        c->settings = std::make_unique<AppSettings>();
        c->document = std::make_unique<CVastryDoc>(*c->settings);
        c->document->openCatalog(CatalogueGenerator::catalogue(albums));
        c->list = std::make_unique<CTopView>(*c->document);
        c->document->setPanes(nullptr, c->list.get(), nullptr);
        c->list->resize(800, 300);
        c->list->show();
        SendPaneMessage(c->list.get(), UWM_NODE_SELECTED, 0, 0);
    }
    return *c;
}

// 0: one artist (as the search's Artist field writes it); 1: a title pattern, which no index
// can serve.
QString condition(Catalogue& c, int kind)
{
    if (kind == 1)
        return QStringLiteral("title LIKE '%e%'");
    const QString artist = c.document->albumTable().GetNameById(
        c.document->database(), 1, QStringLiteral("music_artists"), QStringLiteral("artist_name"),
        QStringLiteral("artist_id"));
    return QStringLiteral("artist_name = '%1'").arg(artist);
}

void FindReload(benchmark::State& state)
{
    Catalogue& c = catalogue();
    c.document->setFilter(condition(c, int(state.range(0))));
    for (auto _ : state) {
        SendPaneMessage(c.list.get(), UWM_RELOAD);
        c.list->list()->viewport()->repaint();
    }
    state.counters["rows"] = double(c.list->list()->model()->rowCount());
    c.document->setFilter(QString());
}

void FindReloadFloor(benchmark::State& state)
{
    Catalogue& c = catalogue();
    const QByteArray sql = CatalogTable::BuildItemQuery(
                               c.document->albumTable().baseSelect(c.document->database()),
                               c.document->sortText(), false, condition(c, int(state.range(0))))
                               .toUtf8();
    // A reload also counts every album for the status bar: the same statement, stepped here.
    const QByteArray total = QByteArrayLiteral("SELECT * FROM music WHERE deleted = FALSE");
    for (auto _ : state) {
        EngineFloor::stepAsText(c.document->database()->handle(), sql, {2, 3, 5, 0});
        EngineFloor::stepAsText(c.document->database()->handle(), total, {});
    }
}

// True when the page loaded: a renderer that died (out of memory, say) ends its load too, and
// must not count as a page shown.
bool waitForLoad(QWebEngineView* view)
{
    QEventLoop loop;
    bool loaded = false;
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    QObject::connect(view, &QWebEngineView::loadFinished, &loop, [&loop, &loaded](bool ok) {
        loaded = ok;
        loop.quit();
    });
    loop.exec();
    return loaded;
}

void showEveryColumn(CVastryDoc& document)
{
    for (int i = 0; i < document.columns().size(); ++i)
        document.columns()[i].shown = 1;
}

void PrintDialogPreview(benchmark::State& state)
{
    Catalogue& c = catalogue();
    showEveryColumn(*c.document);
    for (auto _ : state) {
        PrintListDialog dialog(*c.document, PrintListDialog::Print);
        dialog.show();
        if (!waitForLoad(dialog.preview()) || !dialog.previewNotice().isEmpty()) {
            state.SkipWithError("the preview was not shown");
            break;
        }
    }
}

// Resident memory at its peak, in MiB, of this process and of every process started below it
// (the web engine's), each read from /proc.
double peakMemoryOfProcessTree()
{
    std::map<qint64, qint64> parents;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (entry.toLongLong() <= 0 || !stat.open(QIODevice::ReadOnly))
            continue;
        // The fields after the command, which may hold spaces, start after its last ')'.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            parents[entry.toLongLong()] = fields[1].toLongLong();
    }
    auto inTree = [&parents](qint64 pid) {
        for (int depth = 0; pid > 1 && depth < 64; ++depth, pid = parents[pid]) {
            if (pid == qint64(::getpid()))
                return true;
        }
        return false;
    };
    double kib = 0;
    for (const auto& [pid, parent] : parents) {
        Q_UNUSED(parent);
        QFile status(QStringLiteral("/proc/%1/status").arg(pid));
        if (!inTree(pid) || !status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                kib += line.mid(6).trimmed().split(' ').first().toDouble();
        }
    }
    return kib / 1024;
}

// The whole list printed to a PDF file from the dialog, every column; fails when nothing was
// printed. Run each size in a process of its own (--benchmark_filter) for its peak memory.
void PrintDialogWholePdf(benchmark::State& state)
{
    Catalogue& c = catalogue(int(state.range(0)));
    showEveryColumn(*c.document);
    const QString pdf = QDir(c.folder.path()).filePath(QStringLiteral("whole.pdf"));
    PrintListDialog dialog(*c.document, PrintListDialog::Print);
    dialog.show();
    if (!waitForLoad(dialog.preview())) {
        state.SkipWithError("the preview was not shown");
        return;
    }
    auto* print = dialog.findChild<QPushButton*>(QStringLiteral("print"));
    // A print that fails says so in a box: answered at once, the row ends with its error.
    MessageBox::setAnswerForAll(QMessageBox::Ok);
    for (auto _ : state) {
        QFile::remove(pdf);
        PrintDialogs::setNextPrintTarget(pdf);
        print->click();
        if (QFileInfo(pdf).size() == 0) {
            state.SkipWithError("nothing was printed");
            break;
        }
    }
    state.counters["peak_MiB"] = peakMemoryOfProcessTree();
    state.counters["pdf_MiB"] = double(QFileInfo(pdf).size()) / (1024 * 1024);
    MessageBox::setAnswerForAll(QMessageBox::NoButton);
}

// The whole list in the print preview, every column: the preview holds every page as a picture
// until it closes, so its peak memory is the row's point.
void PrintPreviewWhole(benchmark::State& state)
{
    Catalogue& c = catalogue(int(state.range(0)));
    showEveryColumn(*c.document);
    PrintListDialog dialog(*c.document, PrintListDialog::Print);
    dialog.show();
    if (!waitForLoad(dialog.preview())) {
        state.SkipWithError("the preview was not shown");
        return;
    }
    auto* preview = dialog.findChild<QPushButton*>(QStringLiteral("printPreview"));
    int pages = 0;
    for (auto _ : state) {
        // The preview's pages are painted before it takes input: closed at its first chance.
        QTimer close;
        QObject::connect(&close, &QTimer::timeout, &close, [&close, &pages] {
            if (auto* shown =
                    qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
                pages = shown->findChild<QPrintPreviewWidget*>()->pageCount();
                shown->reject();
                close.stop();
            }
        });
        close.start(10);
        preview->click();
    }
    state.counters["pages"] = pages;
    state.counters["peak_MiB"] = peakMemoryOfProcessTree();
    if (pages == 0)
        state.SkipWithError("nothing was previewed");
}

// The floor of the whole print: the list document of every column written to a file, as
// `tunvale-cli export` writes it.
void ListDocumentWholeFloor(benchmark::State& state)
{
    Catalogue& c = catalogue(int(state.range(0)));
    const QString path = QDir(c.folder.path()).filePath(QStringLiteral("whole.html"));
    QVector<ColumnInfo> columns;
    for (int i = 0; i < c.document->columns().size(); ++i)
        columns.append(c.document->columns()[i].info());
    for (auto _ : state) {
        if (!c.document->albumTable().WriteListTable(c.document->database(), columns, 0, path,
                                                     c.document->sortText(), false, QString())) {
            state.SkipWithError("the document was not written");
            break;
        }
    }
}

void PrintDialogPreviewFloor(benchmark::State& state)
{
    Catalogue& c = catalogue();
    showEveryColumn(*c.document);
    const QString path = QDir(c.folder.path()).filePath(QStringLiteral("floor.html"));
    QVector<ColumnInfo> columns;
    for (int i = 0; i < c.document->columns().size(); ++i)
        columns.append(c.document->columns()[i].info());
    for (auto _ : state) {
        c.document->albumTable().WriteListTable(c.document->database(), columns, 0, path,
                                                c.document->sortText(), false, QString());
        QWebEngineView view;
        view.resize(800, 400);
        view.show();
        view.load(QUrl::fromLocalFile(path));
        if (!waitForLoad(&view)) {
            state.SkipWithError("the page did not load");
            break;
        }
    }
}

} // namespace

BENCHMARK(FindReload)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(FindReloadFloor)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(PrintDialogPreview)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(PrintDialogWholePdf)
    ->Arg(10000)
    ->Arg(Albums)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(PrintPreviewWhole)->Arg(10000)->Arg(Albums)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ListDocumentWholeFloor)
    ->Arg(10000)
    ->Arg(Albums)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(PrintDialogPreviewFloor)->Iterations(1)->Unit(benchmark::kMillisecond);

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
    opened().clear();
    return 0;
}
