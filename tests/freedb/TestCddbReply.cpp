#include "freedb/CddbReply.h"
#include "freedb/FreedbTestData.h"
#include "freedb/ReplyBuffer.h"

#include <QtTest>

Q_DECLARE_METATYPE(CddbReply::QueryResult)

namespace
{

const QByteArray terminator = QByteArrayLiteral("\r\n.\r\n");
const QByteArray header = QByteArrayLiteral("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n");

// Feeds `text` to a buffer in pieces of `piece` bytes until it stops asking for more.
ReplyBuffer::State feed(ReplyBuffer& buffer, const QByteArray& text, int piece)
{
    for (int at = 0; at < text.size() && buffer.state() == ReplyBuffer::State::NeedMore;
         at += piece)
        buffer.append(text.constData() + at, std::min<int>(piece, text.size() - at));
    return buffer.state();
}

} // namespace

class TestCddbReply : public QObject
{
    Q_OBJECT

private slots:
    void statusCode_data();
    void statusCode();
    void httpBody();
    void splitLines_data();
    void splitLines();
    void matchLine_data();
    void matchLine();
    void queryReplies_data();
    void queryReplies();
    void queryOfTheInexactMatchSession();

    void terminatorEndsTheReplyWhateverTheSplit();
    void terminatorIsCutAndWhatFollowsIgnored();
    void oneLineQueryReplyEndsWithItsLine_data();
    void oneLineQueryReplyEndsWithItsLine();
    void oneLineReplyWaitsForItsLineEnd();
    void multiMatchReplyWaitsForTheTerminator();
    void readModeWaitsForTheTerminator();
    void closeEndsOnlyAOneLineQueryReply();
    void replyLargerThanTheCapIsRefused();
    void replyAcrossManyChunks();
};

void TestCddbReply::statusCode_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("code");
    QTest::newRow("210") << QByteArray("210 Found exact matches") << 210;
    QTest::newRow("exactly three") << QByteArray("202") << 202;
    QTest::newRow("two characters") << QByteArray("20") << -1;
    QTest::newRow("empty") << QByteArray() << -1;
    QTest::newRow("only three digits count") << QByteArray("2101") << 210;
    QTest::newRow("no digits") << QByteArray("<ht") << 0;
    QTest::newRow("leading blank") << QByteArray(" 21 x") << 21;
}

void TestCddbReply::statusCode()
{
    QFETCH(QByteArray, body);
    QTEST(CddbReply::statusCode(body), "code");
}

void TestCddbReply::httpBody()
{
    QByteArray body;
    QVERIFY(CddbReply::httpBody(header + "200 x\r\n", body));
    QCOMPARE(body, QByteArray("200 x\r\n"));
    QVERIFY(!CddbReply::httpBody("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n", body));
    // The first blank line ends the header, whatever follows.
    QVERIFY(CddbReply::httpBody("H\r\n\r\nA\r\n\r\nB", body));
    QCOMPARE(body, QByteArray("A\r\n\r\nB"));
}

void TestCddbReply::splitLines_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QVector<QByteArray>>("lines");
    QTest::newRow("CRLF") << QByteArray("a\r\nb\r\n") << QVector<QByteArray>{"a", "b"};
    QTest::newRow("LF") << QByteArray("a\nb\n") << QVector<QByteArray>{"a", "b"};
    QTest::newRow("last line without end") << QByteArray("a\r\nb") << QVector<QByteArray>{"a", "b"};
    QTest::newRow("empty lines kept") << QByteArray("a\n\nb") << QVector<QByteArray>{"a", "", "b"};
    QTest::newRow("lone CR stays in the line")
        << QByteArray("a\rb\r\nc\r") << QVector<QByteArray>{"a\rb", "c\r"};
    QTest::newRow("empty") << QByteArray() << QVector<QByteArray>{};
}

void TestCddbReply::splitLines()
{
    QFETCH(QByteArray, text);
    QTEST(CddbReply::splitLines(text), "lines");
}

void TestCddbReply::matchLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("parses");
    QTest::addColumn<QByteArray>("category");
    QTest::addColumn<uint>("discId");
    QTest::addColumn<QByteArray>("artist");
    QTest::addColumn<QByteArray>("title");
    QTest::newRow("freedb 2020") << QByteArray(
                                        "rock 940aac0d Marina & the Diamonds / The Family Jewels")
                                 << true << QByteArray("rock") << 0x940aac0du
                                 << QByteArray("Marina & the Diamonds")
                                 << QByteArray("The Family Jewels");
    QTest::newRow("no slash: whole title, empty artist")
        << QByteArray("misc 0a0f5811 Untitled Disc  ") << true << QByteArray("misc") << 0x0a0f5811u
        << QByteArray() << QByteArray("Untitled Disc  ");
    QTest::newRow("first slash splits, both trimmed")
        << QByteArray("rock 4d0a6c07  AC/DC / Back in Black ") << true << QByteArray("rock")
        << 0x4d0a6c07u << QByteArray("AC") << QByteArray("DC / Back in Black");
    QTest::newRow("blanks between the words")
        << QByteArray("jazz   820e770a   A / B") << true << QByteArray("jazz") << 0x820e770au
        << QByteArray("A") << QByteArray("B");
    QTest::newRow("line end is cut")
        << QByteArray("jazz 820e770a Joshua Redman / Wish 1993\r\n") << true << QByteArray("jazz")
        << 0x820e770au << QByteArray("Joshua Redman") << QByteArray("Wish 1993");
    QTest::newRow("ends after the disc ID") << QByteArray("rock 940aac0d") << false << QByteArray()
                                            << 0u << QByteArray() << QByteArray();
    QTest::newRow("disc ID and blanks only") << QByteArray("rock 940aac0d   ") << false
                                             << QByteArray() << 0u << QByteArray() << QByteArray();
    QTest::newRow("no blank at all")
        << QByteArray(".") << false << QByteArray() << 0u << QByteArray() << QByteArray();
    QTest::newRow("disc ID not hexadecimal reads what it can")
        << QByteArray("rock 12zz A / B") << true << QByteArray("rock") << 0x12u << QByteArray("A")
        << QByteArray("B");
}

void TestCddbReply::matchLine()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, parses);
    CddbMatch match;
    QCOMPARE(CddbReply::parseMatchLine(line, match), parses);
    if (!parses)
        return;
    QTEST(match.category, "category");
    QTEST(uint(match.discId), "discId");
    QTEST(match.artist, "artist");
    QTEST(match.title, "title");
}

void TestCddbReply::queryReplies_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<CddbReply::QueryResult>("result");
    QTest::addColumn<int>("matches");
    QTest::addColumn<QByteArray>("firstCategory");

    QByteArray multi =
        FreedbTestData::read(QStringLiteral("replies/freedb2020_query_proto5.body.txt"));
    multi.truncate(multi.indexOf(terminator)); // as the receive loop cuts it
    QTest::newRow("210, three exact matches (freedb 2020)")
        << multi << CddbReply::QueryResult::Matches << 3 << QByteArray("data");
    QTest::newRow("200, one match (freedb 2020, protocol 1)")
        << FreedbTestData::read(QStringLiteral("replies/freedb2020_query_proto1.body.txt"))
        << CddbReply::QueryResult::Matches << 1 << QByteArray("data");
    QTest::newRow("202 no match (freedb 2011)")
        << QByteArray("202 No match for disc ID f90ec511.\n") << CddbReply::QueryResult::NoMatch
        << 0 << QByteArray();
    QTest::newRow("403") << QByteArray("403 Database entry is corrupt.\r\n")
                         << CddbReply::QueryResult::ProtocolError << 0 << QByteArray();
    QTest::newRow("500 from gnudb") << QByteArray("500 Unknown developer email\r\n")
                                    << CddbReply::QueryResult::ProtocolError << 0 << QByteArray();
    QTest::newRow("200 too short")
        << QByteArray("200 x") << CddbReply::QueryResult::ProtocolError << 0 << QByteArray();
    QTest::newRow("200 whose line lacks a title")
        << QByteArray("200 rock 940aac0d\r\n") << CddbReply::QueryResult::NoMatch << 0
        << QByteArray();
    QTest::newRow("211 whose lines all fail")
        << QByteArray("211 inexact\r\nnonsense\r\n") << CddbReply::QueryResult::NoMatch << 0
        << QByteArray();
    QTest::newRow("211, bad line skipped")
        << QByteArray("211 inexact\r\nrock 1\r\nfolk 12345678 A / B\r\n")
        << CddbReply::QueryResult::Matches << 1 << QByteArray("folk");
    QTest::newRow("LF lines") << QByteArray("210 ok\nrock 1 A / B\njazz 2 C / D")
                              << CddbReply::QueryResult::Matches << 2 << QByteArray("rock");
    QTest::newRow("HTML") << QByteArray("<html>Bad Gateway</html>")
                          << CddbReply::QueryResult::ProtocolError << 0 << QByteArray();
    QTest::newRow("empty") << QByteArray() << CddbReply::QueryResult::ProtocolError << 0
                           << QByteArray();
}

void TestCddbReply::queryReplies()
{
    QFETCH(QByteArray, body);
    QFETCH(int, matches);
    CddbMatchList list{CddbMatch{"stale", 1, "x", "y"}};
    QTEST(CddbReply::parseQuery(body, list), "result");
    QCOMPARE(list.size(), matches);
    if (matches > 0)
        QTEST(list.first().category, "firstCategory");
}

void TestCddbReply::queryOfTheInexactMatchSession()
{
    // The 2005 CDDBP session: one disc ID found in two categories.
    const QByteArray session =
        FreedbTestData::read(QStringLiteral("replies/cddbp_session_2005_zaphod_netcddb.txt"));
    const int start = session.indexOf("211 Found inexact matches");
    QVERIFY(start > 0);
    const int end = session.indexOf("\n.\n", start);
    QVERIFY(end > start);
    const QByteArray body = FreedbTestData::crlf(session.mid(start, end - start + 1));
    CddbMatchList matches;
    QCOMPARE(CddbReply::parseQuery(body, matches), CddbReply::QueryResult::Matches);
    QCOMPARE(matches.size(), 2);
    QCOMPARE(matches[0].category, QByteArray("reggae"));
    QCOMPARE(matches[1].category, QByteArray("misc"));
    QCOMPARE(matches[1].discId, 0xd50dd30fu);
    QCOMPARE(matches[1].artist, QByteArray("Various"));
    QCOMPARE(matches[1].title, QByteArray("Ska Island"));

    const int exact = session.indexOf("200 jazz 820e770a");
    QVERIFY(exact > 0);
    QCOMPARE(CddbReply::parseQuery(session.mid(exact, session.indexOf('\n', exact) - exact + 1),
                                   matches),
             CddbReply::QueryResult::Matches);
    QCOMPARE(matches.size(), 1);
    QCOMPARE(matches[0].title, QByteArray("Wish 1993"));
}

void TestCddbReply::terminatorEndsTheReplyWhateverTheSplit()
{
    const QByteArray body =
        FreedbTestData::read(QStringLiteral("replies/freedb2020_read_proto5.body.txt"));
    const QByteArray reply = header + body;
    const QByteArray expected = reply.left(reply.indexOf(terminator));
    for (bool queryMode : {false, true}) {
        for (int piece = 1; piece <= 7; ++piece) {
            ReplyBuffer buffer(terminator, queryMode, 1 << 20);
            QCOMPARE(feed(buffer, reply, piece), ReplyBuffer::State::Complete);
            QCOMPARE(buffer.text(), expected);
        }
        // Split right inside the terminator, at each of its bytes.
        const int at = reply.indexOf(terminator);
        for (int cut = at; cut < at + terminator.size(); ++cut) {
            ReplyBuffer buffer(terminator, queryMode, 1 << 20);
            buffer.append(reply.constData(), cut);
            QCOMPARE(buffer.state(), ReplyBuffer::State::NeedMore);
            buffer.append(reply.constData() + cut, reply.size() - cut);
            QCOMPARE(buffer.state(), ReplyBuffer::State::Complete);
            QCOMPARE(buffer.text(), expected);
        }
    }
}

void TestCddbReply::terminatorIsCutAndWhatFollowsIgnored()
{
    ReplyBuffer buffer(terminator, false, 1 << 20);
    const QByteArray reply = header + "210 x\r\nA=1\r\n.\r\nextra\r\n.\r\n";
    QCOMPARE(buffer.append(reply.constData(), reply.size()), ReplyBuffer::State::Complete);
    QCOMPARE(buffer.text(), header + "210 x\r\nA=1");
    // Nothing more is taken once complete.
    QCOMPARE(buffer.append("more", 4), ReplyBuffer::State::Complete);
    QCOMPARE(buffer.text(), header + "210 x\r\nA=1");
}

void TestCddbReply::oneLineQueryReplyEndsWithItsLine_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("200") << QByteArray("200 jazz 820e770a Joshua Redman / Wish 1993\r\n");
    QTest::newRow("202 with LF") << QByteArray("202 No match for disc ID f90ec511.\n");
    QTest::newRow("500") << QByteArray("500 Unknown developer email\r\n");
}

void TestCddbReply::oneLineQueryReplyEndsWithItsLine()
{
    QFETCH(QByteArray, body);
    for (int piece : {1, 3, 1000}) {
        ReplyBuffer buffer(terminator, true, 1 << 20);
        QCOMPARE(feed(buffer, header + body, piece), ReplyBuffer::State::Complete);
        QCOMPARE(buffer.text(), header + body);
    }
}

void TestCddbReply::oneLineReplyWaitsForItsLineEnd()
{
    // The status digits alone do not end a "200": its match line is still on its way.
    ReplyBuffer buffer(terminator, true, 1 << 20);
    const QByteArray start = header + "200";
    QCOMPARE(buffer.append(start.constData(), start.size()), ReplyBuffer::State::NeedMore);
    QCOMPARE(buffer.append(" rock 1 A / B", 13), ReplyBuffer::State::NeedMore);
    QCOMPARE(buffer.append("\r\n", 2), ReplyBuffer::State::Complete);
    QCOMPARE(buffer.text(), header + "200 rock 1 A / B\r\n");

    // A header cut anywhere is no body yet, however it looks.
    ReplyBuffer split(terminator, true, 1 << 20);
    QCOMPARE(split.append("HTTP/1.0 200 OK\r\n\r", 18), ReplyBuffer::State::NeedMore);
    QCOMPARE(split.append("\n2", 2), ReplyBuffer::State::NeedMore);
    QCOMPARE(split.append("0\n", 2), ReplyBuffer::State::Complete);
}

void TestCddbReply::multiMatchReplyWaitsForTheTerminator()
{
    ReplyBuffer buffer(terminator, true, 1 << 20);
    const QByteArray first = header + "211 inexact\r\nreggae d50dd30f Various / Ska Island\r\n";
    QCOMPARE(buffer.append(first.constData(), first.size()), ReplyBuffer::State::NeedMore);
    const QByteArray rest = "misc d50dd30f Various / Ska Island\r\n.\r\n";
    QCOMPARE(buffer.append(rest.constData(), rest.size()), ReplyBuffer::State::Complete);
    QVERIFY(buffer.text().endsWith("Ska Island\r\nmisc d50dd30f Various / Ska Island"));
}

void TestCddbReply::readModeWaitsForTheTerminator()
{
    // An error reply to a read has no terminator: in read mode it never completes by itself.
    ReplyBuffer buffer(terminator, false, 1 << 20);
    const QByteArray reply = header + "401 Specified CDDB entry not found.\r\n";
    QCOMPARE(buffer.append(reply.constData(), reply.size()), ReplyBuffer::State::NeedMore);
}

void TestCddbReply::closeEndsOnlyAOneLineQueryReply()
{
    const QByteArray oneLine = header + "200 rock 940aac0d A / B";
    ReplyBuffer query(terminator, true, 1 << 20);
    QCOMPARE(query.append(oneLine.constData(), oneLine.size()), ReplyBuffer::State::NeedMore);
    QCOMPARE(query.finish(), ReplyBuffer::State::Complete);
    QCOMPARE(query.text(), oneLine);

    // The same bytes in read mode, a list without its terminator, a header without a status.
    ReplyBuffer read(terminator, false, 1 << 20);
    read.append(oneLine.constData(), oneLine.size());
    QCOMPARE(read.finish(), ReplyBuffer::State::NeedMore);
    const QByteArray list = header + "210 exact\r\nrock 1 A / B\r\n";
    ReplyBuffer cutList(terminator, true, 1 << 20);
    cutList.append(list.constData(), list.size());
    QCOMPARE(cutList.finish(), ReplyBuffer::State::NeedMore);
    ReplyBuffer noStatus(terminator, true, 1 << 20);
    noStatus.append(header.constData(), header.size() - 1);
    QCOMPARE(noStatus.finish(), ReplyBuffer::State::NeedMore);
}

void TestCddbReply::replyLargerThanTheCapIsRefused()
{
    ReplyBuffer buffer(terminator, false, 100);
    const QByteArray part(60, 'x');
    QCOMPARE(buffer.append(part.constData(), part.size()), ReplyBuffer::State::NeedMore);
    QCOMPARE(buffer.append(part.constData(), 40), ReplyBuffer::State::NeedMore); // exactly 100
    QCOMPARE(buffer.append("y", 1), ReplyBuffer::State::TooLarge);
    QCOMPARE(buffer.append(terminator.constData(), terminator.size()),
             ReplyBuffer::State::TooLarge);
}

void TestCddbReply::replyAcrossManyChunks()
{
    QByteArray body = "210 Found exact matches\r\n";
    for (int i = 0; i < 600; ++i)
        body += "misc " + QByteArray::number(0x10000000 + i, 16) + " Artist " +
                QByteArray::number(i) + " / Title\r\n";
    const QByteArray reply = header + body + ".\r\n";
    QVERIFY(reply.size() > 4 * 4096);
    ReplyBuffer buffer(terminator, true, 1 << 20);
    QCOMPARE(feed(buffer, reply, 4096), ReplyBuffer::State::Complete);
    QByteArray received;
    QVERIFY(CddbReply::httpBody(buffer.text(), received));
    CddbMatchList matches;
    QCOMPARE(CddbReply::parseQuery(received, matches), CddbReply::QueryResult::Matches);
    QCOMPARE(matches.size(), 600);
    QCOMPARE(matches.last().artist, QByteArray("Artist 599"));
}

QTEST_GUILESS_MAIN(TestCddbReply)
#include "TestCddbReply.moc"
