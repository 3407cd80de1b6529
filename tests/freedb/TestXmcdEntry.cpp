#include "freedb/FreedbTestData.h"
#include "freedb/XmcdEntry.h"

#include <QtTest>

namespace
{

// A complete entry of two tracks; tests change one thing in it.
QByteArray minimalEntry()
{
    return "# xmcd\n"
           "#\n"
           "# Track frame offsets:\n"
           "#\t150\n"
           "#\t15000\n"
           "#\n"
           "# Disc length: 630 seconds\n"
           "#\n"
           "# Revision: 7\n"
           "# Submitted via: Tester 1.0 nightly\n"
           "#\n"
           "DISCID=04027402\n"
           "DTITLE=Artist / Album\n"
           "DYEAR=1999\n"
           "DGENRE=Folk\n"
           "TTITLE0=One\n"
           "TTITLE1=Two\n"
           "EXTD=\n"
           "EXTT0=\n"
           "EXTT1=\n"
           "PLAYORDER=\n";
}

QByteArray replaced(QByteArray text, const QByteArray& what, const QByteArray& with)
{
    return text.replace(what, with);
}

bool parse(const QByteArray& entry, XmcdEntry& parsed)
{
    return parsed.Parse(FreedbTestData::readBody(entry));
}

} // namespace

class TestXmcdEntry : public QObject
{
    Q_OBJECT

private slots:
    void realEntries_data();
    void realEntries();
    void completeEntryFillsEveryField();
    void readReplyBodyFromAServer();

    void incompleteEntriesAreRejected_data();
    void incompleteEntriesAreRejected();
    void statusOutside21xFails_data();
    void statusOutside21xFails();

    void discTitleSplitsAtTheFirstSeparator_data();
    void discTitleSplitsAtTheFirstSeparator();
    void continuationLinesAppend();
    void lowerTrackNumberShrinksTheTitles();
    void trackNumbersOutsideTheDiscRejectTheEntry_data();
    void trackNumbersOutsideTheDiscRejectTheEntry();
    void escapesDecodeOnce_data();
    void escapesDecodeOnce();
    void offsetsEndAtTheDiscLength();
    void commentsOfOneCharacterAreEmpty();
    void discIdTakesTheFirstOfAList();
    void yearAndRevisionDefaults();
    void laterYearReplacesEarlier();
    void playOrder_data();
    void playOrder();
    void submitterWords();
    void keywordsAreCaseSensitive();
    void parseResetsAnEarlierEntry();
};

void TestXmcdEntry::realEntries_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QByteArray>("artist");
    QTest::addColumn<QByteArray>("title");
    QTest::addColumn<int>("year");
    QTest::addColumn<QByteArray>("genre");
    QTest::addColumn<int>("tracks");
    QTest::addColumn<QByteArray>("lastTrack");
    QTest::addColumn<int>("discLength");
    QTest::addColumn<int>("offsets");

    QTest::newRow("1997 entry, extra comment, one-character continuation")
        << "alrsfreedb_7908090a_old_cddbd.txt" << true << QByteArray("Gladys Knight & The Pips")
        << QByteArray("All The Greatest Hits") << 1988 << QByteArray("R&B") << 10
        << QByteArray("If I Were Your Woman") << 2059 << 10;
    QTest::newRow("57 tracks, no DYEAR, no DGENRE")
        << "cddbscala_2f0d8939_57tracks_noyear.txt" << true << QByteArray("Dan Levenson")
        << QByteArray("Old Time Festival Tunes For Clawhammer Banjo (Disc 2)") << 0 << QByteArray()
        << 57 << QByteArray("Yellow Rose of Texas") << 3467 << 57;
    QTest::newRow("no submitter line")
        << "libcddb_12340000_utf8.txt" << false << QByteArray() << QByteArray() << 0 << QByteArray()
        << 0 << QByteArray() << 0 << 0;
    QTest::newRow("no submitter, fewer EXTT than TTITLE")
        << "libcddb_12345678_multiline.txt" << false << QByteArray() << QByteArray() << 0
        << QByteArray() << 0 << QByteArray() << 0 << 0;
    QTest::newRow("no final line feed")
        << "netcddb_d50dd30f_no_final_newline.txt" << true << QByteArray("Various")
        << QByteArray("Ska Island") << 1997 << QByteArray("Reggae") << 15
        << QByteArray("Keep On Running") << 3541 << 15;
    QTest::newRow("data track, disc length without 'seconds'")
        << "newac_8309a80a_datatrack_nosecs.txt" << true << QByteArray("Loreena McKennitt")
        << QByteArray("Elemental (Limited Edition with Bonus DVD)") << 2004 << QByteArray("Celtic")
        << 10 << QByteArray("Enhanced CD Data") << 2474 << 10;
    QTest::newRow("continuations split mid-word")
        << "rubyripper_0a0f5811_midword_continuation.txt" << true << QByteArray("Maria Venuti")
        << QByteArray("Maria Venuti Sings Schubert, Schoenberg, Schumann") << 1994
        << QByteArray("Classical") << 17 << QByteArray("Franz Schubert: Delphine Op. 124, No. 1")
        << 3930 << 17;
    QTest::newRow("UTF-8, 20 tracks, empty DYEAR")
        << "rubyripper_1c11c714_utf8_20tracks.txt" << true << QByteArray("Various")
        << QByteArray("Jazz Manouche CD 1") << 0 << QByteArray("Jazz") << 20
        << QByteArray("Le Quintette Du Hot Club De France, Django Reinhardt: Manoir De Mes "
                      "R\xc3\xaa"
                      "ves")
        << 4553 << 20;
    QTest::newRow("ISO-8859-1") << "rubyripper_38043805_latin1.txt" << true
                                << QByteArray("Die \xc4rzte")
                                << QByteArray("Ein Schwein namens M\xe4nner") << 1998
                                << QByteArray("Deutsch") << 5
                                << QByteArray("M\xe4nner sind Schweine (Jetzt noch k\xfcrzer!)")
                                << 1082 << 5;
    QTest::newRow("no header, no offsets")
        << "rubyripper_8d093509_escapes_noheader.txt" << false << QByteArray() << QByteArray() << 0
        << QByteArray() << 0 << QByteArray() << 0 << 0;
    QTest::newRow("CRLF") << "rubyripper_a10b600c_crlf.txt" << true << QByteArray("Motorhead")
                          << QByteArray("Inferno") << 2004 << QByteArray("Metal") << 12
                          << QByteArray() << 2914 << 12;
    QTest::newRow("GB18030 bytes kept as they are")
        << "rubyripper_a70c310c_gb18030.txt" << true << QByteArray("\xd6\xdc\xbd\xdc\xc2\xd7")
        << QByteArray("\xca\xae\xd2\xbb\xd4\xc2\xb5\xc4\xcf\xf4\xb0\xee") << 2005
        << QByteArray("Pop") << 12 << QByteArray() << 3123 << 12;
}

void TestXmcdEntry::realEntries()
{
    QFETCH(QString, file);
    QFETCH(bool, accepted);
    const QByteArray entry = FreedbTestData::read(QStringLiteral("xmcd/") + file);
    QVERIFY(!entry.isEmpty());

    // As stored (LF or CRLF as published) and as a server sends it (CRLF).
    for (const QByteArray& body : {"210 misc 00000000 CD database entry follows\n" + entry,
                                   FreedbTestData::readBody(entry)}) {
        XmcdEntry parsed;
        QCOMPARE(parsed.Parse(body), accepted);
        if (!accepted)
            continue;
        QTEST(parsed.artist, "artist");
        QTEST(parsed.title, "title");
        QTEST(parsed.year, "year");
        QTEST(parsed.genre, "genre");
        QTEST(int(parsed.trackTitles.size()), "tracks");
        QCOMPARE(parsed.extendedTrackData.size(), parsed.trackTitles.size());
        QFETCH(QByteArray, lastTrack);
        if (!lastTrack.isEmpty())
            QCOMPARE(parsed.trackTitles.last(), lastTrack);
        QTEST(parsed.discLength, "discLength");
        QTEST(int(parsed.frameOffsets.size()), "offsets");
        QVERIFY(!parsed.submitterClient.isEmpty());
        QVERIFY(!parsed.submitterVersion.isEmpty());
        // No value keeps a line end.
        for (const QByteArray& title : parsed.trackTitles)
            QVERIFY(!title.contains('\r') && !title.contains('\n'));
        QVERIFY(!parsed.title.endsWith('\r'));
    }
}

void TestXmcdEntry::completeEntryFillsEveryField()
{
    XmcdEntry parsed;
    const QByteArray entry =
        FreedbTestData::read(QStringLiteral("xmcd/alrsfreedb_7908090a_old_cddbd.txt"));
    QVERIFY(parse(entry, parsed));
    QCOMPARE(parsed.frameOffsets,
             (QVector<int>{150, 12860, 23460, 37067, 54250, 70892, 90637, 107507, 124742, 139870}));
    QCOMPARE(parsed.revision, 1);
    QCOMPARE(parsed.submitterClient, QByteArray("CDValet"));
    QCOMPARE(parsed.submitterVersion, QByteArray("v3.31"));
    QCOMPARE(parsed.submitterComment, QByteArray("-"));
    QCOMPARE(parsed.discId, 0x7908090au);
    QCOMPARE(parsed.trackTitles.at(5),
             QByteArray("Neither One Of Us (Wants To Be The First To Say Goodbye)"));
    QCOMPARE(parsed.extendedDiscData, QByteArray());
    QVERIFY(parsed.playOrder.isEmpty());
}

void TestXmcdEntry::readReplyBodyFromAServer()
{
    // A 2020 freedb read reply body, CRLF, cut where the client cuts it (before "\r\n.\r\n").
    QByteArray body =
        FreedbTestData::read(QStringLiteral("replies/freedb2020_read_proto5.body.txt"));
    const int terminator = body.indexOf("\r\n.\r\n");
    QVERIFY(terminator > 0);
    body.truncate(terminator);
    XmcdEntry parsed;
    QVERIFY(parsed.Parse(body));
    QCOMPARE(parsed.artist, QByteArray("Marina & The Diamonds"));
    QCOMPARE(parsed.title, QByteArray("The Family Jewels"));
    QCOMPARE(parsed.year, 2010);
    QCOMPARE(parsed.genre, QByteArray("Pop"));
    QCOMPARE(parsed.trackTitles.size(), 13);
    QCOMPARE(parsed.trackTitles.last(), QByteArray("Guilty"));
    QCOMPARE(parsed.discLength, 2734);
    QCOMPARE(parsed.revision, 2);
    QCOMPARE(parsed.frameOffsets.size(), 13);
    QCOMPARE(parsed.discId, 0x940aac0du);

    // The 2007 forum post: three disc IDs in one DISCID line, the post cut off mid-entry.
    const QByteArray forum = FreedbTestData::read(
        QStringLiteral("replies/forum2007_210_4d0a6c07_multi_discid_TRUNCATED.txt"));
    XmcdEntry truncated;
    QVERIFY(!truncated.Parse(forum)); // seven titles, three EXTT lines
    QCOMPARE(truncated.discId, 0x470a6507u);
}

void TestXmcdEntry::incompleteEntriesAreRejected_data()
{
    QTest::addColumn<QByteArray>("entry");
    const QByteArray good = minimalEntry();
    QTest::newRow("no signature") << replaced(good, "# xmcd\n", "");
    QTest::newRow("no frame offsets") << replaced(replaced(good, "#\t150\n", ""), "#\t15000\n", "");
    QTest::newRow("no disc length") << replaced(good, "# Disc length: 630 seconds\n", "");
    QTest::newRow("no submitter") << replaced(good, "# Submitted via: Tester 1.0 nightly\n", "");
    QTest::newRow("submitter names only the client")
        << replaced(good, "# Submitted via: Tester 1.0 nightly\n", "# Submitted via: Tester\n");
    QTest::newRow("no DISCID") << replaced(good, "DISCID=04027402\n", "");
    QTest::newRow("DISCID of seven characters")
        << replaced(good, "DISCID=04027402\n", "DISCID=4027402\n");
    QTest::newRow("no DTITLE") << replaced(good, "DTITLE=Artist / Album\n", "");
    QTest::newRow("two TTITLE, one EXTT") << replaced(good, "EXTT1=\n", "");
    QTest::newRow("one TTITLE, two EXTT") << replaced(good, "TTITLE1=Two\n", "");
    QTest::newRow("offsets only after the length") << replaced(
        replaced(good, "# Track frame offsets:\n#\t150\n#\t15000\n", ""),
        "# Disc length: 630 seconds\n", "# Disc length: 630 seconds\n# Track frame offsets:\n");
    QTest::newRow("status line only") << QByteArray();
}

void TestXmcdEntry::incompleteEntriesAreRejected()
{
    QFETCH(QByteArray, entry);
    XmcdEntry parsed;
    if (entry.isEmpty()) {
        QVERIFY(!parsed.Parse("210 misc 04027402 CD database entry follows"));
        QVERIFY(!parsed.Parse("210 misc 04027402 CD database entry follows\r\n"));
        return;
    }
    QVERIFY(parse(minimalEntry(), parsed)); // the unchanged entry passes
    QVERIFY(!parse(entry, parsed));
}

void TestXmcdEntry::statusOutside21xFails_data()
{
    QTest::addColumn<QByteArray>("statusLine");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("210") << QByteArray("210 rock 04027402 CD database entry follows\r\n") << true;
    QTest::newRow("219") << QByteArray("219 anything\r\n") << true;
    QTest::newRow("401 not found")
        << QByteArray("401 Specified CDDB entry not found.\r\n") << false;
    QTest::newRow("200") << QByteArray("200 rock 04027402 A / B\r\n") << false;
    QTest::newRow("209") << QByteArray("209 x\r\n") << false;
    QTest::newRow("220") << QByteArray("220 x\r\n") << false;
    QTest::newRow("two characters") << QByteArray("21") << false;
    QTest::newRow("HTML error page")
        << QByteArray("<html><body>Not Found</body></html>\r\n") << false;
}

void TestXmcdEntry::statusOutside21xFails()
{
    QFETCH(QByteArray, statusLine);
    QFETCH(bool, accepted);
    XmcdEntry parsed;
    QByteArray body = statusLine;
    if (statusLine.endsWith('\n'))
        body += FreedbTestData::crlf(minimalEntry());
    QCOMPARE(parsed.Parse(body), accepted);
}

void TestXmcdEntry::discTitleSplitsAtTheFirstSeparator_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QByteArray>("artist");
    QTest::addColumn<QByteArray>("title");
    QTest::newRow("plain") << QByteArray("DTITLE=Artist / Album\n") << QByteArray("Artist")
                           << QByteArray("Album");
    QTest::newRow("no separator: both are the whole text")
        << QByteArray("DTITLE=Only a title\n") << QByteArray("Only a title")
        << QByteArray("Only a title");
    QTest::newRow("slash without blanks is no separator")
        << QByteArray("DTITLE=AC/DC / Back in Black\n") << QByteArray("AC/DC")
        << QByteArray("Back in Black");
    QTest::newRow("first of two separators")
        << QByteArray("DTITLE=A / B / C\n") << QByteArray("A") << QByteArray("B / C");
    QTest::newRow("separator spread over two lines is joined first")
        << QByteArray("DTITLE=Artist \nDTITLE=/ Album\n") << QByteArray("Artist")
        << QByteArray("Album");
    QTest::newRow("nothing is trimmed") << QByteArray("DTITLE= Artist  /  Album \n")
                                        << QByteArray(" Artist ") << QByteArray(" Album ");
    QTest::newRow("empty title line") << QByteArray("DTITLE=\n") << QByteArray() << QByteArray();
}

void TestXmcdEntry::discTitleSplitsAtTheFirstSeparator()
{
    QFETCH(QByteArray, lines);
    XmcdEntry parsed;
    QVERIFY(parse(replaced(minimalEntry(), "DTITLE=Artist / Album\n", lines), parsed));
    QTEST(parsed.artist, "artist");
    QTEST(parsed.title, "title");
}

void TestXmcdEntry::continuationLinesAppend()
{
    XmcdEntry parsed;
    QVERIFY(parse(
        replaced(minimalEntry(), "TTITLE1=Two\n", "TTITLE1=Tw\nTTITLE1=o (part\nTTITLE1= two)\n"),
        parsed));
    QCOMPARE(parsed.trackTitles, (QVector<QByteArray>{"One", "Two (part two)"}));

    const QByteArray genres =
        replaced(minimalEntry(), "DGENRE=Folk\n", "DGENRE=Folk\nDGENRE= Rock\n");
    QVERIFY(parse(genres, parsed));
    QCOMPARE(parsed.genre, QByteArray("Folk Rock"));

    const QByteArray extended =
        replaced(minimalEntry(), "EXTD=\n", "EXTD=Recorded live\nEXTD=, 1971\n");
    QVERIFY(parse(extended, parsed));
    QCOMPARE(parsed.extendedDiscData, QByteArray("Recorded live, 1971"));
}

void TestXmcdEntry::lowerTrackNumberShrinksTheTitles()
{
    const QByteArray entry = replaced(
        replaced(minimalEntry(), "TTITLE1=Two\n", "TTITLE1=Two\nTTITLE5=Six\nTTITLE3=Four\n"),
        "EXTT1=\n", "EXTT1=\nEXTT2=\nEXTT3=\n");
    XmcdEntry parsed;
    QVERIFY(parse(entry, parsed));
    QCOMPARE(parsed.trackTitles, (QVector<QByteArray>{"One", "Two", "", "Four"}));
}

void TestXmcdEntry::trackNumbersOutsideTheDiscRejectTheEntry_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("TTITLE98, the 99th track") << QByteArray("TTITLE98=x\nEXTT98=\n") << true;
    QTest::newRow("TTITLE99") << QByteArray("TTITLE99=x\nEXTT99=\n") << false;
    QTest::newRow("TTITLE2000000000") << QByteArray("TTITLE2000000000=x\n") << false;
    QTest::newRow("TTITLE99999999999999999999")
        << QByteArray("TTITLE99999999999999999999=x\n") << false;
    QTest::newRow("TTITLE-1") << QByteArray("TTITLE-1=x\n") << false;
    QTest::newRow("EXTT4000000000") << QByteArray("EXTT4000000000=x\n") << false;
    QTest::newRow("TTITLE without number is track 0")
        << QByteArray("TTITLE=, continued\nTTITLE1=Two\n") << true;
}

void TestXmcdEntry::trackNumbersOutsideTheDiscRejectTheEntry()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, accepted);
    XmcdEntry parsed;
    const QByteArray entry = replaced(minimalEntry(), "PLAYORDER=\n", line + "PLAYORDER=\n");
    QCOMPARE(parse(entry, parsed), accepted);
    if (accepted)
        QVERIFY(parsed.trackTitles.size() <= XmcdEntry::MaxTrackNumber + 1);
    if (QByteArray(QTest::currentDataTag()).startsWith("TTITLE without"))
        QCOMPARE(parsed.trackTitles.first(), QByteArray("One, continued"));
}

void TestXmcdEntry::escapesDecodeOnce_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("decoded");
    QTest::newRow("backslash n") << QByteArray("a\\nb") << QByteArray("a\nb");
    QTest::newRow("backslash t") << QByteArray("a\\tb") << QByteArray("a\tb");
    QTest::newRow("two backslashes then n") << QByteArray("a\\\\nb") << QByteArray("a\\nb");
    QTest::newRow("three backslashes then n") << QByteArray("a\\\\\\nb") << QByteArray("a\\\nb");
    QTest::newRow("backslash before another letter stays")
        << QByteArray("C:\\music") << QByteArray("C:\\music");
    QTest::newRow("backslash at the end stays") << QByteArray("end\\") << QByteArray("end\\");
}

void TestXmcdEntry::escapesDecodeOnce()
{
    QFETCH(QByteArray, value);
    XmcdEntry parsed;
    QVERIFY(parse(replaced(minimalEntry(), "EXTD=\n", "EXTD=" + value + "\n"), parsed));
    QTEST(parsed.extendedDiscData, "decoded");
    QVERIFY(parse(replaced(minimalEntry(), "TTITLE0=One\n", "TTITLE0=" + value + "\n"), parsed));
    QTEST(parsed.trackTitles.first(), "decoded");

    // The real entry with "\n" escapes in EXTD (rejected for lack of a header) decodes them too.
    const QByteArray real =
        FreedbTestData::read(QStringLiteral("xmcd/rubyripper_8d093509_escapes_noheader.txt"));
    XmcdEntry withHeader;
    QVERIFY(parse("# xmcd\n# Track frame offsets:\n# 150\n# Disc length: 2000 seconds\n"
                  "# Submitted via: x 1\n" +
                      real,
                  withHeader));
    QVERIFY(withHeader.extendedDiscData.startsWith("P 1976 Gull Records\nC 1995 Repertoire"));
}

void TestXmcdEntry::offsetsEndAtTheDiscLength()
{
    const QByteArray entry =
        replaced(minimalEntry(), "# Revision: 7\n", "#\t99999\n# Revision: 7\n");
    XmcdEntry parsed;
    QVERIFY(parse(entry, parsed));
    QCOMPARE(parsed.frameOffsets, (QVector<int>{150, 15000}));
    QCOMPARE(parsed.discLength, 630);

    // Offsets separated by tabs and blanks, and an offset of 0, as libcddb's test entry has.
    const QByteArray spaced =
        replaced(minimalEntry(), "#\t150\n#\t15000\n", "#      0\n#\t 750\n#  10500\n");
    QVERIFY(parse(spaced, parsed));
    QCOMPARE(parsed.frameOffsets, (QVector<int>{0, 750, 10500}));
}

void TestXmcdEntry::commentsOfOneCharacterAreEmpty()
{
    // "#7" is one character after the "#": an empty comment, so no offset.
    const QByteArray entry = replaced(minimalEntry(), "#\t15000\n", "#\t15000\n#7\n#  \n# 8\n");
    XmcdEntry parsed;
    QVERIFY(parse(entry, parsed));
    QCOMPARE(parsed.frameOffsets, (QVector<int>{150, 15000, 8}));
}

void TestXmcdEntry::discIdTakesTheFirstOfAList()
{
    XmcdEntry parsed;
    QVERIFY(
        parse(replaced(minimalEntry(), "DISCID=04027402\n", "DISCID=470a6507,490a6407,4d0a6c07\n"),
              parsed));
    QCOMPARE(parsed.discId, 0x470a6507u);
}

void TestXmcdEntry::yearAndRevisionDefaults()
{
    XmcdEntry parsed;
    QVERIFY(parse(replaced(replaced(minimalEntry(), "DYEAR=1999\n", ""), "# Revision: 7\n", ""),
                  parsed));
    QCOMPARE(parsed.year, 0);
    QCOMPARE(parsed.revision, 0);
}

void TestXmcdEntry::laterYearReplacesEarlier()
{
    XmcdEntry parsed;
    QVERIFY(parse(replaced(minimalEntry(), "DYEAR=1999\n", "DYEAR=1999\nDYEAR=2001\n"), parsed));
    QCOMPARE(parsed.year, 2001);
}

void TestXmcdEntry::playOrder_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QVector<int>>("order");
    QTest::newRow("empty") << QByteArray("PLAYORDER=\n") << QVector<int>{};
    QTest::newRow("list") << QByteArray("PLAYORDER=2,0,1\n") << QVector<int>{2, 0, 1};
    QTest::newRow("trailing comma") << QByteArray("PLAYORDER=2,0,\n") << QVector<int>{2, 0};
    QTest::newRow("empty piece in the middle reads 0")
        << QByteArray("PLAYORDER=1,,2\n") << QVector<int>{1, 0, 2};
    QTest::newRow("continued") << QByteArray("PLAYORDER=1,1\nPLAYORDER=0\n") << QVector<int>{1, 10};
}

void TestXmcdEntry::playOrder()
{
    QFETCH(QByteArray, lines);
    XmcdEntry parsed;
    QVERIFY(parse(replaced(minimalEntry(), "PLAYORDER=\n", lines), parsed));
    QTEST(parsed.playOrder, "order");
}

void TestXmcdEntry::submitterWords()
{
    XmcdEntry parsed;
    QVERIFY(parse(minimalEntry(), parsed));
    QCOMPARE(parsed.submitterClient, QByteArray("Tester"));
    QCOMPARE(parsed.submitterVersion, QByteArray("1.0"));
    QCOMPARE(parsed.submitterComment, QByteArray("nightly"));

    QVERIFY(parse(replaced(minimalEntry(), "1.0 nightly", "1.0"), parsed));
    QCOMPARE(parsed.submitterComment, QByteArray());
    QVERIFY(parse(replaced(minimalEntry(), "1.0 nightly", "1.0   extra  words"), parsed));
    QCOMPARE(parsed.submitterVersion, QByteArray("1.0"));
    QCOMPARE(parsed.submitterComment, QByteArray("extra"));
}

void TestXmcdEntry::keywordsAreCaseSensitive()
{
    XmcdEntry parsed;
    QVERIFY(!parse(replaced(minimalEntry(), "DTITLE=", "dtitle="), parsed));
    QVERIFY(parse(replaced(minimalEntry(), "DGENRE=Folk", "Dgenre=Folk"), parsed));
    QCOMPARE(parsed.genre, QByteArray());
    // A line with no "=" at all is ignored.
    QVERIFY(parse(replaced(minimalEntry(), "DYEAR=1999\n", "DYEAR=1999\nstray text\n"), parsed));
}

void TestXmcdEntry::parseResetsAnEarlierEntry()
{
    XmcdEntry parsed;
    QVERIFY(parse(replaced(minimalEntry(), "PLAYORDER=\n", "PLAYORDER=1,0\n"), parsed));
    QVERIFY(
        parse(replaced(replaced(minimalEntry(), "DGENRE=Folk\n", ""), "DYEAR=1999\n", ""), parsed));
    QCOMPARE(parsed.genre, QByteArray());
    QCOMPARE(parsed.year, 0);
    QVERIFY(parsed.playOrder.isEmpty());
    QCOMPARE(parsed.trackTitles.size(), 2);
}

QTEST_GUILESS_MAIN(TestXmcdEntry)
#include "TestXmcdEntry.moc"
