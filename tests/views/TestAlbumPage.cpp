#include "app/AppPaths.h"
#include "db/AlbumTable.h"
#include "db/TrackTable.h"
#include "support/TestCatalog.h"

#include <QBuffer>
#include <QtTest>

Q_DECLARE_METATYPE(AlbumRecord)
Q_DECLARE_METATYPE(TrackRecord)

// The album page: written literally for a full album, its optional pieces for the edge cases,
// and "post.html" in the page folder only for an album that can be shown.
class TestAlbumPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void fullAlbumPageLiterally();
    void rowsLiterally();
    void bodyPieces_data();
    void bodyPieces();
    void onlyWebLinksAndLocalPictures_data();
    void onlyWebLinksAndLocalPictures();
    void trackLine_data();
    void trackLine();
    void albumWithoutTracksStillGetsAPage();
    void nothingToShowGivesNoPage_data();
    void nothingToShowGivesNoPage();
    void unwritablePageFolderGivesNoPage();
    void bodyWritesEveryPartAfterAFailedOne_data();
    void bodyWritesEveryPartAfterAFailedOne();
    void pageFolderIsThisProcesssOwn();

private:
    QString body(const AlbumRecord& record, const QVector<TrackRecord>& tracks = {});

    TestCatalog m_files;
    AlbumTable m_albums;
    DatabaseHandle m_database;
    std::unique_ptr<ReportRecorder> m_reports;
};

namespace
{

const char* const Table =
    "<TABLE border=\"0\" cellspacing=\"0\" cellpadding=\"0\" width=\"100%\">\n";

QString detail(const QString& label, const QString& value)
{
    return QStringLiteral("<TR valign=\"top\"><TD width=\"30%\">\n<B>%1</B></TD>\n<TD><TABLE "
                          "border=\"0\" cellspacing=\"1\" cellpadding=\"0\" width=\"100%\"><TR>\n"
                          "<TD>%2</TD>\n</TR></TABLE></TD></TR>\n")
        .arg(label, value);
}

QString plain(const QString& label, const QString& value)
{
    return QStringLiteral("<TR valign=\"top\"><TD><B>\n%1</B></TD><TD>\n%2</TD></TR>\n")
        .arg(label, value);
}

QString readUtf8(const QString& path)
{
    return QString::fromUtf8(TestCatalog::readBytes(path));
}

TrackRecord track(int number, const QString& artist, const QString& title, int year,
                  const QString& length)
{
    TrackRecord t;
    t.trackNumber = number;
    t.artist = artist;
    t.title = title;
    t.year = year;
    t.length = length;
    return t;
}

// A device that refuses one write, as a disk that was full for a moment, and takes the others.
class RefusingDevice : public QBuffer
{
public:
    explicit RefusingDevice(int refused) : m_refused(refused) { open(QIODevice::WriteOnly); }

protected:
    qint64 writeData(const char* data, qint64 size) override
    {
        return ++m_writes == m_refused ? -1 : QBuffer::writeData(data, size);
    }

private:
    int m_refused;
    int m_writes = 0;
};

} // namespace

void TestAlbumPage::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(m_files.isValid());
}

void TestAlbumPage::init()
{
    m_reports = std::make_unique<ReportRecorder>();
    QVERIFY(m_albums.OpenDatabase(&m_database, m_files.copyOfTemplate(),
                                  DatabaseEx::catalogConnectString()));
    QDir(m_files.filePath("pages")).removeRecursively();
    AppPaths::setPageDirectory(m_files.filePath("pages"));
}

void TestAlbumPage::cleanup()
{
    m_albums.CloseDatabase(&m_database);
    QCOMPARE(m_reports->count(), 0);
    m_reports.reset();
}

QString TestAlbumPage::body(const AlbumRecord& record, const QVector<TrackRecord>& tracks)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    m_albums.WriteAlbumBody(&buffer, record, tracks);
    return QString::fromUtf8(buffer.data());
}

void TestAlbumPage::fullAlbumPageLiterally()
{
    AlbumRecord r;
    r.artist = QStringLiteral("Ann & Bo");
    r.title = QStringLiteral("Title <1>");
    r.year = 1977;
    r.frontImage = QStringLiteral("/covers/front.jpg");
    r.backImage = QStringLiteral("/covers/back \"2\".jpg");
    r.conductor = QStringLiteral("Conductor");
    r.orchestra = QStringLiteral("Orchestra");
    r.label = QStringLiteral("Label");
    r.labelNumber = QStringLiteral("LN 1");
    r.length = QStringLiteral("45:10");
    r.mediaType = QStringLiteral("CD");
    r.genre = QStringLiteral("Rock");
    r.language = QStringLiteral("English");
    r.inCollection = 1;
    r.url = QStringLiteral("http://x.invalid/?a=1&b=2");
    r.location = QStringLiteral("Shelf");
    r.purchasePrice = QStringLiteral("19.99");
    r.currentValue = QStringLiteral("12.5");
    r.purchaseDate = QDateTime(QDate(2021, 6, 15), QTime(13, 45), Qt::UTC);
    r.purchasedFrom = QStringLiteral("Shop");
    r.condition = QStringLiteral("Mint");
    r.grade = 9;
    r.onLoanTo = QStringLiteral("Cy");
    r.studio = QStringLiteral("Studio");
    r.producer = QStringLiteral("Producer");
    r.engineer = QStringLiteral("Engineer");
    r.ad = 4;
    r.tourName = QStringLiteral("Tour");
    r.country = QStringLiteral("Ísland");
    r.freedbId = QStringLiteral("a50e1d0c");
    r.notes = QStringLiteral("First & best\r\nSecond");
    const int id = m_albums.Add(m_database.get(), r);
    QVERIFY(id > 0);
    TrackTable tracks;
    TrackRecord closing = track(3, QString(), QStringLiteral("Closing"), 1900, "4:05");
    TrackRecord opening =
        track(1, QStringLiteral("Guest"), QStringLiteral("Opening"), 1999, "3:10");
    closing.albumId = opening.albumId = id;
    QVERIFY(tracks.Save(m_database.get(), closing, -1) > 0);
    QVERIFY(tracks.Save(m_database.get(), opening, -1) > 0);

    const QString path = m_albums.WritePage(m_database.get(), id, false);
    QCOMPARE(path, QFileInfo(m_files.filePath("pages/post.html")).absoluteFilePath());
    const QByteArray bytes = TestCatalog::readBytes(path);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF<HTML>\n"));
    const QString page = QString::fromUtf8(bytes.mid(3));

    const int styleStart = page.indexOf(QLatin1String("<STYLE>"));
    const int styleEnd = page.indexOf(QLatin1String("</STYLE>")) + 8;
    const QString style = page.mid(styleStart, styleEnd - styleStart);
    QCOMPARE(style.size(), 547);
    QVERIFY(style.startsWith(QLatin1String(
        "<STYLE>\n<!--\n BODY,TABLE,TR,TD,p { font-family: Verdana, sans-serif; font-size: 12px; "
        "COLOR: #000000 }\n-->\n")));
    QCOMPARE(style.simplified(),
             QStringLiteral("<STYLE> <!-- BODY,TABLE,TR,TD,p { font-family: Verdana, sans-serif; "
                            "font-size: 12px; COLOR: #000000 } --> .subtitle { font-family: "
                            "Verdana, sans-serif; font-size: 12px; FONT-WEIGHT: normal; COLOR: "
                            "#000000 } .title { font-family: Verdana, sans-serif; font-size: "
                            "14px; FONT-WEIGHT: bold; COLOR: #000000 } </STYLE>"));

    const QString expected =
        QLatin1String("<HTML>\n<HEAD>\n<TITLE>Music Item</TITLE>\n") + style +
        QLatin1String("</HEAD>\n<BODY>\n<font face=\"Verdana\">\n"
                      "<SPAN class=\"title\">Ann &amp; Bo</SPAN><SPAN class=\"subtitle\"> - "
                      "Title &lt;1&gt;</SPAN> (1977)<BR>\n"
                      "<TABLE border=\"0\" cellspacing=\"0\" cellpadding=\"0\" width=\"100%\">"
                      "<tr valign=\"top\">\n"
                      "<TD width=\"1\"><BR>\n<IMG src=\"file:///covers/front.jpg\" BORDER=\"0\" "
                      "HEIGHT=\"76\"/><BR>\n</TD><TD width=\"4\"></TD>\n"
                      "<TD width=\"1\"><BR>\n<IMG src=\"file:///covers/back%20%222%22.jpg\" "
                      "BORDER=\"0\" HEIGHT=\"76\"/><BR>\n</TD><TD width=\"4\"></TD>\n<TD>") +
        QLatin1String(Table) +
        QLatin1String("<TH align=\"left\" colspan=\"2\" bgcolor=\"#e0e0e0\">Music Details</th>\n") +
        detail("Artist", "Ann &amp; Bo") + detail("Conductor", "Conductor") +
        detail("Orchestra", "Orchestra") + detail("Label", "Label") +
        detail("Label Number", "LN 1") + detail("Length", "45:10") + detail("Media Type", "CD") +
        detail("Genre", "Rock") + detail("Language", "English") +
        QLatin1String("</TABLE></TD></TR></TABLE><BR>\n") + QLatin1String(Table) +
        QLatin1String("<TH align=\"left\" bgcolor=\"#e0e0e0\">\n<B>Tracks</B></TH><TR><TD>\n"
                      "01 Guest - Opening (1999) (3:10)<BR>03 Closing (4:05)<BR>"
                      "</TR></TABLE><BR>\n"
                      "<TABLE border=\"0\" cellspacing=\"0\" cellpadding=\"0\" width=\"100%\">"
                      "<TR>\n<TD valign=\"top\">\n") +
        QLatin1String(Table) +
        QLatin1String(
            "<TH align=\"left\" colspan=\"2\" bgcolor=\"#e0e0e0\">Personal Details</TH>\n") +
        plain("In Collection", "Yes") +
        plain("URL", "<A href=\"http://x.invalid/?a=1&amp;b=2\", title=\"This item on the "
                     "Internet\" target=\"_view\">This item on the Internet</A>\n") +
        plain("Location", "Shelf") + plain("Purchase Price", "19.99") +
        plain("Current Value", "12.50") + plain("Purchase Date", "6/15/21") +
        plain("Purchased From", "Shop") + plain("Condition", "Mint") + plain("Grade", "9") +
        plain("On Loan", "Yes") + plain("On Loan To", "Cy") +
        QLatin1String("</TABLE></TD>\n<TD valign=\"top\">\n") + QLatin1String(Table) +
        QLatin1String(
            "<TH align=\"left\" colspan=\"2\" bgcolor=\"#e0e0e0\">Product Details</TH>\n") +
        plain("Studio", "Studio") + plain("Producer", "Producer") + plain("Engineer", "Engineer") +
        plain("A/D", "DDD") + plain("Tourname", "Tour") + plain("Country", "Ísland") +
        plain("FreeDB ID", "a50e1d0c") + QLatin1String("</TABLE></TD></TR></TABLE><BR>\n") +
        QLatin1String(Table) +
        QLatin1String("<TH align=\"left\" bgcolor=\"#e0e0e0\">\n<B>Notes</B></TH><TR><TD>\n"
                      "First &amp; best<BR>Second</TR></TABLE><BR>\n"
                      "</TR></TABLE>\n</FONT></BODY>\n</HTML>");
    QCOMPARE(page, expected);
}

void TestAlbumPage::rowsLiterally()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(m_albums.WriteDetailRow(&buffer, "Genre", "R&B"));
    QVERIFY(m_albums.WriteDetailRow(&buffer, "Genre", QString()));
    QVERIFY(m_albums.WriteDetailRow(&buffer, QString(), "Rock"));
    QVERIFY(m_albums.WritePlainRow(&buffer, "Grade", "5", false, QString()));
    QVERIFY(m_albums.WritePlainRow(&buffer, "URL", "Go", true, QString()));
    QVERIFY(m_albums.WritePlainRow(&buffer, "URL", "Go", true, "https://u.example/"));
    QCOMPARE(QString::fromUtf8(buffer.data()),
             QStringLiteral("<TR valign=\"top\"><TD width=\"30%\">\n"
                            "<B>Genre</B></TD>\n"
                            "<TD><TABLE border=\"0\" cellspacing=\"1\" cellpadding=\"0\" "
                            "width=\"100%\"><TR>\n"
                            "<TD>R&amp;B</TD>\n"
                            "</TR></TABLE></TD></TR>\n"
                            "<TR valign=\"top\"><TD><B>\nGrade</B></TD><TD>\n5</TD></TR>\n"
                            "<TR valign=\"top\"><TD><B>\nURL</B></TD><TD>\n"
                            "<A href=\"https://u.example/\", title=\"Go\" "
                            "target=\"_view\">Go</A>\n</TD></TR>\n"));

    // A device that refuses writes fails the writer instead of pretending.
    QBuffer closed;
    QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QBuffer): device not open");
    QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QBuffer): device not open");
    QVERIFY(!m_albums.WriteDetailRow(&closed, "Genre", "Rock"));
    QVERIFY(!m_albums.WriteAlbumBody(&closed, AlbumRecord(), {}));
}

void TestAlbumPage::bodyPieces_data()
{
    QTest::addColumn<AlbumRecord>("record");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    AlbumRecord r;
    r.artist = "A";
    r.title = "T";
    r.year = 1900;
    QTest::newRow("year 1900 is no year")
        << r << QStringList{"</SPAN><BR>\n"} << QStringList{" (1900)"};
    r.year = 0;
    QTest::newRow("year 0 is no year") << r << QStringList{"</SPAN><BR>\n"} << QStringList{" (0)"};
    r.year = 1901;
    QTest::newRow("other years show") << r << QStringList{"</SPAN> (1901)<BR>\n"} << QStringList{};

    AlbumRecord untitled;
    untitled.title = "T";
    QTest::newRow("title without artist")
        << untitled << QStringList{"<SPAN class=\"subtitle\"> - T</SPAN><BR>\n"}
        << QStringList{"class=\"title\"", "<B>Artist</B>"};

    AlbumRecord ad;
    ad.ad = 5;
    QTest::newRow("unknown A/D code leaves the row out")
        << ad << QStringList{} << QStringList{"A/D"};
    ad.ad = 0;
    QTest::newRow("A/D code 0") << ad << QStringList{plain("A/D", "N/A")} << QStringList{};

    AlbumRecord bare;
    bare.inCollection = 0;
    bare.grade = 0;
    bare.freedbId.clear();
    QTest::newRow("rows always present")
        << bare
        << QStringList{plain("In Collection", "No"), plain("Grade", "0"), plain("On Loan", "No")}
        << QStringList{"On Loan To", "URL", "Notes", "Tracks", "<IMG", "FreeDB", "Barcode"};

    AlbumRecord notes;
    notes.notes = "one\r\ntwo\nthree\r";
    QTest::newRow("notes line breaks")
        << notes << QStringList{"<TD>\none<BR>two<BR>three</TR></TABLE><BR>\n</TR></TABLE>\n"}
        << QStringList{"\r"};

    AlbumRecord hostile;
    hostile.artist = "<script>x&y</script>";
    hostile.url = "https://x.example/\"><script>";
    hostile.onLoanTo = "O'Brien \"Bob\"";
    hostile.barcode = "<b>0724</b>";
    QTest::newRow("values are escaped")
        << hostile
        << QStringList{"<SPAN class=\"title\">&lt;script&gt;x&amp;y&lt;/script&gt;</SPAN>",
                       "href=\"https://x.example/%22%3E%3Cscript%3E\"",
                       plain("On Loan To", "O'Brien &quot;Bob&quot;"), "<B>Barcode</B>",
                       "<TD>&lt;b&gt;0724&lt;/b&gt;</TD>"}
        << QStringList{"<script>", "<b>0724"};
}

void TestAlbumPage::bodyPieces()
{
    QFETCH(AlbumRecord, record);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    const QString text = body(record);
    for (const QString& piece : present)
        QVERIFY2(text.contains(piece), qPrintable(piece));
    for (const QString& piece : absent)
        QVERIFY2(!text.contains(piece), qPrintable(piece));
}

void TestAlbumPage::onlyWebLinksAndLocalPictures_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("image");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    const auto link = [](const QString& target) {
        return QStringLiteral("<A href=\"%1\", title=").arg(target);
    };
    const auto picture = [](const QString& source) {
        return QStringLiteral("<IMG src=\"%1\" BORDER").arg(source);
    };
    QTest::newRow("web and local file") << "https://music.example/a?b=1&c=2"
                                        << "/covers/a b#c?.jpg"
                                        << QStringList{link("https://music.example/a?b=1&amp;c=2"),
                                                       picture("file:///covers/a%20b%23c%3F.jpg")}
                                        << QStringList{};
    QTest::newRow("mail, share-like paths stay local")
        << "mailto:shop@music.example"
        << "//share.example/x.png"
        << QStringList{link("mailto:shop@music.example"), picture("file:///share.example/x.png")}
        << QStringList{};
    QTest::newRow("backslash after the root")
        << "http://music.example/"
        << "/\\share.example/x.png" << QStringList{picture("file:///%5Cshare.example/x.png")}
        << QStringList{};
    QTest::newRow("script link, remote picture")
        << "javascript:alert(1)"
        << "http://tracker.example/pixel.png" << QStringList{plain("URL", "javascript:alert(1)")}
        << QStringList{"<A ", "<IMG"};
    QTest::newRow("hidden script scheme, script picture")
        << "java\tscript:alert(1)"
        << "javascript:alert(1)" << QStringList{} << QStringList{"<A ", "<IMG"};
    QTest::newRow("local file link, file address picture")
        << "file:///etc/passwd"
        << "file:///etc/passwd" << QStringList{plain("URL", "file:///etc/passwd")}
        << QStringList{"<A ", "<IMG"};
    QTest::newRow("data link, relative picture")
        << "data:text/html,<b>x</b>"
        << "covers/front.jpg" << QStringList{plain("URL", "data:text/html,&lt;b&gt;x&lt;/b&gt;")}
        << QStringList{"<A ", "<IMG"};
}

// A written page is safe in any browser: it links only to web and mail addresses and shows
// only pictures from local files; anything else shows as text or not at all.
void TestAlbumPage::onlyWebLinksAndLocalPictures()
{
    QFETCH(QString, url);
    QFETCH(QString, image);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    AlbumRecord record;
    record.url = url;
    record.frontImage = image;
    const QString text = body(record);
    for (const QString& piece : present)
        QVERIFY2(text.contains(piece), qPrintable(text));
    for (const QString& piece : absent)
        QVERIFY2(!text.contains(piece, Qt::CaseInsensitive), qPrintable(text));
}

void TestAlbumPage::trackLine_data()
{
    QTest::addColumn<TrackRecord>("record");
    QTest::addColumn<QString>("line");
    QTest::newRow("no artist, length")
        << track(3, "", "Song", 1900, "4:05") << "03 Song (4:05)<BR>";
    QTest::newRow("artist and year")
        << track(3, "Art", "Song", 1999, "4:05") << "03 Art - Song (1999) (4:05)<BR>";
    QTest::newRow("year before 1900") << track(1, "", "Old", 1850, "") << "01 Old<BR>";
    QTest::newRow("three digits") << track(100, "", "Long", 1901, "") << "100 Long (1901)<BR>";
    QTest::newRow("escaped") << track(2, "A&B", "<x>", 0, "\"1\"")
                             << "02 A&amp;B - &lt;x&gt; (&quot;1&quot;)<BR>";
}

void TestAlbumPage::trackLine()
{
    QFETCH(TrackRecord, record);
    QFETCH(QString, line);
    QCOMPARE(HtmlPageWriter::trackLine(record), line);
}

void TestAlbumPage::albumWithoutTracksStillGetsAPage()
{
    AlbumRecord record;
    record.title = QStringLiteral("Alone");
    const int id = m_albums.Add(m_database.get(), record);
    const QString path = m_albums.WritePage(m_database.get(), id, false);
    QVERIFY(!path.isEmpty());
    const QString page = readUtf8(path);
    QVERIFY(page.contains(QLatin1String("Alone")));
    QVERIFY(!page.contains(QLatin1String("<B>Tracks</B>")));
    QVERIFY(page.endsWith(QLatin1String("</TR></TABLE>\n</FONT></BODY>\n</HTML>")));
}

void TestAlbumPage::nothingToShowGivesNoPage_data()
{
    QTest::addColumn<bool>("deleted");
    QTest::addColumn<int>("offset");
    QTest::newRow("no such album") << false << 1000;
    QTest::newRow("no album at all") << false << -1000;
    QTest::newRow("soft-deleted album") << true << 0;
}

void TestAlbumPage::nothingToShowGivesNoPage()
{
    QFETCH(bool, deleted);
    QFETCH(int, offset);
    const int id = m_albums.Add(m_database.get(), AlbumRecord());
    if (deleted)
        QVERIFY(m_albums.Delete(m_database.get(), id, false));
    const int asked = offset == -1000 ? -1 : id + offset;
    QCOMPARE(m_albums.WritePage(m_database.get(), asked, false), QString());
    QVERIFY(!QFile::exists(m_files.filePath("pages/post.html")));
}

void TestAlbumPage::unwritablePageFolderGivesNoPage()
{
    // A file where the folder should be: no folder can be made there, whoever runs the test.
    QFile blocker(m_files.filePath("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    AppPaths::setPageDirectory(m_files.filePath("blocker/pages"));
    const int id = m_albums.Add(m_database.get(), AlbumRecord());
    QCOMPARE(m_albums.WritePage(m_database.get(), id, false), QString());
}

void TestAlbumPage::bodyWritesEveryPartAfterAFailedOne_data()
{
    QTest::addColumn<int>("refused");
    QTest::addColumn<QString>("missing");
    QTest::newRow("heading") << 1 << "<SPAN class=\"title\">";
    QTest::newRow("a music detail row") << 4 << "<B>Genre</B>";
    QTest::newRow("the tracks") << 6 << "01 One";
    QTest::newRow("a personal detail row") << 9 << "Purchase Date";
}

void TestAlbumPage::bodyWritesEveryPartAfterAFailedOne()
{
    QFETCH(int, refused);
    QFETCH(QString, missing);
    AlbumRecord r;
    r.artist = QStringLiteral("Artist");
    r.genre = QStringLiteral("Genre");
    r.purchaseDate = QDateTime(QDate(2020, 1, 2), QTime(0, 0), Qt::UTC);
    r.notes = QStringLiteral("Notes");
    RefusingDevice device(refused);
    QVERIFY(!m_albums.WriteAlbumBody(&device, r, {track(1, QString(), "One", 0, QString())}));
    const QString written = QString::fromUtf8(device.data());
    QVERIFY(!written.contains(missing));
    QVERIFY(written.contains(QStringLiteral("Product Details")));
    QVERIFY(written.contains(QStringLiteral("<B>Notes</B>")));
    QVERIFY(written.endsWith(QStringLiteral("</TR></TABLE>\n")));
}

// Without a folder given, pages go to a folder of this process's own in the cache, so two
// running programs never show each other's pages.
void TestAlbumPage::pageFolderIsThisProcesssOwn()
{
    QStandardPaths::setTestModeEnabled(true);
    AppPaths::setPageDirectory(QString());
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const QString folder = AppPaths::pageDirectory();
    QCOMPARE(folder, cache + QStringLiteral("/pages-%1/").arg(QCoreApplication::applicationPid()));
    const int id = m_albums.Add(m_database.get(), AlbumRecord());
    QCOMPARE(m_albums.WritePage(m_database.get(), id, false), folder + QLatin1String("post.html"));
    QDir(folder).removeRecursively();
}

QTEST_GUILESS_MAIN(TestAlbumPage)
#include "TestAlbumPage.moc"
