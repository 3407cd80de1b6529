#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "freedb/CddbTestServer.h"
#include "freedb/DiscImage.h"
#include "freedb/DiscToc.h"
#include "freedb/LookupProgress.h"
#include "musicbrainz/CoverArtFetcher.h"
#include "musicbrainz/DiscLookup.h"
#include "musicbrainz/LookupSettings.h"
#include "musicbrainz/MusicBrainzClient.h"
#include "musicbrainz/MusicBrainzDiscId.h"
#include "musicbrainz/MusicBrainzTestServer.h"
#include "musicbrainz/RateGate.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

using Server = MusicBrainzTestServer;
Q_DECLARE_METATYPE(MusicBrainzTestServer::Answer)

// MusicBrainz lookups against a server thread on 127.0.0.1 replaying real answers of the
// service, disc IDs from the tables of contents those answers belong to, the lookup order
// with a CDDB server that has nothing, and the front cover.
class TestMusicBrainz : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void discIdFromToc_data();
    void discIdFromToc();
    void fillsFromTheAnswer_data();
    void fillsFromTheAnswer();
    void brokenAnswersFindNothing_data();
    void brokenAnswersFindNothing();
    void requestsKeepTheServiceRules();
    void lookupOrder_data();
    void lookupOrder();
    void frontCover_data();
    void frontCover();

private:
    QTemporaryDir m_folder;
};

namespace
{

const QString grievaToc = QStringLiteral("1 1 10001 150");
const QString powerClassicsToc =
    QStringLiteral("1 10 291890 187 24487 35362 62137 67687 97462 121162 147037 191662 220987");
const QString marinaToc = QStringLiteral("1 13 205050 150 15239 29625 45763 61420 75862 91642 "
                                         "108918 123698 139895 153589 169239 188495");
const QByteArray jpeg = QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11) + QByteArray(600, 'x');

// "first last lead-out offset..." as libdiscid prints a table.
DiscToc tocFromText(const QString& text)
{
    const QStringList numbers = text.split(QLatin1Char(' '));
    QVector<int> starts;
    for (int i = 3; i < numbers.size(); ++i)
        starts << numbers[i].toInt();
    return DiscToc::fromFrameOffsets(starts, numbers[2].toInt());
}

// The same table as a disc image libcdio reads.
QString discImage(const QString& folder, const QString& tocText)
{
    const DiscToc toc = tocFromText(tocText);
    QVector<DiscImage::Track> tracks;
    for (int i = 0; i < toc.trackCount(); ++i)
        tracks << DiscImage::Track{toc.trackStart(i + 1).frameOffset() -
                                   toc.trackStart(i).frameOffset()};
    return DiscImage::writeCue(folder, QStringLiteral("disc"), tracks,
                               toc.trackStart(0).frameOffset() - DiscImage::LeadIn);
}

QByteArray withoutFirstRelease(const QByteArray& json)
{
    QJsonObject root = QJsonDocument::fromJson(json).object();
    QJsonArray releases = root.value(QStringLiteral("releases")).toArray();
    releases.removeFirst();
    root.insert(QStringLiteral("releases"), releases);
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

// The grieva answer with its one medium edited by `edit`.
QByteArray grievaWithMedium(const std::function<void(QJsonObject&)>& edit)
{
    QJsonObject root =
        QJsonDocument::fromJson(Server::testData(QStringLiteral("grieva_dear_jp.discid.json")))
            .object();
    QJsonArray releases = root.value(QStringLiteral("releases")).toArray();
    QJsonObject release = releases.first().toObject();
    QJsonArray media = release.value(QStringLiteral("media")).toArray();
    QJsonObject medium = media.first().toObject();
    edit(medium);
    media.replace(0, medium);
    release.insert(QStringLiteral("media"), media);
    releases.replace(0, release);
    root.insert(QStringLiteral("releases"), releases);
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

// Answers by disc ID with `exact`, fuzzy lookups with `fuzzy`, cover requests with `cover`.
Server::Handler answering(const Server::Answer& exact,
                          const Server::Answer& fuzzy = Server::json("{}", 404),
                          const Server::Answer& cover = Server::json("", 404))
{
    return [=](const QByteArray& target) {
        if (target.startsWith("/release/"))
            return cover;
        return target.startsWith("/ws/2/discid/-?") ? fuzzy : exact;
    };
}

class RecordedProgress : public LookupProgress
{
public:
    void setProgressText(const QString& text) override { texts << text; }
    QStringList texts;
};

QString trackText(const TrackRecord& track)
{
    return QStringLiteral("%1|%2|%3|%4")
        .arg(track.trackNumber)
        .arg(track.title, track.length, track.artist);
}

} // namespace

void TestMusicBrainz::initTestCase()
{
    QVERIFY(m_folder.isValid());
    AppSettings::useFolder(m_folder.filePath(QStringLiteral("settings")));
    AppPaths::setDataDirectory(m_folder.filePath(QStringLiteral("data")));
    // The local server needs no second between requests; the test of the rules restores it.
    RateGate::musicBrainz().setInterval(std::chrono::milliseconds(10));
}

void TestMusicBrainz::discIdFromToc_data()
{
    QTest::addColumn<QString>("toc");
    QTest::addColumn<QString>("discId");
    QTest::newRow("one track") << grievaToc << "QwoXrxAzl.585vCe5RxOfe1DYKU-";
    QTest::newRow("first track after 187") << powerClassicsToc << "BKkzOxbdODYWFIOEEZ3b.b_nm64-";
    QTest::newRow("thirteen tracks") << marinaToc << "6jCVgqiBloWPfG27I5IfdbECRQU-";
    QTest::newRow("no table") << QString() << QString();
}

void TestMusicBrainz::discIdFromToc()
{
    QFETCH(QString, toc);
    QFETCH(QString, discId);
    QCOMPARE(MusicBrainzDiscId::fromToc(toc.isEmpty() ? DiscToc() : tocFromText(toc)), discId);
}

void TestMusicBrainz::fillsFromTheAnswer_data()
{
    QTest::addColumn<QString>("toc");
    QTest::addColumn<QByteArray>("exact");
    QTest::addColumn<QByteArray>("fuzzy");
    // release id, artist, title, year, length, freedbid, label, label number
    QTest::addColumn<QStringList>("album");
    QTest::addColumn<QStringList>("firstTracks");
    QTest::addColumn<int>("trackCount");

    const QByteArray grieva = Server::testData(QStringLiteral("grieva_dear_jp.discid.json"));
    const QByteArray power = Server::testData(QStringLiteral("powerclassics_va_box.discid.json"));
    const QStringList grievaAlbum{"6019b737-9018-4e89-a4f5-ffb5ac783613",
                                  "グリーヴァ",
                                  "Dear...",
                                  "2014",
                                  "02:13",
                                  "33587969",
                                  "",
                                  ""};
    QTest::newRow("exact, Japanese") << grievaToc << grieva << QByteArray() << grievaAlbum
                                     << QStringList{"1|死闘 -from GRIEVA-|02:11|"} << 1;
    QTest::newRow("various artists, first of two releases")
        << powerClassicsToc << power << QByteArray()
        << QStringList{"4c63d77d-6348-4ae1-9616-f25e625fa0d7",
                       "Various Artists",
                       "Power Classics! Classical Music for Your Active Lifestyle, Volume 3",
                       "1994",
                       "64:51",
                       QString::number(0x8e0f310a),
                       "LaserLight Digital",
                       "14 149"}
        << QStringList{"1|Ride of the Valkyries|05:24|Richard Wagner",
                       "2|Hungarian Dance no. 5 in G minor|02:25|Johannes Brahms"}
        << 10;
    QTest::newRow("third disc of a box")
        << powerClassicsToc << withoutFirstRelease(power) << QByteArray()
        << QStringList{"1f504c20-5423-47fb-8d25-243ce749b92c",
                       "Various Artists",
                       "Power Classics! Classical Music for your Active Lifestyle",
                       "0",
                       "64:51",
                       QString::number(0x8e0f310a),
                       "LaserLight Digital",
                       "15 848"}
        << QStringList{"1|Ride of the Valkyries|05:24|Richard Wagner"} << 10;
    QTest::newRow("unknown ID, fuzzy table")
        << marinaToc << Server::testData(QStringLiteral("notfound.discid.json"))
        << Server::testData(QStringLiteral("marina_familyjewels.fuzzytoc.json"))
        << QStringList{"2124ca6e-260e-4b45-b6f4-f95704e0d361",
                       "Marina & the Diamonds",
                       "The Family Jewels",
                       "2010",
                       "45:34",
                       QString::number(0x940aac0d),
                       "",
                       ""}
        << QStringList{"1|Are You Satisfied?|03:21|"} << 13;
    QByteArray controls = grieva;
    controls.replace("\"title\":\"Dear...\"", "\"title\":\"Dear\\u0007\\n...\\u2028\"");
    controls.replace("死闘", "\\t死闘\\r");
    QStringList controlsAlbum = grievaAlbum;
    controlsAlbum[2] = QStringLiteral("Dear  ...");
    QTest::newRow("control characters in titles")
        << grievaToc << controls << QByteArray() << controlsAlbum
        << QStringList{"1|死闘  -from GRIEVA-|02:11|"} << 1;
}

// What the lookup reads from the answer, end to end through the client and the server.
void TestMusicBrainz::fillsFromTheAnswer()
{
    QFETCH(QString, toc);
    QFETCH(QByteArray, exact);
    QFETCH(QByteArray, fuzzy);
    QFETCH(QStringList, album);
    QFETCH(QStringList, firstTracks);
    QFETCH(int, trackCount);
    Server server(answering(Server::json(exact, fuzzy.isEmpty() ? 200 : 404), Server::json(fuzzy)));
    MusicBrainzClient client(*LookupSettings::musicBrainzAddress(server.setting()));
    MusicBrainzRelease::Fill fill;
    RecordedProgress progress;
    QVERIFY(client.lookup(tocFromText(toc), fill, &progress));
    QCOMPARE(progress.texts, (QStringList{"Asking MusicBrainz...", "Done"}));

    const AlbumRecord& a = fill.album;
    QCOMPARE((QStringList{fill.releaseId, a.artist, a.title, QString::number(a.year), a.length,
                          a.freedbId, a.label, a.labelNumber}),
             album);
    QCOMPARE(a.genre, QString());
    QCOMPARE(int(fill.tracks.size()), trackCount);
    for (int i = 0; i < firstTracks.size(); ++i)
        QCOMPARE(trackText(*fill.tracks[i]), firstTracks[i]);

    const QList<Server::Request> requests = server.requests();
    const QString discId = MusicBrainzDiscId::fromToc(tocFromText(toc));
    QCOMPARE(requests.first().target, "/ws/2/discid/" + discId.toLatin1() +
                                          "?inc=artist-credits+recordings+labels&fmt=json");
    if (!fuzzy.isEmpty())
        QCOMPARE(requests.at(1).target,
                 "/ws/2/discid/-?toc=" +
                     QString(toc).replace(QLatin1Char(' '), QLatin1Char('+')).toLatin1() +
                     "&inc=artist-credits+recordings+labels&fmt=json");
}

void TestMusicBrainz::brokenAnswersFindNothing_data()
{
    QTest::addColumn<Server::Answer>("exact");
    QTest::addColumn<int>("requests");

    const QByteArray grieva = Server::testData(QStringLiteral("grieva_dear_jp.discid.json"));
    Server::Answer html = Server::json("<html><body>Sorry</body></html>");
    html.contentType = "text/html";
    Server::Answer truncated = Server::json(grieva);
    truncated.delivery = Server::Delivery::Truncated;
    const QByteArray hugeBody = "{\"releases\":[" + QByteArray(10 * 1024 * 1024, ' ') + "]}";
    Server::Answer hugeUnannounced = Server::json(hugeBody);
    hugeUnannounced.delivery = Server::Delivery::NoLength;
    Server::Answer silent;
    silent.delivery = Server::Delivery::Silent;

    QTest::newRow("html") << html << 1;
    QTest::newRow("truncated") << truncated << 1;
    QTest::newRow("cut JSON") << Server::json(grieva.left(grieva.size() / 2)) << 1;
    QTest::newRow("10 MB announced") << Server::json(hugeBody) << 1;
    // -1: a reply cut off at the cap may be sent again by the network layer on a slow machine.
    QTest::newRow("10 MB unannounced") << hugeUnannounced << -1;
    QTest::newRow("deeply nested")
        << Server::json(QByteArray(100000, '[') + QByteArray(100000, ']')) << 1;
    QTest::newRow("release without media")
        << Server::json(grievaWithMedium([](QJsonObject& m) {
                            m = QJsonObject();
                        }).replace("\"media\":[{}]", "\"media\":[]"))
        << 1;
    QTest::newRow("medium without tracks") << Server::json(grievaWithMedium([](QJsonObject& m) {
        m.remove(QStringLiteral("tracks"));
    })) << 1;
    QTest::newRow("track count disagrees") << Server::json(grievaWithMedium([](QJsonObject& m) {
        QJsonArray tracks = m.value(QStringLiteral("tracks")).toArray();
        tracks.append(tracks.first());
        m.insert(QStringLiteral("tracks"), tracks);
    })) << 1;
    QTest::newRow("unknown everywhere")
        << Server::json(Server::testData(QStringLiteral("notfound.discid.json")), 404) << 2;
    QTest::newRow("503 forever") << Server::json("", 503) << 3;
    QTest::newRow("server error") << Server::json("", 500) << 1;
    QTest::newRow("never answers") << silent << 1;
}

// Each ends with "No matching discs..." and nothing filled; a 503 is retried a bounded number
// of times, anything else is not.
void TestMusicBrainz::brokenAnswersFindNothing()
{
    QFETCH(Server::Answer, exact);
    QFETCH(int, requests);
    Server server(answering(exact));
    MusicBrainzClient client(*LookupSettings::musicBrainzAddress(server.setting()));
    client.setRequestTimeout(std::chrono::seconds(5));
    MusicBrainzRelease::Fill fill;
    RecordedProgress progress;
    QVERIFY(!client.lookup(tocFromText(grievaToc), fill, &progress));
    QCOMPARE(progress.texts, (QStringList{"Asking MusicBrainz...", "No matching discs..."}));
    QVERIFY(fill.releaseId.isEmpty());
    QVERIFY(fill.tracks.empty());
    if (requests >= 0)
        QCOMPARE(server.requests().size(), requests);
    else
        QVERIFY(!server.requests().isEmpty());
}

// Two lookups in a row reach the service at least a second apart by its own clock, each
// naming the program, its version and a contact.
void TestMusicBrainz::requestsKeepTheServiceRules()
{
    RateGate::musicBrainz().setInterval(RateGate::MusicBrainzInterval);
    const auto shortenAgain =
        qScopeGuard([] { RateGate::musicBrainz().setInterval(std::chrono::milliseconds(10)); });
    Server server(
        answering(Server::json(Server::testData(QStringLiteral("grieva_dear_jp.discid.json")))));
    for (int lookup = 0; lookup < 2; ++lookup) {
        MusicBrainzClient client(*LookupSettings::musicBrainzAddress(server.setting()));
        MusicBrainzRelease::Fill fill;
        QVERIFY(client.lookup(tocFromText(grievaToc), fill, nullptr));
    }
    const QList<Server::Request> requests = server.requests();
    QCOMPARE(requests.size(), 2);
    QVERIFY(requests[1].seen - requests[0].seen >= std::chrono::milliseconds(1000));
    const QRegularExpression agent(QStringLiteral("^Tunvale/1\\.00 \\( \\S.* \\)$"));
    for (const Server::Request& request : requests)
        QVERIFY2(agent.match(QString::fromLatin1(request.userAgent)).hasMatch(),
                 request.userAgent.constData());
}

void TestMusicBrainz::lookupOrder_data()
{
    QTest::addColumn<int>("musicBrainz");
    QTest::addColumn<QString>("order");
    QTest::addColumn<bool>("filled");
    QTest::addColumn<QStringList>("stages");
    QTest::addColumn<int>("cddbRequests");
    QTest::addColumn<int>("musicBrainzRequests");

    const QStringList cddb{"Please wait, retrieving available discs...", "No matching discs..."};
    const QStringList found{"Asking MusicBrainz...", "Done"};
    QTest::newRow("CDDB, then MusicBrainz") << 1 << "" << true << cddb + found << 1 << 1;
    QTest::newRow("MusicBrainz first") << 1 << "MusicBrainz" << true << found << 0 << 1;
    QTest::newRow("MusicBrainz off") << 0 << "musicbrainz" << false << cddb << 1 << 0;
}

// The whole lookup from a disc image, with a CDDB server that refuses the client.
void TestMusicBrainz::lookupOrder()
{
    QFETCH(int, musicBrainz);
    QFETCH(QString, order);
    QFETCH(bool, filled);
    QFETCH(QStringList, stages);
    QFETCH(int, cddbRequests);
    QFETCH(int, musicBrainzRequests);
    CddbTestServer cddb(
        [](const QByteArray&) { return CddbTestServer::reply("500 Unknown developer email\r\n"); });
    Server server(
        answering(Server::json(Server::testData(QStringLiteral("grieva_dear_jp.discid.json")))));
    AppSettings settings;
    settings.write(SettingsTable::CddbServer, cddb.setting());
    settings.write(SettingsTable::MusicBrainz, musicBrainz);
    settings.write(SettingsTable::LookupOrder, order);
    settings.write(SettingsTable::MusicBrainzServer, server.setting());
    settings.write(SettingsTable::CoverArtServer, server.setting());

    QTemporaryDir images;
    AlbumRecord album;
    std::vector<std::unique_ptr<TrackRecord>> tracks;
    RecordedProgress progress;
    QCOMPARE(DiscLookup::Lookup(discImage(images.path(), grievaToc), LookupSettings::read(settings),
                                album, tracks, &progress),
             filled);
    QCOMPARE(progress.texts, QStringList{"Computing Disc ID"} + stages);
    QCOMPARE(album.title, filled ? QStringLiteral("Dear...") : QString());
    QCOMPARE(int(tracks.size()), filled ? 1 : 0);
    QCOMPARE(cddb.requests().size(), cddbRequests);
    // The cover request (answered 404) comes after a MusicBrainz fill and fails nothing.
    QCOMPARE(server.requests().size(), musicBrainzRequests * (filled ? 2 : 1));
    QVERIFY(album.frontImage.isEmpty());
}

void TestMusicBrainz::frontCover_data()
{
    QTest::addColumn<Server::Answer>("cover");
    QTest::addColumn<bool>("saved");
    Server::Answer redirect = Server::json("", 307);
    redirect.extraHeaders = "Location: /images/front.jpg\r\n";
    Server::Answer loop = Server::json("", 307);
    loop.extraHeaders = "Location: /release/6019b737-9018-4e89-a4f5-ffb5ac783613/front-500\r\n";
    Server::Answer page = Server::json("<html>no cover</html>");
    page.contentType = "text/html";
    QTest::newRow("direct") << Server::json(jpeg) << true;
    QTest::newRow("redirected") << redirect << true;
    QTest::newRow("endless redirects") << loop << false;
    QTest::newRow("none") << Server::json("{}", 404) << false;
    QTest::newRow("not a picture") << page << false;
}

void TestMusicBrainz::frontCover()
{
    QFETCH(Server::Answer, cover);
    QFETCH(bool, saved);
    const QString path =
        CoverArtFetcher::coverPath(QStringLiteral("6019b737-9018-4e89-a4f5-ffb5ac783613"));
    QFile::remove(path);
    Server server([&](const QByteArray& target) {
        if (target == "/images/front.jpg")
            return Server::json(jpeg);
        if (target.startsWith("/release/"))
            return cover;
        return Server::json(Server::testData(QStringLiteral("grieva_dear_jp.discid.json")));
    });
    LookupSettings settings;
    settings.musicBrainzFirst = true;
    settings.musicBrainzServer = LookupSettings::musicBrainzAddress(server.setting());
    settings.coverArtServer = LookupSettings::coverArtAddress(server.setting());

    QTemporaryDir images;
    AlbumRecord album;
    std::vector<std::unique_ptr<TrackRecord>> tracks;
    QVERIFY(
        DiscLookup::Lookup(discImage(images.path(), grievaToc), settings, album, tracks, nullptr));
    QCOMPARE(server.requests().at(1).target,
             QByteArray("/release/6019b737-9018-4e89-a4f5-ffb5ac783613/front-500"));
    QCOMPARE(album.frontImage, saved ? path : QString());
    QVERIFY(path.startsWith(m_folder.filePath(QStringLiteral("data/covers/"))));
    QFile file(path);
    QCOMPARE(file.open(QIODevice::ReadOnly), saved);
    if (saved)
        QCOMPARE(file.readAll(), jpeg);
}

QTEST_GUILESS_MAIN(TestMusicBrainz)
#include "TestMusicBrainz.moc"
