#include "app/AppSettings.h"
#include "support/TestCatalog.h"

#include <QDir>
#include <QProcess>
#include <QtTest>
#include <csignal>

// The desktop program as a process: what it leaves behind when it is told to stop, and what it
// clears away of runs that could not clean up after themselves.
class TestProgramSignals : public QObject
{
    Q_OBJECT

private slots:
    void pageFolderGoesWithTheProgram_data();
    void pageFolderGoesWithTheProgram();
};

namespace
{

// A process id that surely names no running process: one that has just ended.
qint64 endedProcessId()
{
    QProcess process;
    process.start(QStringLiteral("true"), QStringList());
    process.waitForFinished();
    return process.processId() > 0 ? process.processId() : 999999999;
}

bool makeFolderWithPage(const QString& folder)
{
    QFile page(folder + QLatin1String("/post.html"));
    return QDir().mkpath(folder) && page.open(QIODevice::WriteOnly) && page.write("album") == 5;
}

} // namespace

void TestProgramSignals::pageFolderGoesWithTheProgram_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<bool>("tipOfTheDay");
    QTest::newRow("SIGTERM") << int(SIGTERM) << false;
    QTest::newRow("SIGHUP while the tip of the day shows") << int(SIGHUP) << true;
    QTest::newRow("SIGINT") << int(SIGINT) << false;
}

void TestProgramSignals::pageFolderGoesWithTheProgram()
{
    QFETCH(int, signalNumber);
    QFETCH(bool, tipOfTheDay);
    TestCatalog files;
    const QString catalogue = files.copyOfDemo();
    AppSettings::useFolder(files.filePath(QStringLiteral("config")));
    AppSettings().write(SettingsTable::DisableTips, tipOfTheDay ? 0 : 1);
    const QString cache = files.filePath(QStringLiteral("cache/Quillon/Tunvale"));
    // Left by a run that was killed, and by one still running (this test).
    const QString stale = cache + QStringLiteral("/pages-%1").arg(endedProcessId());
    const QString live =
        cache + QStringLiteral("/pages-%1").arg(QCoreApplication::applicationPid());
    QVERIFY(makeFolderWithPage(stale));
    QVERIFY(makeFolderWithPage(live));

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), files.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), files.filePath(QStringLiteral("cache")));
    program.setProcessEnvironment(environment);
    program.start(TestCatalog::programDirectory() + QLatin1String("/tunvale"), {catalogue});
    QVERIFY(program.waitForStarted());
    const QString own = cache + QStringLiteral("/pages-%1").arg(program.processId());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(own + QLatin1String("/post.html")) ||
                                 program.state() == QProcess::NotRunning,
                             60000);
    QVERIFY2(program.state() == QProcess::Running, program.readAllStandardError().constData());
    QVERIFY(!QFileInfo::exists(stale));
    QVERIFY(QFileInfo::exists(live + QLatin1String("/post.html")));

    QVERIFY(::kill(pid_t(program.processId()), signalNumber) == 0);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 128 + signalNumber);
    QVERIFY(!QFileInfo::exists(own));
}

QTEST_GUILESS_MAIN(TestProgramSignals)
#include "TestProgramSignals.moc"
