#include "app/AppSettings.h"
#include "db/AlbumRecord.h"
#include "db/TrackRecord.h"
#include "freedb/CddbTestServer.h"
#include "freedb/DiscImage.h"
#include "freedb/DiscToc.h"
#include "freedb/FreedbClient.h"
#include "freedb/FreedbError.h"
#include "freedb/FreedbTestData.h"
#include "freedb/LookupProgress.h"
#include "support/TestCatalog.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace std::chrono_literals;
using Script = CddbTestServer::Script;
using TrackList = std::vector<std::unique_ptr<TrackRecord>>;

namespace
{

class RecordedProgress : public LookupProgress
{
public:
    void setProgressText(const QString& text) override { texts.append(text); }
    QStringList texts;
};

const QString computing = QStringLiteral("Computing Disc ID");
const QString retrieving = QStringLiteral("Please wait, retrieving available discs...");
const QString noMatch = QStringLiteral("No matching discs...");
const QString noInfo = QStringLiteral("Unable to get the disc info...");
const QString done = QStringLiteral("Done");

// Three tracks: 00:02:00, 00:05:00, 00:09:10; lead-out 00:09:60. The last track is shorter
// than a whole second in the whole-second arithmetic, so it gets no length.
const QVector<DiscImage::Track> threeTracks{{3 * 75}, {4 * 75 + 10}, {50}};

QByteArray entryFile(const QString& name)
{
    return FreedbTestData::read(QStringLiteral("xmcd/") + name);
}

// A small complete entry of the given disc length and year line.
QByteArray smallEntry(int discLength, const QByteArray& yearLine = "DYEAR=1999\n")
{
    return "# xmcd\n# Track frame offsets:\n# 150\n# 375\n# 685\n# Disc length: " +
           QByteArray::number(discLength) +
           " seconds\n# Submitted via: Tester 1.0\nDISCID=04027402\nDTITLE=Artist / Album\n" +
           yearLine +
           "DGENRE=Folk\nTTITLE0=One\nTTITLE1=Two\nTTITLE2=Three\nEXTD=\nEXTT0=\n"
           "EXTT1=\nEXTT2=\nPLAYORDER=\n";
}

// A server that answers every query with `queryBody` and every read with `readBody`.
CddbTestServer::Handler answering(const QByteArray& queryBody, const QByteArray& readBody)
{
    return [=](const QByteArray& request) {
        if (request.contains("cmd=cddb+query+"))
            return CddbTestServer::reply(queryBody);
        if (request.contains("cmd=cddb+read+"))
            return CddbTestServer::reply(readBody);
        return CddbTestServer::reply("500 Command syntax error.\r\n");
    };
}

} // namespace

class TestFreedbLookup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void fillsAlbumAndTracksFromTheDisc();
    void firstOfSeveralMatchesIsRead();
    void entryWithoutYearGivesYearZero();
    void freedbIdIsTheDecimalDiscId();
    void textInEveryCharacterSet_data();
    void textInEveryCharacterSet();
    void secondLookupAppendsTheTracksAgain();
    void noProgressLabelIsFine();

    void unreadableDiscStopsWithTheMessage();
    void noMatchStopsAfterTheQuery_data();
    void noMatchStopsAfterTheQuery();
    void unusableServerSettingStopsBeforeTheNetwork();
    void failedReadStops_data();
    void failedReadStops();

private:
    void setServer(const QString& setting);
    QTemporaryDir m_settings;
    QTemporaryDir m_images;
    QString m_disc;
    std::uint32_t m_discId = 0;
};

void TestFreedbLookup::initTestCase()
{
    QVERIFY(m_settings.isValid());
    QVERIFY(m_images.isValid());
    AppSettings::useFolder(m_settings.path());
    m_disc = DiscImage::writeCue(m_images.path(), QStringLiteral("disc"), threeTracks);
    QVERIFY(!m_disc.isEmpty());
    m_discId = DiscToc::fromFrameOffsets(DiscImage::trackStarts(threeTracks),
                                         DiscImage::leadOut(threeTracks))
                   .DiscId();
}

void TestFreedbLookup::init()
{
    AppSettings settings;
    QVERIFY(settings.fileName().startsWith(m_settings.path()));
    settings.write(SettingsTable::CddbServer, QString());
}

void TestFreedbLookup::setServer(const QString& setting)
{
    AppSettings settings;
    settings.write(SettingsTable::CddbServer, setting);
}

void TestFreedbLookup::fillsAlbumAndTracksFromTheDisc()
{
    // The Loreena McKennitt entry: ten titles for our three-track disc.
    const QByteArray readReply = FreedbTestData::crlf(
        FreedbTestData::read(QStringLiteral("replies/read_210_8309a80a_datatrack_newac.txt")));
    CddbTestServer server(answering(
        "200 folk 8309a80a Loreena McKennitt / Elemental (Limited Edition with Bonus DVD)\r\n",
        readReply));
    setServer(server.setting());

    ReportRecorder reports;
    RecordedProgress progress;
    AlbumRecord album;
    album.notes = QStringLiteral("kept");
    album.mediaType = QStringLiteral("CD");
    TrackList tracks;
    FreedbClient client;
    client.setUserName("joe");
    client.setHostName("desk");
    QVERIFY(client.Lookup(m_disc, album, tracks, &progress));

    QCOMPARE(reports.count(), 0);
    QCOMPARE(progress.texts, (QStringList{computing, retrieving, done}));

    const QList<QByteArray> requests = server.requests();
    QCOMPARE(requests.size(), 2);
    QCOMPARE(CddbTestServer::requestLine(requests[0]),
             "GET /~cddb/cddb.cgi?cmd=cddb+query+" +
                 QByteArray::number(m_discId, 16).rightJustified(8, '0') +
                 "+3+150+375+685+9&hello=joe+desk+Arkivo+5.00&proto=5 HTTP/1.0");
    QCOMPARE(CddbTestServer::requestLine(requests[1]),
             QByteArray("GET /~cddb/cddb.cgi?cmd=cddb+read+folk+8309a80a&hello=joe+desk+Arkivo+"
                        "5.00&proto=5 HTTP/1.0"));

    QCOMPARE(album.title, QStringLiteral("Elemental (Limited Edition with Bonus DVD)"));
    QCOMPARE(album.artist, QStringLiteral("Loreena McKennitt"));
    QCOMPARE(album.genre, QStringLiteral("Celtic"));
    QCOMPARE(album.year, 2004);
    QCOMPARE(album.length, QStringLiteral("41:14")); // 2474 seconds
    QCOMPARE(album.freedbId, QString::number(0x8309a80au));
    QCOMPARE(album.freedbId, QStringLiteral("2198448138"));
    // Nothing else of the album is touched.
    QCOMPARE(album.notes, QStringLiteral("kept"));
    QCOMPARE(album.mediaType, QStringLiteral("CD"));
    QCOMPARE(album.grade, 1);

    QCOMPARE(int(tracks.size()), 10);
    const QStringList lengths{QStringLiteral("00:03"), QStringLiteral("00:04"), QString()};
    for (int i = 0; i < 10; ++i) {
        const TrackRecord& track = *tracks[size_t(i)];
        QCOMPARE(track.trackNumber, i + 1);
        // The third lasts 0 whole seconds; titles beyond the disc's three tracks get none.
        QCOMPARE(track.length, lengths.value(i));
        QCOMPARE(track.year, 1900);
        QCOMPARE(track.grade, 1);
        QCOMPARE(track.albumId, -1);
        QCOMPARE(track.trackId, -1);
        QVERIFY(track.artist.isEmpty());
    }
    QCOMPARE(tracks[0]->title, QStringLiteral("Blacksmith"));
    QCOMPARE(tracks[9]->title, QStringLiteral("Enhanced CD Data"));
    QCOMPARE(client.entry().discId, 0x8309a80au);
}

void TestFreedbLookup::firstOfSeveralMatchesIsRead()
{
    // freedb's 2020 answer lists the disc under data, misc and rock: "data" is read.
    CddbTestServer server(
        answering(FreedbTestData::read(QStringLiteral("replies/freedb2020_query_proto5.body.txt")),
                  FreedbTestData::read(QStringLiteral("replies/freedb2020_read_proto5.body.txt"))));
    setServer(server.setting());
    AlbumRecord album;
    TrackList tracks;
    FreedbClient client;
    QVERIFY(client.Lookup(m_disc, album, tracks, nullptr));
    QVERIFY(CddbTestServer::requestLine(server.requests().value(1))
                .contains("cmd=cddb+read+data+940aac0d&"));
    QCOMPARE(album.artist, QStringLiteral("Marina & The Diamonds"));
    QCOMPARE(album.title, QStringLiteral("The Family Jewels"));
    QCOMPARE(album.length, QStringLiteral("45:34"));
    QCOMPARE(album.freedbId, QString::number(0x940aac0du));
    QCOMPARE(int(tracks.size()), 13);
    QCOMPARE(tracks[12]->title, QStringLiteral("Guilty"));
    QVERIFY(tracks[12]->length.isEmpty());
}

void TestFreedbLookup::entryWithoutYearGivesYearZero()
{
    const QByteArray readReply = FreedbTestData::crlf(
        FreedbTestData::read(QStringLiteral("replies/read_210_2f0d8939_57tracks_cddb-scala.txt")));
    CddbTestServer server(answering("200 folk 2f0d8939 Dan Levenson / Old Time\r\n", readReply));
    setServer(server.setting());
    AlbumRecord album;
    TrackList tracks;
    FreedbClient client;
    QVERIFY(client.Lookup(m_disc, album, tracks, nullptr));
    QCOMPARE(album.year, 0);
    QCOMPARE(album.genre, QString());
    QCOMPARE(int(tracks.size()), 57);
}

void TestFreedbLookup::freedbIdIsTheDecimalDiscId()
{
    // Asked for 04027402 (whatever our disc's own ID), the album shows it as 67269634.
    CddbTestServer server(answering("200 misc 04027402 Artist / Album\r\n",
                                    FreedbTestData::readReply(smallEntry(3725))));
    setServer(server.setting());
    AlbumRecord album;
    TrackList tracks;
    FreedbClient client;
    QVERIFY(client.Lookup(m_disc, album, tracks, nullptr));
    QCOMPARE(album.freedbId, QStringLiteral("67269634"));
    QCOMPARE(album.length, QStringLiteral("62:05"));
    QCOMPARE(album.year, 1999);
    QCOMPARE(album.artist, QStringLiteral("Artist"));
    QCOMPARE(album.title, QStringLiteral("Album"));
}

void TestFreedbLookup::textInEveryCharacterSet_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("artist");
    QTest::addColumn<QString>("firstTitle");
    QTest::newRow("ISO-8859-1, as protocol level 5 sends")
        << "rubyripper_38043805_latin1.txt" << QStringLiteral("Die \u00c4rzte")
        << QStringLiteral("M\u00e4nner sind Schweine (Single Version)");
    QTest::newRow("UTF-8, as protocol level 6 sends")
        << "rubyripper_1c11c714_utf8_20tracks.txt" << QStringLiteral("Various")
        << QStringLiteral("Bireli Lagr\u00e8ne: New York City  ");
    // Neither: every byte still becomes a character, nothing is lost or refused.
    QTest::newRow("GB18030 read as Latin-1")
        << "rubyripper_a70c310c_gb18030.txt" << QString::fromLatin1("\xd6\xdc\xbd\xdc\xc2\xd7")
        << QString();
}

void TestFreedbLookup::textInEveryCharacterSet()
{
    QFETCH(QString, file);
    CddbTestServer server(
        answering("200 misc 12345678 A / B\r\n", FreedbTestData::readReply(entryFile(file))));
    setServer(server.setting());
    AlbumRecord album;
    TrackList tracks;
    FreedbClient client;
    QVERIFY(client.Lookup(m_disc, album, tracks, nullptr));
    QTEST(album.artist, "artist");
    QFETCH(QString, firstTitle);
    if (!firstTitle.isEmpty())
        QCOMPARE(tracks.front()->title, firstTitle);
}

void TestFreedbLookup::secondLookupAppendsTheTracksAgain()
{
    CddbTestServer server(answering("200 misc 04027402 Artist / Album\r\n",
                                    FreedbTestData::readReply(smallEntry(630))));
    setServer(server.setting());
    AlbumRecord album;
    TrackList tracks;
    FreedbClient client;
    QVERIFY(client.Lookup(m_disc, album, tracks, nullptr));
    QVERIFY(client.Lookup(m_disc, album, tracks, nullptr));
    QCOMPARE(int(tracks.size()), 6);
    QCOMPARE(tracks[3]->trackNumber, 1);
    QCOMPARE(tracks[3]->title, QStringLiteral("One"));
    QCOMPARE(tracks[3]->length, QStringLiteral("00:03"));
}

void TestFreedbLookup::noProgressLabelIsFine()
{
    ReportRecorder reports;
    AlbumRecord album;
    TrackList tracks;
    FreedbClient client;
    QVERIFY(!client.Lookup(m_images.filePath(QStringLiteral("none.cue")), album, tracks, nullptr));
    QCOMPARE(reports.count(), 1);
}

void TestFreedbLookup::unreadableDiscStopsWithTheMessage()
{
    CddbTestServer server(answering("200 misc 04027402 Artist / Album\r\n",
                                    FreedbTestData::readReply(smallEntry(630))));
    setServer(server.setting());
    const QString gone = m_images.filePath(QStringLiteral("remembered-drive-gone.cue"));
    ReportRecorder reports;
    RecordedProgress progress;
    AlbumRecord album;
    album.title = QStringLiteral("untouched");
    TrackList tracks;
    FreedbClient client;
    QVERIFY(!client.Lookup(gone, album, tracks, &progress));
    QCOMPARE(progress.texts, QStringList{computing});
    QCOMPARE(reports.count(), 1);
    QCOMPARE(reports.reports().first().caption, QStringLiteral("Error"));
    QVERIFY(reports.lastText().contains(QStringLiteral("CD in drive %1 and").arg(gone)));
    QCOMPARE(album.title, QStringLiteral("untouched"));
    QVERIFY(tracks.empty());
    QVERIFY(server.requests().isEmpty());

    // A data-only disc is no better.
    const QString data =
        DiscImage::writeCue(m_images.path(), QStringLiteral("data"), {{5 * 75, false}});
    QVERIFY(!client.Lookup(data, album, tracks, &progress));
    QCOMPARE(reports.count(), 2);
}

void TestFreedbLookup::noMatchStopsAfterTheQuery_data()
{
    QTest::addColumn<QByteArray>("queryBody");
    QTest::addColumn<int>("error");
    QTest::newRow("202") << QByteArray("202 No match for disc ID 04027402.\r\n") << 0;
    QTest::newRow("500 from gnudb")
        << QByteArray("500 Unknown developer email\r\n") << FreedbError::ProtocolNotSupported;
    QTest::newRow("unreachable server") << QByteArray() << FreedbError::ConnectionRefused;
}

void TestFreedbLookup::noMatchStopsAfterTheQuery()
{
    QFETCH(QByteArray, queryBody);
    CddbTestServer server(answering(queryBody, FreedbTestData::readReply(smallEntry(630))));
    setServer(queryBody.isEmpty() ? QStringLiteral("127.0.0.1:%1").arg(CddbTestServer::closedPort())
                                  : server.setting());
    ReportRecorder reports;
    RecordedProgress progress;
    AlbumRecord album;
    TrackList tracks;
    FreedbClient client;
    QVERIFY(!client.Lookup(m_disc, album, tracks, &progress));
    QCOMPARE(progress.texts, (QStringList{computing, retrieving, noMatch}));
    QTEST(client.lastError(), "error");
    QCOMPARE(reports.count(), 0);
    QVERIFY(tracks.empty());
    QVERIFY(album.title.isEmpty());
    QCOMPARE(album.freedbId, QStringLiteral("0000000000"));
    QVERIFY(server.requests().size() <= 1);
}

void TestFreedbLookup::unusableServerSettingStopsBeforeTheNetwork()
{
    setServer(QStringLiteral("127.0.0.1:99999"));
    RecordedProgress progress;
    AlbumRecord album;
    TrackList tracks;
    FreedbClient client;
    QVERIFY(!client.Lookup(m_disc, album, tracks, &progress));
    QCOMPARE(progress.texts, (QStringList{computing, retrieving, noMatch}));
    QCOMPARE(client.lastError(), FreedbError::InvalidArgument);
}

void TestFreedbLookup::failedReadStops_data()
{
    QTest::addColumn<QByteArray>("readBody");
    QTest::addColumn<int>("error");
    QTest::newRow("401, connection closed")
        << QByteArray("401 Specified CDDB entry not found.\r\n") << FreedbError::Disconnected;
    QTest::newRow("incomplete entry")
        << FreedbTestData::readReply(entryFile(QStringLiteral("libcddb_12345678_multiline.txt")))
        << FreedbError::ProtocolNotSupported;
    QTest::newRow("entry with a hostile track number")
        << FreedbTestData::readReply(smallEntry(630, "DYEAR=1999\nTTITLE2000000000=x\n"))
        << FreedbError::ProtocolNotSupported;
}

void TestFreedbLookup::failedReadStops()
{
    QFETCH(QByteArray, readBody);
    CddbTestServer server(answering("200 misc 04027402 Artist / Album\r\n", readBody));
    setServer(server.setting());
    RecordedProgress progress;
    AlbumRecord album;
    TrackList tracks;
    FreedbClient client;
    QVERIFY(!client.Lookup(m_disc, album, tracks, &progress));
    QCOMPARE(progress.texts, (QStringList{computing, retrieving, noInfo}));
    QTEST(client.lastError(), "error");
    QVERIFY(tracks.empty());
    QVERIFY(album.artist.isEmpty());
    QCOMPARE(album.year, 1900);
    QCOMPARE(server.requests().size(), 2);
}

QTEST_GUILESS_MAIN(TestFreedbLookup)
#include "TestFreedbLookup.moc"
