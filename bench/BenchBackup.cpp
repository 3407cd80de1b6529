// A backup of an open catalogue (the engine's online copy, the check of the copy, the flush to
// disk and the rename) against the floor of copying the file as cp does, with and without the
// flush. The check alone is measured too, so the copy's own share reads as
// (BackupCatalogue - QuickCheckCopy) / CopyFileThenSync.
#include "CatalogueGenerator.h"
#include "db/CatalogBackup.h"
#include "db/DatabaseEx.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

namespace
{

QTemporaryDir& outputFolder()
{
    static QTemporaryDir folder;
    return folder;
}

// Copies `from` to `to` in 128 KiB blocks, as cp does; true when every byte arrived.
bool copyFile(const QString& from, const QString& to, bool sync)
{
    const int in = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_CLOEXEC);
    const int out =
        ::open(QFile::encodeName(to).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    bool ok = in >= 0 && out >= 0;
    static char block[128 * 1024];
    while (ok) {
        const ssize_t got = ::read(in, block, sizeof block);
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        ok = ::write(out, block, size_t(got)) == got;
    }
    if (ok && sync)
        ok = ::fsync(out) == 0;
    if (in >= 0)
        ::close(in);
    if (out >= 0)
        ::close(out);
    return ok;
}

void setSizeCounter(benchmark::State& state, const QString& path)
{
    state.counters["MB"] = double(QFileInfo(path).size()) / 1e6;
}

void BackupCatalogue(benchmark::State& state)
{
    const QString path = CatalogueGenerator::catalogue(int(state.range(0)));
    Database source;
    if (!source.open(path, DatabaseEx::catalogConnectString())) {
        state.SkipWithError("The catalogue does not open.");
        return;
    }
    CatalogBackup backups(outputFolder().filePath(QStringLiteral("backups")), 1, true);
    for (auto _ : state) {
        QString error;
        if (!backups.take(&source, nullptr, &error))
            state.SkipWithError(qPrintable(error));
    }
    setSizeCounter(state, path);
}

void QuickCheckCopy(benchmark::State& state)
{
    const QString path = CatalogueGenerator::catalogue(int(state.range(0)));
    const QString copy = outputFolder().filePath(QStringLiteral("checked.muf"));
    QFile::remove(copy);
    QFile::copy(path, copy);
    Database database;
    if (!database.open(copy, DatabaseEx::catalogConnectString())) {
        state.SkipWithError("The copy does not open.");
        return;
    }
    for (auto _ : state) {
        QStringList problems;
        if (!database.quickCheck(&problems) || !problems.isEmpty())
            state.SkipWithError("The check failed.");
    }
    setSizeCounter(state, path);
}

void CopyFileAsCp(benchmark::State& state, bool sync)
{
    const QString path = CatalogueGenerator::catalogue(int(state.range(0)));
    const QString copy = outputFolder().filePath(QStringLiteral("cp.muf"));
    for (auto _ : state) {
        if (!copyFile(path, copy, sync))
            state.SkipWithError("The copy failed.");
    }
    setSizeCounter(state, path);
}

void CopyFile(benchmark::State& state)
{
    CopyFileAsCp(state, false);
}

void CopyFileThenSync(benchmark::State& state)
{
    CopyFileAsCp(state, true);
}

} // namespace

BENCHMARK(BackupCatalogue)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(QuickCheckCopy)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(CopyFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(CopyFileThenSync)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
