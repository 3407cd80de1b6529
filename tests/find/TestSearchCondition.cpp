#include "app/AppSettings.h"
#include "db/AlbumTable.h"
#include "find/FilterField.h"
#include "find/SearchCondition.h"
#include "support/PlainTargets.h"
#include "support/TestCatalog.h"
#include "views/AlbumColumns.h"

#include <QtTest>

// Conditions built from what a user types, run against a real catalogue: a value finds what
// it literally says and never changes the shape of the query.
class TestSearchCondition : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void typedValuesFindOnlyThemselves_data();
    void typedValuesFindOnlyThemselves();
    void numberFieldsTakeOnlyNumbers_data();
    void numberFieldsTakeOnlyNumbers();

private:
    FilterField field(const QString& itemText) const;
    QStringList titlesFound(const QString& condition);

    TestCatalog m_files;
    AlbumTable m_albums;
    DatabaseHandle m_database;
    std::unique_ptr<ReportRecorder> m_reports;
};

namespace
{

const QStringList Titles = {QStringLiteral("' OR 1=1 --"),
                            QStringLiteral("1; DROP TABLE music"),
                            QStringLiteral("%"),
                            QStringLiteral("_"),
                            QStringLiteral("back\\slash\\"),
                            QStringLiteral("Ωδή στη χαρά"),
                            QStringLiteral("O'Brien's ')"),
                            QStringLiteral("Plain")};

} // namespace

void TestSearchCondition::init()
{
    m_reports = std::make_unique<ReportRecorder>();
    QVERIFY(m_albums.OpenDatabase(&m_database, m_files.copyOfTemplate(),
                                  DatabaseEx::catalogConnectString()));
    int year = 1970;
    for (const QString& title : Titles) {
        AlbumRecord album;
        album.artist = QStringLiteral("Tester");
        album.title = title;
        album.year = year++;
        QVERIFY(m_albums.Add(m_database.get(), album) > 0);
    }
}

void TestSearchCondition::cleanup()
{
    m_albums.CloseDatabase(&m_database);
    QCOMPARE(m_reports->count(), 0);
    m_reports.reset();
}

FilterField TestSearchCondition::field(const QString& itemText) const
{
    AppSettings::useFolder(m_files.filePath(QStringLiteral("settings")));
    AlbumColumns columns;
    columns.load(AppSettings());
    for (const FilterField& f : FilterField::offered(columns)) {
        if (f.itemText == itemText)
            return f;
    }
    return FilterField();
}

QStringList TestSearchCondition::titlesFound(const QString& condition)
{
    PlainRowTable list;
    list.fields = {QStringLiteral("title")};
    if (!m_albums.FillList(m_database.get(), &list, QStringLiteral("title ASC"), false, condition))
        return {QStringLiteral("query failed")};
    QStringList titles;
    for (const QStringList& row : qAsConst(list.rows))
        titles << row.value(0);
    return titles;
}

void TestSearchCondition::typedValuesFindOnlyThemselves_data()
{
    QTest::addColumn<QString>("title");
    for (const QString& title : Titles)
        QTest::newRow(qPrintable(title)) << title;
}

void TestSearchCondition::typedValuesFindOnlyThemselves()
{
    QFETCH(QString, title);
    SearchCriterion criterion;
    QCOMPARE(SearchCondition::build(field(QStringLiteral("Title")), title, &criterion),
             SearchCondition::Outcome::Built);
    QCOMPARE(titlesFound(criterion.condition), QStringList{title});
    // Joined with another row, the value still cannot reach past its own comparison.
    SearchCriterion year;
    SearchCondition::build(field(QStringLiteral("Year")), QStringLiteral("1970"), &year);
    QCOMPARE(titlesFound(SearchCondition::joined({criterion, year}, false)),
             title == Titles.first() ? QStringList{title} : QStringList());
    QCOMPARE(titlesFound(QString()).size(), Titles.size()); // the table is still all there
}

void TestSearchCondition::numberFieldsTakeOnlyNumbers_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("condition");
    QTest::newRow("whole") << "1975"
                           << "year = 1975";
    QTest::newRow("decimal, blanks around") << " 12.50 "
                                            << "year = 12.50";
    QTest::newRow("negative") << "-3"
                              << "year = -3";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("a second condition") << "1975 OR 1=1"
                                        << "";
    QTest::newRow("a second statement") << "1; DROP TABLE music"
                                        << "";
    QTest::newRow("a comment") << "1975 --"
                               << "";
    QTest::newRow("decimal comma") << "12,50"
                                   << "";
    QTest::newRow("letters") << "19x5"
                             << "";
}

void TestSearchCondition::numberFieldsTakeOnlyNumbers()
{
    QFETCH(QString, value);
    QFETCH(QString, condition);
    SearchCriterion criterion;
    const SearchCondition::Outcome outcome =
        SearchCondition::build(field(QStringLiteral("Year")), value, &criterion);
    QCOMPARE(criterion.condition, condition);
    QCOMPARE(outcome == SearchCondition::Outcome::NotANumber,
             condition.isEmpty() && !value.isEmpty());
}

QTEST_GUILESS_MAIN(TestSearchCondition)
#include "TestSearchCondition.moc"
