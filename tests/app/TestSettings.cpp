#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/UserFolders.h"

#include <QDirIterator>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void absentValuesAreReadWithoutBeingWritten();
    void stringDefaults();
    void writtenValuesSurviveANewStore();
    void nullStringRemovesTheValue();
    void columnDefaults_data();
    void columnDefaults();
    void toolbarStateLivesOutsideTheProfileRoot();
    void nonsenseValuesReadAsDefaults_data();
    void nonsenseValuesReadAsDefaults();
    void unwritablePlacesAreNamed_data();
    void unwritablePlacesAreNamed();
    void pagesGoToTheTemporaryFolderWithoutACache();

private:
    QTemporaryDir m_folder;
};

void TestSettings::initTestCase()
{
    QVERIFY(m_folder.isValid());
    AppSettings::useFolder(m_folder.path());
}

void TestSettings::init()
{
    AppSettings settings;
    QSettings(settings.fileName(), QSettings::NativeFormat).clear();
    QVERIFY(settings.fileName().startsWith(m_folder.path()));
}

// The defaults themselves show in what a first start looks like; here: an absent value is the
// caller's to choose, and reading one leaves the store as it was.
void TestSettings::absentValuesAreReadWithoutBeingWritten()
{
    AppSettings settings;
    QCOMPARE(settings.readInt(QStringLiteral("WindowPos"), QStringLiteral("TreeWidth"), 12345),
             12345);
    QCOMPARE(settings.read(SettingsTable::TreeWidth), 180);
    QCOMPARE(settings.readString(QStringLiteral("Settings"), QStringLiteral("OrderBy"),
                                 QStringLiteral("title ASC")),
             QStringLiteral("title ASC"));
    settings.sync();
    QVERIFY(QSettings(settings.fileName(), QSettings::NativeFormat).allKeys().isEmpty());
}

void TestSettings::stringDefaults()
{
    AppSettings settings;
    QCOMPARE(settings.read(SettingsTable::LastDatabase), QStringLiteral("demo.muf"));
    QCOMPARE(settings.read(SettingsTable::OrderBy), QStringLiteral("artist_name ASC, title ASC"));
    QVERIFY(settings.read(SettingsTable::FreedbDrive).isEmpty());
    QVERIFY(settings.read(SettingsTable::CddbServer).isEmpty());
}

void TestSettings::writtenValuesSurviveANewStore()
{
    {
        AppSettings settings;
        settings.write(SettingsTable::LastDatabase, QStringLiteral("/music/Jürgen's.muf"));
        settings.write(SettingsTable::TreeWidth, 240);
        settings.write(SettingsTable::LastTip, -7);
        settings.writeString(QStringLiteral("Settings"), QStringLiteral("freedbdrive"),
                             QString()); // removing an absent value is harmless
    }
    AppSettings next;
    QCOMPARE(next.read(SettingsTable::LastDatabase), QStringLiteral("/music/Jürgen's.muf"));
    QCOMPARE(next.read(SettingsTable::TreeWidth), 240);
    QCOMPARE(next.read(SettingsTable::LastTip), -7);
}

void TestSettings::nullStringRemovesTheValue()
{
    AppSettings settings;
    settings.write(SettingsTable::FreedbDrive, QStringLiteral("/dev/sr0"));
    QCOMPARE(settings.read(SettingsTable::FreedbDrive), QStringLiteral("/dev/sr0"));
    settings.write(SettingsTable::FreedbDrive, QLatin1String("")); // empty text is a value
    QCOMPARE(settings.readString(QStringLiteral("Settings"), QStringLiteral("freedbdrive"),
                                 QStringLiteral("absent")),
             QString());
    settings.write(SettingsTable::FreedbDrive, QString());
    QCOMPARE(settings.readString(QStringLiteral("Settings"), QStringLiteral("freedbdrive"),
                                 QStringLiteral("absent")),
             QStringLiteral("absent"));
}

void TestSettings::columnDefaults_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("shown");
    QTest::newRow("Artist") << "Artist" << 0 << true;
    QTest::newRow("Title") << "Title" << 1 << true;
    QTest::newRow("Record Year") << "Record Year" << 5 << true;
    QTest::newRow("Genre") << "Genre" << 7 << false;
    QTest::newRow("FreeDB ID") << "FreeDB ID" << 35 << false;
}

void TestSettings::columnDefaults()
{
    QFETCH(QString, caption);
    QFETCH(int, index);
    QFETCH(bool, shown);
    AppSettings settings;
    QCOMPARE(settings.columnOrder(caption, index), index);
    QCOMPARE(settings.columnShown(caption), shown);
    QCOMPARE(settings.columnWidth(caption), 100);
    settings.writeColumnState(caption, 3, !shown, 77);
    QCOMPARE(settings.columnOrder(caption, index), 3);
    QCOMPARE(settings.columnShown(caption), !shown);
    QCOMPARE(settings.columnWidth(caption), 77);
}

void TestSettings::toolbarStateLivesOutsideTheProfileRoot()
{
    AppSettings settings;
    settings.writeToolbarState(QByteArray("\x01\x02layout", 8));
    settings.write(SettingsTable::TbText, 0);
    settings.sync();
    QCOMPARE(settings.readToolbarState(), QByteArray("\x01\x02layout", 8));

    QSettings raw(settings.fileName(), QSettings::NativeFormat);
    QVERIFY(raw.contains(QStringLiteral("Toolbar/80")));
    QVERIFY(raw.contains(QStringLiteral("Vastry/Settings/TbText")));
    QVERIFY(!raw.contains(QStringLiteral("Vastry/Toolbar/80")));
}

void TestSettings::nonsenseValuesReadAsDefaults_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("text") << QVariant(QStringLiteral("wide")) << 180;
    QTest::newRow("beyond 32 bits") << QVariant(QStringLiteral("99999999999")) << 180;
    QTest::newRow("negative") << QVariant(-40) << -40; // range checks belong to the reader
    QTest::newRow("number as text") << QVariant(QStringLiteral("250")) << 250;
}

void TestSettings::nonsenseValuesReadAsDefaults()
{
    QFETCH(QVariant, stored);
    QFETCH(int, expected);
    AppSettings settings;
    {
        QSettings raw(settings.fileName(), QSettings::NativeFormat);
        raw.setValue(QStringLiteral("Vastry/WindowPos/TreeWidth"), stored);
    }
    AppSettings reread;
    QCOMPARE(reread.read(SettingsTable::TreeWidth), expected);
}

// Paths below a device file cannot be created even by root, so these hold wherever they run.
void TestSettings::unwritablePlacesAreNamed_data()
{
    QTest::addColumn<QString>("settingsFolder");
    QTest::addColumn<QString>("pageFolder");
    QTest::addColumn<QStringList>("starts");
    const QString good = m_folder.path();
    QTest::newRow("both writable") << good << good + "/pages" << QStringList();
    QTest::newRow("settings") << "/dev/null/config" << good
                              << QStringList{"Settings cannot be saved to /dev/null/config/"};
    QTest::newRow("pages") << good << "/dev/null/pages"
                           << QStringList{"Album pages cannot be written to /dev/null/pages"};
    QTest::newRow("neither") << "/dev/null/a"
                             << "/dev/null/b"
                             << QStringList{"Settings cannot", "Album pages cannot"};
}

void TestSettings::unwritablePlacesAreNamed()
{
    QFETCH(QString, settingsFolder);
    QFETCH(QString, pageFolder);
    QFETCH(QStringList, starts);
    const QStringList problems =
        UserFolders::problems(settingsFolder + "/Quillon/Tunvale.conf", pageFolder);
    QCOMPARE(problems.size(), starts.size());
    for (int i = 0; i < starts.size(); ++i)
        QVERIFY2(problems[i].startsWith(starts[i]), qPrintable(problems[i]));
    QDirIterator probes(m_folder.path(), {".write-test-*"}, QDir::Files | QDir::Hidden,
                        QDirIterator::Subdirectories);
    QVERIFY(!probes.hasNext());
}

void TestSettings::pagesGoToTheTemporaryFolderWithoutACache()
{
    qputenv("XDG_CACHE_HOME", "/dev/null/cache");
    const QString pages = AppPaths::pageDirectory();
    QVERIFY2(pages.startsWith(QDir::tempPath() + "/tunvale-pages-"), qPrintable(pages));
    QVERIFY(UserFolders::writeError(pages).isEmpty());
    QDir(pages).removeRecursively();
}

QTEST_GUILESS_MAIN(TestSettings)
#include "TestSettings.moc"
