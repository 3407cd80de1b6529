#include "db/DatabaseEx.h"
#include "support/TestCatalog.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

// The command-line backup and restore, and the backups other commands take before they
// change a catalogue, run as processes on real catalogue files.
class TestCliBackup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void backupThenRestoreRoundTrips();
    void changesAreBackedUpFirst_data();
    void changesAreBackedUpFirst();
    void failedBackupWarnsAndTheChangeGoesOn();
    void restoreRefusesAndLeavesTheCatalogue_data();
    void restoreRefusesAndLeavesTheCatalogue();
    void killsLeaveWholeFiles();

private:
    struct Result {
        int exitCode;
        QString out;
        QString err;
    };
    Result run(const QStringList& arguments);
    QProcessEnvironment environment() const;
    QStringList backups() const;
    int count(const QString& catalogue);
    static bool passesCheck(const QString& path);

    std::unique_ptr<TestCatalog> m_files;
    QString m_demo;
    QString m_dataHome;
};

void TestCliBackup::init()
{
    m_files = std::make_unique<TestCatalog>();
    m_demo = m_files->copyOfDemo();
    m_dataHome = m_files->filePath(QStringLiteral("data"));
}

QProcessEnvironment TestCliBackup::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       m_files->filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"),
                       m_files->filePath(QStringLiteral("cache")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_dataHome);
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    return environment;
}

TestCliBackup::Result TestCliBackup::run(const QStringList& arguments)
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.setWorkingDirectory(m_files->folder());
    process.start(TestCatalog::programDirectory() + QLatin1String("/tunvale-cli"), arguments);
    if (!process.waitForFinished(120000))
        return {-1, QString(), QStringLiteral("timed out")};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Every backup in the data folder, oldest first, leftovers of interrupted ones included.
QStringList TestCliBackup::backups() const
{
    QStringList found;
    QDirIterator files(m_dataHome, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext())
        found << files.next();
    found.sort();
    return found;
}

int TestCliBackup::count(const QString& catalogue)
{
    const Result result = run({QStringLiteral("count"), catalogue});
    return result.exitCode == 0 ? result.out.trimmed().toInt() : -1;
}

bool TestCliBackup::passesCheck(const QString& path)
{
    Database database;
    QStringList problems;
    return database.open(path, DatabaseEx::catalogConnectString()) &&
           database.quickCheck(&problems) && problems.isEmpty();
}

void TestCliBackup::backupThenRestoreRoundTrips()
{
    const Result backup = run({QStringLiteral("backup"), m_demo});
    QCOMPARE(backup.exitCode, 0);
    const QString taken = backup.out.trimmed();
    QCOMPARE(backups(), QStringList{taken});
    QVERIFY(taken.startsWith(m_dataHome + QLatin1String("/Quillon/Tunvale/backups/demo-")));
    QCOMPARE(run({QStringLiteral("delete"), m_demo, QStringLiteral("1")}).exitCode, 0);
    QCOMPARE(count(m_demo), 25);

    const Result restore = run({QStringLiteral("restore"), m_demo, taken});
    QCOMPARE(restore.exitCode, 0);
    QCOMPARE(count(m_demo), 26);
    // The state before the restore is a backup too.
    QStringList kept = backups();
    kept.removeAll(taken);
    QCOMPARE(kept.size(), 1);
    QVERIFY(restore.out.contains(kept.first()));
    QCOMPARE(count(kept.first()), 25);

    // A copy where the user wants it: into a folder, or as a file; never over the catalogue.
    const QString elsewhere = m_files->filePath(QStringLiteral("elsewhere"));
    QVERIFY(QDir().mkpath(elsewhere));
    const Result intoFolder = run({QStringLiteral("backup"), m_demo, elsewhere});
    QCOMPARE(intoFolder.exitCode, 0);
    QVERIFY(intoFolder.out.startsWith(elsewhere + QLatin1String("/demo-")));
    QCOMPARE(count(intoFolder.out.trimmed()), 26);
    const QString file = m_files->filePath(QStringLiteral("copy.muf"));
    QCOMPARE(run({QStringLiteral("backup"), m_demo, file}).exitCode, 0);
    QCOMPARE(count(file), 26);
    QCOMPARE(run({QStringLiteral("backup"), m_demo, m_demo}).exitCode, 1);
}

void TestCliBackup::changesAreBackedUpFirst_data()
{
    QTest::addColumn<QStringList>("change");
    QTest::addColumn<QStringList>("look");  // shows the change, on the catalogue or a backup
    QTest::addColumn<bool>("againBacksUp"); // whether the same change later backs up again
    QTest::newRow("import") << QStringList{"import", "CATALOGUE", "in.csv"}
                            << QStringList{"count", "FILE"} << true;
    QTest::newRow("rename") << QStringList{"rename", "CATALOGUE", "music_artists", "1", "Renamed"}
                            << QStringList{"names", "FILE", "music_artists"} << true;
    QTest::newRow("first change of the day")
        << QStringList{"delete", "CATALOGUE", "2"} << QStringList{"count", "FILE"} << false;
}

void TestCliBackup::changesAreBackedUpFirst()
{
    QFETCH(QStringList, change);
    QFETCH(QStringList, look);
    QFETCH(bool, againBacksUp);
    QFile csv(m_files->filePath(QStringLiteral("in.csv")));
    QVERIFY(csv.open(QIODevice::WriteOnly));
    csv.write("Artist,Title\nNew Artist,New Album\nOther Artist,Other Album\n");
    csv.close();
    change.replaceInStrings(QStringLiteral("CATALOGUE"), m_demo);
    const auto lookAt = [&](const QString& file) {
        return run(QStringList(look).replaceInStrings(QStringLiteral("FILE"), file)).out;
    };
    const QString before = lookAt(m_demo);
    const Result changed = run(change);
    QVERIFY2(changed.exitCode == 0, qPrintable(changed.err));
    QCOMPARE(backups().size(), 1);
    QCOMPARE(lookAt(backups().first()), before);
    QVERIFY(lookAt(m_demo) != before);

    if (change[0] == QLatin1String("delete"))
        change.last() = QStringLiteral("3");
    QCOMPARE(run(change).exitCode, 0);
    QCOMPARE(backups().size(), againBacksUp ? 2 : 1);
}

// A backup folder that cannot be made: the import still happens, and says why once.
void TestCliBackup::failedBackupWarnsAndTheChangeGoesOn()
{
    QFile blocker(m_dataHome);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QFile csv(m_files->filePath(QStringLiteral("in.csv")));
    QVERIFY(csv.open(QIODevice::WriteOnly));
    csv.write("Artist,Title\nNew Artist,New Album\n");
    csv.close();
    const Result import = run({QStringLiteral("import"), m_demo, csv.fileName()});
    QCOMPARE(import.exitCode, 0);
    QCOMPARE(import.err.count(QStringLiteral("warning: the backup before the import failed")), 1);
    QCOMPARE(count(m_demo), 27);
    QCOMPARE(run({QStringLiteral("backup"), m_demo}).exitCode, 1);
}

void TestCliBackup::restoreRefusesAndLeavesTheCatalogue_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("read-only catalogue") << "read-only"
                                         << "is read-only";
    QTest::newRow("truncated backup") << "truncated"
                                      << "cannot be read";
    QTest::newRow("garbage backup") << "garbage"
                                    << "cannot be read";
    QTest::newRow("catalogue that does not open") << "broken catalogue"
                                                  << "--force";
}

void TestCliBackup::restoreRefusesAndLeavesTheCatalogue()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    const QString backup = run({QStringLiteral("backup"), m_demo}).out.trimmed();
    QVERIFY(QFile::exists(backup));
    if (kind == QLatin1String("read-only"))
        QVERIFY(QFile::setPermissions(m_demo, QFile::ReadOwner | QFile::ReadGroup));
    if (kind == QLatin1String("truncated"))
        QVERIFY(QFile::resize(backup, QFileInfo(backup).size() / 3));
    if (kind == QLatin1String("garbage") || kind == QLatin1String("broken catalogue")) {
        QFile file(kind == QLatin1String("garbage") ? backup : m_demo);
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.write(QByteArray(4096, '\x07'));
    }
    const QByteArray before = TestCatalog::readBytes(m_demo);
    const Result restore = run({QStringLiteral("restore"), m_demo, backup});
    QCOMPARE(restore.exitCode, 1);
    QVERIFY2(restore.err.contains(message), qPrintable(restore.err));
    QCOMPARE(TestCatalog::readBytes(m_demo), before);
    if (kind == QLatin1String("broken catalogue")) {
        // The user's word replaces a catalogue that cannot be backed up any more.
        QCOMPARE(
            run({QStringLiteral("restore"), m_demo, backup, QStringLiteral("--force")}).exitCode,
            0);
        QCOMPARE(count(m_demo), 26);
    }
}

// A kill at any moment of a backup leaves no half file under a backup's name; a kill during a
// restore leaves the catalogue whole, as it was or as the backup was.
void TestCliBackup::killsLeaveWholeFiles()
{
    QByteArray rows = "Artist,Title,Notes\n";
    for (int i = 1; i <= 20000; ++i)
        rows += "Artist " + QByteArray::number(i % 700) + ",Title " + QByteArray::number(i) + "," +
                QByteArray(200, 'n') + "\n";
    QFile csv(m_files->filePath(QStringLiteral("big.csv")));
    QVERIFY(csv.open(QIODevice::WriteOnly));
    csv.write(rows);
    csv.close();
    const QString big = m_files->copyOfTemplate(QStringLiteral("big.muf"));
    QCOMPARE(run({QStringLiteral("import"), big, csv.fileName()}).exitCode, 0);
    QDir(m_dataHome).removeRecursively();
    QElapsedTimer clock;
    clock.start();
    const QString backup = run({QStringLiteral("backup"), big}).out.trimmed();
    const int backupMs = int(clock.elapsed());
    QCOMPARE(count(backup), 20000);
    QCOMPARE(run({QStringLiteral("delete"), big, QStringLiteral("1")}).exitCode, 0);

    const auto killAfter = [&](const QStringList& arguments, int ms) {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(TestCatalog::programDirectory() + QLatin1String("/tunvale-cli"), arguments);
        process.waitForStarted();
        if (!process.waitForFinished(ms))
            process.kill();
        process.waitForFinished();
    };
    for (int round = 0; round < 4; ++round) {
        const int ms = QRandomGenerator::global()->bounded(std::max(1, 2 * backupMs));
        killAfter({QStringLiteral("backup"), big}, ms);
        for (const QString& file : backups())
            if (!QFileInfo(file).fileName().startsWith(QLatin1Char('.')))
                QVERIFY2(passesCheck(file), qPrintable(file));
        killAfter({QStringLiteral("restore"), big, backup}, ms);
        QVERIFY(passesCheck(big));
        const int albums = count(big);
        QVERIFY2(albums == 19999 || albums == 20000, qPrintable(QString::number(albums)));
        if (albums == 20000)
            QCOMPARE(run({QStringLiteral("delete"), big, QStringLiteral("1")}).exitCode, 0);
    }
}

QTEST_GUILESS_MAIN(TestCliBackup)
#include "TestCliBackup.moc"
