#include "db/CatalogBackup.h"
#include "db/DatabaseEx.h"
#include "support/TestCatalog.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <QtTest>
#include <sys/mount.h>
#include <unistd.h>

// Backups of an open catalogue in its backup folder: which ones stay, how bad files and bad
// folders are told, and restores that replace the catalogue whole or not at all.
class TestCatalogBackup : public QObject
{
    Q_OBJECT

private slots:
    void rotationKeepsTheRightFiles_data();
    void rotationKeepsTheRightFiles();
    void twoProgramsAtOnceKeepEveryBackup();
    void backupBesideAnUnfinishedChangeHoldsTheStoredState();
    void unusableFolderIsToldAndLeavesNoBackup_data();
    void unusableFolderIsToldAndLeavesNoBackup();
    void listingSkipsLeftoversAndMarksBadFiles();
    void restoreRefusesAndKeepsTheCatalogue_data();
    void restoreRefusesAndKeepsTheCatalogue();
    void restoreKeepsTheCurrentStateFirst();

private:
    static QStringList backupNames(const QString& folder);
    static QDateTime at(const QString& text);
};

QStringList TestCatalogBackup::backupNames(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QDateTime TestCatalogBackup::at(const QString& text)
{
    return QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void TestCatalogBackup::rotationKeepsTheRightFiles_data()
{
    QTest::addColumn<QStringList>("times"); // backups taken, in this order
    QTest::addColumn<int>("keep");
    QTest::addColumn<QStringList>("kept");
    QTest::newRow("newest few and the month's first")
        << QStringList{"2026-03-01 10:00:00", "2026-03-02 10:00:00", "2026-03-03 10:00:00",
                       "2026-03-04 10:00:00", "2026-03-05 10:00:00"}
        << 2
        << QStringList{"2026-03-01_100000.muf", "2026-03-04_100000.muf", "2026-03-05_100000.muf"};
    QTest::newRow("one a month for a year, same-second names")
        << QStringList{"2025-01-15 08:00:00", "2025-06-01 08:00:00", "2025-12-01 08:00:00",
                       "2026-11-10 08:00:00", "2026-11-20 08:00:00", "2026-12-01 08:00:00",
                       "2026-12-02 08:00:00", "2026-12-08 12:00:00", "2026-12-08 12:00:00"}
        << 2
        << QStringList{"2026-11-10_080000.muf", "2026-12-01_080000.muf", "2026-12-08_120000-2.muf",
                       "2026-12-08_120000.muf"};
    QTest::newRow("keep below one keeps one")
        << QStringList{"2026-05-01 09:00:00", "2026-05-01 09:30:00", "2026-05-01 10:00:00"} << 0
        << QStringList{"2026-05-01_090000.muf", "2026-05-01_100000.muf"};
}

void TestCatalogBackup::rotationKeepsTheRightFiles()
{
    QFETCH(QStringList, times);
    QFETCH(int, keep);
    QFETCH(QStringList, kept);
    ReportRecorder reports;
    TestCatalog files;
    const QString connect = DatabaseEx::catalogConnectString();
    Database source;
    QVERIFY(source.open(files.copyOfDemo(), connect));
    CatalogBackup backups(files.filePath(QStringLiteral("backups")), keep, true);
    for (const QString& time : times) {
        backups.setClock([time] { return at(time); });
        QString error;
        QVERIFY2(backups.take(&source, nullptr, &error), qPrintable(error));
    }
    QCOMPARE(backupNames(backups.folderFor(source.name())), kept);
}

// Two programs (here two threads, each with its own connection) backing up in the same second.
void TestCatalogBackup::twoProgramsAtOnceKeepEveryBackup()
{
    ReportRecorder reports;
    TestCatalog files;
    const QString connect = DatabaseEx::catalogConnectString();
    const QString demo = files.copyOfDemo();
    CatalogBackup backups(files.filePath(QStringLiteral("backups")), 100, true);
    backups.setClock([] { return at(QStringLiteral("2026-07-01 12:00:00")); });
    QStringList errors;
    QMutex errorsLock;
    auto backUpThrice = [&] {
        Database source;
        source.open(demo, connect);
        for (int i = 0; i < 3; ++i) {
            QString error;
            if (!backups.take(&source, nullptr, &error)) {
                QMutexLocker locked(&errorsLock);
                errors << error;
            }
        }
    };
    std::unique_ptr<QThread> first(QThread::create(backUpThrice));
    std::unique_ptr<QThread> second(QThread::create(backUpThrice));
    first->start();
    second->start();
    QVERIFY(first->wait(60000) && second->wait(60000));
    QCOMPARE(errors, QStringList());
    const QVector<BackupEntry> listed = backups.list(demo, connect);
    QCOMPARE(listed.size(), 6);
    for (const BackupEntry& entry : listed)
        QCOMPARE(entry.albums, 26);
}

// Another connection is in the middle of a change: the backup holds what is stored, and the
// change still goes through afterwards.
void TestCatalogBackup::backupBesideAnUnfinishedChangeHoldsTheStoredState()
{
    ReportRecorder reports;
    TestCatalog files;
    const QString connect = DatabaseEx::catalogConnectString();
    const QString demo = files.copyOfDemo();
    Database writer;
    QVERIFY(writer.open(demo, connect));
    QVERIFY(writer.execute("BEGIN IMMEDIATE"));
    QVERIFY(writer.execute("UPDATE music SET deleted = 1"));
    Database source;
    QVERIFY(source.open(demo, connect));
    CatalogBackup backups(files.filePath(QStringLiteral("backups")), 10, true);
    QString taken;
    QString error;
    QVERIFY2(backups.take(&source, &taken, &error), qPrintable(error));
    QVERIFY(writer.execute("COMMIT"));
    QCOMPARE(TestCatalog::albumCount(taken, connect), 26);
    QCOMPARE(TestCatalog::albumCount(demo, connect), 0);
}

void TestCatalogBackup::unusableFolderIsToldAndLeavesNoBackup_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("folder is a file") << "file"
                                      << "is a file, not a folder";
    QTest::newRow("a parent is a file") << "parent"
                                        << "is a file.";
    QTest::newRow("read-only folder") << "read-only"
                                      << "is not writable";
    QTest::newRow("full disk") << "full"
                               << "No space left";
}

void TestCatalogBackup::unusableFolderIsToldAndLeavesNoBackup()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    ReportRecorder reports;
    TestCatalog files;
    const QString connect = DatabaseEx::catalogConnectString();
    const QString demo = files.copyOfDemo();
    const QString root = files.filePath(QStringLiteral("backups"));
    QVERIFY(QDir().mkpath(root));
    CatalogBackup backups(root, 10, true);
    const QString folder = backups.folderFor(demo);
    struct Unmount {
        QString point;
        ~Unmount()
        {
            if (!point.isEmpty())
                umount(QFile::encodeName(point).constData());
        }
    } unmount;
    if (kind == QLatin1String("file")) {
        QFile file(folder);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (kind == QLatin1String("parent")) {
        QVERIFY(QDir(root).removeRecursively());
        QFile file(root);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (kind == QLatin1String("read-only") && geteuid() != 0) {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    } else {
        // A small file system of its own: full, as the demo's copy does not fit, or mounted
        // read-only (the superuser writes into any folder of a writable one).
        QVERIFY(QDir().mkpath(folder));
        const bool readOnly = kind == QLatin1String("read-only");
        if (mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", readOnly ? MS_RDONLY : 0,
                  "size=48k") != 0)
            QSKIP("No permission to mount a small file system here.");
        unmount.point = folder;
    }
    const QByteArray before = TestCatalog::readBytes(demo);
    Database source;
    QVERIFY(source.open(demo, connect));
    QString error;
    QVERIFY(!backups.take(&source, nullptr, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    // Backups that are off leave the change alone and say nothing.
    QVERIFY(
        CatalogBackup(root, 10, false).takeBefore(&source, CatalogBackup::Reason::Import, &error));
    source.close();
    QCOMPARE(TestCatalog::readBytes(demo), before);
    if (QFileInfo(folder).isDir())
        QCOMPARE(backupNames(folder).filter(QStringLiteral(".muf")), QStringList());
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestCatalogBackup::listingSkipsLeftoversAndMarksBadFiles()
{
    ReportRecorder reports;
    TestCatalog files;
    const QString connect = DatabaseEx::catalogConnectString();
    const QString demo = files.copyOfDemo();
    Database source;
    QVERIFY(source.open(demo, connect));
    CatalogBackup backups(files.filePath(QStringLiteral("backups")), 10, true);
    backups.setClock([] { return at(QStringLiteral("2026-01-01 00:00:00")); });
    QString good;
    QString error;
    QVERIFY2(backups.take(&source, &good, &error), qPrintable(error));
    const QDir folder(backups.folderFor(demo));

    // Newer than the good one, all of them bad.
    QFile garbage(folder.filePath(QStringLiteral("2026-01-02_000000.muf")));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(8192, 'g'));
    garbage.close();
    const QString truncated = folder.filePath(QStringLiteral("2026-01-03_000000.muf"));
    QVERIFY(QFile::copy(good, truncated));
    QVERIFY(QFile::resize(truncated, QFileInfo(good).size() / 2));
    QVERIFY(CatalogCopy::write(&source, folder.filePath(QStringLiteral("2026-01-04_000000.muf")),
                               QStringLiteral(";PWD=another catalogue"), &error));
    const QString damaged = folder.filePath(QStringLiteral("2026-01-05_000000.muf"));
    QVERIFY(QFile::copy(good, damaged));
    QFile damage(damaged);
    QVERIFY(damage.open(QIODevice::ReadWrite));
    damage.seek(damage.size() - 1024);
    damage.write(QByteArray(1024, '\x5a'));
    damage.close();
    const QString leftover =
        folder.filePath(CatalogCopy::temporaryPrefix(QStringLiteral("2026-01-06_000000.muf")) +
                        QLatin1String("abc123"));
    QVERIFY(QFile::copy(good, leftover));
    QFile(folder.filePath(QStringLiteral("notes.txt"))).open(QIODevice::WriteOnly);

    const QVector<BackupEntry> listed = backups.list(demo, connect);
    QStringList names;
    QVector<int> albums;
    for (const BackupEntry& entry : listed) {
        names << QFileInfo(entry.path).fileName();
        albums << entry.albums;
    }
    QCOMPARE(names,
             (QStringList{"2026-01-05_000000.muf", "2026-01-04_000000.muf", "2026-01-03_000000.muf",
                          "2026-01-02_000000.muf", "2026-01-01_000000.muf"}));
    // The damaged one still opens and counts: only the check finds it out.
    QCOMPARE(albums, (QVector<int>{26, -1, -1, -1, 26}));
    QCOMPARE(listed.first().taken, at(QStringLiteral("2026-01-05 00:00:00")));
    QCOMPARE(listed.last().size, QFileInfo(good).size());
    const BackupEntry newest = backups.newestGood(demo, connect);
    QCOMPARE(newest.path, good);
    QCOMPARE(newest.albums, 26);

    // The next backup clears what an interrupted one left.
    backups.setClock([] { return at(QStringLiteral("2026-01-10 00:00:00")); });
    QVERIFY(backups.take(&source, nullptr, &error));
    QVERIFY(!QFile::exists(leftover));
    QVERIFY(!backups.isDailyDue(demo));
    backups.setClock([] { return at(QStringLiteral("2026-01-11 00:00:01")); });
    QVERIFY(backups.isDailyDue(demo));
}

void TestCatalogBackup::restoreRefusesAndKeepsTheCatalogue_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("read-only catalogue") << "read-only"
                                         << "read-only";
    QTest::newRow("garbage backup") << "garbage"
                                    << "cannot be read";
    QTest::newRow("backup under another password") << "other key"
                                                   << "cannot be read";
    QTest::newRow("damaged backup") << "damaged"
                                    << "damaged";
}

void TestCatalogBackup::restoreRefusesAndKeepsTheCatalogue()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    ReportRecorder reports;
    TestCatalog files;
    const QString connect = DatabaseEx::catalogConnectString();
    const QString demo = files.copyOfDemo();
    const QString backup = files.filePath(QStringLiteral("backup.muf"));
    {
        Database source;
        QVERIFY(source.open(demo, connect));
        QString error;
        QVERIFY(CatalogCopy::write(
            &source, backup,
            kind == QLatin1String("other key") ? QStringLiteral(";PWD=x") : connect, &error));
    }
    if (kind == QLatin1String("read-only"))
        QVERIFY(QFile::setPermissions(demo, QFile::ReadOwner));
    if (kind == QLatin1String("garbage") || kind == QLatin1String("damaged")) {
        QFile file(backup);
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(kind == QLatin1String("garbage") ? 0 : file.size() - 1024);
        file.write(QByteArray(1024, '\x5a'));
    }
    const QByteArray before = TestCatalog::readBytes(demo);
    CatalogBackup backups(files.filePath(QStringLiteral("backups")), 10, true);
    QString previous;
    QString error;
    QCOMPARE(backups.restore(demo, backup, connect, true, &previous, &error),
             CatalogBackup::RestoreResult::Refused);
    QVERIFY2(error.contains(message), qPrintable(error));
    QCOMPARE(TestCatalog::readBytes(demo), before);
    QCOMPARE(previous, QString());
}

// The chosen backup is one that the backup of the current state rotates out of the folder.
void TestCatalogBackup::restoreKeepsTheCurrentStateFirst()
{
    ReportRecorder reports;
    TestCatalog files;
    const QString connect = DatabaseEx::catalogConnectString();
    const QString demo = files.copyOfDemo();
    QVERIFY(QFile::setPermissions(demo, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    CatalogBackup backups(files.filePath(QStringLiteral("backups")), 1, true);
    const auto takeAt = [&](Database* source, const QString& time, QString* written) {
        backups.setClock([time] { return at(time); });
        QString error;
        return backups.take(source, written, &error);
    };
    const QByteArray deleteAlbums = "UPDATE music SET deleted = 1 WHERE music_id IN "
                                    "(SELECT music_id FROM music WHERE deleted = 0 LIMIT %1)";
    QString chosen;
    {
        Database source;
        QVERIFY(source.open(demo, connect));
        QVERIFY(takeAt(&source, QStringLiteral("2026-04-01 09:00:00"), nullptr));
        QVERIFY(source.execute(QByteArray(deleteAlbums).replace("%1", "2")));
        QVERIFY(takeAt(&source, QStringLiteral("2026-04-01 10:00:00"), &chosen));
        QVERIFY(source.execute(QByteArray(deleteAlbums).replace("%1", "1")));
    }
    QCOMPARE(TestCatalog::albumCount(demo, connect), 23);
    backups.setClock([] { return at(QStringLiteral("2026-04-01 12:00:00")); });
    QString previous;
    QString error;
    QCOMPARE(backups.restore(demo, chosen, connect, false, &previous, &error),
             CatalogBackup::RestoreResult::Restored);
    QCOMPARE(TestCatalog::albumCount(demo, connect), 24);
    QCOMPARE(TestCatalog::albumCount(previous, connect), 23);
    QVERIFY(!QFile::exists(chosen));
    QCOMPARE(QFileInfo(demo).permissions() & (QFile::ReadGroup | QFile::WriteGroup),
             QFile::ReadGroup);
    QCOMPARE(QDir(files.folder()).entryList(QDir::Hidden | QDir::Files).filter(".part-"),
             QStringList());
}

QTEST_GUILESS_MAIN(TestCatalogBackup)
#include "TestCatalogBackup.moc"
