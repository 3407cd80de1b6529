#include "db/AlbumTable.h"
#include "support/PlainTargets.h"
#include "support/TestCatalog.h"
#include "views/AlbumColumns.h"

#include <QtTest>

// The list document: literally for a small catalogue, every column as the album list shows
// it, and the failures that must leave no file behind.
class TestListDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void smallCatalogueLiterally_data();
    void smallCatalogueLiterally();
    void everyColumnReadsAsTheAlbumList();
    void rejectedFilterFailsWithTheErrorBox();
    void missingFolderFails();

private:
    int addAlbum(const QString& artist, const QString& title);
    QString write(const QVector<ColumnInfo>& columns, int gridLines,
                  const QString& condition = QString());

    TestCatalog m_files;
    AlbumTable m_albums;
    DatabaseHandle m_database;
    std::unique_ptr<ReportRecorder> m_reports;
};

namespace
{

ColumnInfo column(const QString& caption, const QString& field, int width)
{
    ColumnInfo info;
    info.caption = caption;
    info.field = field;
    info.width = width;
    return info;
}

QString header(const QString& width, int border)
{
    return QStringLiteral("<HTML>\n<HEAD>\n<TITLE>Di Vuror list %1</TITLE>\n"
                          "<style>\n<!--\n BODY,TABLE,TR,TD,p { font-family: Verdana, sans-serif; "
                          "font-size: 11px; COLOR: #000000 }\n-->\n</style></HEAD>\n<BODY>\n"
                          "<TABLE width=\"%2\" border=\"%3\" cellpadding=\"0\" cellspacing=\"0\" "
                          "style=\"border-collapse: collapse\" bordercolor=\"#e0e0e0\">\n")
        .arg(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat), width)
        .arg(border);
}

const char* const Footer = "</TABLE></BODY>\n</HTML>";

} // namespace

void TestListDocument::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(m_files.isValid());
}

void TestListDocument::init()
{
    m_reports = std::make_unique<ReportRecorder>();
    QVERIFY(m_albums.OpenDatabase(&m_database, m_files.copyOfTemplate(),
                                  DatabaseEx::catalogConnectString()));
}

void TestListDocument::cleanup()
{
    m_albums.CloseDatabase(&m_database);
    QCOMPARE(m_reports->count(), 0);
    m_reports.reset();
}

int TestListDocument::addAlbum(const QString& artist, const QString& title)
{
    AlbumRecord record;
    record.artist = artist;
    record.title = title;
    return m_albums.Add(m_database.get(), record);
}

QString TestListDocument::write(const QVector<ColumnInfo>& columns, int gridLines,
                                const QString& condition)
{
    const QString path = m_files.filePath("print.html");
    QFile::remove(path);
    if (!m_albums.WriteListTable(m_database.get(), columns, gridLines, path,
                                 QStringLiteral("artist_name ASC, title ASC"), false, condition))
        return QStringLiteral("failed");
    const QByteArray bytes = TestCatalog::readBytes(path);
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return QStringLiteral("no byte-order mark");
    return QString::fromUtf8(bytes.mid(3));
}

void TestListDocument::smallCatalogueLiterally_data()
{
    QTest::addColumn<bool>("withAlbums");
    QTest::addColumn<bool>("withColumns");
    QTest::addColumn<int>("gridLines");
    QTest::addColumn<QString>("rows");

    const QString captions =
        QStringLiteral("<TR><TD width=\"150\" bgcolor=\"#e0e0e0\"><B>Artist</B></TD>"
                       "<TD width=\"200\" bgcolor=\"#e0e0e0\"><B>Title</B></TD></TR>");
    const QString albums =
        QStringLiteral("<TR><TD width=\"150\">&nbsp;</TD><TD width=\"200\">Nameless</TD></TR>"
                       "<TR><TD width=\"150\">Ann &amp; Co</TD><TD width=\"200\">Zeta &lt;1&gt; "
                       "&quot;x&quot;</TD></TR>"
                       "<TR><TD width=\"150\">Bob</TD><TD width=\"200\">&nbsp;</TD></TR>");
    QTest::newRow("grid lines") << true << true << 1 << captions + albums;
    QTest::newRow("no grid lines") << true << true << 0 << captions + albums;
    QTest::newRow("no albums") << false << true << 1 << captions;
    QTest::newRow("no columns") << true << false << 1
                                << QStringLiteral("<TR></TR><TR></TR><TR></TR><TR></TR>");
}

void TestListDocument::smallCatalogueLiterally()
{
    QFETCH(bool, withAlbums);
    QFETCH(bool, withColumns);
    QFETCH(int, gridLines);
    QFETCH(QString, rows);
    if (withAlbums) {
        addAlbum(QStringLiteral("Bob"), QString());
        addAlbum(QStringLiteral("Ann & Co"), QStringLiteral("Zeta <1> \"x\""));
        addAlbum(QString(), QStringLiteral("Nameless"));
        QVERIFY(m_albums.Delete(m_database.get(), addAlbum("Ann", "Deleted"), false));
    }
    QVector<ColumnInfo> columns;
    if (withColumns)
        columns = {column("Artist", "artist_name", 150), column("Title", "title", 200)};
    const QString width = withColumns ? QStringLiteral("350px") : QStringLiteral("0px");
    QCOMPARE(write(columns, gridLines), header(width, gridLines) + rows + QLatin1String(Footer));
}

void TestListDocument::everyColumnReadsAsTheAlbumList()
{
    m_albums.CloseDatabase(&m_database);
    QVERIFY(m_albums.OpenDatabase(&m_database, m_files.copyOfDemo(),
                                  DatabaseEx::catalogConnectString()));
    AlbumRecord awkward;
    awkward.artist = QStringLiteral("Ωμέγα & <Co>");
    awkward.notes = QStringLiteral("tab\there\r\nline");
    awkward.currentValue = QStringLiteral("12.5");
    awkward.purchaseDate = QDateTime(QDate(2020, 2, 29), QTime(), Qt::UTC);
    QVERIFY(m_albums.Add(m_database.get(), awkward) > 0);

    QStringList fields;
    for (const AlbumColumns::Column& listColumn : AlbumColumns::defaults())
        fields << listColumn.field;
    QCOMPARE(fields.size(), 37);
    QVector<ColumnInfo> columns;
    for (const QString& field : fields)
        columns.append(column(field, field, 100));
    PlainRowTable list(fields);
    QVERIFY(
        m_albums.FillList(m_database.get(), &list, "artist_name ASC, title ASC", false, QString()));
    QVERIFY(list.rows.size() > 1);

    QString expected;
    for (const QStringList& row : qAsConst(list.rows)) {
        expected += QLatin1String("<TR>");
        for (const QString& cell : row)
            expected +=
                QLatin1String("<TD width=\"100\">") +
                (cell.isEmpty() ? QStringLiteral("&nbsp;") : HtmlPageWriter::escapeHtml(cell)) +
                QLatin1String("</TD>");
        expected += QLatin1String("</TR>");
    }
    const QString document = write(columns, 1);
    QVERIFY(document.contains(QLatin1String("2/29/20")));
    QVERIFY(document.contains(QLatin1String("<TD width=\"100\">12.50</TD>")));
    QVERIFY(document.endsWith(expected + QLatin1String(Footer)));
}

void TestListDocument::rejectedFilterFailsWithTheErrorBox()
{
    addAlbum(QStringLiteral("Ann"), QStringLiteral("Kept"));
    const QString path = m_files.filePath("print.html");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("older document");
    old.close();
    QVERIFY(!m_albums.WriteListTable(m_database.get(), {column("Title", "title", 80)}, 1, path,
                                     QString(), false, QStringLiteral("no_such_column = 1")));
    QCOMPARE(m_reports->count(), 1);
    QVERIFY(m_reports->lastText().contains(QLatin1String("no_such_column")));
    m_reports->clear();
    QCOMPARE(TestCatalog::readBytes(path), QByteArray("older document"));
}

void TestListDocument::missingFolderFails()
{
    addAlbum(QStringLiteral("Ann"), QStringLiteral("Kept"));
    QVERIFY(!m_albums.WriteListTable(m_database.get(), {column("Title", "title", 80)}, 1,
                                     m_files.filePath("missing/print.html"), QString(), false,
                                     QString()));
    // The reason is reported, once.
    QCOMPARE(m_reports->count(), 1);
    QVERIFY(m_reports->lastText().startsWith(
        QStringLiteral("cannot write '%1': ").arg(m_files.filePath("missing/print.html"))));
    m_reports->clear();
}

QTEST_GUILESS_MAIN(TestListDocument)
#include "TestListDocument.moc"
