#include "freedb/CdDrives.h"
#include "freedb/CddbTestServer.h"
#include "freedb/DiscImage.h"
#include "freedb/FreedbTestData.h"
#include "musicbrainz/MusicBrainzTestServer.h"
#include "support/TestCatalog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QtTest>

// The companion's CD commands as a process: a disc image read by libcdio, a CDDB server thread
// on 127.0.0.1 and saved read replies.
class TestCliFreedb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void drivesListsWhatThereIs();
    void discIdOfAnImage();
    void discIdOfSomethingThatIsNoDisc();
    void lookupAtALocalServer();
    void lookupFailures_data();
    void lookupFailures();
    void lookupAtMusicBrainz_data();
    void lookupAtMusicBrainz();
    void xmcdEntries_data();
    void xmcdEntries();

private:
    struct Result {
        int exitCode;
        QString out;
        QString err;
    };
    Result run(const QStringList& arguments);

    TestCatalog m_files;
    QString m_disc;
};

namespace
{

// The example disc: two audio tracks starting at 150 and 15000, lead-out at 630 seconds.
const QVector<DiscImage::Track> exampleDisc = {{14850}, {32250}};

const QByteArray exampleEntry = "# xmcd\n#\n# Track frame offsets:\n#\t150\n#\t15000\n#\n"
                                "# Disc length: 630 seconds\n#\n# Revision: 2\n"
                                "# Submitted via: tunvale-test 1.0\n#\nDISCID=04027402\n"
                                "DTITLE=Kestrel & Finch / Paper Birds\nDYEAR=2011\nDGENRE=Indie\n"
                                "TTITLE0=Paper\nTTITLE1=Birds \xc3\xa9t\xc3\xa9\nEXTD=\nEXTT0=\n"
                                "EXTT1=\nPLAYORDER=\n";

} // namespace

void TestCliFreedb::initTestCase()
{
    QVERIFY(m_files.isValid());
    m_disc = DiscImage::writeCue(m_files.folder(), QStringLiteral("example"), exampleDisc);
}

TestCliFreedb::Result TestCliFreedb::run(const QStringList& arguments)
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

void TestCliFreedb::drivesListsWhatThereIs()
{
    // The same drives the desktop program offers, one per line (none on most test machines).
    const Result drives = run({QStringLiteral("drives")});
    QCOMPARE(drives.exitCode, 0);
    QCOMPARE(drives.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), EnumerateCdDrives());
}

void TestCliFreedb::discIdOfAnImage()
{
    const Result id = run({QStringLiteral("discid"), m_disc});
    QCOMPARE(id.exitCode, 0);
    QCOMPARE(id.out, QStringLiteral("04027402 2 150+15000 630\nMB fG8HIXROnYps2g8f7XaDx_nuc48-\n"));
}

void TestCliFreedb::discIdOfSomethingThatIsNoDisc()
{
    const QString missing = m_files.filePath(QStringLiteral("missing.cue"));
    const Result id = run({QStringLiteral("discid"), missing});
    QCOMPARE(id.exitCode, 1);
    QVERIFY2(id.err.contains(QStringLiteral("in drive ") + missing), qPrintable(id.err));
    QCOMPARE(id.err.count(QLatin1Char('\n')), 1);
}

void TestCliFreedb::lookupAtALocalServer()
{
    CddbTestServer server([](const QByteArray& request) {
        if (CddbTestServer::requestLine(request).contains("cddb+query"))
            return CddbTestServer::reply("200 misc 04027402 Kestrel & Finch / Paper Birds\r\n");
        return CddbTestServer::reply(FreedbTestData::readReply(exampleEntry, "misc", "04027402"));
    });
    QVERIFY(server.isListening());
    const Result lookup =
        run({QStringLiteral("lookup"), m_disc, QStringLiteral("--server"), server.setting()});
    QCOMPARE(lookup.exitCode, 0);
    QCOMPARE(
        lookup.err,
        QStringLiteral("Computing Disc ID\nPlease wait, retrieving available discs...\nDone\n"));
    const QJsonObject album = QJsonDocument::fromJson(lookup.out.toUtf8()).object();
    QCOMPARE(album.value(QStringLiteral("artist_name")).toString(),
             QStringLiteral("Kestrel & Finch"));
    QCOMPARE(album.value(QStringLiteral("title")).toString(), QStringLiteral("Paper Birds"));
    QCOMPARE(album.value(QStringLiteral("cat_name")).toString(), QStringLiteral("Indie"));
    QCOMPARE(album.value(QStringLiteral("length")).toString(), QStringLiteral("10:30"));
    QCOMPARE(album.value(QStringLiteral("year")).toInt(), 2011);
    QCOMPARE(album.value(QStringLiteral("freedbid")).toString(), QStringLiteral("67269634"));
    const QJsonArray tracks = album.value(QStringLiteral("tracks")).toArray();
    QCOMPARE(tracks.size(), 2);
    QCOMPARE(tracks[1].toObject().value(QStringLiteral("title")).toString(),
             QStringLiteral("Birds été"));
    QCOMPARE(tracks[0].toObject().value(QStringLiteral("length")).toString(),
             QStringLiteral("03:18"));
    QCOMPARE(tracks[1].toObject().value(QStringLiteral("tracknumber")).toInt(), 2);
    const QList<QByteArray> requests = server.requests();
    QCOMPARE(requests.size(), 2);
    const QByteArray query = CddbTestServer::requestLine(requests[0]);
    QVERIFY2(query.startsWith("GET /~cddb/cddb.cgi?cmd=cddb+query+04027402+2+150+15000+630&hello="),
             query.constData());
    QVERIFY(query.endsWith("+Arkivo+5.00&proto=5 HTTP/1.0"));
    QVERIFY(CddbTestServer::requestLine(requests[1])
                .startsWith("GET /~cddb/cddb.cgi?cmd=cddb+read+misc+04027402&hello="));
}

void TestCliFreedb::lookupFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("lastLine");
    QTest::newRow("nothing listens") << "closed"
                                     << "tunvale-cli: No matching discs...\n";
    QTest::newRow("no match") << "202"
                              << "tunvale-cli: No matching discs...\n";
    QTest::newRow("entry rejected") << "broken"
                                    << "tunvale-cli: Unable to get the disc info...\n";
    QTest::newRow("unusable server text")
        << "bad"
        << "tunvale-cli: 'host name:12x' is not a server as host[:port][/path].\n";
}

void TestCliFreedb::lookupFailures()
{
    QFETCH(QString, kind);
    QFETCH(QString, lastLine);
    CddbTestServer server([kind](const QByteArray& request) {
        if (CddbTestServer::requestLine(request).contains("cddb+query"))
            return CddbTestServer::reply(kind == QLatin1String("202")
                                             ? "202 No match for disc ID 04027402.\r\n"
                                             : "200 misc 04027402 A / B\r\n");
        return CddbTestServer::reply(
            FreedbTestData::readReply("DISCID=04027402\n", "misc", "04027402"));
    });
    QString setting = server.setting();
    if (kind == QLatin1String("closed"))
        setting = QStringLiteral("127.0.0.1:%1").arg(CddbTestServer::closedPort());
    else if (kind == QLatin1String("bad"))
        setting = QStringLiteral("host name:12x");
    const Result lookup = run({QStringLiteral("lookup"), m_disc, QStringLiteral("--server"),
                               setting, QStringLiteral("--no-musicbrainz")});
    QCOMPARE(lookup.exitCode, 1);
    QVERIFY2(lookup.err.endsWith(lastLine), qPrintable(lookup.err));
    QVERIFY(lookup.out.isEmpty());
}

void TestCliFreedb::lookupAtMusicBrainz_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QVariant>("musicBrainzSetting"); // none: the setting is not written
    QTest::addColumn<QString>("stages");
    QTest::addColumn<int>("cddbRequests");
    QTest::addColumn<int>("musicBrainzRequests"); // the cover's included
    const QString cddbThenNothing = QStringLiteral(
        "Computing Disc ID\nPlease wait, retrieving available discs...\nNo matching discs...\n");
    const QString musicBrainzFirst =
        QStringLiteral("Computing Disc ID\nAsking MusicBrainz...\nDone\n");
    QTest::newRow("after CDDB") << QString() << QVariant()
                                << cddbThenNothing + "Asking MusicBrainz...\nDone\n"
                                << 1 << 2;
    QTest::newRow("first") << "--musicbrainz-first" << QVariant() << musicBrainzFirst << 0 << 2;
    QTest::newRow("first, though off in the settings")
        << "--musicbrainz-first" << QVariant(0) << musicBrainzFirst << 0 << 2;
    QTest::newRow("off") << "--no-musicbrainz" << QVariant()
                         << cddbThenNothing + "tunvale-cli: No matching discs...\n"
                         << 1 << 0;
    QTest::newRow("off in the settings")
        << QString() << QVariant(0) << cddbThenNothing + "tunvale-cli: No matching discs...\n"
        << 1 << 0;
}

// A disc CDDB does not know, with the cover server named in the settings.
void TestCliFreedb::lookupAtMusicBrainz()
{
    QFETCH(QString, option);
    QFETCH(QVariant, musicBrainzSetting);
    QFETCH(QString, stages);
    QFETCH(int, cddbRequests);
    QFETCH(int, musicBrainzRequests);
    const QString disc = DiscImage::writeCue(m_files.folder(), QStringLiteral("grieva"), {{9851}});
    CddbTestServer cddb(
        [](const QByteArray&) { return CddbTestServer::reply("500 Unknown developer email\r\n"); });
    MusicBrainzTestServer musicBrainz(
        MusicBrainzTestServer::releaseWithCover(QStringLiteral("grieva_dear_jp.discid.json")));
    QSettings settings(m_files.filePath(QStringLiteral("config/Quillon/Tunvale.conf")),
                       QSettings::IniFormat);
    settings.setValue(QStringLiteral("Vastry/Settings/CoverArtServer"), musicBrainz.setting());
    if (musicBrainzSetting.isValid())
        settings.setValue(QStringLiteral("Vastry/Settings/MusicBrainz"), musicBrainzSetting);
    else
        settings.remove(QStringLiteral("Vastry/Settings/MusicBrainz"));
    settings.sync();

    QStringList arguments{QStringLiteral("lookup"),
                          disc,
                          QStringLiteral("--server"),
                          cddb.setting(),
                          QStringLiteral("--musicbrainz-server"),
                          musicBrainz.setting()};
    if (!option.isEmpty())
        arguments << option;
    const Result lookup = run(arguments);
    QCOMPARE(lookup.err, stages);
    QCOMPARE(cddb.requests().size(), cddbRequests);
    QCOMPARE(musicBrainz.requests().size(), musicBrainzRequests);
    if (musicBrainzRequests == 0)
        return;
    QCOMPARE(lookup.exitCode, 0);
    const QJsonObject album = QJsonDocument::fromJson(lookup.out.toUtf8()).object();
    QCOMPARE(album.value(QStringLiteral("title")).toString(), QStringLiteral("Dear..."));
    QCOMPARE(album.value(QStringLiteral("freedbid")).toString(), QStringLiteral("33587969"));
    const QString cover = album.value(QStringLiteral("frontimage")).toString();
    QVERIFY2(
        cover.startsWith(m_files.filePath(QStringLiteral("data/"))) &&
            cover.endsWith(QLatin1String("/covers/6019b737-9018-4e89-a4f5-ffb5ac783613-front.jpg")),
        qPrintable(cover));
    QVERIFY(QFile::exists(cover));
}

void TestCliFreedb::xmcdEntries_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("artist");
    QTest::newRow("latin-1") << "xmcd/rubyripper_38043805_latin1.txt" << true << "Die Ärzte";
    QTest::newRow("utf-8") << "xmcd/rubyripper_1c11c714_utf8_20tracks.txt" << true << "";
    QTest::newRow("incomplete") << "" << false << "";
}

void TestCliFreedb::xmcdEntries()
{
    QFETCH(QString, file);
    QFETCH(bool, accepted);
    QFETCH(QString, artist);
    const QByteArray entry =
        file.isEmpty() ? QByteArray("# xmcd\nDTITLE=Only / This\n") : FreedbTestData::read(file);
    const QString reply = m_files.filePath(QStringLiteral("reply.txt"));
    {
        QFile out(reply);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(FreedbTestData::readBody(entry));
    }
    const Result parsed = run({QStringLiteral("xmcd"), reply});
    QCOMPARE(parsed.exitCode, accepted ? 0 : 1);
    if (!accepted)
        return;
    const QJsonObject object = QJsonDocument::fromJson(parsed.out.toUtf8()).object();
    for (const char* key :
         {"disc_id", "artist", "title", "year", "genre", "disc_length", "revision", "frame_offsets",
          "track_titles", "extended_disc_data", "extended_track_data", "play_order",
          "submitter_client", "submitter_version", "submitter_comment"})
        QVERIFY2(object.contains(QLatin1String(key)), key);
    QCOMPARE(object.value(QStringLiteral("frame_offsets")).toArray().size(),
             object.value(QStringLiteral("track_titles")).toArray().size());
    if (!artist.isEmpty())
        QCOMPARE(object.value(QStringLiteral("artist")).toString(), artist);
}

QTEST_GUILESS_MAIN(TestCliFreedb)
#include "TestCliFreedb.moc"
