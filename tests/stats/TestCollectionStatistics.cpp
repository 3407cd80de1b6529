#include "db/OleDate.h"
#include "stats/AlbumLoans.h"
#include "stats/CollectionStatistics.h"
#include "support/TestCatalog.h"
#include "views/AlbumListQuery.h"

#include <QtTest>

using Count = CollectionStatistics::Count;
using Figures = CollectionStatistics::Figures;

// Figures and loans over a small catalogue counted by hand: names missing, empty and
// soft-deleted, a deleted album, years 0, 1899 and 9999, lengths of every kind, and money
// that is negative or absurd.
class TestCollectionStatistics : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyFigureOfAllAlbums();
    void filterSelectsTheAlbums_data();
    void filterSelectsTheAlbums();
    void partsFillOnlyTheirFigures();
    void emptyCatalogueHasOnlyZeros();
    void topWithOther_data();
    void topWithOther();
    void loansLongestOutFirst();
    void returnedClearsTheLoan();

private:
    static QString oleDays(const QDate& date);

    TestCatalog m_files;
    AlbumTable m_albums;
    DatabaseHandle m_database;
    std::unique_ptr<ReportRecorder> m_reports;
    const QDate m_asOf{2024, 3, 1};
};

namespace
{

QString countsText(const QVector<Count>& counts)
{
    QStringList items;
    for (const Count& count : counts)
        items << QStringLiteral("%1=%2").arg(count.name).arg(count.albums);
    return items.join(QLatin1Char(' '));
}

QString purchasesText(const QVector<CollectionStatistics::Purchases>& purchases)
{
    QStringList items;
    for (const CollectionStatistics::Purchases& year : purchases)
        items << QStringLiteral("%1=%2/%3").arg(year.year).arg(year.albums).arg(year.spent);
    return items.join(QLatin1Char(' '));
}

const char* const Names =
    "INSERT INTO music_artists (artist_id, artist_name, artist_deleted) VALUES "
    "(1, 'Ann', 0), (2, 'Bob', 1);"
    "INSERT INTO music_categories (cat_id, cat_name, cat_deleted) VALUES "
    "(1, 'Rock', 0), (2, 'Jazz', 1), (3, '', 0);"
    "INSERT INTO music_labels (label_id, label_name) VALUES (1, 'Northlight');"
    "INSERT INTO persons (person_id, person_name, person_deleted) VALUES "
    "(1, 'Pat', 0), (2, '', 0), (3, 'Sam', 1);";

} // namespace

QString TestCollectionStatistics::oleDays(const QDate& date)
{
    return QString::number(OleDate::toDays(QDateTime(date, QTime(12, 0), Qt::UTC)), 'f', 6);
}

void TestCollectionStatistics::initTestCase()
{
    m_reports = std::make_unique<ReportRecorder>();
    QVERIFY(m_albums.OpenDatabase(&m_database, m_files.copyOfTemplate(),
                                  DatabaseEx::catalogConnectString()));
    QVERIFY(m_database->execute(Names));
    // id, artist, year, length, genre, label, value, price, purchase date, person, loan date,
    // grade, in collection, deleted
    const QString album = QStringLiteral(
        "INSERT INTO music (music_id, artist_id, title, year, length, cat_id, label_id, value, "
        "purchaseprice, purchasedate, person_id, loandate, grade, incollection, deleted) VALUES "
        "(%1);");
    const QString y2000 = oleDays(QDate(2000, 6, 1));
    const QStringList albums = {
        QStringLiteral("1, 1, 'One', 1899, '40:00', 1, 1, 10, 5, %1, 1, %2, 5, 1, 0")
            .arg(y2000, oleDays(m_asOf.addDays(-100))),
        QStringLiteral("2, 1, 'Two', 0, '1:02:03', 2, -1, -5, 1e308, NULL, 2, %1, NULL, 0, 0")
            .arg(oleDays(m_asOf.addDays(-300))),
        QStringLiteral("3, 2, 'Three', 9999, '99:99', 3, NULL, 1e308, 2.5, %1, -1, 0, 10, 1, 0")
            .arg(oleDays(QDate(2001, 2, 3))),
        QStringLiteral("4, 2, 'Four', 1985, 'abc', -1, NULL, NULL, NULL, 0, 1, 0, 0, 1, 0"),
        QStringLiteral("5, 1, 'Gone', 1985, '10:00', 1, 1, 100, 100, %1, 1, %2, 5, 1, 1")
            .arg(y2000, oleDays(m_asOf.addDays(-500))),
        QStringLiteral("6, 1, 'Six', 1989, '', 1, NULL, 1.25, 1.25, %1, 3, %2, 5, 1, 0")
            .arg(y2000, oleDays(m_asOf.addDays(-10))),
        QStringLiteral("7, 1, 'Seven', 2020, NULL, 1, 1, 0, 0, %1, 1, %2, 5, 1, 0")
            .arg(y2000, oleDays(m_asOf.addDays(5))),
    };
    for (const QString& values : albums)
        QVERIFY2(m_database->execute(album.arg(values).toUtf8()), qPrintable(values));
    QVERIFY(m_database->execute(
        "INSERT INTO tracks (title, music_id) VALUES ('a', 1), ('b', 1), ('c', 3), ('d', 5), "
        "('e', 5), ('f', 5);"));
}

void TestCollectionStatistics::cleanupTestCase()
{
    m_albums.CloseDatabase(&m_database);
    QCOMPARE(m_reports->count(), 0);
}

void TestCollectionStatistics::everyFigureOfAllAlbums()
{
    Figures f;
    QVERIFY(CollectionStatistics(m_database.get()).compute(QString(), &f));
    QCOMPARE(f.albums, 6);
    QCOMPARE(f.tracks, 3);
    // "40:00" and "1:02:03"; "99:99", "abc", "" and no length at all are unknown.
    QCOMPARE(f.playingTimeSeconds, 2400 + 3723);
    QCOMPARE(f.unknownLengths, 4);
    QCOMPARE(countsText(f.byYear), QStringLiteral("(none)=1 1899=1 1985=1 1989=1 2020=1 9999=1"));
    QCOMPARE(countsText(f.byDecade), QStringLiteral("(none)=1 1890=1 1980=2 2020=1 9990=1"));
    // Jazz is soft-deleted yet names its album; an empty name and none at all are "(none)".
    QCOMPARE(countsText(f.byGenre), QStringLiteral("Rock=3 (none)=2 Jazz=1"));
    QCOMPARE(countsText(f.byLabel), QStringLiteral("(none)=4 Northlight=2"));
    QCOMPARE(countsText(f.byCountry), QStringLiteral("(none)=6"));
    QCOMPARE(countsText(f.byGrade), QStringLiteral("(none)=1 0=1 5=3 10=1"));
    // -5 and 1e308 are no money; a purchase date of 0 or none has no year.
    QCOMPARE(f.totalValue, 11.25);
    QCOMPARE(f.totalPrice, 8.75);
    QCOMPARE(f.unusableValues, 2);
    QCOMPARE(f.unusablePrices, 1);
    QCOMPARE(purchasesText(f.purchasesByYear), QStringLiteral("(none)=2/0 2000=3/6.25 2001=1/2.5"));
    QCOMPARE(f.inCollection, 5);
    // Pat three times and Sam (soft-deleted); the empty name is no loan.
    QCOMPARE(f.onLoan, 4);
}

void TestCollectionStatistics::filterSelectsTheAlbums_data()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<int>("albums");
    QTest::addColumn<int>("tracks");
    QTest::addColumn<QString>("genres");

    QTest::newRow("tree: soft-deleted artist")
        << AlbumListQuery::artistCondition(2) << 2 << 1 << "(none)=2";
    QTest::newRow("find: artist name, any case")
        << "a.artist_name = 'ann'" << 4 << 2 << "Rock=3 Jazz=1";
    QTest::newRow("find: genre") << "c.cat_name = 'Rock'" << 3 << 2 << "Rock=3";
    QTest::newRow("tree and find")
        << AlbumListQuery::bothConditions(AlbumListQuery::artistCondition(1), "music.year > 1900")
        << 2 << 0 << "Rock=2";
    QTest::newRow("nothing matches") << "music.year = 1234" << 0 << 0 << "";
}

void TestCollectionStatistics::filterSelectsTheAlbums()
{
    QFETCH(QString, condition);
    QFETCH(int, albums);
    QFETCH(int, tracks);
    QFETCH(QString, genres);
    Figures f;
    QVERIFY(CollectionStatistics(m_database.get()).compute(condition, &f));
    QCOMPARE(f.albums, albums);
    QCOMPARE(f.tracks, tracks);
    QCOMPARE(countsText(f.byGenre), genres);
    qint64 byDecade = 0;
    for (const Count& count : qAsConst(f.byDecade))
        byDecade += count.albums;
    QCOMPARE(byDecade, albums);
}

void TestCollectionStatistics::partsFillOnlyTheirFigures()
{
    CollectionStatistics statistics(m_database.get());
    Figures f;
    QVERIFY(statistics.compute(QString(), &f, CollectionStatistics::TotalFigures));
    QCOMPARE(f.albums, 6);
    QVERIFY(f.byYear.isEmpty() && f.byGenre.isEmpty() && f.purchasesByYear.isEmpty());
    QVERIFY(statistics.compute(
        QString(), &f, CollectionStatistics::YearFigures | CollectionStatistics::PurchaseFigures));
    QCOMPARE(f.albums, 0);
    QCOMPARE(f.byYear.size(), 6);
    QCOMPARE(f.purchasesByYear.size(), 3);
    QVERIFY(f.byGrade.isEmpty());
}

void TestCollectionStatistics::emptyCatalogueHasOnlyZeros()
{
    TestCatalog files;
    AlbumTable albums;
    DatabaseHandle empty;
    QVERIFY(
        albums.OpenDatabase(&empty, files.copyOfTemplate(), DatabaseEx::catalogConnectString()));
    Figures f;
    f.albums = 99;
    QVERIFY(CollectionStatistics(empty.get()).compute(QString(), &f));
    QCOMPARE(f.albums, 0);
    QCOMPARE(f.tracks, 0);
    QCOMPARE(f.playingTimeSeconds, 0);
    QCOMPARE(f.unknownLengths, 0);
    QCOMPARE(f.totalValue, 0.0);
    QCOMPARE(f.totalPrice, 0.0);
    QCOMPARE(f.onLoan, 0);
    QVERIFY(f.byYear.isEmpty() && f.byLabel.isEmpty() && f.purchasesByYear.isEmpty());
    albums.CloseDatabase(&empty);
}

void TestCollectionStatistics::topWithOther_data()
{
    QTest::addColumn<QVector<Count>>("counts");
    QTest::addColumn<int>("keep");
    QTest::addColumn<QString>("expected");

    QVector<Count> twenty;
    for (int i = 1; i <= 20; ++i)
        twenty.append({QStringLiteral("L%1").arg(i), i});
    QTest::newRow("twenty labels") << twenty << 15
                                   << "L20=20 L19=19 L18=18 L17=17 L16=16 L15=15 L14=14 L13=13 "
                                      "L12=12 L11=11 L10=10 L9=9 L8=8 L7=7 L6=6 Other=15";
    QTest::newRow("fewer than kept") << QVector<Count>{{"b", 1}, {"a", 3}} << 15 << "a=3 b=1";
    QTest::newRow("ties keep their order")
        << QVector<Count>{{"x", 2}, {"(none)", 2}, {"y", 2}} << 2 << "x=2 (none)=2 Other=2";
    QTest::newRow("nothing") << QVector<Count>() << 15 << "";
}

void TestCollectionStatistics::topWithOther()
{
    QFETCH(QVector<Count>, counts);
    QFETCH(int, keep);
    QFETCH(QString, expected);
    QCOMPARE(countsText(CollectionStatistics::topWithOther(counts, keep)), expected);
}

void TestCollectionStatistics::loansLongestOutFirst()
{
    QVector<AlbumLoans::Loan> loans;
    QVERIFY(AlbumLoans(m_database.get()).current(m_asOf, &loans));
    // The empty name and the deleted album are no loans; a loan without a date comes last,
    // one dated after the day asked about is out 0 days.
    QStringList rows;
    for (const AlbumLoans::Loan& loan : qAsConst(loans))
        rows << QStringLiteral("%1 %2 %3 %4 %5")
                    .arg(loan.musicId)
                    .arg(loan.person)
                    .arg(loan.days)
                    .arg(AlbumLoans::isOverdue(loan, AlbumLoans::DefaultOverdueDays))
                    .arg(AlbumLoans::isOverdue(loan, 100));
    QCOMPARE(rows, QStringList({"1 Pat 100 1 0", "6 Sam 10 0 0", "7 Pat 0 0 0", "4 Pat -1 0 0"}));
    QCOMPARE(loans.first().loanDate.date(), m_asOf.addDays(-100));
    QVERIFY(!loans.last().loanDate.isValid());
}

// Runs last: it changes the shared catalogue.
void TestCollectionStatistics::returnedClearsTheLoan()
{
    AlbumLoans loans(m_database.get());
    QVERIFY(loans.markReturned(1));
    QVERIFY(!loans.markReturned(5)); // deleted
    QVERIFY(!loans.markReturned(99));
    AlbumRecord album;
    QVERIFY(m_albums.Load(m_database.get(), 1, &album));
    QCOMPARE(album.onLoanTo, QString());
    QCOMPARE(album.returnDate.date(), OleDate::now().date());
    QCOMPARE(album.loanDate.date(), OleDate::now().date());
    QCOMPARE(album.title, QStringLiteral("One"));
    QCOMPARE(album.currentValue, QStringLiteral("10.00"));
    QVERIFY(m_albums.Load(m_database.get(), 5, &album));
    QCOMPARE(album.onLoanTo, QStringLiteral("Pat"));
    QVector<AlbumLoans::Loan> left;
    QVERIFY(loans.current(m_asOf, &left));
    QCOMPARE(left.size(), 3);
    QCOMPARE(left.first().musicId, 6);
}

QTEST_GUILESS_MAIN(TestCollectionStatistics)
#include "TestCollectionStatistics.moc"
