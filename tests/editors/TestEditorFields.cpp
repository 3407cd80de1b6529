#include "editors/EditorFields.h"
#include "editors/NameCollector.h"

#include <QtTest>

// How the editors turn their boxes into numbers and dates, and the order of their name lists.
class TestEditorFields : public QObject
{
    Q_OBJECT

private slots:
    void datesFromBoxes_data();
    void datesFromBoxes();
    void boxesShowWhatADateLeavesOpen_data();
    void boxesShowWhatADateLeavesOpen();
    void numbersReadLikeTheClassicConversion_data();
    void numbersReadLikeTheClassicConversion();
    void namesSortInTheLanguageWithTheirIds();
};

void TestEditorFields::datesFromBoxes_data()
{
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QDate>("expected"); // invalid: no day, nothing made of it

    QTest::newRow("all empty") << ""
                               << ""
                               << "" << QDate(2002, 1, 1);
    QTest::newRow("letters for a year") << "abc"
                                        << ""
                                        << "" << QDate(2002, 1, 1);
    QTest::newRow("a year off the list") << "1935"
                                         << "5"
                                         << "07" << QDate(1935, 5, 7);
    QTest::newRow("leap day") << "2004"
                              << "02"
                              << "29" << QDate(2004, 2, 29);
    QTest::newRow("31 February") << "2001"
                                 << "02"
                                 << "31" << QDate();
    QTest::newRow("month 13") << "2001"
                              << "13"
                              << "01" << QDate();
    QTest::newRow("day 40") << "2001"
                            << "01"
                            << "40" << QDate();
    QTest::newRow("29 February, no leap year") << "2001"
                                               << "02"
                                               << "29" << QDate();
    QTest::newRow("past the storable years") << "10000"
                                             << ""
                                             << "" << QDate();
}

void TestEditorFields::datesFromBoxes()
{
    QFETCH(QString, year);
    QFETCH(QString, month);
    QFETCH(QString, day);
    QFETCH(QDate, expected);
    QDateTime date(QDate(1999, 9, 9), QTime(9, 9), Qt::UTC);
    const QDateTime before = date;
    QCOMPARE(EditorFields::dateFromBoxes(year, month, day, &date), expected.isValid());
    if (expected.isValid())
        QCOMPARE(date, QDateTime(expected, QTime(0, 0), Qt::UTC));
    else
        QCOMPARE(date, before);
}

void TestEditorFields::boxesShowWhatADateLeavesOpen_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("day");
    QTest::newRow("a full date") << QDate(1987, 3, 4) << "1987"
                                 << "03"
                                 << "04";
    QTest::newRow("1 January") << QDate(1987, 1, 1) << "1987"
                               << ""
                               << "";
    QTest::newRow("year 1900") << QDate(1900, 6, 30) << ""
                               << "06"
                               << "30";
    QTest::newRow("the zero date") << QDate(1899, 12, 30) << "1899"
                                   << "12"
                                   << "30";
}

void TestEditorFields::boxesShowWhatADateLeavesOpen()
{
    QFETCH(QDate, date);
    QFETCH(QString, year);
    QFETCH(QString, month);
    QFETCH(QString, day);
    const auto boxes = EditorFields::boxesFromDate(QDateTime(date, QTime(12, 0), Qt::UTC));
    QCOMPARE(boxes.year, year);
    QCOMPARE(boxes.month, month);
    QCOMPARE(boxes.day, day);
    // What the boxes show is stored again as the same day.
    if (!year.isEmpty()) {
        QDateTime again;
        QVERIFY(EditorFields::dateFromBoxes(boxes.year, boxes.month, boxes.day, &again));
        QCOMPARE(again.date(), date);
    }
}

void TestEditorFields::numbersReadLikeTheClassicConversion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("letters") << "abc" << 0;
    QTest::newRow("blanks, digits, rest") << "  42x7" << 42;
    QTest::newRow("past the largest int") << "99999999999" << 2147483647;
}

void TestEditorFields::numbersReadLikeTheClassicConversion()
{
    QFETCH(QString, text);
    QFETCH(int, number);
    QCOMPARE(EditorFields::unsignedNumber(text), number);
}

// In the language's order an accented letter sorts with its plain letter, and of two names that
// differ in letter case only, the exact one is found first.
void TestEditorFields::namesSortInTheLanguageWithTheirIds()
{
    NameCollector names;
    const QStringList given = {QStringLiteral("rock"), QStringLiteral("Ambient"),
                               QStringLiteral("Rock"), QStringLiteral("Élan"),
                               QStringLiteral("blues")};
    for (int i = 0; i < given.size(); ++i)
        names.setItemId(names.addName(given[i]), 10 + i);
    names.sort();
    QCOMPARE(names.names(),
             (QStringList{QStringLiteral("Ambient"), QStringLiteral("blues"),
                          QStringLiteral("Élan"), QStringLiteral("rock"), QStringLiteral("Rock")}));
    QCOMPARE(names.ids(), (QVector<int>{11, 14, 13, 10, 12}));
    QCOMPARE(EditorFields::findName(names.names(), QStringLiteral("ROCK")), 3);
    QCOMPARE(EditorFields::findName(names.names(), QStringLiteral("Rock")), 4);
    QCOMPARE(EditorFields::findPrefix(names.names(), QStringLiteral("ro")), 3);
    QCOMPARE(EditorFields::findName(names.names(), QStringLiteral("Ro")), -1);
}

QTEST_GUILESS_MAIN(TestEditorFields)
#include "TestEditorFields.moc"
