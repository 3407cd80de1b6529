#include "app/AppSettings.h"
#include "db/OleDate.h"
#include "stats/AlbumLoans.h"
#include "stats/FigureTab.h"
#include "stats/LoansTab.h"
#include "stats/StatisticsWindow.h"
#include "support/TestCatalog.h"
#include "support/gui/AccessibleNames.h"
#include "support/gui/EventLoopWait.h"
#include "ui/FileDialog.h"
#include "views/AlbumListQuery.h"
#include "views/CVastryDoc.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

// The statistics window over a small catalogue: three albums by two artists, two of them lent.
class TestStatisticsWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void tabsShowTheirFigures_data();
    void tabsShowTheirFigures();
    void shownAlbumsFollowTheList();
    void saveImageWritesThePicture();
    void exportCsvWritesTheTable();
    void pieChoiceIsRemembered();
    void loansMarkOverdueAndReturn();
    void emptyCatalogueSaysNoAlbums();
    void everyControlHasAName();

private:
    QString tableCell(StatisticsWindow::Tab tab, const QString& name) const;
    bool showTab(StatisticsWindow::Tab tab);
    static QString daysAgo(int days);

    TestCatalog m_files;
    std::unique_ptr<ReportRecorder> m_reports;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<CVastryDoc> m_document;
    std::unique_ptr<StatisticsWindow> m_window;
};

QString TestStatisticsWindow::daysAgo(int days)
{
    const QDateTime noon(QDate::currentDate().addDays(-days), QTime(12, 0), Qt::UTC);
    return QString::number(OleDate::toDays(noon), 'f', 6);
}

void TestStatisticsWindow::initTestCase()
{
    m_reports = std::make_unique<ReportRecorder>();
    AppSettings::useFolder(m_files.folder());
    m_settings = std::make_unique<AppSettings>();
    m_document = std::make_unique<CVastryDoc>(*m_settings);
    QVERIFY(m_document->openCatalog(m_files.copyOfTemplate()));
    Database* database = m_document->database();
    QVERIFY(database->execute(
        "INSERT INTO music_artists (artist_id, artist_name) VALUES (1, 'Ann'), (2, 'Bob');"
        "INSERT INTO music_categories (cat_id, cat_name) VALUES (1, 'Rock'), (2, 'Jazz');"
        "INSERT INTO persons (person_id, person_name) VALUES (1, 'Pat'), (2, 'Sam');"));
    const QString albums =
        QStringLiteral("INSERT INTO music (music_id, artist_id, title, year, cat_id, value, "
                       "purchaseprice, purchasedate, person_id, loandate, deleted) VALUES "
                       "(1, 1, 'One', 1985, 1, 10, 5, %1, 1, %2, 0), "
                       "(2, 2, 'Two', 1995, 2, 20, 7.5, NULL, 2, %3, 0), "
                       "(3, 1, 'Three', 1987, 1, NULL, NULL, NULL, NULL, 0, 0);")
            .arg(OleDate::toDays(QDateTime(QDate(2000, 5, 1), QTime(12, 0), Qt::UTC)))
            .arg(daysAgo(100), daysAgo(10));
    QVERIFY(database->execute(albums.toUtf8()));
    m_window = std::make_unique<StatisticsWindow>(*m_document, *m_settings);
    m_window->show();
}

void TestStatisticsWindow::cleanupTestCase()
{
    m_window.reset();
    m_document.reset();
    QCOMPARE(m_reports->count(), 0);
}

bool TestStatisticsWindow::showTab(StatisticsWindow::Tab tab)
{
    m_window->showTab(tab);
    return waitInEventLoop([this] { return !m_window->isCounting(); }, 10000);
}

QString TestStatisticsWindow::tableCell(StatisticsWindow::Tab tab, const QString& name) const
{
    const QTableWidget* table = m_window->figureTab(tab)->table();
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, 0)->text() == name)
            return table->item(row, 1)->text();
    return QString();
}

void TestStatisticsWindow::tabsShowTheirFigures_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::newRow("albums") << int(StatisticsWindow::OverviewTab) << "Albums"
                            << "3";
    QTest::newRow("on loan") << int(StatisticsWindow::OverviewTab) << "On loan"
                             << "2";
    QTest::newRow("money in the locale")
        << int(StatisticsWindow::OverviewTab) << "Total value" << QLocale().toString(30.0, 'f', 2);
    QTest::newRow("a year") << int(StatisticsWindow::YearsTab) << "1995"
                            << "1";
    QTest::newRow("a genre") << int(StatisticsWindow::GenresTab) << "Rock"
                             << "2";
    QTest::newRow("spent in a year")
        << int(StatisticsWindow::SpendingTab) << "2000" << QLocale().toString(5.0, 'f', 2);
}

void TestStatisticsWindow::tabsShowTheirFigures()
{
    QFETCH(int, tab);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QVERIFY(showTab(StatisticsWindow::Tab(tab)));
    QCOMPARE(tableCell(StatisticsWindow::Tab(tab), name), value);
    if (QChartView* view = m_window->figureTab(StatisticsWindow::Tab(tab))->chartView()) {
        QCOMPARE(view->chart()->series().size(), 1);
        QVERIFY(!view->accessibleName().isEmpty());
        QVERIFY(!view->accessibleDescription().isEmpty());
    }
}

void TestStatisticsWindow::shownAlbumsFollowTheList()
{
    QVERIFY(showTab(StatisticsWindow::OverviewTab));
    auto* scope = m_window->findChild<QComboBox*>(QStringLiteral("scope"));
    scope->setCurrentIndex(StatisticsWindow::ShownAlbums);
    // The list shows Bob's albums, as after choosing him in the tree or a find.
    m_document->setFilter(AlbumListQuery::artistCondition(2));
    emit m_document->listFilled();
    QVERIFY(showTab(StatisticsWindow::OverviewTab));
    QCOMPARE(tableCell(StatisticsWindow::OverviewTab, QStringLiteral("Albums")),
             QStringLiteral("1"));
    scope->setCurrentIndex(StatisticsWindow::AllAlbums);
    QVERIFY(showTab(StatisticsWindow::OverviewTab));
    QCOMPARE(tableCell(StatisticsWindow::OverviewTab, QStringLiteral("Albums")),
             QStringLiteral("3"));
    m_document->setFilter(QString());
}

void TestStatisticsWindow::saveImageWritesThePicture()
{
    QVERIFY(showTab(StatisticsWindow::YearsTab));
    const QString path = m_files.filePath(QStringLiteral("years.png"));
    FileDialog::setNextFileName(path);
    m_window->findChild<QPushButton*>(QStringLiteral("saveImage"))->click();
    const QImage image(path);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), m_window->figureTab(StatisticsWindow::YearsTab)->chartView()->size());
}

void TestStatisticsWindow::exportCsvWritesTheTable()
{
    QVERIFY(showTab(StatisticsWindow::GenresTab));
    const QString path = m_files.filePath(QStringLiteral("genres.csv"));
    FileDialog::setNextFileName(path);
    m_window->findChild<QPushButton*>(QStringLiteral("exportCsv"))->click();
    QCOMPARE(TestCatalog::readBytes(path), QByteArray("Name,Albums\r\nRock,2\r\nJazz,1\r\n"));
}

void TestStatisticsWindow::pieChoiceIsRemembered()
{
    QVERIFY(showTab(StatisticsWindow::GenresTab));
    auto* kind = m_window->figureTab(StatisticsWindow::GenresTab)
                     ->findChild<QComboBox*>(QStringLiteral("chartKind"));
    kind->setCurrentIndex(1);
    QVERIFY(m_window->figureTab(StatisticsWindow::GenresTab)
                ->chartView()
                ->chart()
                ->series()
                .value(0)
                ->type() == QAbstractSeries::SeriesTypePie);
    StatisticsWindow another(*m_document, *m_settings);
    QCOMPARE(another.figureTab(StatisticsWindow::GenresTab)
                 ->findChild<QComboBox*>(QStringLiteral("chartKind"))
                 ->currentIndex(),
             1);
    kind->setCurrentIndex(0);
}

void TestStatisticsWindow::loansMarkOverdueAndReturn()
{
    m_window->showTab(StatisticsWindow::LoansTabIndex);
    LoansTab* loans = m_window->loansTab();
    QStringList edited;
    loans->setEditAlbum([&edited, loans](int albumId) { edited << QString::number(albumId); });
    int changes = 0;
    loans->setCatalogChanged([&changes] { ++changes; });
    const QString overdue = QLatin1String(LoansTab::OverdueText);
    QCOMPARE(loans->tableText(),
             QStringLiteral("Ann\tOne\tPat\t%1\t100\t%2\nBob\tTwo\tSam\t%3\t10\t")
                 .arg(QLocale().toString(QDate::currentDate().addDays(-100), QLocale::ShortFormat),
                      overdue,
                      QLocale().toString(QDate::currentDate().addDays(-10), QLocale::ShortFormat)));
    auto* days = loans->findChild<QSpinBox*>(QStringLiteral("overdueDays"));
    days->setValue(5);
    QCOMPARE(loans->table()->item(1, 5)->text(), overdue);
    QCOMPARE(AppSettings().readInt(QStringLiteral("Statistics"), QStringLiteral("OverdueDays"), 0),
             5);

    QTableWidget* table = loans->table();
    table->setCurrentCell(1, 1);
    QTest::keyClick(table, Qt::Key_Return);
    QCOMPARE(edited, QStringList{QStringLiteral("2")});

    table->selectRow(0);
    loans->findChild<QPushButton*>(QStringLiteral("returned"))->click();
    QCOMPARE(changes, 1);
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(table->item(0, 1)->text(), QStringLiteral("Two"));
    QVector<AlbumLoans::Loan> left;
    QVERIFY(AlbumLoans(m_document->database()).current(QDate::currentDate(), &left));
    QCOMPARE(left.size(), 1);
    days->setValue(AlbumLoans::DefaultOverdueDays);
}

void TestStatisticsWindow::emptyCatalogueSaysNoAlbums()
{
    CVastryDoc empty(*m_settings);
    QVERIFY(empty.openCatalog(m_files.copyOfTemplate(QStringLiteral("empty.muf"))));
    StatisticsWindow window(empty, *m_settings);
    window.show();
    for (auto tab :
         {StatisticsWindow::YearsTab, StatisticsWindow::GenresTab, StatisticsWindow::SpendingTab}) {
        window.showTab(tab);
        LOOP_VERIFY_WITH_TIMEOUT(!window.isCounting(), 10000);
        QCOMPARE(window.figureTab(tab)->chartView()->chart()->title(),
                 QLatin1String(FigureTab::NoAlbums));
        QVERIFY(window.figureTab(tab)->chartView()->chart()->axes().isEmpty());
    }
}

void TestStatisticsWindow::everyControlHasAName()
{
    for (int tab = StatisticsWindow::OverviewTab; tab <= StatisticsWindow::LoansTabIndex; ++tab) {
        QVERIFY(showTab(StatisticsWindow::Tab(tab)));
        QCOMPARE(unnamedControls(m_window.get()), QStringList());
    }
}

QTEST_MAIN(TestStatisticsWindow)
#include "TestStatisticsWindow.moc"
