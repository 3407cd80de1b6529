#include "db/OleDate.h"
#include "db/SqlText.h"
#include "db/UnicodeCollation.h"

#include <QtTest>

class TestSqlText : public QObject
{
    Q_OBJECT

private slots:
    void booleanLiterals_data();
    void booleanLiterals();
    void quotesAreDoubled_data();
    void quotesAreDoubled();
    void caseFoldedComparison_data();
    void caseFoldedComparison();
    void automationDates_data();
    void automationDates();
    void nonsenseAutomationDatesGiveTheZeroDate_data();
    void nonsenseAutomationDatesGiveTheZeroDate();
};

void TestSqlText::booleanLiterals_data()
{
    QTest::addColumn<QByteArray>("sql");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("deleted filter") << QByteArray("SELECT * FROM music WHERE deleted = FALSE")
                                    << QByteArray("SELECT * FROM music WHERE deleted = 0");
    QTest::newRow("lower case and parentheses")
        << QByteArray("x=true AND (y=False)") << QByteArray("x=1 AND (y=0)");
    QTest::newRow("inside a string") << QByteArray("title = 'TRUE love' OR a = TRUE")
                                     << QByteArray("title = 'TRUE love' OR a = 1");
    QTest::newRow("doubled quote in a string")
        << QByteArray("n = 'It''s TRUE' AND d = FALSE") << QByteArray("n = 'It''s TRUE' AND d = 0");
    QTest::newRow("quoted identifier")
        << QByteArray("\"TRUE\" = FALSE") << QByteArray("\"TRUE\" = 0");
    QTest::newRow("part of a word") << QByteArray("trueness = FALSEHOOD_id OR TRUE_x")
                                    << QByteArray("trueness = FALSEHOOD_id OR TRUE_x");
    QTest::newRow("comment") << QByteArray("a = TRUE -- FALSE\nAND b = FALSE /* TRUE */")
                             << QByteArray("a = 1 -- FALSE\nAND b = 0 /* TRUE */");
    QTest::newRow("unterminated string") << QByteArray("a = 'TRUE") << QByteArray("a = 'TRUE");
    QTest::newRow("non-ASCII neighbour")
        << QByteArray("\xc3\xa9TRUE = TRUE") << QByteArray("\xc3\xa9TRUE = 1");
}

void TestSqlText::booleanLiterals()
{
    QFETCH(QByteArray, sql);
    QFETCH(QByteArray, expected);
    QCOMPARE(SqlText::withBooleanLiterals(sql), expected);
}

void TestSqlText::quotesAreDoubled_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << "Björk"
                          << "Björk";
    QTest::newRow("one") << "Guns N' Roses"
                         << "Guns N'' Roses";
    QTest::newRow("edges") << "'quoted'"
                           << "''quoted''";
    QTest::newRow("injection") << "x' OR '1'='1"
                               << "x'' OR ''1''=''1";
}

void TestSqlText::quotesAreDoubled()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(SqlText::quoted(value), expected);
}

void TestSqlText::caseFoldedComparison_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    QTest::addColumn<int>("expected");
    QTest::newRow("ASCII case") << "Abba"
                                << "ABBA" << 0;
    QTest::newRow("umlaut case") << "Björk"
                                 << "BJÖRK" << 0;
    QTest::newRow("Cyrillic case") << "Дмитрий"
                                   << "ДМИТРИЙ" << 0;
    QTest::newRow("Greek final sigma folds") << "ΣΟΦΙΑ"
                                             << "σοφια" << 0;
    QTest::newRow("prefix is smaller") << "Abb"
                                       << "abba" << -1;
    QTest::newRow("ASCII order ignores case") << "apple"
                                              << "BANANA" << -1;
    QTest::newRow("accent after plain") << "Bjork"
                                        << "Björk" << -1;
    QTest::newRow("empty") << ""
                           << "" << 0;
}

void TestSqlText::caseFoldedComparison()
{
    QFETCH(QString, left);
    QFETCH(QString, right);
    QFETCH(int, expected);
    const QByteArray l = left.toUtf8();
    const QByteArray r = right.toUtf8();
    QCOMPARE(UnicodeCollation::compare(l.constData(), l.size(), r.constData(), r.size()), expected);
    QCOMPARE(UnicodeCollation::compare(r.constData(), r.size(), l.constData(), l.size()),
             -expected);
}

void TestSqlText::automationDates_data()
{
    QTest::addColumn<double>("days");
    QTest::addColumn<QDateTime>("dateTime");
    QTest::newRow("zero date") << 0.0 << QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
    QTest::newRow("one and a half") << 1.5 << QDateTime(QDate(1899, 12, 31), QTime(12, 0), Qt::UTC);
    QTest::newRow("before the epoch")
        << -1.25 << QDateTime(QDate(1899, 12, 29), QTime(6, 0), Qt::UTC);
    QTest::newRow("2001-05-03") << 37014.0 << QDateTime(QDate(2001, 5, 3), QTime(0, 0), Qt::UTC);
    QTest::newRow("seconds") << 45000.75 + 1.0 / 86400
                             << QDateTime(QDate(2023, 3, 15), QTime(18, 0, 1), Qt::UTC);
}

void TestSqlText::automationDates()
{
    QFETCH(double, days);
    QFETCH(QDateTime, dateTime);
    QCOMPARE(OleDate::fromDays(days), dateTime);
    QVERIFY(qAbs(OleDate::toDays(dateTime) - days) < 1e-9);
}

void TestSqlText::nonsenseAutomationDatesGiveTheZeroDate_data()
{
    QTest::addColumn<double>("days");
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity();
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("huge") << 1e300;
}

void TestSqlText::nonsenseAutomationDatesGiveTheZeroDate()
{
    QFETCH(double, days);
    QCOMPARE(OleDate::fromDays(days), OleDate::zero());
}

QTEST_GUILESS_MAIN(TestSqlText)
#include "TestSqlText.moc"
