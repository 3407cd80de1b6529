#include "app/AppPaths.h"
#include "db/AlbumTable.h"
#include "db/DatabaseEx.h"
#include "db/TrackTable.h"
#include "io/CollectionImport.h"
#include "musicbrainz/AlbumCompleter.h"
#include "musicbrainz/MusicBrainzTestServer.h"
#include "musicbrainz/RateGate.h"
#include "support/TestCatalog.h"

#include <QFile>
#include <QtTest>

using Server = MusicBrainzTestServer;

// Albums brought in by a real Discogs import into a real catalogue, completed against a server
// thread on 127.0.0.1 that answers with the service's own answers.
class TestAlbumCompleter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void completesFoundAlbumsOnly();
    void cancelKeepsWhatWasCompleted();
    void knownReleaseAsksNoDiscogsQuestion();
    void remainingTimeKeepsTheServicePace_data();
    void remainingTimeKeepsTheServicePace();

private:
    // Imports one Discogs row per release id; their album ids in order.
    QVector<int> importDiscogs(const QVector<int>& releaseIds);
    AlbumCompleter::Summary complete(const Server& server, const QVector<int>& ids,
                                     const AlbumCompleter::ProgressCallback& progress = nullptr);
    AlbumRecord album(int id);
    int trackCount(int id);

    QTemporaryDir m_data;
    std::unique_ptr<TestCatalog> m_files;
    AlbumTable m_albums;
    DatabaseHandle m_database;
};

namespace
{

const QString five = QStringLiteral("f1223d63-f359-457d-b935-fc27eb24a6de");
const QString fiveRelease = QStringLiteral("search/mb_release_f1223d63_five_cd_bluray.json");

int countOf(const QList<Server::Request>& requests, const QByteArray& prefix)
{
    return int(std::count_if(requests.begin(), requests.end(), [&](const Server::Request& r) {
        return r.target.startsWith(prefix);
    }));
}

} // namespace

void TestAlbumCompleter::initTestCase()
{
    QVERIFY(m_data.isValid());
    AppPaths::setDataDirectory(m_data.filePath(QStringLiteral("data")));
    RateGate::musicBrainz().setInterval(std::chrono::milliseconds(10));
}

void TestAlbumCompleter::init()
{
    m_files = std::make_unique<TestCatalog>();
    QVERIFY(m_albums.OpenDatabase(&m_database, m_files->copyOfTemplate(),
                                  DatabaseEx::catalogConnectString()));
}

void TestAlbumCompleter::cleanup()
{
    m_albums.CloseDatabase(&m_database);
}

QVector<int> TestAlbumCompleter::importDiscogs(const QVector<int>& releaseIds)
{
    QByteArray csv = "Catalog#,Artist,Title,Label,Format,Rating,Released,release_id,"
                     "CollectionFolder,Date Added,Collection Media Condition,Collection Sleeve "
                     "Condition,Collection Notes\r\n";
    for (int releaseId : releaseIds)
        csv += "X 1,Artist,Title " + QByteArray::number(releaseId) + ",Label,LP,,2001," +
               QByteArray::number(releaseId) + ",Uncategorized,2020-01-02 03:04:05,,,\r\n";
    const QString path = m_files->filePath(QStringLiteral("collection.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(csv) != csv.size())
        return {};
    file.close();
    if (CollectionImport(m_database.get())
            .run(path, CollectionImport::Format::Discogs, false)
            .imported != releaseIds.size())
        return {};
    return AlbumCompleter(m_database.get(), LookupSettings()).albumsToComplete();
}

AlbumCompleter::Summary
TestAlbumCompleter::complete(const Server& server, const QVector<int>& ids,
                             const AlbumCompleter::ProgressCallback& progress)
{
    LookupSettings settings;
    settings.musicBrainzServer = QUrl(server.setting());
    settings.coverArtServer = QUrl(server.setting());
    return AlbumCompleter(m_database.get(), settings).run(ids, false, progress);
}

AlbumRecord TestAlbumCompleter::album(int id)
{
    AlbumRecord record;
    m_albums.Load(m_database.get(), id, &record);
    return record;
}

int TestAlbumCompleter::trackCount(int id)
{
    QVector<TrackRecord> tracks;
    TrackTable().loadForPage(m_database.get(), id, &tracks);
    return tracks.size();
}

// The album MusicBrainz knows gets its tracks, barcode, release id and cover, keeping what the
// import typed; the one it does not know stays as imported; a second run asks only about that
// one again, and an album named by id that has tracks is skipped without a request.
void TestAlbumCompleter::completesFoundAlbumsOnly()
{
    const QVector<int> ids = importDiscogs({12620800, 404404});
    QCOMPARE(ids.size(), 2);
    const AlbumRecord unknownBefore = album(ids[1]);
    Server server(Server::discogsReleases(fiveRelease, {"404404"}));

    const AlbumCompleter::Summary first = complete(server, ids);
    QCOMPARE(first.completed, 1);
    QCOMPARE(first.notFound, 1);
    QCOMPARE(first.failed(), 0);
    const AlbumRecord found = album(ids[0]);
    QCOMPARE(trackCount(ids[0]), 3);
    QCOMPARE(found.title, QStringLiteral("Title 12620800"));
    QCOMPARE(found.labelNumber, QStringLiteral("X 1"));
    QCOMPARE(found.barcode, QStringLiteral("4582515778491"));
    QCOMPARE(found.musicBrainzReleaseId, five);
    QVERIFY(QFile::exists(found.frontImage));
    QCOMPARE(trackCount(ids[1]), 0);
    QCOMPARE(album(ids[1]).musicBrainzReleaseId, unknownBefore.musicBrainzReleaseId);
    QCOMPARE(album(ids[1]).length, unknownBefore.length);

    AlbumCompleter completer(m_database.get(), LookupSettings());
    QCOMPARE(completer.albumsToComplete(), QVector<int>{ids[1]});
    const int requestsBefore = server.requests().size();
    const AlbumCompleter::Summary second = complete(server, {ids[0]});
    QCOMPARE(second.skipped, 1);
    QCOMPARE(second.completed, 0);
    QCOMPARE(server.requests().size(), requestsBefore);
    QCOMPARE(trackCount(ids[0]), 3);
}

void TestAlbumCompleter::cancelKeepsWhatWasCompleted()
{
    const QVector<int> ids = importDiscogs({1001, 1002, 1003});
    QCOMPARE(ids.size(), 3);
    Server server(Server::discogsReleases(fiveRelease, {}));
    const AlbumCompleter::Summary summary = complete(
        server, ids, [](const AlbumCompleter::Progress& progress) { return progress.done < 1; });
    QVERIFY(summary.cancelled);
    QCOMPARE(summary.completed, 1);
    QCOMPARE(trackCount(ids[0]), 3);
    QCOMPARE(trackCount(ids[1]), 0);
    QCOMPARE(trackCount(ids[2]), 0);
    QCOMPARE(countOf(server.requests(), "/ws/2/url?"), 1);
}

void TestAlbumCompleter::knownReleaseAsksNoDiscogsQuestion()
{
    const QVector<int> ids = importDiscogs({2001});
    QCOMPARE(ids.size(), 1);
    AlbumRecord record = album(ids[0]);
    record.musicBrainzReleaseId = five;
    QCOMPARE(m_albums.Save(m_database.get(), record, ids[0]), ids[0]);
    Server server(Server::discogsReleases(fiveRelease, {}));
    QCOMPARE(complete(server, ids).completed, 1);
    QCOMPARE(countOf(server.requests(), "/ws/2/url?"), 0);
    QCOMPARE(countOf(server.requests(), "/ws/2/release/" + five.toLatin1()), 1);
    QCOMPARE(trackCount(ids[0]), 3);
}

void TestAlbumCompleter::remainingTimeKeepsTheServicePace_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("elapsedMs");
    QTest::addColumn<int>("seconds");
    QTest::newRow("nothing done yet: two requests an album") << 10 << 0 << 0 << 20;
    QTest::newRow("a fast server cannot beat the service's pace") << 10 << 5 << 50 << 20;
    QTest::newRow("slower albums so far set the pace") << 10 << 2 << 10000 << 50;
    QTest::newRow("finished") << 0 << 3 << 9000 << 0;
}

void TestAlbumCompleter::remainingTimeKeepsTheServicePace()
{
    QFETCH(int, left);
    QFETCH(int, done);
    QFETCH(int, elapsedMs);
    QFETCH(int, seconds);
    QCOMPARE(
        AlbumCompleter::remainingTime(left, done, std::chrono::milliseconds(elapsedMs)).count(),
        seconds);
}

QTEST_GUILESS_MAIN(TestAlbumCompleter)
#include "TestAlbumCompleter.moc"
