#include "find/DuplicateFinder.h"
#include "find/TitleFolding.h"
#include "support/TestCatalog.h"

#include <QtTest>

// Folding of names and titles, and the groups found in a real catalogue: every reason, a group
// joined by two reasons, and deleted albums that must not count.
class TestDuplicateFinder : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void folding_data();
    void folding();
    void barcodes_data();
    void barcodes();
    void groupsByEveryReason();
    void catalogueWithoutIdsTable();

private:
    static QString groupsText(const QVector<DuplicateFinder::Group>& groups);

    std::unique_ptr<TestCatalog> m_files;
    std::unique_ptr<ReportRecorder> m_reports;
    AlbumTable m_albums;
    DatabaseHandle m_database;
};

namespace
{

const char* const Albums =
    "INSERT INTO music_artists (artist_id, artist_name, artist_deleted) VALUES "
    "(1, 'The Ann Band', 0), (2, 'Bob', 0), (3, 'Cat', 0), (4, 'Dan', 0), (5, 'Eve', 1),"
    "(6, 'Fay', 0), (7, 'Ann Band, The', 0);"
    "INSERT INTO music_types (type_id, type_name) VALUES (1, 'CD'), (2, 'LP');"
    "INSERT INTO music_labels (label_id, label_name) VALUES (1, 'Northlight');"
    "INSERT INTO music (music_id, artist_id, title, type_id, year, label_id, labelnumber, "
    "deleted) VALUES "
    "(1, 1, 'Blue', 1, 1999, 1, 'NL 001', 0),"
    "(2, 7, 'Blue [Deluxe Edition]', 2, 2011, NULL, NULL, 0),"
    "(3, 2, 'Green', 1, NULL, NULL, NULL, 0),"
    "(4, 3, 'Red', 1, NULL, NULL, NULL, 0),"
    "(5, 4, 'Other', 1, NULL, NULL, NULL, 0),"
    "(6, 5, 'Ex', 1, NULL, NULL, NULL, 0),"
    "(7, 5, 'Why', 1, NULL, NULL, NULL, 0),"
    "(8, 6, 'Alone', 1, NULL, NULL, NULL, 0),"
    "(9, 6, 'Alone', 1, NULL, NULL, NULL, 1),"
    "(10, 6, 'Gone', 1, NULL, NULL, NULL, 1),"
    "(11, 6, 'Kept', 1, NULL, NULL, NULL, 0);"
    "INSERT INTO album_ids (album_id, barcode, discogs_release_id, musicbrainz_release_id, "
    "ids_deleted) VALUES "
    "(1, '5 012345 678900', NULL, NULL, 0),"
    "(3, '5012345678900', NULL, NULL, 0),"
    "(4, NULL, '123', NULL, 0),"
    "(5, NULL, ' 123 ', NULL, 0),"
    "(6, NULL, NULL, '0b1c2d3e-0000-4000-8000-000000000001', 0),"
    "(7, NULL, NULL, '0B1C2D3E-0000-4000-8000-000000000001', 0),"
    // A deleted album whose ids row an older version left unmarked.
    "(10, '999', '999', NULL, 0),"
    "(11, '999', '999', NULL, 0);";

} // namespace

void TestDuplicateFinder::init()
{
    m_files = std::make_unique<TestCatalog>();
    m_reports = std::make_unique<ReportRecorder>();
    QVERIFY(m_albums.OpenDatabase(&m_database, m_files->copyOfTemplate(),
                                  DatabaseEx::catalogConnectString()));
    QVERIFY(m_database->execute(Albums));
}

void TestDuplicateFinder::cleanup()
{
    m_albums.CloseDatabase(&m_database);
    QCOMPARE(m_reports->count(), 0);
    m_reports.reset();
    m_files.reset();
}

// "1 2 3: barcode artist_title (1[...] 2[...])" a group, groups apart by " | ".
QString TestDuplicateFinder::groupsText(const QVector<DuplicateFinder::Group>& groups)
{
    QStringList texts;
    for (const DuplicateFinder::Group& group : groups) {
        QStringList albums;
        for (const DuplicateFinder::Album& album : group.albums)
            albums << QStringLiteral("%1[%2]")
                          .arg(album.musicId)
                          .arg(DuplicateFinder::reasonKeys(album.reasons).join(QLatin1Char('+')));
        texts << QStringLiteral("%1: %2").arg(
            DuplicateFinder::reasonKeys(group.reasons).join(QLatin1Char('+')),
            albums.join(QLatin1Char(' ')));
    }
    return texts.join(QLatin1String(" | "));
}

void TestDuplicateFinder::folding_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("isTitle");
    QTest::addColumn<bool>("same");
    QTest::newRow("case") << "Abbey Road"
                          << "ABBEY ROAD" << true << true;
    QTest::newRow("accents") << "Début"
                             << "Debut" << true << true;
    QTest::newRow("accents in names") << "Björk Guðmundsdóttir"
                                      << "Bjork Gudmundsdottir" << false << true;
    QTest::newRow("sharp s") << "Jürgen Weiß Trio"
                             << "Jurgen Weiss Trio" << false << true;
    QTest::newRow("punctuation") << "Sgt. Pepper's Lonely Hearts Club Band"
                                 << "Sgt Peppers Lonely Hearts Club Band" << true << true;
    QTest::newRow("ampersand") << "Kestrel & Finch"
                               << "Kestrel and Finch" << false << true;
    QTest::newRow("leading The") << "The Wall"
                                 << "Wall" << true << true;
    QTest::newRow("trailing , The") << "Beatles, The"
                                    << "The Beatles" << false << true;
    QTest::newRow("remastered") << "Abbey Road (Remastered)"
                                << "Abbey Road" << true << true;
    QTest::newRow("deluxe edition") << "Rumours [Deluxe Edition]"
                                    << "Rumours" << true << true;
    QTest::newRow("dash remaster") << "Rumours - 2011 Remaster"
                                   << "Rumours" << true << true;
    QTest::newRow("en dash and two notes") << "Rumours \u2013 2004 Remaster [Bonus Tracks]"
                                           << "rumours" << true << true;
    QTest::newRow("edition words leave names alone") << "Deluxe (Remastered)"
                                                     << "Deluxe" << false << false;
    QTest::newRow("different titles") << "Abbey Road"
                                      << "Let It Be" << true << false;
    QTest::newRow("Theatre is not The atre") << "Theatre"
                                             << "The atre" << true << false;
    QTest::newRow("live is another recording") << "Rumours (Live)"
                                               << "Rumours" << true << false;
    QTest::newRow("numbers count") << "Volume 1"
                                   << "Volume 2" << true << false;
    QTest::newRow("hyphen is no dash note") << "Re-Remastered"
                                            << "Re" << true << false;
    QTest::newRow("a title that is all note") << "(Deluxe Edition)"
                                              << "Edition" << true << false;
    QTest::newRow("punctuation alone") << "!!!"
                                       << "???" << true << false;
}

void TestDuplicateFinder::folding()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, isTitle);
    QFETCH(bool, same);
    const auto fold = isTitle ? &TitleFolding::foldTitle : &TitleFolding::foldName;
    QVERIFY(!fold(first).isEmpty());
    QCOMPARE(fold(first) == fold(second), same);
}

void TestDuplicateFinder::barcodes_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("same");
    QTest::newRow("spaces and dashes") << "5 012345-678900"
                                       << "5012345678900" << true;
    QTest::newRow("UPC read as EAN") << "075992515818"
                                     << "0075992515818" << true;
    QTest::newRow("one digit apart") << "5012345678900"
                                     << "5012345678901" << false;
    QTest::newRow("a short code keeps its length") << "12345"
                                                   << "012345" << false;
}

void TestDuplicateFinder::barcodes()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, same);
    QCOMPARE(DuplicateFinder::normalisedBarcode(first) ==
                 DuplicateFinder::normalisedBarcode(second),
             same);
}

void TestDuplicateFinder::groupsByEveryReason()
{
    QVector<DuplicateFinder::Group> groups;
    QVERIFY(DuplicateFinder(m_database.get()).find(&groups));
    // Album 1 shares its barcode with 3 and its title with 2: one group. The deleted 9 and 10
    // leave 8 and 11 alone; a soft-deleted artist still names Eve's albums. Groups follow the
    // artist names as written.
    QCOMPARE(groupsText(groups),
             QStringLiteral("discogs_release: 4[discogs_release] 5[discogs_release] "
                            "| musicbrainz_release: 6[musicbrainz_release] 7[musicbrainz_release] "
                            "| barcode+artist_title: 1[barcode+artist_title] 2[artist_title] "
                            "3[barcode]"));
    const DuplicateFinder::Album& first = groups[2].albums[0];
    QCOMPARE(QStringList({first.artist, first.title, first.mediaType, QString::number(first.year),
                          first.label, first.labelNumber}),
             QStringList({"The Ann Band", "Blue", "CD", "1999", "Northlight", "NL 001"}));
    QCOMPARE(groups[1].albums[0].artist, QStringLiteral("Eve"));
    QCOMPARE(DuplicateFinder::reasonText(groups[2].reasons),
             QStringLiteral("Same barcode, same artist and title"));
}

void TestDuplicateFinder::catalogueWithoutIdsTable()
{
    QVERIFY(m_database->execute("DROP TABLE album_ids"));
    QVector<DuplicateFinder::Group> groups;
    QVERIFY(DuplicateFinder(m_database.get()).find(&groups));
    QCOMPARE(groupsText(groups), QStringLiteral("artist_title: 1[artist_title] 2[artist_title]"));
}

QTEST_GUILESS_MAIN(TestDuplicateFinder)
#include "TestDuplicateFinder.moc"
