#include "app/AppPaths.h"
#include "musicbrainz/LookupSettings.h"
#include "musicbrainz/MusicBrainzClient.h"
#include "musicbrainz/MusicBrainzTestServer.h"
#include "musicbrainz/RateGate.h"
#include "musicbrainz/ReleaseLookup.h"
#include "musicbrainz/ReleaseSearchQuery.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>

using Server = MusicBrainzTestServer;
using Answer = MusicBrainzClient::Answer;
Q_DECLARE_METATYPE(MusicBrainzTestServer::Answer)
Q_DECLARE_METATYPE(MusicBrainzClient::Answer)
Q_DECLARE_METATYPE(ReleaseSearchQuery)
using Texts = QHash<QString, QString>;
using NumberedTexts = QHash<int, QString>;

// Release searches, release lookups and the Discogs mapping against a server thread on
// 127.0.0.1 replaying real answers of the service; the facts each answer must give are those
// search/expected.json lists beside them.
class TestReleaseSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void searchAnswersGiveTheirFacts_data();
    void searchAnswersGiveTheirFacts();
    void queriesReachTheServiceEscaped_data();
    void queriesReachTheServiceEscaped();
    void refusedQueriesSendNothing_data();
    void refusedQueriesSendNothing();
    void releasesGiveTheirFacts_data();
    void releasesGiveTheirFacts();
    void badAnswersEndInAMessage_data();
    void badAnswersEndInAMessage();
    void discogsReleaseToMusicBrainz_data();
    void discogsReleaseToMusicBrainz();
    void fillTakesOnlyWhatIsMissing();

private:
    QTemporaryDir m_folder;
    QJsonArray m_cases;
};

namespace
{

const QString fiveId = QStringLiteral("f1223d63-f359-457d-b935-fc27eb24a6de");

QByteArray searchData(const QString& file)
{
    return Server::testData(QStringLiteral("search/") + file);
}

QString text(const QJsonValue& value)
{
    return value.toString();
}

// The query parameter as the service decodes it: "+" is a blank there.
QString decodedQuery(const QByteArray& target)
{
    const QByteArray query = target.mid(target.indexOf('?') + 1);
    for (const QByteArray& pair : query.split('&')) {
        if (pair.startsWith("query="))
            return QUrl::fromPercentEncoding(pair.mid(6).replace('+', ' '));
    }
    return QString();
}

// A release answer of `count` tracks on one digital medium.
QByteArray releaseOfTracks(int count, const QString& title = QStringLiteral("Track"))
{
    QJsonArray tracks;
    for (int i = 1; i <= count; ++i)
        tracks.append(QJsonObject{{QStringLiteral("number"), QString::number(i)},
                                  {QStringLiteral("title"), title},
                                  {QStringLiteral("length"), 1000 * i}});
    const QJsonObject medium{{QStringLiteral("format"), QStringLiteral("Digital Media")},
                             {QStringLiteral("tracks"), tracks}};
    const QJsonObject release{{QStringLiteral("id"), fiveId},
                              {QStringLiteral("title"), title},
                              {QStringLiteral("media"), count ? QJsonArray{medium} : QJsonArray()}};
    return QJsonDocument(release).toJson(QJsonDocument::Compact);
}

MusicBrainzClient clientFor(const Server& server)
{
    MusicBrainzClient client(*LookupSettings::musicBrainzAddress(server.setting()));
    client.setRequestTimeout(std::chrono::seconds(5));
    return client;
}

} // namespace

void TestReleaseSearch::initTestCase()
{
    QVERIFY(m_folder.isValid());
    AppPaths::setDataDirectory(m_folder.filePath(QStringLiteral("data")));
    RateGate::musicBrainz().setInterval(std::chrono::milliseconds(10));
    m_cases = QJsonDocument::fromJson(searchData(QStringLiteral("expected.json")))
                  .object()
                  .value(QStringLiteral("cases"))
                  .toArray();
    QCOMPARE(m_cases.size(), 10);
}

void TestReleaseSearch::searchAnswersGiveTheirFacts_data()
{
    QTest::addColumn<QJsonObject>("facts");
    // Formats as the service's pages show them, for candidates where their joining matters.
    QTest::addColumn<Texts>("formats");
    QHash<QString, QHash<QString, QString>> formats{
        {"mb_search_barcode_4582515778491.json", {{fiveId, "CD + Blu-ray"}}},
        {"mb_search_schneider_shake_12in_vinyl.json",
         {{"62d1c4ef-fc00-37af-8df7-485f6a31fcc4", "12\" Vinyl"}}},
        {"mb_search_fleetwood_mac_100_results.json", {}}};
    for (const QJsonValue& value : qAsConst(m_cases)) {
        const QJsonObject facts = value.toObject();
        if (text(facts.value(QStringLiteral("kind"))) != QLatin1String("mb_release_search"))
            continue;
        const QString file = text(facts.value(QStringLiteral("file")));
        QTest::newRow(qPrintable(file)) << facts << formats.value(file);
    }
}

// Every candidate of the answer with the facts the answer holds; a value the answer lacks is
// empty, "[none]" is no catalogue number.
void TestReleaseSearch::searchAnswersGiveTheirFacts()
{
    QFETCH(QJsonObject, facts);
    QFETCH(Texts, formats);
    const QByteArray body = searchData(text(facts.value(QStringLiteral("file"))));
    Server server([&](const QByteArray&) { return Server::json(body); });
    MusicBrainzClient client = clientFor(server);
    QVector<ReleaseCandidate> candidates;
    QCOMPARE(
        client.searchReleases(ReleaseSearchQuery::catalogNumber(QStringLiteral("x")), candidates),
        Answer::Found);

    const QJsonArray expected = facts.value(QStringLiteral("expect"))
                                    .toObject()
                                    .value(QStringLiteral("candidates"))
                                    .toArray();
    QCOMPARE(candidates.size(), expected.size());
    QStringList seenFormats;
    for (int i = 0; i < expected.size(); ++i) {
        const QJsonObject want = expected[i].toObject();
        const ReleaseCandidate& got = candidates[i];
        const QJsonObject label = want.value(QStringLiteral("labels")).toArray().at(0).toObject();
        QString number = text(label.value(QStringLiteral("catalog_number")));
        if (number == QLatin1String("[none]"))
            number.clear();
        QCOMPARE((QStringList{got.id, got.title, got.artist, got.date, got.country, got.barcode,
                              got.label, got.catalogNumber}),
                 (QStringList{text(want.value(QStringLiteral("id"))),
                              text(want.value(QStringLiteral("title"))),
                              text(want.value(QStringLiteral("artist_credit"))),
                              text(want.value(QStringLiteral("date"))),
                              text(want.value(QStringLiteral("country"))),
                              text(want.value(QStringLiteral("barcode"))),
                              text(label.value(QStringLiteral("name"))), number}));
        QCOMPARE(got.trackCount, want.value(QStringLiteral("track_count")).toInt());
        QCOMPARE(got.score, want.value(QStringLiteral("score")).toInt());
        if (formats.contains(got.id))
            QCOMPARE(got.formats, formats.value(got.id));
        seenFormats << got.formats;
    }
    if (expected.size() == 100) {
        // Repeated formats counted, mixed ones joined, a release without any format has none.
        for (const char* shown : {"2×12\" Vinyl", "6×CD", "5×Digital Media", ""})
            QVERIFY2(seenFormats.contains(QString::fromUtf8(shown)), shown);
    }
}

void TestReleaseSearch::queriesReachTheServiceEscaped_data()
{
    QTest::addColumn<ReleaseSearchQuery>("query");
    QTest::addColumn<QString>("lucene");
    QTest::newRow("barcode with a leading zero")
        << ReleaseSearchQuery::barcode(QStringLiteral("07599251581")) << "barcode:07599251581";
    QTest::newRow("EAN-8") << ReleaseSearchQuery::barcode(QStringLiteral(" 96385074 "))
                           << "barcode:96385074";
    QTest::newRow("catalogue number")
        << ReleaseSearchQuery::catalogNumber(QStringLiteral("BAD VC CD 3"))
        << "catno:\"BAD VC CD 3\"";
    QTest::newRow("every special character")
        << ReleaseSearchQuery::artistAndTitle(QStringLiteral("C+C && Co || (x)"),
                                              QStringLiteral("AC/DC: \"Live\" {1} [2] ^~*?!\\-"))
        << "release:\"AC\\/DC\\: \\\"Live\\\" \\{1\\} \\[2\\] \\^\\~\\*\\?\\!\\\\\\-\" AND "
           "artist:\"C\\+C \\&\\& Co \\|\\| \\(x\\)\"";
    QTest::newRow("scanned barcode in the search box")
        << ReleaseSearchQuery::fromSearchText(QStringLiteral("0 75992 51581 8"))
        << "barcode:075992515818";
    QTest::newRow("artist - title in the search box")
        << ReleaseSearchQuery::fromSearchText(QStringLiteral("Schneider TM - Shake"))
        << "release:\"Shake\" AND artist:\"Schneider TM\"";
    QTest::newRow("anything else in the search box")
        << ReleaseSearchQuery::fromSearchText(QStringLiteral("CR-34"))
        << "catno:\"CR\\-34\" OR release:\"CR\\-34\"";
}

// What the service decodes from the request is the query built, whatever the text held.
void TestReleaseSearch::queriesReachTheServiceEscaped()
{
    QFETCH(ReleaseSearchQuery, query);
    QFETCH(QString, lucene);
    QVERIFY2(query.isValid(), qPrintable(query.error()));
    QCOMPARE(query.lucene(), lucene);
    Server server([](const QByteArray&) {
        return Server::json(searchData(QStringLiteral("mb_search_barcode_4582515778491.json")));
    });
    MusicBrainzClient client = clientFor(server);
    QVector<ReleaseCandidate> candidates;
    QCOMPARE(client.searchReleases(query, candidates), Answer::Found);
    const QByteArray target = server.requests().value(0).target;
    QVERIFY2(target.startsWith("/ws/2/release?query="), target.constData());
    QVERIFY2(target.endsWith("&fmt=json&limit=25"), target.constData());
    QCOMPARE(decodedQuery(target), lucene);
}

void TestReleaseSearch::refusedQueriesSendNothing_data()
{
    QTest::addColumn<ReleaseSearchQuery>("query");
    QTest::addColumn<QString>("error");
    QTest::newRow("empty barcode") << ReleaseSearchQuery::barcode(QStringLiteral(" "))
                                   << "Nothing to search for: the barcode is empty.";
    QTest::newRow("barcode with letters")
        << ReleaseSearchQuery::barcode(QStringLiteral("45825157784A1"))
        << "'45825157784A1' is not a barcode: a barcode is 8 to 14 digits.";
    QTest::newRow("7 digits") << ReleaseSearchQuery::barcode(QStringLiteral("1234567"))
                              << "'1234567' is not a barcode: a barcode is 8 to 14 digits.";
    QTest::newRow("blank catalogue number")
        << ReleaseSearchQuery::catalogNumber(QStringLiteral("\t\n"))
        << "Nothing to search for: the catalogue number is empty.";
    QTest::newRow("artist without title")
        << ReleaseSearchQuery::artistAndTitle(QStringLiteral("Fleetwood Mac"), QString())
        << "Nothing to search for: the title is empty.";
    QTest::newRow("10 000 characters")
        << ReleaseSearchQuery::fromSearchText(QString(10000, QLatin1Char('x')))
        << "The search text is longer than 200 characters; nothing was searched.";
}

void TestReleaseSearch::refusedQueriesSendNothing()
{
    QFETCH(ReleaseSearchQuery, query);
    QFETCH(QString, error);
    QVERIFY(!query.isValid());
    Server server([](const QByteArray&) { return Server::json("{\"releases\":[]}"); });
    MusicBrainzClient client = clientFor(server);
    QVector<ReleaseCandidate> candidates;
    QCOMPARE(client.searchReleases(query, candidates), Answer::Failed);
    QCOMPARE(client.lastError(), error);
    QVERIFY(server.requests().isEmpty());
}

void TestReleaseSearch::releasesGiveTheirFacts_data()
{
    QTest::addColumn<QJsonObject>("facts");
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("length");
    // Notes of chosen tracks: the printed side number, the heading of a further medium.
    QTest::addColumn<NumberedTexts>("notes");
    const QHash<QString, int> years{{"mb_release_f1223d63_five_cd_bluray.json", 2026},
                                    {"mb_release_21a03203_ship_scope_12in_vinyl.json", 2001},
                                    {"mb_release_a99c577f_death_in_june_cd_dvd.json", 2006},
                                    {"mb_release_b1dc9838_various_artists_cd.json", 0},
                                    {"mb_release_be3a32ec_bach_perahia_cd.json", 2001}};
    const QHash<QString, QHash<int, QString>> notes{
        {"mb_release_f1223d63_five_cd_bluray.json",
         {{1, "Disc 1 (CD)"}, {2, ""}, {3, "Disc 2 (Blu-ray)"}}},
        {"mb_release_21a03203_ship_scope_12in_vinyl.json", {{1, "A1"}, {4, "B"}}},
        {"mb_release_a99c577f_death_in_june_cd_dvd.json",
         {{1, "Disc 1 (CD)"}, {2, ""}, {12, "Disc 2: Live at the Fridge 1982 (DVD)"}}}};
    for (const QJsonValue& value : qAsConst(m_cases)) {
        const QJsonObject facts = value.toObject();
        if (text(facts.value(QStringLiteral("kind"))) != QLatin1String("mb_release_lookup"))
            continue;
        const QString file = text(facts.value(QStringLiteral("file")));
        // The sum of the lengths known, rounded to whole seconds track by track.
        int seconds = 0;
        for (const QJsonValue& medium : facts.value(QStringLiteral("expect"))
                                            .toObject()
                                            .value(QStringLiteral("media"))
                                            .toArray())
            for (const QJsonValue& track :
                 medium.toObject().value(QStringLiteral("tracks")).toArray())
                seconds +=
                    qRound(track.toObject().value(QStringLiteral("length_ms")).toDouble() / 1000);
        QTest::newRow(qPrintable(file))
            << facts << years.value(file)
            << (seconds ? QString::asprintf("%02d:%02d", seconds / 60, seconds % 60) : QString())
            << notes.value(file);
    }
}

// The whole release through the lookup: every medium, tracks numbered across them, each track's
// own title, length and differing credit, and nothing the answer does not hold.
void TestReleaseSearch::releasesGiveTheirFacts()
{
    QFETCH(QJsonObject, facts);
    QFETCH(int, year);
    QFETCH(QString, length);
    QFETCH(NumberedTexts, notes);
    const QJsonObject want = facts.value(QStringLiteral("expect")).toObject();
    const QString id = text(want.value(QStringLiteral("id")));
    const QByteArray body = searchData(text(facts.value(QStringLiteral("file"))));
    Server server([&](const QByteArray&) { return Server::json(body); });
    MusicBrainzClient client = clientFor(server);
    MusicBrainzRelease::Fill fill;
    QCOMPARE(client.lookupRelease(id.toUpper(), fill), Answer::Found);
    QCOMPARE(server.requests().value(0).target,
             "/ws/2/release/" + id.toLatin1() +
                 "?inc=artist-credits+labels+recordings+release-groups&fmt=json");

    const AlbumRecord& album = fill.album;
    const QJsonObject label = want.value(QStringLiteral("labels")).toArray().at(0).toObject();
    QCOMPARE((QStringList{fill.releaseId, fill.barcode, album.artist, album.title, album.label,
                          album.labelNumber, album.length}),
             (QStringList{id, text(want.value(QStringLiteral("barcode"))),
                          text(want.value(QStringLiteral("artist_credit"))),
                          text(want.value(QStringLiteral("title"))),
                          text(label.value(QStringLiteral("name"))),
                          text(label.value(QStringLiteral("catalog_number"))), length}));
    QCOMPARE(album.year, year);
    QCOMPARE(int(fill.tracks.size()), want.value(QStringLiteral("track_count_total")).toInt());
    int number = 0;
    for (const QJsonValue& medium : want.value(QStringLiteral("media")).toArray()) {
        for (const QJsonValue& value :
             medium.toObject().value(QStringLiteral("tracks")).toArray()) {
            const QJsonObject track = value.toObject();
            const TrackRecord& got = *fill.tracks[number++];
            QCOMPARE(got.trackNumber, number);
            QCOMPARE(got.title, text(track.value(QStringLiteral("title"))));
            QCOMPARE(got.artist, text(track.value(QStringLiteral("artist_credit"))));
            const QJsonValue ms = track.value(QStringLiteral("length_ms"));
            QCOMPARE(got.length.isEmpty(), ms.isNull());
            if (notes.contains(number))
                QCOMPARE(got.notes, notes.value(number));
        }
    }
}

void TestReleaseSearch::badAnswersEndInAMessage_data()
{
    QTest::addColumn<Server::Answer>("answer");
    QTest::addColumn<Answer>("outcome");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("requests");

    const QByteArray release =
        searchData(QStringLiteral("mb_release_f1223d63_five_cd_bluray.json"));
    Server::Answer html = Server::json("<html><body>Sorry</body></html>");
    html.contentType = "text/html";
    Server::Answer truncated = Server::json(release);
    truncated.delivery = Server::Delivery::Truncated;
    Server::Answer huge = Server::json("{\"media\":[" + QByteArray(10 * 1024 * 1024, ' ') + "]}");
    huge.delivery = Server::Delivery::NoLength;
    Server::Answer silent;
    silent.delivery = Server::Delivery::Silent;
    const QString notARelease = QStringLiteral("MusicBrainz sent something that is not a release.");

    QTest::newRow("html") << html << Answer::Failed << notARelease << 1;
    QTest::newRow("truncated") << truncated << Answer::Failed
                               << "MusicBrainz's answer broke off: try again." << 1;
    QTest::newRow("cut JSON") << Server::json(release.left(release.size() / 2)) << Answer::Failed
                              << notARelease << 1;
    QTest::newRow("10 MB") << huge << Answer::Failed
                           << "MusicBrainz's answer was larger than 4 MB and was not read." << -1;
    QTest::newRow("no media") << Server::json(releaseOfTracks(0)) << Answer::Failed
                              << "MusicBrainz lists no tracks for this release." << 1;
    QTest::newRow("1000 tracks")
        << Server::json(releaseOfTracks(1000)) << Answer::Failed
        << "The release has 1000 tracks, more than an album here can take (999); nothing was "
           "filled."
        << 1;
    QTest::newRow("500 tracks, a real box set's size")
        << Server::json(releaseOfTracks(500)) << Answer::Found << QString() << 1;
    QTest::newRow("control characters")
        << Server::json(releaseOfTracks(1, QStringLiteral("Line\nfeed\u0007"))) << Answer::Found
        << QString() << 1;
    QTest::newRow("unknown release")
        << Server::json(searchData("mb_url_example_com_404.json"), 404) << Answer::NotFound
        << "MusicBrainz has no release " + fiveId + "." << 1;
    QTest::newRow("503 forever") << Server::json("", 503) << Answer::Failed
                                 << "MusicBrainz is busy (HTTP 503): try again in a minute." << 3;
    QTest::newRow("server error") << Server::json("", 500) << Answer::Failed
                                  << "MusicBrainz answered with an error (HTTP 500)." << 1;
    QTest::newRow("never answers")
        << silent << Answer::Failed << "MusicBrainz did not answer in time." << 1;
}

// Each ends with a line that says what happened and nothing filled; what is accepted is clean.
void TestReleaseSearch::badAnswersEndInAMessage()
{
    QFETCH(Server::Answer, answer);
    QFETCH(Answer, outcome);
    QFETCH(QString, error);
    QFETCH(int, requests);
    Server server([&](const QByteArray&) { return answer; });
    MusicBrainzClient client = clientFor(server);
    client.setRequestTimeout(std::chrono::seconds(2));
    MusicBrainzRelease::Fill fill;
    QCOMPARE(client.lookupRelease(fiveId, fill), outcome);
    QCOMPARE(client.lastError(), error);
    // -1: a reply cut off at the cap may make the network layer send the same request again on
    // a slow machine, which is no retry of the client's.
    if (requests >= 0)
        QCOMPARE(server.requests().size(), requests);
    else
        QVERIFY(!server.requests().isEmpty());
    if (outcome != Answer::Found) {
        QVERIFY(fill.releaseId.isEmpty() && fill.tracks.empty());
        return;
    }
    QCOMPARE(fill.tracks.back()->trackNumber, int(fill.tracks.size()));
    for (const auto& track : fill.tracks)
        QVERIFY(!track->title.contains(QRegularExpression(QStringLiteral("[\\x00-\\x1f]"))));
}

void TestReleaseSearch::discogsReleaseToMusicBrainz_data()
{
    QTest::addColumn<Server::Answer>("answer");
    QTest::addColumn<Answer>("outcome");
    QTest::addColumn<QString>("releaseId");
    QTest::addColumn<QString>("error");
    const QString notOn = QStringLiteral("Discogs release 12620800 is not on MusicBrainz.");
    QTest::newRow("linked") << Server::json(searchData("mb_url_discogs_release_12620800.json"))
                            << Answer::Found << "06ac3e39-54fb-46eb-b40b-9345b7d2a23d" << QString();
    QTest::newRow("unknown URL") << Server::json(searchData("mb_url_example_com_404.json"), 404)
                                 << Answer::NotFound << QString() << notOn;
    QTest::newRow("URL without releases")
        << Server::json("{\"id\":\"5ebeb411-a4c4-49e3-a3e2-d3c3f7454c88\",\"relations\":[]}")
        << Answer::NotFound << QString() << notOn;
    QTest::newRow("busy") << Server::json("", 503) << Answer::Failed << QString()
                          << "MusicBrainz is busy (HTTP 503): try again in a minute.";
}

void TestReleaseSearch::discogsReleaseToMusicBrainz()
{
    QFETCH(Server::Answer, answer);
    QFETCH(Answer, outcome);
    QFETCH(QString, releaseId);
    QFETCH(QString, error);
    Server server([&](const QByteArray&) { return answer; });
    MusicBrainzClient client = clientFor(server);
    QString found;
    QCOMPARE(client.releaseOfDiscogs(12620800, found), outcome);
    QCOMPARE(found, releaseId);
    QCOMPARE(client.lastError(), error);
    QCOMPARE(server.requests().value(0).target,
             QByteArray("/ws/2/url?resource=https%3A%2F%2Fwww.discogs.com%2Frelease%2F12620800"
                        "&inc=release-rels&fmt=json"));
}

// What the collector entered stays; what is missing comes from the release, the cover only
// where the album has none.
void TestReleaseSearch::fillTakesOnlyWhatIsMissing()
{
    Server server(Server::releaseWithCover(
        QStringLiteral("search/mb_release_21a03203_ship_scope_12in_vinyl.json")));
    LookupSettings settings;
    settings.musicBrainzServer = LookupSettings::musicBrainzAddress(server.setting());
    settings.coverArtServer = LookupSettings::coverArtAddress(server.setting());
    MusicBrainzRelease::Fill fill;
    QString error;
    QCOMPARE(ReleaseLookup::lookUp(QStringLiteral("21a03203-91a4-4948-ae1e-2d0977f1bdbc"), settings,
                                   true, fill, &error),
             Answer::Found);
    QVERIFY(fill.album.frontImage.endsWith(
        QLatin1String("covers/21a03203-91a4-4948-ae1e-2d0977f1bdbc-front.jpg")));

    AlbumRecord album;
    album.artist = QStringLiteral("Atobe");
    album.title = QStringLiteral("Ship-Scope");
    album.labelNumber = QStringLiteral("CR 34");
    QCOMPARE(ReleaseLookup::fillEmptyFields(album, fill.album), 5);
    QCOMPARE((QStringList{album.artist, album.title, album.label, album.labelNumber, album.length,
                          album.frontImage, album.musicBrainzReleaseId}),
             (QStringList{"Atobe", "Ship-Scope", "Chain Reaction", "CR 34", "18:52",
                          fill.album.frontImage, "21a03203-91a4-4948-ae1e-2d0977f1bdbc"}));
    QCOMPARE(album.year, 2001);
    album.year = 1999;
    QCOMPARE(ReleaseLookup::fillEmptyFields(album, fill.album), 0);
    QCOMPARE(album.year, 1999);

    ReleaseLookup::lookUp(QStringLiteral("21a03203-91a4-4948-ae1e-2d0977f1bdbc"), settings, false,
                          fill, &error);
    QVERIFY(fill.album.frontImage.isEmpty());
    QCOMPARE(server.requests().size(), 3);
}

QTEST_GUILESS_MAIN(TestReleaseSearch)
#include "TestReleaseSearch.moc"
