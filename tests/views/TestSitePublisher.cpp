#include "db/AlbumTable.h"
#include "support/TestCatalog.h"
#include "views/JpegCoverScaler.h"
#include "views/SiteFolder.h"
#include "views/SitePageWriter.h"
#include "views/SitePublisher.h"

#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

// The web site publisher on real catalogues: what the pages and the data file hold, which
// folders it may replace, its covers, and the command that runs it.
class TestSitePublisher : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void hostileNamesStayText();
    void everyFileLoadsOnlyFromTheFolder();
    void targetFolders_data();
    void targetFolders();
    void cancelLeavesTheOldSite();
    void coversAreScaledJpegs();
    void commandOptions_data();
    void commandOptions();

private:
    int addAlbum(AlbumRecord album, const QString& trackTitle = QStringLiteral("Intro"));
    SitePublisher::Outcome publish(const QString& target, SitePublisher::Options options = {});
    QJsonArray publishedAlbums(const QString& site);

    std::unique_ptr<TestCatalog> m_files;
    std::unique_ptr<ReportRecorder> m_reports;
    AlbumTable m_albums;
    DatabaseHandle m_database;
    QString m_catalogue;
    QString m_lastError;
};

namespace
{

const QString Hostile = QStringLiteral("</script><script>alert(1)</script>\"'&<b>\u2028");

AlbumRecord album(const QString& artist, const QString& title, int year)
{
    AlbumRecord record;
    record.artist = artist;
    record.title = title;
    record.year = year;
    return record;
}

QString readText(const QString& path)
{
    return QString::fromUtf8(TestCatalog::readBytes(path));
}

// Every name in a folder, its subfolders' contents included, as relative paths.
QStringList filesIn(const QString& folder)
{
    QStringList names;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        names << QDir(folder).relativeFilePath(it.next());
    names.sort();
    return names;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

void TestSitePublisher::init()
{
    m_files = std::make_unique<TestCatalog>();
    m_reports = std::make_unique<ReportRecorder>();
    m_catalogue = m_files->copyOfTemplate();
    QVERIFY(m_albums.OpenDatabase(&m_database, m_catalogue, DatabaseEx::catalogConnectString()));
}

void TestSitePublisher::cleanup()
{
    m_albums.CloseDatabase(&m_database);
    m_reports.reset();
    m_files.reset();
}

int TestSitePublisher::addAlbum(AlbumRecord record, const QString& trackTitle)
{
    TrackRecord track;
    track.trackNumber = 1;
    track.title = trackTitle;
    QVector<TrackRecord> tracks{track};
    return m_albums.saveWithTracks(m_database.get(), record, -1, &tracks);
}

SitePublisher::Outcome TestSitePublisher::publish(const QString& target,
                                                  SitePublisher::Options options)
{
    JpegCoverScaler covers;
    SitePublisher publisher(m_database.get(), &covers);
    const SitePublisher::Outcome outcome = publisher.publish(target, options);
    m_lastError = publisher.errorText();
    return outcome;
}

// The albums of data.js, read as a browser would read the script's JSON.
QJsonArray TestSitePublisher::publishedAlbums(const QString& site)
{
    const QByteArray script = TestCatalog::readBytes(QDir(site).filePath("data.js"));
    const QByteArray start = "window.tunvaleSite.albums = ";
    const int from = script.indexOf(start);
    if (from < 0)
        return {};
    QByteArray json = script.mid(from + start.size()).trimmed();
    json.chop(1); // the closing ";"
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    return error.error == QJsonParseError::NoError ? document.array() : QJsonArray();
}

void TestSitePublisher::hostileNamesStayText()
{
    AlbumRecord record = album(Hostile, Hostile, 1999);
    record.notes = Hostile;
    record.labelNumber = Hostile;
    const int id = addAlbum(record, Hostile);
    QVERIFY(id > 0);
    const QString site = m_files->filePath("site");
    QCOMPARE(publish(site), SitePublisher::Outcome::Published);

    const QString script = readText(QDir(site).filePath("data.js"));
    QVERIFY(!script.contains(QLatin1Char('<')));
    QVERIFY(!script.contains(QChar(0x2028)));
    const QJsonArray albums = publishedAlbums(site);
    QCOMPARE(albums.size(), 1);
    const QJsonArray row = albums[0].toArray();
    QCOMPARE(row[0].toInt(), id);
    QCOMPARE(row[1].toString(), Hostile);
    QCOMPARE(row[7].toString(), Hostile);

    const QString page = readText(QDir(site).filePath(QStringLiteral("albums/%1.html").arg(id)));
    QVERIFY(!page.contains(QLatin1String("<script"), Qt::CaseInsensitive));
    QVERIFY(!page.contains(QLatin1String("<b>")));
    QVERIFY(page.contains(QLatin1String("&lt;/script&gt;&lt;script&gt;alert(1)")));
}

// Nothing may come from outside the folder, and no page may carry script of its own: the
// content policy would block it, and it would be a way in for catalogue text.
void TestSitePublisher::everyFileLoadsOnlyFromTheFolder()
{
    AlbumRecord record = album(QStringLiteral("Nina"), QStringLiteral("Blue"), 2001);
    record.url = QStringLiteral("https://example.org/blue");
    record.frontImage = QStringLiteral("https://example.org/cover.jpg");
    const int id = addAlbum(record);
    const QString site = m_files->filePath("site");
    QCOMPARE(publish(site), SitePublisher::Outcome::Published);
    const QRegularExpression loads(QStringLiteral("(?:src|href)=\"([^\"]*)\""),
                                   QRegularExpression::CaseInsensitiveOption);
    for (const QString& name :
         {QStringLiteral("index.html"), QStringLiteral("albums/%1.html").arg(id)}) {
        const QString page = readText(QDir(site).filePath(name));
        QVERIFY2(page.contains(QStringLiteral("<meta http-equiv=\"Content-Security-Policy\" "
                                              "content=\"%1\">")
                                   .arg(QLatin1String(SitePageWriter::ContentPolicy))),
                 qPrintable(name));
        QVERIFY(!page.contains(QRegularExpression(QStringLiteral("<script>|<script [^>]*>[^<]"))));
        auto match = loads.globalMatch(page);
        while (match.hasNext()) {
            const QString address = match.next().captured(1);
            // The one address of the web is the album's own link, followed only when tapped.
            if (address == QLatin1String("https://example.org/blue"))
                continue;
            QVERIFY2(QUrl(address).isRelative() && !address.startsWith(QLatin1Char('/')),
                     qPrintable(name + QLatin1String(": ") + address));
        }
    }
    const QString css = readText(QDir(site).filePath("site.css"));
    QVERIFY(!css.contains(QLatin1String("url(")) && !css.contains(QLatin1String("@import")));
}

void TestSitePublisher::targetFolders_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("published");
    QTest::newRow("new folder") << "new" << true;
    QTest::newRow("empty folder") << "empty" << true;
    QTest::newRow("published before") << "previous" << true;
    QTest::newRow("folder of other files") << "other" << false;
    QTest::newRow("marker that is a folder") << "markerfolder" << false;
    QTest::newRow("plain file") << "file" << false;
    QTest::newRow("link to an empty folder") << "link" << false;
    QTest::newRow("folder holding the catalogue") << "catalogue" << false;
    QTest::newRow("missing parent") << "noparent" << false;
}

void TestSitePublisher::targetFolders()
{
    QFETCH(QString, kind);
    QFETCH(bool, published);
    QVERIFY(addAlbum(album(QStringLiteral("Ann"), QStringLiteral("One"), 1990)) > 0);
    QString target = m_files->filePath("site");
    const QDir files(m_files->folder());
    const QString keep = QDir(target).filePath("keep.txt");
    if (kind == QLatin1String("empty")) {
        QVERIFY(files.mkdir("site"));
    } else if (kind == QLatin1String("previous")) {
        QCOMPARE(publish(target), SitePublisher::Outcome::Published);
        QVERIFY(writeFile(QDir(target).filePath("albums/stale.html"), "old"));
    } else if (kind == QLatin1String("other") || kind == QLatin1String("markerfolder")) {
        QVERIFY(files.mkdir("site") && writeFile(keep, "mine"));
        if (kind == QLatin1String("markerfolder"))
            QVERIFY(QDir(target).mkdir(QLatin1String(SiteFolder::MarkerName)));
    } else if (kind == QLatin1String("file")) {
        QVERIFY(writeFile(target, "mine"));
    } else if (kind == QLatin1String("link")) {
        QVERIFY(files.mkdir("elsewhere"));
        QVERIFY(QFile::link(m_files->filePath("elsewhere"), target));
    } else if (kind == QLatin1String("catalogue")) {
        // A previous site that someone then kept the catalogue in.
        QCOMPARE(publish(target), SitePublisher::Outcome::Published);
        m_albums.CloseDatabase(&m_database);
        const QString moved = QDir(target).filePath("test.muf");
        QVERIFY(QFile::rename(m_catalogue, moved));
        QVERIFY(m_albums.OpenDatabase(&m_database, moved, DatabaseEx::catalogConnectString()));
    } else if (kind == QLatin1String("noparent")) {
        target = m_files->filePath("missing/site");
    }
    const QStringList before = QFileInfo(target).isDir() ? filesIn(target) : QStringList();
    const QByteArray fileBefore = QFileInfo(target).isFile() ? TestCatalog::readBytes(target) : "";

    const SitePublisher::Outcome outcome = publish(target);
    QCOMPARE(outcome == SitePublisher::Outcome::Published, published);
    if (published) {
        QVERIFY(QFileInfo(QDir(target).filePath("index.html")).isFile());
        QVERIFY(QFileInfo(QDir(target).filePath(QLatin1String(SiteFolder::MarkerName))).isFile());
        // Replaced whole: nothing of the old site stays.
        QVERIFY(!QFileInfo::exists(QDir(target).filePath("albums/stale.html")));
    } else {
        QVERIFY(!m_lastError.isEmpty());
        QCOMPARE(QFileInfo(target).isDir() ? filesIn(target) : QStringList(), before);
        QCOMPARE(QFileInfo(target).isFile() ? TestCatalog::readBytes(target) : "", fileBefore);
        if (kind == QLatin1String("link"))
            QVERIFY(QFileInfo(target).isSymLink() && filesIn(target).isEmpty());
    }
    // No temporary folder is left beside it, whatever happened.
    const QStringList beside =
        QFileInfo(target).dir().entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    QVERIFY2(beside.filter(QRegularExpression(QStringLiteral("^\\.site-"))).isEmpty(),
             qPrintable(beside.join(QLatin1Char(' '))));
}

void TestSitePublisher::cancelLeavesTheOldSite()
{
    for (int i = 0; i < 5; ++i)
        QVERIFY(addAlbum(album(QStringLiteral("Ann"), QStringLiteral("Take %1").arg(i), 1990)) > 0);
    const QString site = m_files->filePath("site");
    QCOMPARE(publish(site), SitePublisher::Outcome::Published);
    const QStringList before = filesIn(site);
    const QByteArray data = TestCatalog::readBytes(QDir(site).filePath("data.js"));
    QVERIFY(addAlbum(album(QStringLiteral("Bob"), QStringLiteral("New"), 2000)) > 0);

    JpegCoverScaler covers;
    SitePublisher publisher(m_database.get(), &covers);
    publisher.setProgress([](int done, int) { return done < 3; });
    QCOMPARE(publisher.publish(site, {}), SitePublisher::Outcome::Cancelled);
    QCOMPARE(filesIn(site), before);
    QCOMPARE(TestCatalog::readBytes(QDir(site).filePath("data.js")), data);
    QCOMPARE(QDir(m_files->folder()).entryList(QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("site")});
}

void TestSitePublisher::coversAreScaledJpegs()
{
    const QString large = m_files->filePath("large.png");
    QImage picture(1200, 900, QImage::Format_ARGB32);
    picture.fill(QColor(200, 30, 30, 128));
    QVERIFY(picture.save(large));
    const QString small = m_files->filePath("small.jpg");
    QVERIFY(picture.scaled(300, 200).save(small));
    QVERIFY(writeFile(m_files->filePath("broken.jpg"), "not a picture"));
    AlbumRecord record = album(QStringLiteral("Cleo"), QStringLiteral("Covers"), 2010);
    record.frontImage = large;
    record.backImage = small;
    const int withCovers = addAlbum(record);
    record.frontImage = m_files->filePath("broken.jpg");
    record.backImage = QStringLiteral("small.jpg"); // relative: not a picture of this machine
    const int unreadable = addAlbum(record);

    const QString site = m_files->filePath("site");
    QCOMPARE(publish(site), SitePublisher::Outcome::Published);
    QCOMPARE(filesIn(QDir(site).filePath("covers")),
             (QStringList{QStringLiteral("%1-back.jpg").arg(withCovers),
                          QStringLiteral("%1-front.jpg").arg(withCovers)}));
    QImageReader front(QDir(site).filePath(QStringLiteral("covers/%1-front.jpg").arg(withCovers)));
    QCOMPARE(front.format(), QByteArray("jpeg"));
    QCOMPARE(front.size(), QSize(600, 450));
    QImageReader back(QDir(site).filePath(QStringLiteral("covers/%1-back.jpg").arg(withCovers)));
    QCOMPARE(back.size(), QSize(300, 200));
    const QString page =
        readText(QDir(site).filePath(QStringLiteral("albums/%1.html").arg(withCovers)));
    QVERIFY(page.contains(QStringLiteral("src=\"../covers/%1-front.jpg\"").arg(withCovers)));
    QVERIFY(!page.contains(QLatin1String("file:")));
    QVERIFY(!readText(QDir(site).filePath(QStringLiteral("albums/%1.html").arg(unreadable)))
                 .contains(QLatin1String("<img")));

    SitePublisher::Options withoutCovers;
    withoutCovers.covers = false;
    QCOMPARE(publish(site, withoutCovers), SitePublisher::Outcome::Published);
    QVERIFY(filesIn(QDir(site).filePath("covers")).isEmpty());
}

void TestSitePublisher::commandOptions_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<int>("covers");
    QTest::newRow("everything") << QStringList() << 0 << QStringList{"Early", "Late", "Solo"} << 1;
    QTest::newRow("where") << QStringList{"--where", "year > 2000"} << 0
                           << QStringList{"Late", "Solo"} << 0;
    QTest::newRow("artist") << QStringList{"--artist", "Dee"} << 0 << QStringList{"Early", "Late"}
                            << 1;
    QTest::newRow("artist and where") << QStringList{"--artist", "Dee", "--where", "year > 2000"}
                                      << 0 << QStringList{"Late"} << 0;
    QTest::newRow("no covers") << QStringList{"--no-covers"} << 0
                               << QStringList{"Early", "Late", "Solo"} << 0;
    QTest::newRow("where that writes")
        << QStringList{"--where", "1); DELETE FROM music; --"} << 2 << QStringList() << 0;
    QTest::newRow("unknown artist") << QStringList{"--artist", "Nobody"} << 1 << QStringList() << 0;
}

void TestSitePublisher::commandOptions()
{
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QStringList, titles);
    QFETCH(int, covers);
    const QString cover = m_files->filePath("cover.png");
    QImage picture(40, 40, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QVERIFY(picture.save(cover));
    AlbumRecord early = album(QStringLiteral("Dee"), QStringLiteral("Early"), 1995);
    early.frontImage = cover;
    QVERIFY(addAlbum(early) > 0);
    QVERIFY(addAlbum(album(QStringLiteral("Dee"), QStringLiteral("Late"), 2005)) > 0);
    QVERIFY(addAlbum(album(QStringLiteral("Eve"), QStringLiteral("Solo"), 2010)) > 0);
    m_albums.CloseDatabase(&m_database);

    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_files->filePath("config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_files->filePath("data"));
    cli.setProcessEnvironment(environment);
    const QString site = m_files->filePath("site");
    cli.start(TestCatalog::programDirectory() + QLatin1String("/tunvale-cli"),
              QStringList{QStringLiteral("publish"), m_catalogue, site} + options);
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), exitCode);
    if (exitCode != 0) {
        QVERIFY(!QFileInfo::exists(site));
        QCOMPARE(cli.readAllStandardError().count('\n'), 1);
        return;
    }
    QStringList published;
    for (const QJsonValue& row : publishedAlbums(site))
        published << row.toArray()[2].toString();
    QCOMPARE(published, titles);
    QCOMPARE(filesIn(QDir(site).filePath("albums")).size(), titles.size());
    QCOMPARE(filesIn(QDir(site).filePath("covers")).size(), covers);
}

QTEST_MAIN(TestSitePublisher)
#include "TestSitePublisher.moc"
