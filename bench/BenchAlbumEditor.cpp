// Opening the album editor on an album of 30 tracks: every page built, its 16 name boxes filled
// from the catalogue (the artist box with one name per five albums), the album and its tracks
// loaded and the dialog laid out, at a small and a large catalogue.
#include "CatalogueGenerator.h"
#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "editors/AlbumEditorDialog.h"
#include "editors/AutoCompleteComboBox.h"
#include "editors/CMusicGeneralPage.h"
#include "views/CVastryDoc.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QThreadPool>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace
{

constexpr int TrackCount = 30;

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

struct OpenCatalogue {
    std::unique_ptr<CVastryDoc> document;
    int albumId = -1;
};

std::map<int, OpenCatalogue>& catalogues()
{
    static std::map<int, OpenCatalogue> open;
    return open;
}

// A copy of the generated catalogue with one more album of 30 tracks, made once per size.
OpenCatalogue& catalogue(int albums)
{
    OpenCatalogue& open = catalogues()[albums];
    if (!open.document) {
        open.document = std::make_unique<CVastryDoc>(benchSettings());
        open.document->openCatalog(CatalogueGenerator::workingCopy(albums));
        AlbumRecord album;
        album.artist = QStringLiteral("Bench Artist");
        album.title = QStringLiteral("Thirty Tracks");
        album.genre = QStringLiteral("Bench Genre");
        QVector<TrackRecord> tracks(TrackCount);
        for (int i = 0; i < TrackCount; ++i) {
            tracks[i].title = QStringLiteral("Track %1").arg(i + 1);
            tracks[i].length = QStringLiteral("3:%1").arg(i + 10);
            tracks[i].trackNumber = i + 1;
        }
        open.albumId = open.document->albumTable().saveWithTracks(open.document->database(), album,
                                                                  -1, &tracks);
    }
    return open;
}

void OpenAlbumEditor(benchmark::State& state)
{
    OpenCatalogue& open = catalogue(int(state.range(0)));
    if (open.albumId < 0) {
        state.SkipWithError("the album could not be stored");
        return;
    }
    for (auto _ : state) {
        // The names a previous editor read ahead on a worker are in before the next opens, as
        // they are for a user, who does not open forty editors a second.
        state.PauseTiming();
        QThreadPool::globalInstance()->waitForDone();
        state.ResumeTiming();
        AlbumEditorDialog editor(*open.document, open.albumId, 0);
        editor.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(editor.quickNotes());
    }
}

// The first key in the artist box, a moment (1.5 s) after the editor opened: the time a user
// takes to reach the box, in which a long list of names is read ahead on a worker. Only the
// key is timed: it completes the typed letter from every artist.
void FirstKeyInArtistBox(benchmark::State& state)
{
    OpenCatalogue& open = catalogue(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto editor = std::make_unique<AlbumEditorDialog>(*open.document, open.albumId, 0);
        editor->show();
        QElapsedTimer reaching;
        reaching.start();
        while (reaching.elapsed() < 1500)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        AutoCompleteComboBox* artist = editor->generalPage()->artistBox();
        artist->setFocus();
        artist->lineEdit()->selectAll();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
        state.ResumeTiming();
        QCoreApplication::sendEvent(artist->lineEdit(), &press);
        QCoreApplication::sendEvent(artist->lineEdit(), &release);
        state.PauseTiming();
        if (!artist->namesRead() || !artist->currentText().startsWith(QLatin1Char('B'))) {
            state.SkipWithError("the key did not complete a name");
            break;
        }
        editor.reset();
        state.ResumeTiming();
    }
}

} // namespace

// Few iterations: each waits 1.5 s untimed for a key of a few milliseconds.
BENCHMARK(FirstKeyInArtistBox)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(OpenAlbumEditor)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    catalogues().clear();
    return 0;
}
