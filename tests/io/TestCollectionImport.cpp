#include "db/AlbumTable.h"
#include "db/DatabaseEx.h"
#include "io/CollectionImport.h"
#include "support/TestCatalog.h"

#include <QFile>
#include <QtTest>

using Outcome = ImportSummary::Outcome;

// Imports into real catalogue files: the shared Discogs exports and broken files. The CSV
// export read back is a path of every album field.
class TestCollectionImport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void discogsRowsMapToAlbums_data();
    void discogsRowsMapToAlbums();
    void secondImportAddsNothing_data();
    void secondImportAddsNothing();
    void wantlistRowsBecomeWantedAlbums_data();
    void wantlistRowsBecomeWantedAlbums();
    void wantlistImportKeepsToNewReleasesAndGoodRows();
    void otherFilesAreRefused_data();
    void otherFilesAreRefused();
    void brokenFilesStoreNothing_data();
    void brokenFilesStoreNothing();
    void badRowsAreListedAndTheRestStored();
    void cancelAndChangedFileStoreNothing_data();
    void cancelAndChangedFileStoreNothing();
    void readOnlyCatalogueIsLeftUnchanged();

private:
    bool open(const QString& path);
    ImportSummary import(const QString& path,
                         CollectionImport::Format format = CollectionImport::Format::Detect,
                         bool dryRun = false);
    int count() { return m_albums.Count(m_database.get(), false); }
    bool loadRelease(int releaseId, AlbumRecord* album);
    QString writeFile(const QByteArray& bytes);

    std::unique_ptr<TestCatalog> m_files;
    AlbumTable m_albums;
    DatabaseHandle m_database;
};

namespace
{

QString dataPath(const QString& name)
{
    return QStringLiteral(TUNVALE_IO_TESTDATA "/") + name;
}

const QByteArray DiscogsHeader =
    "Catalog#,Artist,Title,Label,Format,Rating,Released,release_id,CollectionFolder,Date "
    "Added,Collection Media Condition,Collection Sleeve Condition,Collection Notes\r\n";

QByteArray discogsRow(int releaseId)
{
    return QByteArray("X 1,Artist,Title,Label,LP,,2001,") + QByteArray::number(releaseId) +
           ",Uncategorized,2020-01-02 03:04:05,,,\r\n";
}

} // namespace

void TestCollectionImport::init()
{
    m_files = std::make_unique<TestCatalog>();
    QVERIFY(open(m_files->copyOfTemplate()));
}

void TestCollectionImport::cleanup()
{
    m_albums.CloseDatabase(&m_database);
}

bool TestCollectionImport::open(const QString& path)
{
    m_albums.CloseDatabase(&m_database);
    return m_albums.OpenDatabase(&m_database, path, DatabaseEx::catalogConnectString());
}

ImportSummary TestCollectionImport::import(const QString& path, CollectionImport::Format format,
                                           bool dryRun)
{
    CollectionImport import(m_database.get());
    import.setWantlistCommand(QStringLiteral("the want-list command"));
    return import.run(path, format, dryRun);
}

bool TestCollectionImport::loadRelease(int releaseId, AlbumRecord* album)
{
    RecordsetHandle found;
    const QString sql =
        QStringLiteral(
            "SELECT music_id FROM music WHERE url = 'https://www.discogs.com/release/%1'")
            .arg(releaseId);
    return m_albums.OpenRecordset(&found, m_database.get(), sql) &&
           m_albums.GetRecordCount(found.get()) == 1 &&
           m_albums.Load(m_database.get(), m_albums.GetFieldInt(found.get(), "music_id"), album);
}

QString TestCollectionImport::writeFile(const QByteArray& bytes)
{
    const QString path = m_files->filePath(QStringLiteral("input.csv"));
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
    return path;
}

void TestCollectionImport::discogsRowsMapToAlbums_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("releaseId");
    QTest::addColumn<QStringList>("values"); // artist, title, label, label number, media type,
                                             // location, condition
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("grade");
    QTest::addColumn<QString>("notes");
    const QString gustw = QStringLiteral("gustw-vinyl-collection.csv");
    const QString russ = QStringLiteral("russmckendrick-discogs-scraper.first300.csv");
    const QString luke = QStringLiteral("lukelittle-serverless-mcp-chatbot-demo.csv");
    QTest::newRow("label number suffix, inch mark, leading blank")
        << gustw << 11220825
        << QStringList{"Tenastelin & King Alpha",
                       "Rasta Mission / Animal Rights",
                       "Akashic Records",
                       "AR-1202",
                       "12\"",
                       "",
                       ""}
        << 2017 << 1 << "Format: 12\"";
    QTest::newRow("two labels, three formats")
        << gustw << 14869294
        << QStringList{"Manu Chao", "Clandestino", "Because Music", "BEC5161605", "LP", "", ""}
        << 2020 << 1
        << "Format: 2xLP, Album, RP + CD, Album, RP + RE, Gat\nLabel: Because Music, Radio Bemba";
    QTest::newRow("artist list with numbers")
        << gustw << 5493812
        << QStringList{"DJ Panik, Dijeyow, Isaac Maya, Nfunk, Daddy Freddy",
                       "Move Ur Body / Gangster",
                       "Dubnest",
                       "DN06",
                       "12\"",
                       "",
                       ""}
        << 2014 << 1 << "Format: 12\"";
    QTest::newRow("two catalogue numbers")
        << gustw << 8973534
        << QStringList{"UB40", "Signing Off", "Graduate Records", "GRAD LP2", "LP", "", ""} << 1980
        << 1
        << "Format: LP, Album + 12\"\nLabel: Graduate Records, Graduate Records\n"
           "Catalog#: GRAD LP2, 12 GRAD LP 2";
    QTest::newRow("released 0, conditions")
        << gustw << 5554319
        << QStringList{"Daddy Teacha & Uptones", "No More War", "Ire Hi-Fi", "IRE11", "7\"", "",
                       "Very Good Plus (VG+)"}
        << 1900 << 1 << "Format: 7\"\nSleeve Condition: Generic";
    QTest::newRow("format cut short")
        << russ << 12571941 << QStringList{"Pixies", "Come On Pilgrim... It's Surfer Rosa",
                                           "4AD",    "4AD0084LP",
                                           "LP",     "",
                                           ""}
        << 2018 << 1 << "Format: LP, MiniAlbum, RE, Gol + LP, Album, RE, Gol + LP,";
    QTest::newRow("rating 4") << russ << 4708269 << QStringList{"Matt Berry", "Kill The Wolf",
                                                                "Acid Jazz",  "AJXLP334",
                                                                "LP",         "",
                                                                "Mint (M)"}
                              << 2013 << 8 << "Format: LP, Album\nSleeve Condition: Mint (M)";
    QTest::newRow("title in quotes")
        << russ << 1673433 << QStringList{"Joe Walsh",
                                          "\"But Seriously, Folks...\"",
                                          "Asylum Records",
                                          "K 53081",
                                          "LP",
                                          "",
                                          ""}
        << 1978 << 1 << "Format: LP, Album, Gat";
    QTest::newRow("Japanese, no notes column")
        << luke << 25251445
        << QStringList{"K.K. Slider",
                       "あつまれ どうぶつの森 とたけけミュージック = Animal Crossing: New Horizons "
                       "Totakeke Music Instrumental Selection",
                       "Columbia",
                       "COJX-9456",
                       "LP",
                       "",
                       "Mint (M)"}
        << 2022 << 1 << "Format: LP, Album, Mono";
    QTest::newRow("comma inside a catalogue number")
        << luke << 1498380
        << QStringList{"Ratatat", "Shempi", "XL Recordings", "XLT,366", "12\"", "", ""} << 2008 << 1
        << "Format: 12\", Maxi";
}

void TestCollectionImport::discogsRowsMapToAlbums()
{
    QFETCH(QString, file);
    QFETCH(int, releaseId);
    QFETCH(QStringList, values);
    QFETCH(int, year);
    QFETCH(int, grade);
    QFETCH(QString, notes);
    QCOMPARE(import(dataPath(file)).outcome, Outcome::Stored);
    AlbumRecord album;
    QVERIFY(loadRelease(releaseId, &album));
    QCOMPARE((QStringList{album.artist, album.title, album.label, album.labelNumber,
                          album.mediaType, album.location, album.condition}),
             values);
    QCOMPARE(album.year, year);
    QCOMPARE(album.grade, grade);
    QCOMPARE(album.notes, notes);
    QCOMPARE(album.discogsReleaseId, QString::number(releaseId));
}

void TestCollectionImport::secondImportAddsNothing_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("duplicates");
    QTest::newRow("gustw, one release twice") << "gustw-vinyl-collection.csv" << 316 << 1;
    QTest::newRow("russmckendrick") << "russmckendrick-discogs-scraper.first300.csv" << 300 << 0;
    QTest::newRow("lukelittle, four releases twice")
        << "lukelittle-serverless-mcp-chatbot-demo.csv" << 84 << 4;
}

// A dry run counts what the import then does; a second import only skips.
void TestCollectionImport::secondImportAddsNothing()
{
    QFETCH(QString, file);
    QFETCH(int, rows);
    QFETCH(int, duplicates);
    const ImportSummary dry = import(dataPath(file), CollectionImport::Format::Discogs, true);
    QCOMPARE(dry.outcome, Outcome::DryRun);
    QCOMPARE(count(), 0);
    const ImportSummary first = import(dataPath(file));
    QCOMPARE(first.outcome, Outcome::Stored);
    QCOMPARE(first.badRowCount, 0);
    QCOMPARE(first.skipped, duplicates);
    QCOMPARE(first.imported, rows - duplicates);
    QCOMPARE(dry.imported, first.imported);
    QCOMPARE(count(), first.imported);
    const ImportSummary second = import(dataPath(file));
    QCOMPARE(second.imported, 0);
    QCOMPARE(second.skipped, rows);
    QCOMPARE(count(), first.imported);
}

void TestCollectionImport::wantlistRowsBecomeWantedAlbums_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("releaseId");
    QTest::addColumn<QStringList>("values"); // artist, title, label, label number, media type
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("grade");
    QTest::addColumn<QString>("notes");
    QTest::addColumn<QDateTime>("added"); // invalid: the day of the import
    const QString mouse = QStringLiteral("mouse-reeve-record-catalogue.wantlist.csv");
    const QString handmade = QStringLiteral("handmade.wantlist.csv");
    QTest::newRow("two numbers, two labels, two formats")
        << mouse << 5626668
        << QStringList{"Brody Dalle", "Diploid Love", "Caroline Records", "3773993", "LP"} << 2014
        << 1
        << "Wanted\nFormat: LP, Album, Pic + CD, Album\nLabel: Caroline Records, Queen Of "
           "Hearts\nCatalog#: 3773993, none"
        << QDateTime(QDate(2014, 12, 20), QTime(12, 36, 50));
    QTest::newRow("artist number")
        << mouse << 1219423
        << QStringList{"The Velvet Underground & Nico", "The Velvet Underground & Nico",
                       "Verve Records", "V6-5008", "LP"}
        << 1998 << 1 << "Wanted\nFormat: LP, Album, Ltd, RE, 180"
        << QDateTime(QDate(2015, 7, 10), QTime(10, 38, 8));
    QTest::newRow("rating and notes")
        << handmade << 9000001
        << QStringList{"Marla Venn", "Harbour Lights", "Tidewater", "TW 12", "LP"} << 1979 << 8
        << "Wanted\nFormat: 2xLP, Album, RE\nLabel: Tidewater (3), Tidewater Records\n"
           "Catalog#: TW 12, TW-12X\nNotes: First pressing only, not over 40 €"
        << QDateTime(QDate(2023, 3, 4), QTime(5, 6, 7));
    QTest::newRow("no date added")
        << handmade << 9000002 << QStringList{"Marla Venn", "Low Water", "Tidewater", "TW 3", "CD"}
        << 1900 << 1 << "Wanted\nFormat: CD" << QDateTime();
}

void TestCollectionImport::wantlistRowsBecomeWantedAlbums()
{
    QFETCH(QString, file);
    QFETCH(int, releaseId);
    QFETCH(QStringList, values);
    QFETCH(int, year);
    QFETCH(int, grade);
    QFETCH(QString, notes);
    QFETCH(QDateTime, added);
    QCOMPARE(import(dataPath(file), CollectionImport::Format::DiscogsWantlist).outcome,
             Outcome::Stored);
    AlbumRecord album;
    QVERIFY(loadRelease(releaseId, &album));
    QCOMPARE(
        (QStringList{album.artist, album.title, album.label, album.labelNumber, album.mediaType}),
        values);
    QCOMPARE(album.inCollection, 0);
    QCOMPARE(album.year, year);
    QCOMPARE(album.grade, grade);
    QCOMPARE(album.notes, notes);
    QCOMPARE(album.discogsReleaseId, QString::number(releaseId));
    if (added.isValid())
        QCOMPARE(album.purchaseDate, added);
    else
        QCOMPARE(album.purchaseDate.date(), QDate::currentDate());
}

// Release ids keep a second import, and a release twice in the file, from adding anything;
// rows that cannot be albums are listed by line.
void TestCollectionImport::wantlistImportKeepsToNewReleasesAndGoodRows()
{
    const QString mouse = dataPath(QStringLiteral("mouse-reeve-record-catalogue.wantlist.csv"));
    const ImportSummary first = import(mouse, CollectionImport::Format::DiscogsWantlist);
    QCOMPARE(first.imported, 29);
    QCOMPARE(import(mouse, CollectionImport::Format::DiscogsWantlist).skipped, 29);
    QCOMPARE(count(), 29);

    const ImportSummary handmade = import(dataPath(QStringLiteral("handmade.wantlist.csv")),
                                          CollectionImport::Format::DiscogsWantlist);
    QCOMPARE(handmade.outcome, Outcome::Stored);
    QCOMPARE(handmade.imported, 2);
    QCOMPARE(handmade.skipped, 1);
    QCOMPARE(handmade.badRowCount, 3);
    QCOMPARE(handmade.badRows[0].line, 4);
    QCOMPARE(handmade.badRows[0].reason, QStringLiteral("Date Added 'yesterday' is not a date"));
    QCOMPARE(handmade.badRows[1].line, 5);
    QCOMPARE(handmade.badRows[1].reason,
             QStringLiteral("11 fields where the header names 9 (and the date added)"));
    QCOMPARE(handmade.badRows[2].line, 7);
    QCOMPARE(handmade.badRows[2].reason, QStringLiteral("Rating '9' is not 0 to 5"));
    QCOMPARE(count(), 31);
}

void TestCollectionImport::otherFilesAreRefused_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("message");
    const QString wantlist = dataPath("mouse-reeve-record-catalogue.wantlist.csv");
    QTest::newRow("wantlist") << wantlist << int(CollectionImport::Format::Detect)
                              << "This file looks like a Discogs wantlist: neither a Discogs "
                                 "collection export nor a list of album columns. Its albums are "
                                 "wanted, not owned: import it with the want-list command. "
                                 "Nothing was imported.";
    QTest::newRow("wantlist as Discogs")
        << wantlist << int(CollectionImport::Format::Discogs)
        << "This file looks like a Discogs wantlist, not a Discogs collection export. Its albums "
           "are wanted, not owned: import it with the want-list command. Nothing was imported.";
    QTest::newRow("wantlist as a column list")
        << wantlist << int(CollectionImport::Format::Csv)
        << "This file looks like a Discogs wantlist, not a list of album columns. Its albums are "
           "wanted, not owned: import it with the want-list command. Nothing was imported.";
    QTest::newRow("collection as a wantlist")
        << dataPath("gustw-vinyl-collection.csv") << int(CollectionImport::Format::DiscogsWantlist)
        << "This file looks like a Discogs collection export, not a Discogs wantlist. Nothing was "
           "imported.";
    QTest::newRow("inventory as a wantlist")
        << QStringLiteral("listing_id,artist,title,label,catno,format,release_id,status\r\n1,a,b,"
                          "c,d,e,2,For Sale\r\n")
        << int(CollectionImport::Format::DiscogsWantlist)
        << "This file looks like a Discogs marketplace inventory, not a Discogs wantlist. Nothing "
           "was imported.";
    QTest::newRow("collection as a column list")
        << dataPath("gustw-vinyl-collection.csv") << int(CollectionImport::Format::Csv)
        << "This file looks like a Discogs collection export, not a list of album columns. "
           "Nothing was imported.";
    QTest::newRow("inventory")
        << QStringLiteral("listing_id,artist,title,label,catno,format,release_id,status\r\n1,a,b,"
                          "c,d,e,2,For Sale\r\n")
        << int(CollectionImport::Format::Detect)
        << "This file looks like a Discogs marketplace inventory: neither a Discogs collection "
           "export nor a list of album columns. Nothing was imported.";
    QTest::newRow("unknown caption")
        << QStringLiteral("Artist,Colour\r\na,b\r\n") << int(CollectionImport::Format::Csv)
        << "This file looks like a CSV file whose header begins \"Artist\", \"Colour\", not a "
           "list of album columns. The column \"Colour\" is not an album column. Nothing was "
           "imported.";
    QTest::newRow("empty file") << QString() << int(CollectionImport::Format::Detect)
                                << "The file is empty. Nothing was imported.";
}

void TestCollectionImport::otherFilesAreRefused()
{
    QFETCH(QString, path);
    QFETCH(int, format);
    QFETCH(QString, message);
    if (!path.startsWith(QLatin1Char('/')))
        path = writeFile(path.toUtf8());
    const ImportSummary summary = import(path, CollectionImport::Format(format));
    QCOMPARE(summary.outcome, Outcome::Refused);
    QCOMPARE(summary.message, message);
    QCOMPARE(count(), 0);
}

// Each file has good rows before the fault: none of them may stay.
void TestCollectionImport::brokenFilesStoreNothing_data()
{
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<QString>("message");
    QTest::newRow("NUL byte") << QByteArray("a,\0", 3) + discogsRow(9).mid(3)
                              << "line 4: the file holds a NUL byte; it is no text file. Nothing "
                                 "was imported.";
    QTest::newRow("Latin-1 text")
        << QByteArray("X,D\xE9j\xE0 Vu,T,L,LP,,1,9,Uncategorized,,,,\r\n")
        << "line 4: the text is not UTF-8 (save the file as UTF-8 and import it again). Nothing "
           "was imported.";
    QTest::newRow("unterminated quote at the end")
        << QByteArray("X,\"Artist,T,L,LP,,1,9,Uncategorized,,,,\r\n")
        << "line 4: a quoted field that begins here is not closed at the end of the file. "
           "Nothing was imported.";
}

void TestCollectionImport::brokenFilesStoreNothing()
{
    QFETCH(QByteArray, tail);
    QFETCH(QString, message);
    const ImportSummary summary =
        import(writeFile(DiscogsHeader + discogsRow(1) + discogsRow(2) + tail));
    QCOMPARE(summary.outcome, Outcome::Failed);
    QCOMPARE(summary.message, message);
    QCOMPARE(count(), 0);
}

void TestCollectionImport::badRowsAreListedAndTheRestStored()
{
    const QByteArray bad =
        DiscogsHeader + discogsRow(1) + "X,A,T,L,LP,,1,9,Uncategorized,,,,,extra\r\n" +
        "X,A,\"T\"x,L,LP,,1,9,Uncategorized,,,,\r\n" + "X,A,T,L,LP,7,1,9,Uncategorized,,,,\r\n" +
        "X,A,T,L,LP,,1,none,Uncategorized,,,,\r\n" +
        "X,A,T,L,LP,,1,9,Uncategorized,yesterday,,,\r\n" + discogsRow(2);
    const ImportSummary summary = import(writeFile(bad));
    QCOMPARE(summary.outcome, Outcome::Stored);
    QCOMPARE(summary.imported, 2);
    QCOMPARE(summary.text(),
             QStringLiteral("Imported: 2\nSkipped (already imported): 0\nRefused rows: 5\n"
                            "  line 3: 14 fields where the header names 13\n"
                            "  line 4: text follows the closing quote of a field\n"
                            "  line 5: Rating '7' is not 0 to 5\n"
                            "  line 6: release_id 'none' is not a number\n"
                            "  line 7: Date Added 'yesterday' is not a date"));
    QCOMPARE(count(), 2);
}

void TestCollectionImport::cancelAndChangedFileStoreNothing_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("message");
    QTest::newRow("cancel") << true << "The import was cancelled. Nothing was imported.";
    QTest::newRow("file grows while read")
        << false << "The file changed while it was read. Nothing was imported.";
}

void TestCollectionImport::cancelAndChangedFileStoreNothing()
{
    QFETCH(bool, cancel);
    QFETCH(QString, message);
    QByteArray bytes = DiscogsHeader;
    for (int i = 1; i <= 1000; ++i)
        bytes += discogsRow(i);
    const QString path = writeFile(bytes);
    CollectionImport importer(m_database.get());
    importer.setProgress([&](qint64, qint64) {
        if (cancel)
            return false;
        QFile file(path);
        file.open(QIODevice::Append);
        file.write(discogsRow(5000));
        return true;
    });
    const ImportSummary summary = importer.run(path, CollectionImport::Format::Discogs, false);
    QCOMPARE(summary.outcome, cancel ? Outcome::Cancelled : Outcome::Failed);
    QCOMPARE(summary.message, message);
    QCOMPARE(count(), 0);
}

void TestCollectionImport::readOnlyCatalogueIsLeftUnchanged()
{
    const QString path = m_files->copyOfDemo();
    const QByteArray before = TestCatalog::readBytes(path);
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    QVERIFY(open(path));
    const QString csv = dataPath(QStringLiteral("gustw-vinyl-collection.csv"));
    const ImportSummary summary = import(csv);
    QCOMPARE(summary.outcome, Outcome::Failed);
    QCOMPARE(summary.message, QStringLiteral("The catalogue is read-only. Nothing was imported."));
    // Checking still works on a catalogue that cannot be changed.
    QCOMPARE(import(csv, CollectionImport::Format::Detect, true).imported, 315);
    m_albums.CloseDatabase(&m_database);
    QCOMPARE(TestCatalog::readBytes(path), before);
}

QTEST_GUILESS_MAIN(TestCollectionImport)
#include "TestCollectionImport.moc"
