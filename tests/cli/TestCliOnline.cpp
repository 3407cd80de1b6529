#include "musicbrainz/MusicBrainzTestServer.h"
#include "support/TestCatalog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

using Server = MusicBrainzTestServer;
Q_DECLARE_METATYPE(MusicBrainzTestServer::Answer)

// The companion's online commands as a process, against a server thread on 127.0.0.1 standing
// in for MusicBrainz and the Cover Art Archive with real answers of the service.
class TestCliOnline : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void searchOnline_data();
    void searchOnline();
    void searchOnlineRefuses_data();
    void searchOnlineRefuses();
    void fillCompletesAnAlbum();
    void fillFailures_data();
    void fillFailures();
    void completeImportedAlbums();

private:
    struct Result {
        int exitCode;
        QString out;
        QString err;
    };
    Result run(const QStringList& arguments);
    int addAlbum(const QString& catalogue);

    TestCatalog m_files;
};

namespace
{

const QString shipScope = QStringLiteral("21a03203-91a4-4948-ae1e-2d0977f1bdbc");

QByteArray searchData(const char* file)
{
    return Server::testData(QStringLiteral("search/") + QLatin1String(file));
}

// The query parameter as the service decodes it.
QString decodedQuery(const QByteArray& target)
{
    const int start = target.indexOf("query=") + 6;
    QByteArray value = target.mid(start, target.indexOf('&', start) - start);
    return QUrl::fromPercentEncoding(value.replace('+', ' '));
}

} // namespace

void TestCliOnline::initTestCase()
{
    QVERIFY(m_files.isValid());
}

TestCliOnline::Result TestCliOnline::run(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       m_files.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_files.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    process.start(TestCatalog::programDirectory() + QLatin1String("/tunvale-cli"), arguments);
    if (!process.waitForFinished(60000))
        return {-1, QString(), QStringLiteral("timed out")};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// An album as a Discogs import leaves it: artist, title and a catalogue number typed its own way.
int TestCliOnline::addAlbum(const QString& catalogue)
{
    const QString json = m_files.filePath(QStringLiteral("album.json"));
    QFile file(json);
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    file.write(
        R"({"artist_name": "Shinichi Atobe", "title": "Ship-Scope", "labelnumber": "CR 34"})");
    file.close();
    return run({QStringLiteral("add"), catalogue, json}).out.trimmed().toInt();
}

void TestCliOnline::searchOnline_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("lucene");
    QTest::addColumn<QJsonObject>("first"); // empty: no candidate
    QTest::newRow("barcode") << QStringList{"--barcode", "4582515778491"}
                             << searchData("mb_search_barcode_4582515778491.json")
                             << "barcode:4582515778491"
                             << QJsonObject{{"id", "f1223d63-f359-457d-b935-fc27eb24a6de"},
                                            {"title", "Five"},
                                            {"artist", "嵐"},
                                            {"date", "2026-05-31"},
                                            {"country", "JP"},
                                            {"barcode", "4582515778491"},
                                            {"formats", "CD + Blu-ray"},
                                            {"track_count", 3},
                                            {"label", "Storm Labels"},
                                            {"catalog_number", "LCNC-0097"},
                                            {"score", 100}};
    QTest::newRow("artist and title")
        << QStringList{"--artist", "AC/DC", "--title", "AC/DC: \"Live\""}
        << searchData("mb_search_schneider_shake_12in_vinyl.json")
        << "release:\"AC\\/DC\\: \\\"Live\\\"\" AND artist:\"AC\\/DC\""
        << QJsonObject{{"id", "62d1c4ef-fc00-37af-8df7-485f6a31fcc4"},
                       {"title", "Fred Schneider & The Shake Society"},
                       {"artist", "Fred Schneider"},
                       {"date", "1984"},
                       {"country", "US"},
                       {"barcode", "07599251581"},
                       {"formats", "12\" Vinyl"},
                       {"track_count", 9},
                       {"label", "Warner Bros. Records"},
                       {"catalog_number", "1-25158"},
                       {"score", 100}};
    QTest::newRow("catalogue number, nothing found")
        << QStringList{"--catno", "CR-34"} << QByteArray(R"({"count":0,"releases":[]})")
        << "catno:\"CR\\-34\"" << QJsonObject();
}

void TestCliOnline::searchOnline()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, answer);
    QFETCH(QString, lucene);
    QFETCH(QJsonObject, first);
    Server server([&](const QByteArray&) { return Server::json(answer); });
    const Result search =
        run(QStringList{"search-online", "--musicbrainz-server", server.setting()} + options);
    QCOMPARE(search.exitCode, 0);
    QCOMPARE(server.requests().size(), 1);
    QCOMPARE(decodedQuery(server.requests().first().target), lucene);
    const QJsonArray candidates = QJsonDocument::fromJson(search.out.toUtf8()).array();
    QCOMPARE(candidates.size(), first.isEmpty() ? 0 : 1);
    if (first.isEmpty()) {
        QCOMPARE(search.err, "tunvale-cli: MusicBrainz knows no release for " + lucene + ".\n");
        return;
    }
    QCOMPARE(candidates.first().toObject(), first);
    QVERIFY(search.err.isEmpty());
}

void TestCliOnline::searchOnlineRefuses_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // the first line of standard error
    QTest::addColumn<int>("requests");
    const QString oneWay = QStringLiteral("tunvale-cli: search-online: give --barcode, --catno, "
                                          "or --artist with --title (one of them)");
    QTest::newRow("barcode with letters")
        << QStringList{"--barcode", "45825157784A1"} << 2
        << "tunvale-cli: '45825157784A1' is not a barcode: a barcode is 8 to 14 digits." << 0;
    QTest::newRow("two ways at once")
        << QStringList{"--barcode", "4582515778491", "--catno", "LCNC-0097"} << 2 << oneWay << 0;
    QTest::newRow("artist alone") << QStringList{"--artist", "Arashi"} << 2 << oneWay << 0;
    QTest::newRow("nothing") << QStringList{} << 2 << oneWay << 0;
    QTest::newRow("service busy")
        << QStringList{"--catno", "LCNC-0097"} << 1
        << "tunvale-cli: MusicBrainz is busy (HTTP 503): try again in a minute." << 3;
}

void TestCliOnline::searchOnlineRefuses()
{
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(int, requests);
    Server server([](const QByteArray&) { return Server::json("", 503); });
    const Result search =
        run(QStringList{"search-online", "--musicbrainz-server", server.setting()} + options);
    QCOMPARE(search.exitCode, exitCode);
    QCOMPARE(search.err.section(QLatin1Char('\n'), 0, 0), message);
    QVERIFY(search.out.isEmpty());
    QCOMPARE(server.requests().size(), requests);
}

// The typed catalogue number stays, the rest comes from the release with its tracks and cover;
// a second fill finds nothing left to add.
void TestCliOnline::fillCompletesAnAlbum()
{
    const QString catalogue = m_files.copyOfTemplate(QStringLiteral("fill.muf"));
    const int id = addAlbum(catalogue);
    QVERIFY(id > 0);
    Server server(Server::releaseWithCover(
        QStringLiteral("search/mb_release_21a03203_ship_scope_12in_vinyl.json")));
    QSettings settings(m_files.filePath(QStringLiteral("config/Quillon/Tunvale.conf")),
                       QSettings::IniFormat);
    settings.setValue(QStringLiteral("Vastry/Settings/CoverArtServer"), server.setting());
    settings.sync();
    const QStringList fill{"fill",          catalogue, QString::number(id),
                           "--release",     shipScope, "--musicbrainz-server",
                           server.setting()};

    const Result first = run(fill);
    QCOMPARE(first.exitCode, 0);
    QVERIFY2(first.err.isEmpty(), qPrintable(first.err));
    const QJsonObject album = QJsonDocument::fromJson(first.out.toUtf8()).object();
    QCOMPARE(album.value("labelnumber").toString(), QStringLiteral("CR 34"));
    QCOMPARE(album.value("label_name").toString(), QStringLiteral("Chain Reaction"));
    QCOMPARE(album.value("year").toInt(), 2001);
    QCOMPARE(album.value("length").toString(), QStringLiteral("18:52"));
    QCOMPARE(album.value("musicbrainz_release_id").toString(), shipScope);
    QVERIFY2(album.value("frontimage").toString().endsWith("/covers/" + shipScope + "-front.jpg"),
             qPrintable(album.value("frontimage").toString()));
    QStringList tracks;
    for (const QJsonValue& track : album.value("tracks").toArray())
        tracks << QStringLiteral("%1 %2 %3")
                      .arg(track.toObject().value("tracknumber").toInt())
                      .arg(track.toObject().value("notes").toString(),
                           track.toObject().value("length").toString());
    QCOMPARE(tracks, (QStringList{"1 A1 03:27", "2 A2 04:49", "3 A3 01:37", "4 B 08:59"}));
    QCOMPARE(server.requests().size(), 2);

    const Result second = run(fill);
    QCOMPARE(second.exitCode, 0);
    QCOMPARE(second.out, first.out);
    // The album has its cover now: only the release was asked for.
    QCOMPARE(server.requests().size(), 3);
}

void TestCliOnline::fillFailures_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<Server::Answer>("answer");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("requests");
    QTest::newRow("unknown release")
        << QStringList{"--release", shipScope}
        << Server::json(searchData("mb_url_example_com_404.json"), 404) << 1
        << "tunvale-cli: MusicBrainz has no release " + shipScope + ". Nothing was changed." << 1;
    QTest::newRow("no tracks")
        << QStringList{"--release", shipScope, "--no-cover"}
        << Server::json(R"({"id":"21a03203-91a4-4948-ae1e-2d0977f1bdbc","media":[]})") << 1
        << "tunvale-cli: MusicBrainz lists no tracks for this release. Nothing was changed." << 1;
    QTest::newRow("no release id")
        << QStringList{"--release", "../../etc"} << Server::json("{}") << 2
        << "tunvale-cli: --release '../../etc' is not a MusicBrainz "
           "release id."
        << 0;
    QTest::newRow("release option missing") << QStringList{} << Server::json("{}") << 2
                                            << "tunvale-cli: fill: --release MBID is missing" << 0;
}

// The album stays as it was.
void TestCliOnline::fillFailures()
{
    QFETCH(QStringList, options);
    QFETCH(Server::Answer, answer);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(int, requests);
    const QString catalogue = m_files.copyOfTemplate(QStringLiteral("failures.muf"));
    const int id = addAlbum(catalogue);
    const QStringList show{"show", catalogue, QString::number(id)};
    const QString before = run(show).out;
    Server server([&](const QByteArray&) { return answer; });
    const Result fill = run(QStringList{"fill", catalogue, QString::number(id),
                                        "--musicbrainz-server", server.setting()} +
                            options);
    QCOMPARE(fill.exitCode, exitCode);
    QCOMPARE(fill.err.section(QLatin1Char('\n'), 0, 0), message);
    QCOMPARE(server.requests().size(), requests);
    QCOMPARE(run(show).out, before);
}

// A Discogs import completed from the command line: a dry run changes nothing, the real run
// fills the album MusicBrainz knows, a second one finds only the unknown one left, and a
// service that fails makes the exit code say so.
void TestCliOnline::completeImportedAlbums()
{
    const QString catalogue = m_files.copyOfTemplate(QStringLiteral("complete.muf"));
    const QString csv = m_files.filePath(QStringLiteral("collection.csv"));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "Catalog#,Artist,Title,Label,Format,Rating,Released,release_id,CollectionFolder,"
        "Date Added,Collection Media Condition,Collection Sleeve Condition,Collection "
        "Notes\r\n"
        "CR 34,Shinichi Atobe,Ship-Scope,Chain Reaction,12\",,2001,12620800,"
        "Uncategorized,2020-01-02 03:04:05,,,\r\n"
        "X 2,Someone,Unknown,Label,LP,,1999,404404,Uncategorized,2020-01-02 03:04:05,,,\r\n");
    file.close();
    QCOMPARE(run({"import", catalogue, csv, "--format", "discogs"}).exitCode, 0);
    Server server(Server::discogsReleases(
        QStringLiteral("search/mb_release_21a03203_ship_scope_12in_vinyl.json"), {"404404"}));
    QSettings settings(m_files.filePath(QStringLiteral("config/Quillon/Tunvale.conf")),
                       QSettings::IniFormat);
    settings.setValue(QStringLiteral("Vastry/Settings/CoverArtServer"), server.setting());
    settings.sync();
    const QStringList complete{"complete", catalogue, "--musicbrainz-server", server.setting()};
    const auto tracksOf = [&](const char* id) {
        const Result show = run({"show", catalogue, id});
        return QJsonDocument::fromJson(show.out.toUtf8()).object().value("tracks").toArray().size();
    };

    const Result dryRun = run(complete + QStringList{"--dry-run"});
    QCOMPARE(dryRun.exitCode, 0);
    QCOMPARE(dryRun.out, QStringLiteral("1 album would be completed, 1 not on MusicBrainz, 0 "
                                        "failed, 0 skipped.\nWould be completed: 1\n"));
    QCOMPARE(tracksOf("1"), 0);

    const Result first = run(complete);
    QCOMPARE(first.exitCode, 0);
    QCOMPARE(first.out,
             QStringLiteral("1 album completed, 1 not on MusicBrainz, 0 failed, 0 skipped.\n"));
    QVERIFY2(first.err.startsWith("0/2 albums"), qPrintable(first.err));
    QCOMPARE(tracksOf("1"), 4);
    QCOMPARE(tracksOf("2"), 0);

    const Result second = run(complete);
    QCOMPARE(second.out,
             QStringLiteral("0 albums completed, 1 not on MusicBrainz, 0 failed, 0 skipped.\n"));
    QCOMPARE(tracksOf("1"), 4);

    Server broken([](const QByteArray&) { return Server::json("", 500); });
    const Result failed =
        run({"complete", catalogue, "2", "--musicbrainz-server", broken.setting()});
    QCOMPARE(failed.exitCode, 1);
    QVERIFY2(failed.out.contains("1 failed") && failed.out.contains("album 2: "),
             qPrintable(failed.out));
}

QTEST_GUILESS_MAIN(TestCliOnline)
#include "TestCliOnline.moc"
