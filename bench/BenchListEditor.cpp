// The list editor of the largest list: opening it (fill, sort and the first layout and paint)
// against the fill alone into its model; the core's fill into a plain container is measured by
// bench_catalogtable (FillArtistListEditor).
#include "CatalogueGenerator.h"
#include "app/AppSettings.h"
#include "db/LookupList.h"
#include "db/LookupListDialog.h"
#include "db/LookupListModel.h"
#include "views/CVastryDoc.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace
{

const LookupList& artists()
{
    return *LookupList::find(QStringLiteral("music_artists"));
}

// One open catalogue per size, kept for the run and closed before the application object goes.
std::map<int, std::unique_ptr<CVastryDoc>>& openDocuments()
{
    static std::map<int, std::unique_ptr<CVastryDoc>> open;
    return open;
}

CVastryDoc& document(int albums)
{
    static QTemporaryDir settingsFolder;
    static const bool ready = [] {
        AppSettings::useFolder(settingsFolder.path());
        return true;
    }();
    Q_UNUSED(ready);
    static AppSettings settings;
    auto& slot = openDocuments()[albums];
    if (!slot) {
        slot = std::make_unique<CVastryDoc>(settings);
        slot->openCatalog(CatalogueGenerator::catalogue(albums));
    }
    return *slot;
}

void OpenArtistListEditor(benchmark::State& state)
{
    CVastryDoc& doc = document(int(state.range(0)));
    int entries = 0;
    for (auto _ : state) {
        LookupListDialog dialog(doc, artists(), nullptr);
        dialog.show();
        dialog.repaint();
        entries = dialog.model()->rowCount();
    }
    state.counters["entries"] = entries;
}

void FillArtistListModel(benchmark::State& state)
{
    CVastryDoc& doc = document(int(state.range(0)));
    LookupListModel model;
    for (auto _ : state)
        model.fill(doc.albumTable(), doc.database(), artists());
    state.counters["entries"] = model.rowCount();
}

} // namespace

BENCHMARK(OpenArtistListEditor)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(FillArtistListModel)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    openDocuments().clear();
    return 0;
}
