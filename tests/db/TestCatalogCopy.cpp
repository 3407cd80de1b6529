#include "db/CatalogCopy.h"
#include "db/DatabaseEx.h"
#include "support/TestCatalog.h"

#include <QDir>
#include <QFile>
#include <QtTest>

// Copies of an open catalogue: they hold every album, carry the key they were asked for, and
// never leave a half file under the target's name.
class TestCatalogCopy : public QObject
{
    Q_OBJECT

private slots:
    void copyOpensWithItsKeyAlone_data();
    void copyOpensWithItsKeyAlone();
    void failedOrCancelledCopyLeavesTheTargetAsItWas_data();
    void failedOrCancelledCopyLeavesTheTargetAsItWas();
    void quickCheckFindsDamage();
};

void TestCatalogCopy::copyOpensWithItsKeyAlone_data()
{
    QTest::addColumn<QString>("connect");
    QTest::addColumn<bool>("targetExists");
    QTest::newRow("same key, new file") << DatabaseEx::catalogConnectString() << false;
    QTest::newRow("own password, over an older copy") << QStringLiteral(";PWD=fünf Ωmega") << true;
}

void TestCatalogCopy::copyOpensWithItsKeyAlone()
{
    QFETCH(QString, connect);
    QFETCH(bool, targetExists);
    ReportRecorder reports;
    TestCatalog files;
    const QString builtIn = DatabaseEx::catalogConnectString();
    const QString demo = files.copyOfDemo();
    const int albums = TestCatalog::albumCount(demo, builtIn);
    QVERIFY(albums > 0);
    const QString target = files.filePath(QStringLiteral("copy.muf"));
    if (targetExists)
        QVERIFY(QFile::copy(files.copyOfTemplate(), target));

    Database source;
    QVERIFY(source.open(demo, builtIn));
    QString error;
    int lastDone = -1;
    int lastTotal = 0;
    QVERIFY2(CatalogCopy::write(&source, target, connect, &error,
                                [&](int done, int total) {
                                    lastDone = done;
                                    lastTotal = total;
                                    return true;
                                }),
             qPrintable(error));
    QCOMPARE(lastDone, lastTotal);
    QCOMPARE(TestCatalog::albumCount(target, connect), albums);
    if (connect != builtIn)
        QCOMPARE(TestCatalog::albumCount(target, builtIn), -1);
    QCOMPARE(QDir(files.folder()).entryList(QDir::Hidden | QDir::Files).filter(".part-"),
             QStringList());
}

void TestCatalogCopy::failedOrCancelledCopyLeavesTheTargetAsItWas_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("cancelled") << true;
    QTest::newRow("target is a folder") << false;
}

void TestCatalogCopy::failedOrCancelledCopyLeavesTheTargetAsItWas()
{
    QFETCH(bool, cancel);
    ReportRecorder reports;
    TestCatalog files;
    const QString connect = DatabaseEx::catalogConnectString();
    Database source;
    QVERIFY(source.open(files.copyOfDemo(), connect));
    const QString target = files.filePath(QStringLiteral("copy.muf"));
    if (cancel)
        QVERIFY(QFile::copy(files.copyOfTemplate(), target));
    else
        QVERIFY(QDir().mkpath(QDir(target).filePath(QStringLiteral("inside"))));
    const QByteArray before = TestCatalog::readBytes(target);
    const QStringList filesBefore = QDir(files.folder()).entryList(QDir::Files | QDir::Hidden);

    QString error;
    QVERIFY(
        !CatalogCopy::write(&source, target, connect, &error, [&](int, int) { return !cancel; }));
    QVERIFY(!error.isEmpty());
    QCOMPARE(TestCatalog::readBytes(target), before);
    QCOMPARE(QFileInfo(target).isDir(), !cancel);
    QCOMPARE(QDir(files.folder()).entryList(QDir::Files | QDir::Hidden), filesBefore);
}

void TestCatalogCopy::quickCheckFindsDamage()
{
    ReportRecorder reports;
    TestCatalog files;
    const QString connect = DatabaseEx::catalogConnectString();
    const QString path = files.copyOfDemo();
    Database database;
    QVERIFY(database.open(path, connect));
    QStringList problems;
    QVERIFY(database.quickCheck(&problems));
    QCOMPARE(problems, QStringList());
    database.close();

    // Garbage over a page past the first: the file still opens, the check finds it.
    QVERIFY(TestCatalog::damagePage(path));
    QVERIFY(database.open(path, connect));
    QVERIFY(database.quickCheck(&problems));
    QVERIFY(!problems.isEmpty());
}

QTEST_GUILESS_MAIN(TestCatalogCopy)
#include "TestCatalogCopy.moc"
