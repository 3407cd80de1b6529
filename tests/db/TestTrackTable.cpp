#include "db/AlbumTable.h"
#include "db/TrackTable.h"
#include "support/EveryField.h"
#include "support/PlainTargets.h"
#include "support/TestCatalog.h"

#include <QtTest>

// Tracks over a real catalogue file: every field through save and load, order, the list text,
// the id argument that decides between adding and updating, and hard deletion.
class TestTrackTable : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void everyFieldSurvivesSaveAndLoad();
    void tracksComeInTrackOrder();
    void listText_data();
    void listText();
    void idArgumentDecidesAddOrUpdate();
    void newSongwriterIsAdded();
    void deleteRemovesOnlyThatTrack();

private:
    int addTrack(int number, const QString& title, const QString& length = QString());

    TestCatalog m_files;
    TrackTable m_tracks;
    DatabaseHandle m_database;
    int m_albumId = -1;
    std::unique_ptr<ReportRecorder> m_reports;
};

void TestTrackTable::init()
{
    m_reports = std::make_unique<ReportRecorder>();
    QVERIFY(m_tracks.OpenDatabase(&m_database, m_files.copyOfTemplate(),
                                  DatabaseEx::catalogConnectString()));
    m_albumId = AlbumTable().Add(m_database.get(), AlbumRecord());
    QVERIFY(m_albumId > 0);
}

void TestTrackTable::cleanup()
{
    m_tracks.CloseDatabase(&m_database);
    QCOMPARE(m_reports->count(), 0);
    m_reports.reset();
}

int TestTrackTable::addTrack(int number, const QString& title, const QString& length)
{
    TrackRecord track;
    track.albumId = m_albumId;
    track.trackNumber = number;
    track.title = title;
    track.length = length;
    return m_tracks.Save(m_database.get(), track, -1);
}

void TestTrackTable::everyFieldSurvivesSaveAndLoad()
{
    TrackRecord saved = EveryField::track(4);
    saved.albumId = m_albumId;
    const int id = m_tracks.Save(m_database.get(), saved, -1);
    QVERIFY(id > 0);

    QVector<TrackRecord> loaded;
    QVERIFY(m_tracks.loadForPage(m_database.get(), m_albumId, &loaded));
    QCOMPARE(loaded.size(), 1);
    const TrackRecord& r = loaded.first();
    QCOMPARE(r.trackId, id);
    QCOMPARE(r.albumId, m_albumId);
    QCOMPARE(r.trackNumber, saved.trackNumber);
    QCOMPARE(r.year, saved.year);
    QCOMPARE(r.grade, saved.grade);
    const QStringList expected = {
        saved.title,     saved.artist,   saved.genre,    saved.subCategory, saved.length,
        saved.notes,     saved.language, saved.country,  saved.label,       saved.labelNumber,
        saved.studio,    saved.producer, saved.engineer, saved.songwriter,  saved.conductor,
        saved.orchestra, saved.lyrics,   saved.audioFile};
    const QStringList actual = {r.title,     r.artist,   r.genre,    r.subCategory, r.length,
                                r.notes,     r.language, r.country,  r.label,       r.labelNumber,
                                r.studio,    r.producer, r.engineer, r.songwriter,  r.conductor,
                                r.orchestra, r.lyrics,   r.audioFile};
    QCOMPARE(actual, expected);

    // A track without names keeps its defaults and refers to nothing.
    TrackRecord bare;
    bare.albumId = m_albumId;
    bare.trackNumber = 5;
    QVERIFY(m_tracks.Save(m_database.get(), bare, -1) > 0);
    loaded.clear();
    QVERIFY(m_tracks.loadForPage(m_database.get(), m_albumId, &loaded));
    QCOMPARE(loaded.last().artist, QString());
    QCOMPARE(loaded.last().year, 1900);
    QCOMPARE(loaded.last().grade, 1);
}

void TestTrackTable::tracksComeInTrackOrder()
{
    addTrack(3, QStringLiteral("Three"));
    addTrack(1, QStringLiteral("One"));
    addTrack(2, QStringLiteral("Two"));
    addTrack(12, QStringLiteral("Twelve"));
    PlainTrackList list;
    QVERIFY(m_tracks.fillTrackList(m_database.get(), m_albumId, &list));
    QCOMPARE(list.numbers, QStringList({"01", "02", "03", "12"}));
    QCOMPARE(list.texts, QStringList({"One", "Two", "Three", "Twelve"}));
    QCOMPARE(list.records.size(), size_t(4));
    QCOMPARE(list.records[2]->title, QStringLiteral("Three"));

    QVector<TrackRecord> page;
    QVERIFY(m_tracks.loadForPage(m_database.get(), m_albumId, &page));
    QCOMPARE(page[0].title, QStringLiteral("One"));
    QCOMPARE(page[3].title, QStringLiteral("Twelve"));

    // Another album's tracks stay out.
    QVector<TrackRecord> none;
    QVERIFY(m_tracks.loadForPage(m_database.get(), m_albumId + 1, &none));
    QVERIFY(none.isEmpty());
}

void TestTrackTable::listText_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("text");
    QTest::newRow("no length") << "Song"
                               << ""
                               << "Song";
    QTest::newRow("with length") << "Song"
                                 << "4:05"
                                 << "Song - (4:05)";
    QTest::newRow("percent signs stay") << "100% %1"
                                        << "%2"
                                        << "100% %1 - (%2)";
}

void TestTrackTable::listText()
{
    QFETCH(QString, title);
    QFETCH(QString, length);
    QFETCH(QString, text);
    addTrack(7, title, length);
    PlainTrackList list;
    QVERIFY(m_tracks.fillTrackList(m_database.get(), m_albumId, &list));
    QCOMPARE(list.numbers, QStringList{"07"});
    QCOMPARE(list.texts, QStringList{text});
}

void TestTrackTable::idArgumentDecidesAddOrUpdate()
{
    const int id = addTrack(1, QStringLiteral("First"));
    TrackRecord changed;
    changed.albumId = m_albumId;
    changed.trackNumber = 1;
    changed.title = QStringLiteral("Changed");
    changed.trackId = 12345; // ignored: the argument decides
    QCOMPARE(m_tracks.Save(m_database.get(), changed, id), id);
    QVector<TrackRecord> loaded;
    QVERIFY(m_tracks.loadForPage(m_database.get(), m_albumId, &loaded));
    QCOMPARE(loaded.size(), 1);
    QCOMPARE(loaded[0].title, QStringLiteral("Changed"));

    changed.trackId = id;
    const int added = m_tracks.Save(m_database.get(), changed, -1);
    QVERIFY(added > id);
}

void TestTrackTable::newSongwriterIsAdded()
{
    TrackRecord track;
    track.albumId = m_albumId;
    track.songwriter = QStringLiteral("New Writer");
    QVERIFY(m_tracks.Save(m_database.get(), track, -1) > 0);
    track.songwriter = QStringLiteral("NEW WRITER");
    QVERIFY(m_tracks.Save(m_database.get(), track, -1) > 0);
    RecordsetHandle rs;
    QVERIFY(m_tracks.OpenRecordset(&rs, m_database.get(),
                                   QStringLiteral("SELECT * FROM track_songwriters")));
    QCOMPARE(m_tracks.GetRecordCount(rs.get()), 1);
    QCOMPARE(m_tracks.GetFieldText(rs.get(), QStringLiteral("songwriter_name")),
             QStringLiteral("New Writer"));
}

void TestTrackTable::deleteRemovesOnlyThatTrack()
{
    addTrack(1, QStringLiteral("One"));
    const int two = addTrack(2, QStringLiteral("Two"));
    addTrack(3, QStringLiteral("Three"));
    QVERIFY(m_tracks.Delete(m_database.get(), two, true));
    PlainTrackList list;
    QVERIFY(m_tracks.fillTrackList(m_database.get(), m_albumId, &list));
    QCOMPARE(list.numbers, QStringList({"01", "03"}));
    QVERIFY(!m_tracks.Delete(m_database.get(), two, true));
}

QTEST_GUILESS_MAIN(TestTrackTable)
#include "TestTrackTable.moc"
