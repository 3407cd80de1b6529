#include "freedb/CddbTestServer.h"
#include "freedb/DiscToc.h"
#include "freedb/FreedbClient.h"
#include "freedb/FreedbError.h"
#include "freedb/FreedbTestData.h"

#include <QDir>
#include <QElapsedTimer>
#include <QtTest>

using namespace std::chrono_literals;
using Script = CddbTestServer::Script;
using Step = CddbTestServer::Step;

namespace
{

// The disc freedb answered for in April 2020 (offsets and length from its entry).
DiscToc familyJewels()
{
    return DiscToc::fromFrameOffsets({150, 15239, 29625, 45763, 61420, 75862, 91642, 108918, 123698,
                                      139895, 153589, 169239, 188495},
                                     2734 * 75);
}

CddbServer serverAt(const CddbTestServer& server)
{
    return CddbServer(QStringLiteral("127.0.0.1"), server.port());
}

// A client with a fixed identity, so requests can be compared byte for byte.
void identify(FreedbClient& client)
{
    client.setUserName("joe");
    client.setHostName("my.host.com");
}

QByteArray queryBody()
{
    return FreedbTestData::read(QStringLiteral("replies/freedb2020_query_proto5.body.txt"));
}

QByteArray readBody()
{
    return FreedbTestData::read(QStringLiteral("replies/freedb2020_read_proto5.body.txt"));
}

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

} // namespace

class TestFreedbClient : public QObject
{
    Q_OBJECT

private slots:
    void helloString();
    void helloNames_data();
    void helloNames();
    void systemNamesAreSanitised();

    void queryOfARealDisc();
    void oneMatchEndsTheQueryWithoutWaiting();
    void oneLineReplyMayEndWithTheConnection();
    void queryFailures_data();
    void queryFailures();
    void queryAcrossManyChunks();
    void emptyTableIsNotSent();

    void readOfARealEntry();
    void readRefusedByTheServerFails();
    void readOfAnIncompleteEntryFails();
    void categoryIsEncodedInTheReadRequest();

    void hostThatDoesNotResolve();
    void nothingListening();
    void serverThatClosesBeforeTheTerminator();
    void silentServerRunsIntoTheReplyTimeout();
    void tricklingServerRunsIntoTheRequestCap();
    void slowButSteadyServerIsWaitedFor();
    void replyBeyondTheSizeCapIsRefused();
    void defaultIdleTimeoutIsTwoSeconds();
    void socketsAreClosedOnEveryPath();
};

void TestFreedbClient::helloString()
{
    FreedbClient client;
    identify(client);
    QCOMPARE(client.HelloString(), QByteArray("hello=joe+my_host_com+Arkivo+5.00&proto=5"));
    client.setProtocolLevel(6);
    client.setClientName("Tunvale");
    client.setClientVersion("1.00");
    QCOMPARE(client.HelloString(), QByteArray("hello=joe+my_host_com+Tunvale+1.00&proto=6"));
}

void TestFreedbClient::helloNames_data()
{
    QTest::addColumn<QByteArray>("obtained");
    QTest::addColumn<bool>("failed");
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("plain") << QByteArray("joe") << false << QByteArray("joe");
    QTest::newRow("blank and dot")
        << QByteArray("Joe Q. Public") << false << QByteArray("Joe_Q__Public");
    QTest::newRow("query characters") << QByteArray("a&b=c+d%") << false << QByteArray("a_b_c_d_");
    QTest::newRow("UTF-8 letters, byte by byte")
        << QByteArray("j\xc3\xb6rg") << false << QByteArray("j__rg");
    QTest::newRow("failed call") << QByteArray() << true << QByteArray("Unknown");
    QTest::newRow("empty name") << QByteArray("") << false << QByteArray("Unknown");
}

void TestFreedbClient::helloNames()
{
    QFETCH(QByteArray, obtained);
    QFETCH(bool, failed);
    QTEST(FreedbClient::helloName(failed ? nullptr : obtained.constData()), "name");
}

void TestFreedbClient::systemNamesAreSanitised()
{
    const FreedbClient client;
    const QByteArray hello = client.HelloString();
    QVERIFY(hello.startsWith("hello="));
    const QList<QByteArray> words = hello.mid(6, hello.indexOf('&') - 6).split('+');
    QCOMPARE(words.size(), 4);
    for (int i = 0; i < 2; ++i) {
        QVERIFY(!words[i].isEmpty());
        for (char c : words[i])
            QVERIFY2(std::isalnum(static_cast<unsigned char>(c)) || c == '_', hello.constData());
    }
}

void TestFreedbClient::queryOfARealDisc()
{
    CddbTestServer server([](const QByteArray&) { return CddbTestServer::reply(queryBody()); });
    QVERIFY(server.isListening());
    FreedbClient client;
    identify(client);
    const DiscToc toc = familyJewels();
    CddbMatchList matches;
    QVERIFY(client.Query(serverAt(server), toc.DiscId(), toc, matches));
    QCOMPARE(client.lastError(), 0);

    QCOMPARE(server.requests().size(), 1);
    // The request line freedb was sent in 2020, at this client's protocol level and name.
    QCOMPARE(server.requests().first(),
             "GET /~cddb/cddb.cgi?cmd=cddb+query+940aac0d+13+150+15239+29625+45763+61420+75862+"
             "91642+108918+123698+139895+153589+169239+188495+2734&hello=joe+my_host_com+Arkivo+"
             "5.00&proto=5 HTTP/1.0\r\nHost: 127.0.0.1:" +
                 QByteArray::number(server.port()) + "\r\n\r\n");

    QCOMPARE(matches.size(), 3);
    QCOMPARE(matches[0].category, QByteArray("data"));
    QCOMPARE(matches[1].category, QByteArray("misc"));
    QCOMPARE(matches[2].category, QByteArray("rock"));
    QCOMPARE(matches[2].discId, 0x940aac0du);
    QCOMPARE(matches[2].artist, QByteArray("Marina & the Diamonds"));
    QCOMPARE(matches[2].title, QByteArray("The Family Jewels"));
}

void TestFreedbClient::oneMatchEndsTheQueryWithoutWaiting()
{
    // The server keeps the connection open after its one line: a client that waited for a
    // terminator or for the close would run into its time-out and fail. The line comes in two
    // parts, the status code first: stopping at the code would lose the match.
    CddbTestServer server([](const QByteArray&) {
        const QByteArray reply = CddbTestServer::httpReply(
            FreedbTestData::read(QStringLiteral("replies/freedb2020_query_proto1.body.txt")));
        const int split = reply.indexOf("\r\n\r\n200") + 7;
        return Script{{Step{0, reply.left(split)}, Step{150, reply.mid(split)}}, 10000};
    });
    FreedbClient client;
    client.setReplyTimeout(1000ms);
    const DiscToc toc = familyJewels();
    CddbMatchList matches;
    QVERIFY(client.Query(serverAt(server), toc.DiscId(), toc, matches));
    QCOMPARE(matches.size(), 1);
    QCOMPARE(matches[0].category, QByteArray("data"));
    QCOMPARE(matches[0].title, QByteArray("The Family Jewels"));
}

void TestFreedbClient::oneLineReplyMayEndWithTheConnection()
{
    CddbTestServer server([](const QByteArray&) {
        return CddbTestServer::reply("200 jazz 820e770a Joshua Redman / Wish 1993");
    });
    FreedbClient client;
    const DiscToc toc = familyJewels();
    CddbMatchList matches;
    QVERIFY(client.Query(serverAt(server), toc.DiscId(), toc, matches));
    QCOMPARE(matches.size(), 1);
    QCOMPARE(matches[0].title, QByteArray("Wish 1993"));
}

void TestFreedbClient::queryFailures_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("error");
    QTest::newRow("202 no match (freedb 2011)")
        << QByteArray("202 No match for disc ID f90ec511.\n") << 0;
    QTest::newRow("403") << QByteArray("403 Database entry is corrupt.\r\n")
                         << FreedbError::ProtocolNotSupported;
    QTest::newRow("500 from gnudb")
        << QByteArray("500 Unknown developer email\r\n") << FreedbError::ProtocolNotSupported;
    QTest::newRow("211 without a usable line")
        << QByteArray("211 Found inexact matches\r\ngarbage\r\n.\r\n") << 0;
    QTest::newRow("210 with no lines") << QByteArray("210 Found exact matches\r\n.\r\n") << 0;
}

void TestFreedbClient::queryFailures()
{
    QFETCH(QByteArray, body);
    CddbTestServer server([&](const QByteArray&) { return CddbTestServer::reply(body); });
    FreedbClient client;
    const DiscToc toc = familyJewels();
    CddbMatchList matches{CddbMatch{"stale", 1, "", ""}};
    QVERIFY(!client.Query(serverAt(server), toc.DiscId(), toc, matches));
    QVERIFY(matches.isEmpty());
    QTEST(client.lastError(), "error");
}

void TestFreedbClient::queryAcrossManyChunks()
{
    QByteArray body = "211 Found inexact matches, list follows (until terminating `.')\r\n";
    for (int i = 0; i < 400; ++i)
        body += "misc " + QByteArray::number(0x0a000000 + i, 16) + " Some Artist " +
                QByteArray::number(i) + " / Some Title\r\n";
    body += ".\r\n";
    const QByteArray reply = CddbTestServer::httpReply(body);
    QVERIFY(reply.size() > 3 * FreedbClient::ReplyChunkSize);
    CddbTestServer server([&](const QByteArray&) {
        Script script;
        for (int at = 0; at < reply.size(); at += 1500)
            script.steps.append(Step{at == 0 ? 0 : 5, reply.mid(at, 1500)});
        return script;
    });
    FreedbClient client;
    const DiscToc toc = familyJewels();
    CddbMatchList matches;
    QVERIFY(client.Query(serverAt(server), toc.DiscId(), toc, matches));
    QCOMPARE(matches.size(), 400);
    QCOMPARE(matches.last().artist, QByteArray("Some Artist 399"));
}

void TestFreedbClient::emptyTableIsNotSent()
{
    CddbTestServer server([](const QByteArray&) { return CddbTestServer::reply(queryBody()); });
    FreedbClient client;
    CddbMatchList matches;
    QVERIFY(!client.Query(serverAt(server), 0, DiscToc(), matches));
    QCOMPARE(client.lastError(), FreedbError::InvalidArgument);
    QVERIFY(server.requests().isEmpty());
}

void TestFreedbClient::readOfARealEntry()
{
    CddbTestServer server([](const QByteArray&) { return CddbTestServer::reply(readBody()); });
    FreedbClient client;
    identify(client);
    XmcdEntry entry;
    // Asked under another ID than its DISCID line says: the asked one wins.
    QVERIFY(client.Read(serverAt(server), 0x0badcafe, "misc", entry));
    QCOMPARE(client.lastError(), 0);
    QCOMPARE(CddbTestServer::requestLine(server.requests().value(0)),
             QByteArray("GET /~cddb/cddb.cgi?cmd=cddb+read+misc+0badcafe&hello=joe+my_host_com+"
                        "Arkivo+5.00&proto=5 HTTP/1.0"));
    QCOMPARE(entry.discId, 0x0badcafeu);
    QCOMPARE(entry.artist, QByteArray("Marina & The Diamonds"));
    QCOMPARE(entry.title, QByteArray("The Family Jewels"));
    QCOMPARE(entry.year, 2010);
    QCOMPARE(entry.trackTitles.size(), 13);
    QCOMPARE(entry.trackTitles.first(), QByteArray("Are You Satisfied?"));
}

void TestFreedbClient::readRefusedByTheServerFails()
{
    // An error reply to a read has no terminator; the server then closes the connection.
    CddbTestServer server([](const QByteArray&) {
        return CddbTestServer::reply("401 Specified CDDB entry not found.\r\n");
    });
    FreedbClient client;
    XmcdEntry entry;
    QVERIFY(!client.Read(serverAt(server), 0x940aac0d, "misc", entry));
    QCOMPARE(client.lastError(), FreedbError::Disconnected);
}

void TestFreedbClient::readOfAnIncompleteEntryFails()
{
    const QByteArray entry =
        FreedbTestData::read(QStringLiteral("xmcd/rubyripper_8d093509_escapes_noheader.txt"));
    CddbTestServer server([&](const QByteArray&) {
        return CddbTestServer::reply(FreedbTestData::readReply(entry, "rock", "8d093509"));
    });
    FreedbClient client;
    XmcdEntry parsed;
    QVERIFY(!client.Read(serverAt(server), 0x8d093509, "rock", parsed));
    QCOMPARE(client.lastError(), FreedbError::ProtocolNotSupported);
}

void TestFreedbClient::categoryIsEncodedInTheReadRequest()
{
    // The category comes from the server; it must not be able to add to the request.
    CddbTestServer server([](const QByteArray&) { return CddbTestServer::reply(readBody()); });
    FreedbClient client;
    XmcdEntry entry;
    QVERIFY(client.Read(serverAt(server), 0x940aac0d, "rock&cmd=x y\r", entry));
    QVERIFY(CddbTestServer::requestLine(server.requests().value(0))
                .startsWith("GET /~cddb/cddb.cgi?cmd=cddb+read+rock%26cmd%3Dx%20y%0D+940aac0d&"));
}

void TestFreedbClient::hostThatDoesNotResolve()
{
    // A label longer than 63 characters fails inside the resolver, without asking the network.
    const QString host = QString(70, QLatin1Char('a')) + QLatin1String(".invalid");
    FreedbClient client;
    const DiscToc toc = familyJewels();
    CddbMatchList matches;
    QVERIFY(!client.Query(CddbServer(host), toc.DiscId(), toc, matches));
    QCOMPARE(client.lastError(), FreedbError::InvalidArgument);
    XmcdEntry entry;
    QVERIFY(!client.Read(CddbServer(host), toc.DiscId(), "misc", entry));
    QCOMPARE(client.lastError(), FreedbError::InvalidArgument);
}

void TestFreedbClient::nothingListening()
{
    const int port = CddbTestServer::closedPort();
    QVERIFY(port > 0);
    FreedbClient client;
    const DiscToc toc = familyJewels();
    CddbMatchList matches;
    QVERIFY(
        !client.Query(CddbServer(QStringLiteral("127.0.0.1"), port), toc.DiscId(), toc, matches));
    QCOMPARE(client.lastError(), FreedbError::ConnectionRefused);
}

void TestFreedbClient::serverThatClosesBeforeTheTerminator()
{
    CddbTestServer server([](const QByteArray&) {
        return CddbTestServer::reply("211 Found inexact matches\r\nrock 940aac0d A / B\r\n");
    });
    FreedbClient client;
    const DiscToc toc = familyJewels();
    CddbMatchList matches;
    QVERIFY(!client.Query(serverAt(server), toc.DiscId(), toc, matches));
    QCOMPARE(client.lastError(), FreedbError::Disconnected);
    QVERIFY(matches.isEmpty());
}

void TestFreedbClient::silentServerRunsIntoTheReplyTimeout()
{
    CddbTestServer server([](const QByteArray&) { return Script{{}, 10000}; });
    FreedbClient client;
    client.setReplyTimeout(300ms);
    client.setPollInterval(50ms);
    const DiscToc toc = familyJewels();
    CddbMatchList matches;
    QVERIFY(!client.Query(serverAt(server), toc.DiscId(), toc, matches));
    QCOMPARE(client.lastError(), FreedbError::TimedOut);

    // Silence after a part of the reply counts the same.
    CddbTestServer partly([](const QByteArray&) {
        return Script{{Step{0, CddbTestServer::httpReply("210 Found exact matches\r\n")}}, 10000};
    });
    XmcdEntry entry;
    QVERIFY(!client.Read(serverAt(partly), toc.DiscId(), "misc", entry));
    QCOMPARE(client.lastError(), FreedbError::TimedOut);
}

void TestFreedbClient::tricklingServerRunsIntoTheRequestCap()
{
    // A byte every 40 ms never lets the idle time-out run out; the request cap ends it.
    CddbTestServer server([](const QByteArray&) {
        Script script{{Step{0, "HTTP/1.0 200 OK\r\n\r\n210 x\r\n"}}, 0};
        for (int i = 0; i < 250; ++i)
            script.steps.append(Step{40, "x"});
        return script;
    });
    FreedbClient client;
    client.setReplyTimeout(2000ms);
    client.setRequestTimeout(600ms);
    client.setPollInterval(50ms);
    const DiscToc toc = familyJewels();
    CddbMatchList matches;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!client.Query(serverAt(server), toc.DiscId(), toc, matches));
    QCOMPARE(client.lastError(), FreedbError::TimedOut);
    QVERIFY2(timer.elapsed() < 5000, "ended by the cap, long before the server stops");
}

void TestFreedbClient::slowButSteadyServerIsWaitedFor()
{
    // Pauses longer than one poll interval but shorter than the reply time-out.
    const QByteArray reply = CddbTestServer::httpReply(queryBody());
    CddbTestServer server([&](const QByteArray&) {
        Script script;
        for (int at = 0; at < reply.size(); at += 60)
            script.steps.append(Step{at == 0 ? 0 : 120, reply.mid(at, 60)});
        return script;
    });
    FreedbClient client;
    client.setPollInterval(50ms);
    client.setReplyTimeout(600ms);
    const DiscToc toc = familyJewels();
    CddbMatchList matches;
    QVERIFY(client.Query(serverAt(server), toc.DiscId(), toc, matches));
    QCOMPARE(matches.size(), 3);
}

void TestFreedbClient::replyBeyondTheSizeCapIsRefused()
{
    QByteArray body = "210 Found exact matches\r\n";
    while (body.size() < 100 * 1024)
        body += "misc 940aac0d Padding Artist / Padding Title\r\n";
    body += ".\r\n";
    CddbTestServer server([&](const QByteArray&) { return CddbTestServer::reply(body); });
    FreedbClient client;
    client.setMaxReplySize(64 * 1024);
    const DiscToc toc = familyJewels();
    CddbMatchList matches;
    QVERIFY(!client.Query(serverAt(server), toc.DiscId(), toc, matches));
    QCOMPARE(client.lastError(), FreedbError::MessageTooLong);

    // The same reply under the default cap of 1 MiB is fine.
    FreedbClient roomy;
    QCOMPARE(roomy.maxReplySize(), qsizetype(1024 * 1024));
    QVERIFY(roomy.Query(serverAt(server), toc.DiscId(), toc, matches));
    QVERIFY(matches.size() > 2000);
}

void TestFreedbClient::defaultIdleTimeoutIsTwoSeconds()
{
    // The one test that runs the real limits: 250 ms polls, 2 000 ms without a byte.
    CddbTestServer server([](const QByteArray&) { return Script{{}, 20000}; });
    FreedbClient client;
    QCOMPARE(client.replyTimeout(), 2000ms);
    QCOMPARE(client.pollInterval(), 250ms);
    QCOMPARE(client.requestTimeout(), 20000ms);
    const DiscToc toc = familyJewels();
    CddbMatchList matches;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!client.Query(serverAt(server), toc.DiscId(), toc, matches));
    const qint64 elapsed = timer.elapsed();
    QCOMPARE(client.lastError(), FreedbError::TimedOut);
    QVERIFY2(elapsed >= 2000, qPrintable(QString::number(elapsed)));
    QVERIFY2(elapsed < 15000, qPrintable(QString::number(elapsed))); // not the 20 s cap
}

void TestFreedbClient::socketsAreClosedOnEveryPath()
{
    const int before = openDescriptors();
    {
        int request = 0;
        CddbTestServer server([&](const QByteArray&) {
            switch (request++) {
            case 0:
                return CddbTestServer::reply(queryBody());
            case 1:
                return CddbTestServer::reply("403 Database entry is corrupt.\r\n");
            case 2:
                return CddbTestServer::reply("401 Specified CDDB entry not found.\r\n");
            case 3:
                return Script{{}, 5000};
            default:
                return CddbTestServer::reply(readBody());
            }
        });
        FreedbClient client;
        client.setReplyTimeout(200ms);
        client.setPollInterval(50ms);
        const DiscToc toc = familyJewels();
        CddbMatchList matches;
        XmcdEntry entry;
        QVERIFY(client.Query(serverAt(server), toc.DiscId(), toc, matches));
        QVERIFY(!client.Query(serverAt(server), toc.DiscId(), toc, matches));
        QVERIFY(!client.Read(serverAt(server), toc.DiscId(), "misc", entry));
        QVERIFY(!client.Read(serverAt(server), toc.DiscId(), "misc", entry));
        QVERIFY(client.Read(serverAt(server), toc.DiscId(), "misc", entry));
        QVERIFY(!client.Query(CddbServer(QStringLiteral("127.0.0.1"), CddbTestServer::closedPort()),
                              toc.DiscId(), toc, matches));
        QCOMPARE(server.requests().size(), 5);
    }
    QCOMPARE(openDescriptors(), before);
}

QTEST_GUILESS_MAIN(TestFreedbClient)
#include "TestFreedbClient.moc"
