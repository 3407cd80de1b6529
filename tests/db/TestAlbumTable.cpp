#include "app/AppSettings.h"
#include "db/AlbumIdsTable.h"
#include "db/AlbumTable.h"
#include "db/TrackTable.h"
#include "find/SearchCondition.h"
#include "support/EveryField.h"
#include "support/PlainTargets.h"
#include "support/TestCatalog.h"
#include "views/AlbumColumns.h"

#include <QtTest>

// Albums over a real catalogue file: defaults through save and load, names turned into ids,
// soft deletion, and an album stored together with its tracks.
class TestAlbumTable : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void defaultsSurviveSaveAndLoad();
    void moneyText_data();
    void moneyText();
    void clearedNamesStoreNoReference();
    void namesAreReusedWhateverTheirCase();
    void unchangedNamesKeepTheirEntries();
    void softDeletedAlbumsOnlyLoad();
    void conditionCannotEscapeTheDeletedFilter();
    void idsFollowTheirAlbum_data();
    void idsFollowTheirAlbum();
    void saveWithTracksStoresEverything();
    void failedTrackLeavesNoAlbumBehind();
    void noCatalogueMeansFailure();
    void olderCatalogueGetsTheNewIndexAtItsFirstWrite();
    void listReadsOnlyWhatItNeedsYetMatchesTheFullQuery_data();
    void listReadsOnlyWhatItNeedsYetMatchesTheFullQuery();

private:
    int columnOf(int albumId, const QString& column);
    int rowsIn(const QString& table);

    TestCatalog m_files;
    AlbumTable m_albums;
    DatabaseHandle m_database;
    std::unique_ptr<ReportRecorder> m_reports;
};

void TestAlbumTable::initTestCase()
{
    // The search reads the list's columns from the settings: never the user's own.
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(m_files.isValid());
}

void TestAlbumTable::init()
{
    m_reports = std::make_unique<ReportRecorder>();
    QVERIFY(m_albums.OpenDatabase(&m_database, m_files.copyOfTemplate(),
                                  DatabaseEx::catalogConnectString()));
}

void TestAlbumTable::cleanup()
{
    m_albums.CloseDatabase(&m_database);
    QCOMPARE(m_reports->count(), 0);
    m_reports.reset();
}

int TestAlbumTable::columnOf(int albumId, const QString& column)
{
    RecordsetHandle rs;
    m_albums.OpenRecordset(&rs, m_database.get(),
                           QStringLiteral("SELECT * FROM music WHERE music_id = %1").arg(albumId));
    return m_albums.GetFieldInt(rs.get(), column);
}

int TestAlbumTable::rowsIn(const QString& table)
{
    RecordsetHandle rs;
    m_albums.OpenRecordset(&rs, m_database.get(), QStringLiteral("SELECT * FROM %1").arg(table));
    return m_albums.GetRecordCount(rs.get());
}

// An untouched record stores no names and a true flag.
void TestAlbumTable::defaultsSurviveSaveAndLoad()
{
    const int plain = m_albums.Add(m_database.get(), AlbumRecord());
    AlbumRecord defaults;
    QVERIFY(m_albums.Load(m_database.get(), plain, &defaults));
    QCOMPARE(defaults.inCollection, 1);
    QCOMPARE(defaults.year, 1900);
    QCOMPARE(defaults.recordingDate, OleDate::zero());
    QCOMPARE(defaults.freedbId, QStringLiteral("0000000000"));
    QCOMPARE(defaults.artist, QString());
    QCOMPARE(columnOf(plain, QStringLiteral("artist_id")), -1);
    QCOMPARE(columnOf(plain, QStringLiteral("deleted")), 0);
}

void TestAlbumTable::moneyText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("loaded");
    QTest::newRow("one decimal") << "12.5"
                                 << "12.50";
    QTest::newRow("not a number") << "abc"
                                  << "0.00";
    QTest::newRow("empty") << ""
                           << "0.00";
    QTest::newRow("leading blanks, trailing text") << " \t 7.25 EUR"
                                                   << "7.25";
    QTest::newRow("comma ends the number") << "3,75"
                                           << "3.00";
    QTest::newRow("negative") << "-4"
                              << "-4.00";
    QTest::newRow("fraction only") << ".5"
                                   << "0.50";
    QTest::newRow("exponent") << "1e2x"
                              << "100.00";
    QTest::newRow("dangling exponent") << "2e"
                                       << "2.00";
    QTest::newRow("sign alone") << "-"
                                << "0.00";
    QTest::newRow("currency first") << "$5"
                                    << "0.00";
}

void TestAlbumTable::moneyText()
{
    QFETCH(QString, typed);
    QFETCH(QString, loaded);
    AlbumRecord record;
    record.currentValue = typed;
    record.purchasePrice = typed;
    const int id = m_albums.Add(m_database.get(), record);
    AlbumRecord read;
    QVERIFY(m_albums.Load(m_database.get(), id, &read));
    QCOMPARE(read.currentValue, loaded);
    QCOMPARE(read.purchasePrice, loaded);
}

void TestAlbumTable::clearedNamesStoreNoReference()
{
    const int id = m_albums.Add(m_database.get(), EveryField::album());
    QVERIFY(columnOf(id, QStringLiteral("orchestra_id")) > 0);
    AlbumRecord cleared = EveryField::album();
    cleared.orchestra.clear();
    cleared.artist.clear();
    QCOMPARE(m_albums.Update(m_database.get(), id, cleared), id);
    QCOMPARE(columnOf(id, QStringLiteral("orchestra_id")), -1);
    QCOMPARE(columnOf(id, QStringLiteral("artist_id")), -1);
    AlbumRecord loaded;
    QVERIFY(m_albums.Load(m_database.get(), id, &loaded));
    QCOMPARE(loaded.orchestra, QString());
    // The entry itself stays in its list.
    QCOMPARE(rowsIn(QStringLiteral("music_orchestras")), 1);
}

void TestAlbumTable::namesAreReusedWhateverTheirCase()
{
    AlbumRecord first;
    first.artist = QStringLiteral("Ölvir");
    first.genre = QStringLiteral("Pop");
    AlbumRecord second;
    second.artist = QStringLiteral("ÖLVIR");
    second.genre = QStringLiteral("pop");
    const int a = m_albums.Add(m_database.get(), first);
    const int b = m_albums.Add(m_database.get(), second);
    QCOMPARE(columnOf(b, QStringLiteral("artist_id")), columnOf(a, QStringLiteral("artist_id")));
    QCOMPARE(columnOf(b, QStringLiteral("cat_id")), columnOf(a, QStringLiteral("cat_id")));
    QCOMPARE(rowsIn(QStringLiteral("music_artists")), 1);
    AlbumRecord loaded;
    QVERIFY(m_albums.Load(m_database.get(), b, &loaded));
    QCOMPARE(loaded.artist, QStringLiteral("Ölvir")); // the name as first entered
}

// A name saved as it was loaded keeps the entry it came from, though another program renamed
// that entry meanwhile; a changed name is looked up as typed. Albums and tracks alike.
void TestAlbumTable::unchangedNamesKeepTheirEntries()
{
    TrackRecord track;
    track.songwriter = QStringLiteral("Old Writer");
    track.studio = QStringLiteral("Old Studio");
    QVector<TrackRecord> tracks{track};
    const int id = m_albums.saveWithTracks(m_database.get(), EveryField::album(), -1, &tracks);
    QVERIFY(id > 0);
    AlbumRecord album;
    QVERIFY(m_albums.Load(m_database.get(), id, &album));
    PlainTrackList list;
    QVERIFY(TrackTable().fillTrackList(m_database.get(), id, &list));
    QCOMPARE(list.records.size(), size_t(1));
    tracks = {*list.records.front()};
    for (const char* sql : {"UPDATE music_artists SET artist_name = 'Renamed Artist'",
                            "UPDATE track_songwriters SET songwriter_name = 'Renamed Writer'",
                            "UPDATE music_labels SET label_name = 'Renamed Label'"})
        QVERIFY(m_database->execute(QByteArray(sql)));
    album.label = QStringLiteral("Another Label");
    tracks[0].studio = QStringLiteral("Another Studio");
    QCOMPARE(m_albums.saveWithTracks(m_database.get(), album, id, &tracks), id);

    AlbumRecord reloaded;
    QVERIFY(m_albums.Load(m_database.get(), id, &reloaded));
    QCOMPARE(reloaded.artist, QStringLiteral("Renamed Artist"));
    QCOMPARE(reloaded.label, QStringLiteral("Another Label"));
    QVector<TrackRecord> stored;
    QVERIFY(TrackTable().loadForPage(m_database.get(), id, &stored));
    QCOMPARE(stored.first().songwriter, QStringLiteral("Renamed Writer"));
    QCOMPARE(stored.first().studio, QStringLiteral("Another Studio"));
    QCOMPARE(rowsIn(QStringLiteral("music_artists")), 1);
    QCOMPARE(rowsIn(QStringLiteral("track_songwriters")), 1);
    QCOMPARE(rowsIn(QStringLiteral("music_labels")), 2);
    QCOMPARE(rowsIn(QStringLiteral("music_studios")), 3);
}

void TestAlbumTable::softDeletedAlbumsOnlyLoad()
{
    AlbumRecord kept;
    kept.title = QStringLiteral("Kept");
    AlbumRecord gone;
    gone.title = QStringLiteral("Gone");
    const int keptId = m_albums.Add(m_database.get(), kept);
    const int goneId = m_albums.Add(m_database.get(), gone);
    QVERIFY(m_albums.Delete(m_database.get(), goneId, false));

    QCOMPARE(m_albums.Count(m_database.get(), false), 1);
    QCOMPARE(m_albums.Count(m_database.get(), true), 1);
    PlainRowTable list({QStringLiteral("title")});
    QVERIFY(
        m_albums.FillList(m_database.get(), &list, QStringLiteral("title ASC"), false, QString()));
    QCOMPARE(list.ids, QVector<int>{keptId});
    AlbumRecord loaded;
    QVERIFY(m_albums.Load(m_database.get(), goneId, &loaded));
    QCOMPARE(loaded.title, QStringLiteral("Gone"));
    QCOMPARE(columnOf(goneId, QStringLiteral("deleted")), 1);
    QVERIFY(!m_albums.Load(m_database.get(), goneId + 10, &loaded));
}

void TestAlbumTable::conditionCannotEscapeTheDeletedFilter()
{
    AlbumRecord record;
    record.artist = QStringLiteral("A");
    const int kept = m_albums.Add(m_database.get(), record);
    const int gone = m_albums.Add(m_database.get(), record);
    QVERIFY(m_albums.Delete(m_database.get(), gone, false));
    PlainRowTable list({QStringLiteral("artist_name")});
    const QString condition =
        QStringLiteral("music.artist_id = %1 OR 1 = 1").arg(columnOf(kept, "artist_id"));
    QVERIFY(m_albums.FillList(m_database.get(), &list, QString(), false, condition));
    QCOMPARE(list.ids, QVector<int>{kept});
}

void TestAlbumTable::idsFollowTheirAlbum_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("rowsLeft");
    QTest::newRow("soft delete") << "soft" << 1;
    QTest::newRow("hard delete") << "hard" << 0;
    QTest::newRow("ids cleared") << "cleared" << 0;
}

// Found by its barcode while it has it; once deleted, or saved without ids, the album shows none
// and the search no longer finds it.
void TestAlbumTable::idsFollowTheirAlbum()
{
    QFETCH(QString, change);
    QFETCH(int, rowsLeft);
    const AlbumRecord album = EveryField::album();
    const int id = m_albums.Add(m_database.get(), album);
    AlbumColumns columns;
    columns.load(AppSettings());
    const QVector<FilterField> fields = FilterField::offered(columns);
    const auto barcode = std::find_if(fields.begin(), fields.end(), [](const FilterField& field) {
        return field.itemText == QLatin1String("Barcode");
    });
    QVERIFY(barcode != fields.end());
    SearchCriterion criterion;
    QCOMPARE(SearchCondition::build(*barcode, album.barcode, &criterion),
             SearchCondition::Outcome::Built);
    PlainRowTable found({QStringLiteral("barcode")});
    QVERIFY(m_albums.FillList(m_database.get(), &found, QString(), false, criterion.condition));
    QCOMPARE(found.ids, QVector<int>{id});
    QCOMPARE(found.rows, QVector<QStringList>{{album.barcode}});

    if (change == QLatin1String("cleared")) {
        AlbumRecord cleared = album;
        cleared.barcode.clear();
        cleared.musicBrainzReleaseId.clear();
        cleared.discogsReleaseId.clear();
        QCOMPARE(m_albums.Update(m_database.get(), id, cleared), id);
    } else {
        QVERIFY(m_albums.Delete(m_database.get(), id, change == QLatin1String("hard")));
    }
    QCOMPARE(rowsIn(QLatin1String(AlbumIdsTable::Table)), rowsLeft);
    QVERIFY(m_albums.FillList(m_database.get(), &found, QString(), false, criterion.condition));
    QVERIFY(found.ids.isEmpty());
    AlbumRecord loaded;
    QCOMPARE(m_albums.Load(m_database.get(), id, &loaded), change != QLatin1String("hard"));
    QCOMPARE(loaded.barcode, QString());
    QCOMPARE(loaded.musicBrainzReleaseId, QString());
}

void TestAlbumTable::saveWithTracksStoresEverything()
{
    QVector<TrackRecord> tracks(3);
    for (int i = 0; i < tracks.size(); ++i) {
        tracks[i].title = QStringLiteral("Track %1").arg(i + 1);
        tracks[i].trackNumber = i + 1;
        tracks[i].songwriter = QStringLiteral("Writer");
    }
    const int id = m_albums.saveWithTracks(m_database.get(), EveryField::album(), -1, &tracks);
    QVERIFY(id > 0);
    for (const TrackRecord& track : tracks) {
        QCOMPARE(track.albumId, id);
        QVERIFY(track.trackId > 0);
    }
    QVector<TrackRecord> stored;
    QVERIFY(TrackTable().loadForPage(m_database.get(), id, &stored));
    QCOMPARE(stored.size(), 3);
    QCOMPARE(stored[2].title, QStringLiteral("Track 3"));

    // Saving again updates the same rows rather than adding new ones.
    tracks[0].title = QStringLiteral("Renamed");
    QCOMPARE(m_albums.saveWithTracks(m_database.get(), EveryField::album(), id, &tracks), id);
    QCOMPARE(rowsIn(QStringLiteral("tracks")), 3);
    QCOMPARE(rowsIn(QStringLiteral("music")), 1);
}

void TestAlbumTable::failedTrackLeavesNoAlbumBehind()
{
    QVector<TrackRecord> tracks(2);
    tracks[0].title = QStringLiteral("Fine");
    tracks[0].artist = QStringLiteral("New Artist");
    tracks[1].title = QStringLiteral("Refers to a track that is gone");
    tracks[1].trackId = 999;
    AlbumRecord record = EveryField::album();
    QCOMPARE(m_albums.saveWithTracks(m_database.get(), record, -1, &tracks), -1);
    QVERIFY(m_reports->count() > 0);
    m_reports->clear();
    QCOMPARE(rowsIn(QStringLiteral("music")), 0);
    QCOMPARE(rowsIn(QStringLiteral("tracks")), 0);
    QCOMPARE(rowsIn(QStringLiteral("music_artists")), 0);
    QCOMPARE(tracks[0].trackId, -1); // the caller's tracks are untouched
    QCOMPARE(tracks[0].albumId, -1);

    // The catalogue is usable afterwards and a corrected save goes through.
    tracks[1].trackId = -1;
    QVERIFY(m_albums.saveWithTracks(m_database.get(), record, -1, &tracks) > 0);
    QCOMPARE(rowsIn(QStringLiteral("tracks")), 2);
}

void TestAlbumTable::noCatalogueMeansFailure()
{
    AlbumRecord record;
    QVector<TrackRecord> tracks;
    PlainRowTable list({QStringLiteral("title")});
    QVERIFY(!m_albums.Load(nullptr, 1, &record));
    QVERIFY(!m_albums.FillList(nullptr, &list, QString(), false, QString()));
    QVERIFY(!m_albums.Delete(nullptr, 1, false));
    QCOMPARE(m_albums.Add(nullptr, record), -1);
    QCOMPARE(m_albums.Update(nullptr, 1, record), -1);
    QCOMPARE(m_albums.saveWithTracks(nullptr, record, -1, &tracks), -1);
    QCOMPARE(m_albums.Count(nullptr, false), -1);
    QCOMPARE(m_albums.WritePage(nullptr, 1, false), QString());
    QVERIFY(!m_albums.WriteListTable(nullptr, {}, 1, m_files.filePath("x.html"), QString(), false,
                                     QString()));
    QVERIFY(!m_albums.Export(m_database.get(), m_files.filePath("x.html"), false, QString()));
    QVERIFY(!QFile::exists(m_files.filePath("x.html")));
}

void TestAlbumTable::olderCatalogueGetsTheNewIndexAtItsFirstWrite()
{
    const QString indexRows =
        QStringLiteral("sqlite_master WHERE type = 'index' AND name = 'idx_music_deleted'");
    QCOMPARE(rowsIn(indexRows), 1);
    QVERIFY(m_database->execute("DROP INDEX idx_music_deleted"));
    QCOMPARE(rowsIn(indexRows), 0);
    AlbumRecord record;
    record.title = QStringLiteral("First Write");
    QVERIFY(m_albums.Save(m_database.get(), record, -1) > 0);
    QCOMPARE(rowsIn(indexRows), 1);
}

namespace
{
class FullQueryTable : public AlbumTable
{
public:
    using CatalogTable::FillListFromHeader;
};
} // namespace

void TestAlbumTable::listReadsOnlyWhatItNeedsYetMatchesTheFullQuery_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("condition");
    for (const AlbumColumns::Column& column : AlbumColumns::defaults())
        QTest::newRow(qPrintable(column.field)) << column.field << QString();
    // Conditions naming columns the list does not show, some of tables it would not join.
    const QStringList conditions = {
        QStringLiteral("c.cat_name LIKE 'R%'"),
        QStringLiteral("label_name IS NOT NULL AND year > 1970"),
        QStringLiteral("artist_deleted = 0"),
        QStringLiteral("barcode IS NULL"),
        QStringLiteral("music.music_id IN (SELECT music_id FROM tracks WHERE tracks.title LIKE "
                       "'%a%')"),
    };
    for (const QString& condition : conditions)
        QTest::newRow(qPrintable(condition)) << QStringLiteral("number") << condition;
}

void TestAlbumTable::listReadsOnlyWhatItNeedsYetMatchesTheFullQuery()
{
    QFETCH(QString, field);
    QFETCH(QString, condition);
    // One catalogue for all rows: they only read it.
    static DatabaseHandle demo;
    if (!demo) {
        QVERIFY(
            m_albums.OpenDatabase(&demo, m_files.copyOfDemo(), DatabaseEx::catalogConnectString()));
        // An album with a barcode, so that the ids table is there and joined.
        AlbumRecord record;
        QVERIFY(m_albums.Load(demo.get(), 2, &record));
        record.barcode = QStringLiteral("0075678164828");
        QVERIFY(m_albums.Save(demo.get(), record, 2) == 2);
    }

    const QStringList fields{field, QStringLiteral("title")};
    const QString sortText = field + QStringLiteral(" DESC, title ASC");
    PlainRowTable cut(fields);
    PlainRowTable full(fields);
    QVERIFY(m_albums.FillList(demo.get(), &cut, sortText, false, condition));
    FullQueryTable everything;
    QVERIFY(everything.FillListFromHeader(demo.get(), &full, m_albums.baseSelect(demo.get()),
                                          QStringLiteral("music_id"), sortText, condition, false));
    QVERIFY(!full.rows.isEmpty());
    QCOMPARE(cut.ids, full.ids);
    QCOMPARE(cut.rows, full.rows);
}

QTEST_GUILESS_MAIN(TestAlbumTable)
#include "TestAlbumTable.moc"
