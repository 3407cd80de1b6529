#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/CMainFrame.h"
#include "app/CVastryApp.h"
#include "app/CommandIds.h"
#include "app/PrivateMessages.h"
#include "db/CatalogBackup.h"
#include "db/DatabaseEx.h"
#include "db/LocaleCollation.h"
#include "stats/FigureTab.h"
#include "stats/LoansTab.h"
#include "stats/StatisticsWindow.h"
#include "support/TestCatalog.h"
#include "support/gui/DesktopTestRun.h"
#include "support/gui/EventLoopWait.h"
#include "support/gui/RecordingFrameDialogs.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/UrlOpener.h"
#include "views/AlbumListCtrl.h"
#include "views/AlbumListModel.h"
#include "views/CBottomView.h"
#include "views/CLeftView.h"
#include "views/CTopView.h"
#include "views/CVastryDoc.h"
#include "views/CatalogReadTask.h"
#include "views/HtmlPageWriter.h"
#include "views/PostDialogs.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QtTest>

// The desktop program on the offscreen platform: start-up, placement, the panes working
// together through their messages, and what the program remembers between runs.
class TestMainFrame : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstStartGeometry_data();
    void firstStartGeometry();
    void firstStartWithEmptySettings();
    void placementIsSavedAndRestored();
    void maximisedWindowReturnsMaximised();
    void windowKeepsItsMinimumAndHalvesTheRightSide();
    void windowShowsBeforeTheTreeFillsWithEveryArtist_data();
    void windowShowsBeforeTheTreeFillsWithEveryArtist();
    void largeTreesBuildBehindTheOldOne();
    void artistNodeFiltersTheList();
    void statisticsFollowTheTreeChoice();
    void headerClicksAlternateTheSort_data();
    void headerClicksAlternateTheSort();
    void largeListsFillBehindTheOldRows();
    void deleteAsksFirstAndSelectsTheNextRow();
    void deleteOnAReadOnlyCatalogueKeepsTheAlbum();
    void rightClickMenusRunTheirCommands_data();
    void rightClickMenusRunTheirCommands();
    void columnsCanBeShownAndHidden();
    void settingsWrittenAtExitAreReadAtNextStart();
    void missingCatalogueAtStartUp();
    void openingAForeignFileLeavesEmptyPanes();
    void aDamagedCatalogueOpensReadOnly_data();
    void aDamagedCatalogueOpensReadOnly();
    void newCatalogueIsEmpty();
    void nonsenseSettingsStillGiveAUsableWindow();
    void unwritableSettingsAreSaidOnceAndTheWindowWorks();
    void menusCarryTheirCommands();
    void menuItemsNameTheirKeysApart();
    void pageFollowsTheSelectedRow_data();
    void pageFollowsTheSelectedRow();
    void albumPageLinksOpenInTheDesktopBrowser_data();
    void albumPageLinksOpenInTheDesktopBrowser();
    void changesByAnotherProgramShowWithTheSelectionKept();
    void ownChangesReloadOnce();
    void readsWaitQuietlyWhileAnotherProgramWrites();
    void toolbarLabelsStay_data();
    void toolbarLabelsStay();
    void paneKeysFocusTheViews_data();
    void paneKeysFocusTheViews();
    void listLookFollowsTheSettings_data();
    void listLookFollowsTheSettings();
    void treeKeepsItsWidthWhenTheWindowResizes();
    void listRowsKeepEveryCell_data();
    void listRowsKeepEveryCell();

private:
    void start(const QString& catalogue);
    void stop();
    CMainFrame* frame() const { return m_app->mainFrame(); }
    CTopView* list() const { return frame()->listPane(); }
    int rows() const { return list()->model()->rowCount(); }
    QTreeWidgetItem* artistNode(const QString& name) const;
    QStringList headerCaptions() const;
    QString shownPage() const;
    QPoint rowCentre(int row) const;
    void runCli(const QStringList& arguments);
    void focusWindow();
    static void pressInPopups(const QList<int>& keys);

    std::unique_ptr<TestCatalog> m_files;
    std::unique_ptr<CVastryApp> m_app;
    QString m_catalogue;
};

void TestMainFrame::init()
{
    m_files = std::make_unique<TestCatalog>();
    useDesktopTestFolders(*m_files);
    m_catalogue = m_files->copyOfDemo();
    MessageBox::history().clear();
    UrlOpener::setRecordOnly(true);
    UrlOpener::history().clear();
    // Any box a test does not expect is answered rather than left blocking the run.
    MessageBox::setAnswerForAll(QMessageBox::Ok);
}

void TestMainFrame::cleanup()
{
    stop();
    CTopView::setBackgroundFillFrom(CTopView::BackgroundFillFrom);
    CatalogReadTask::setBackgroundFrom(CatalogReadTask::BackgroundFrom);
    MessageBox::setAnswerForAll(QMessageBox::NoButton);
    m_files.reset();
}

void TestMainFrame::start(const QString& catalogue)
{
    m_app = std::make_unique<CVastryApp>();
    QVERIFY(startFilled(*m_app, catalogue));
}

void TestMainFrame::stop()
{
    if (m_app)
        m_app->shutDown();
    m_app.reset();
}

QTreeWidgetItem* TestMainFrame::artistNode(const QString& name) const
{
    const QList<QTreeWidgetItem*> found =
        frame()->treePane()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.value(0);
}

QStringList TestMainFrame::headerCaptions() const
{
    const QHeaderView* header = list()->list()->horizontalHeader();
    QStringList captions;
    for (int visual = 0; visual < header->count(); ++visual)
        captions
            << list()->model()->headerData(header->logicalIndex(visual), Qt::Horizontal).toString();
    return captions;
}

QString TestMainFrame::shownPage() const
{
    return QString::fromUtf8(TestCatalog::readBytes(frame()->pagePane()->shownPath()));
}

QPoint TestMainFrame::rowCentre(int row) const
{
    const AlbumListCtrl* control = list()->list();
    return QPoint(control->columnViewportPosition(1) + 20,
                  control->rowViewportPosition(row) + control->rowHeight(row) / 2);
}

// The command-line companion on the catalogue: another program changing it.
void TestMainFrame::runCli(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_files->filePath(QStringLiteral("cli")));
    process.setProcessEnvironment(environment);
    process.start(TestCatalog::programDirectory() + QLatin1String("/tunvale-cli"), arguments);
    QVERIFY(process.waitForFinished(30000));
    QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
}

// Keys go through the window's shortcuts only while it is the active one.
void TestMainFrame::focusWindow()
{
    frame()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame()));
}

void TestMainFrame::firstStartGeometry_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("800x600 top left") << QSize(800, 600) << QRect(0, 0, 800, 570);
    QTest::newRow("1024x768 centred") << QSize(1024, 768) << QRect(112, 99, 800, 570);
    QTest::newRow("smaller screen") << QSize(640, 480) << QRect(-80, -45, 800, 570);
}

void TestMainFrame::firstStartGeometry()
{
    QFETCH(QSize, screen);
    QFETCH(QRect, expected);
    QCOMPARE(CMainFrame::firstStartGeometry(screen), expected);
}

void TestMainFrame::firstStartWithEmptySettings()
{
    start(m_catalogue);
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const QRect expected = CMainFrame::firstStartGeometry(screen);
    // The platform may nudge the window by its frame margin to keep it on screen.
    QVERIFY(qAbs(frame()->x() - expected.x()) <= 2);
    QVERIFY(qAbs(frame()->y() - expected.y()) <= 2);
    QCOMPARE(frame()->size(), expected.size());
    QCOMPARE(frame()->windowTitle(), QStringLiteral("Tunvale 1.00"));
    QCOMPARE(headerCaptions(), QStringList({"Artist", "Title", "Record Year"}));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(list()->list()->horizontalHeader()->sectionSize(i), 100);
    QCOMPARE(m_app->document()->sortText(), QStringLiteral("artist_name ASC, title ASC"));
    const QHeaderView* header = list()->list()->horizontalHeader();
    QVERIFY(header->isSortIndicatorShown());
    QCOMPARE(header->sortIndicatorSection(), 0); // the arrow on the remembered sort column
    QCOMPARE(frame()->treePane()->topLevelItem(0)->text(0), QStringLiteral("Music - demo.muf"));
    QCOMPARE(frame()->treePane()->topLevelItem(0)->childCount(), 12); // deleted artist left out
    QCOMPARE(rows(), 26);                                             // deleted album left out
    QCOMPARE(frame()->statusPaneText(1), QStringLiteral("Displayed Posts: 26"));
    QCOMPARE(frame()->statusPaneText(2), QStringLiteral("Total Posts: 26"));
    QVERIFY(QRegularExpression(QStringLiteral("^ \\d\\d:\\d\\d $"))
                .match(frame()->statusPaneText(5))
                .hasMatch());
    QCOMPARE(frame()->outerSplitter()->sizes().value(0), 180);
    // The first row is selected and its page shown.
    QCOMPARE(list()->list()->selectedRow(), 0);
    QVERIFY(frame()->pagePane()->shownPath().endsWith(QStringLiteral("post.html")));
    QCOMPARE(list()->caption(), QStringLiteral("Music"));
    QVERIFY(MessageBox::history().isEmpty());
}

void TestMainFrame::placementIsSavedAndRestored()
{
    start(m_catalogue);
    frame()->setGeometry(30, 40, 720, 520);
    frame()->outerSplitter()->setSizes({230, 490});
    const int treeWidth = frame()->outerSplitter()->sizes().value(0);
    stop();
    AppSettings settings;
    QCOMPARE(settings.read(SettingsTable::WindowLeft), 30);
    QCOMPARE(settings.read(SettingsTable::WindowTop), 40);
    QCOMPARE(settings.read(SettingsTable::WindowRight), 750);
    QCOMPARE(settings.read(SettingsTable::WindowBottom), 560);
    QCOMPARE(settings.read(SettingsTable::WindowCmd), 1);
    QCOMPARE(settings.read(SettingsTable::TreeWidth), treeWidth);
    start(m_catalogue);
    QCOMPARE(frame()->geometry(), QRect(30, 40, 720, 520));
    QVERIFY(qAbs(frame()->outerSplitter()->sizes().value(0) - treeWidth) <= 2);
}

void TestMainFrame::maximisedWindowReturnsMaximised()
{
    start(m_catalogue);
    frame()->setGeometry(20, 20, 710, 510);
    frame()->showMaximized();
    LOOP_VERIFY(frame()->isMaximized());
    stop();
    AppSettings settings;
    QCOMPARE(settings.read(SettingsTable::WindowCmd), 3);
    QCOMPARE(settings.read(SettingsTable::WindowLeft), 20);
    start(m_catalogue);
    LOOP_VERIFY(frame()->isMaximized());
    QCOMPARE(frame()->normalGeometry().topLeft(), QPoint(20, 20));
}

void TestMainFrame::windowKeepsItsMinimumAndHalvesTheRightSide()
{
    start(m_catalogue);
    frame()->resize(300, 200);
    QVERIFY(frame()->width() >= 700 && frame()->height() >= 500);
    frame()->innerSplitter()->setSizes({50, 400}); // the user moves the bar...
    frame()->resize(760, 560);                     // ...until the next resize
    LOOP_COMPARE(frame()->size(), QSize(760, 560));
    const QList<int> sizes = frame()->innerSplitter()->sizes();
    QVERIFY2(qAbs(sizes[0] - sizes[1]) <= 1,
             qPrintable(QStringLiteral("%1 %2").arg(sizes[0]).arg(sizes[1])));
}

void TestMainFrame::windowShowsBeforeTheTreeFillsWithEveryArtist_data()
{
    QTest::addColumn<bool>("onWorker");
    QTest::newRow("tree built here") << false;
    QTest::newRow("tree built on the worker") << true;
}

// The window is up and says it is loading before the catalogue is read; then the tree holds
// every artist in name order with the catalogue and artist pictures, and the root is chosen.
void TestMainFrame::windowShowsBeforeTheTreeFillsWithEveryArtist()
{
    QFETCH(bool, onWorker);
    CatalogReadTask::setBackgroundFrom(onWorker ? 0 : CatalogReadTask::BackgroundFrom);
    m_app = std::make_unique<CVastryApp>();
    QVERIFY(m_app->initInstance({QStringLiteral("tunvale"), m_catalogue}));
    QVERIFY(frame()->isVisible());
    QCOMPARE(frame()->statusPaneText(0), QStringLiteral("Loading the catalogue..."));
    QCOMPARE(rows(), 0);
    LOOP_VERIFY_WITH_TIMEOUT(frame()->isFilled(), 30000);
    QCOMPARE(frame()->statusPaneText(0), QStringLiteral("Ready"));

    const CLeftView* tree = frame()->treePane();
    QVERIFY(!tree->isBuilding());
    QCOMPARE(tree->topLevelItemCount(), 1);
    const QTreeWidgetItem* root = tree->topLevelItem(0);
    QCOMPARE(tree->currentItem(), root);
    QStringList names;
    for (int i = 0; i < root->childCount(); ++i)
        names << root->child(i)->text(0);
    // In the language's order, not by code point: "Åsa" among the A's.
    const QStringList expected = {
        "Åsa Lindqvist",   "Dmitri Volkov Quartet",   "Harbour Lights",    "Jürgen Weiß Trio",
        "Kestrel & Finch", "Les Étoiles Filantes",    "Mariana Conceição", "Midnight Cartographers",
        "Ngozi Adébáyọ̀",   "O'Malley's Kitchen Band", "Sláinte Sessions",  "The Rowan Ensemble"};
    QCOMPARE(names, expected);

    const auto image = [](const QIcon& icon, QIcon::Mode mode) {
        return icon.pixmap(16, 16, mode).toImage().convertToFormat(QImage::Format_ARGB32);
    };
    const QStyle* style = tree->style();
    const QImage catalogue = image(style->standardIcon(QStyle::SP_DriveCDIcon), QIcon::Normal);
    const QImage artist = image(style->standardIcon(QStyle::SP_DirIcon), QIcon::Normal);
    const QImage chosenArtist = image(style->standardIcon(QStyle::SP_DirOpenIcon), QIcon::Normal);
    QVERIFY(artist != chosenArtist);
    QCOMPARE(image(root->icon(0), QIcon::Normal), catalogue);
    QCOMPARE(image(root->icon(0), QIcon::Selected), catalogue);
    for (int i = 0; i < root->childCount(); ++i) {
        QCOMPARE(image(root->child(i)->icon(0), QIcon::Normal), artist);
        QCOMPARE(image(root->child(i)->icon(0), QIcon::Selected), chosenArtist);
    }
}

// The window counts the albums the list shows, live, and Record's command opens it on loans.
void TestMainFrame::statisticsFollowTheTreeChoice()
{
    start(m_catalogue);
    QVERIFY(frame()->runCommand(CommandIds::Statistics));
    StatisticsWindow* statistics = frame()->statisticsWindow();
    QVERIFY(statistics && statistics->isVisible());
    statistics->findChild<QComboBox*>(QStringLiteral("scope"))
        ->setCurrentIndex(StatisticsWindow::ShownAlbums);
    frame()->treePane()->setCurrentItem(artistNode(QStringLiteral("O'Malley's Kitchen Band")));
    QCOMPARE(rows(), 2);
    const QTableWidget* overview = statistics->figureTab(StatisticsWindow::OverviewTab)->table();
    LOOP_VERIFY_WITH_TIMEOUT(!statistics->isCounting(), 10000);
    QCOMPARE(overview->item(0, 0)->text(), QStringLiteral("Albums"));
    QCOMPARE(overview->item(0, 1)->text(), QStringLiteral("2"));
    QVERIFY(frame()->runCommand(CommandIds::AlbumsOnLoan));
    QCOMPARE(statistics->findChild<QTabWidget*>()->currentWidget(), statistics->loansTab());
}

void TestMainFrame::artistNodeFiltersTheList()
{
    start(m_catalogue);
    QTreeWidgetItem* artist = artistNode(QStringLiteral("O'Malley's Kitchen Band"));
    QVERIFY(artist);
    frame()->treePane()->setCurrentItem(artist); // as a click would
    QCOMPARE(rows(), 2);
    QCOMPARE(list()->caption(), QStringLiteral("O'Malley's Kitchen Band"));
    QCOMPARE(m_app->document()->filter(), QStringLiteral("music.artist_id = 2"));
    QCOMPARE(m_app->document()->treeSelectionType(), 2);
    QCOMPARE(frame()->statusPaneText(1), QStringLiteral("Displayed Posts: 2"));
    QCOMPARE(frame()->statusPaneText(2), QStringLiteral("Total Posts: 26"));

    QVERIFY(frame()->runCommand(CommandIds::ShowAll));
    QCOMPARE(rows(), 26);
    QCOMPARE(frame()->treePane()->currentItem(), artist); // the tree is left alone

    frame()->treePane()->setCurrentItem(frame()->treePane()->topLevelItem(0));
    QCOMPARE(rows(), 26);
    QCOMPARE(list()->caption(), QStringLiteral("Music"));
    QCOMPARE(m_app->document()->filter(), QString());
}

void TestMainFrame::headerClicksAlternateTheSort_data()
{
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QString>("sortText");
    QTest::addColumn<bool>("descending");
    QTest::newRow("title once") << QList<int>{1} << "title ASC, year ASC" << false;
    QTest::newRow("title twice") << QList<int>{1, 1} << "title DESC, year DESC" << true;
    QTest::newRow("alternation carries over")
        << QList<int>{1, 0} << "artist_name DESC, title DESC" << true;
    QTest::newRow("last column pairs with the one before")
        << QList<int>{2} << "year ASC, title ASC" << false;
}

void TestMainFrame::headerClicksAlternateTheSort()
{
    QFETCH(QList<int>, clicks);
    QFETCH(QString, sortText);
    QFETCH(bool, descending);
    start(m_catalogue);
    QHeaderView* header = list()->list()->horizontalHeader();
    for (int column : clicks) {
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }
    QCOMPARE(m_app->document()->sortText(), sortText);
    QCOMPARE(list()->sortColumn(), clicks.last());
    QCOMPARE(header->sortIndicatorSection(), clicks.last());
    // The rows really come in that order (titles and names in the language's order).
    const int column = clicks.last();
    for (int row = 1; row < rows(); ++row) {
        const QString before =
            list()->model()->data(list()->model()->index(row - 1, column)).toString();
        const QString after = list()->model()->data(list()->model()->index(row, column)).toString();
        const int order =
            column == 2 ? (before.toInt() < after.toInt() ? -1 : before.toInt() > after.toInt())
                        : LocaleCollation::current().compare(before, after);
        QVERIFY2(descending ? order >= 0 : order <= 0,
                 qPrintable(before + QLatin1String(" / ") + after));
    }
}

// Every fill as on a large catalogue: on the worker, the old rows on show meanwhile, the
// newest of two quick sorts winning, the selection applied once the rows are there.
void TestMainFrame::largeListsFillBehindTheOldRows()
{
    CTopView::setBackgroundFillFrom(0);
    start(m_catalogue);
    LOOP_VERIFY(!list()->isFilling());
    QCOMPARE(rows(), 26);
    QCOMPARE(list()->list()->selectedRow(), 0);
    const int firstAlbum = list()->selectedAlbumId();

    QHeaderView* header = list()->list()->horizontalHeader();
    const auto clickTitle = [header] {
        const int x = header->sectionViewportPosition(1) + header->sectionSize(1) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    };
    clickTitle();
    QVERIFY(list()->isFilling());
    QCOMPARE(frame()->statusPaneText(0), QStringLiteral("Sorting…"));
    QCOMPARE(rows(), 26);
    QCOMPARE(list()->selectedAlbumId(), firstAlbum);
    clickTitle();
    LOOP_VERIFY(!list()->isFilling());
    QCOMPARE(m_app->document()->sortText(), QStringLiteral("title DESC, year DESC"));
    QVERIFY(frame()->statusPaneText(0) != QStringLiteral("Sorting…"));
    QCOMPARE(rows(), 26);
    for (int row = 1; row < rows(); ++row) {
        const QString before = list()->model()->data(list()->model()->index(row - 1, 1)).toString();
        const QString after = list()->model()->data(list()->model()->index(row, 1)).toString();
        QVERIFY2(LocaleCollation::current().compare(before, after) >= 0,
                 qPrintable(before + QLatin1String(" / ") + after));
    }

    list()->list()->selectRow(3);
    const int next = list()->model()->albumId(4);
    MessageBox::setNextAnswer(QMessageBox::Yes);
    QVERIFY(frame()->runCommand(CommandIds::DeletePost));
    LOOP_VERIFY(!list()->isFilling());
    QCOMPARE(rows(), 25);
    QCOMPARE(list()->selectedAlbumId(), next);
    QCOMPARE(frame()->statusPaneText(2), QStringLiteral("Total Posts: 25"));
}

// A tree built on the worker: the old one stays meanwhile, the newest of two rebuilds is the
// one shown, and the chosen artist stays chosen without the list reading its albums again.
void TestMainFrame::largeTreesBuildBehindTheOldOne()
{
    CatalogReadTask::setBackgroundFrom(0);
    start(m_catalogue);
    CLeftView* tree = frame()->treePane();
    tree->setCurrentItem(artistNode(QStringLiteral("O'Malley's Kitchen Band")));
    QCOMPARE(rows(), 2);

    QSignalSpy built(tree, &CLeftView::built);
    QSignalSpy listFilled(m_app->document(), &CVastryDoc::listFilled);
    SendPaneMessage(tree, UWM_RELOAD);
    QVERIFY(tree->isBuilding());
    QCOMPARE(tree->topLevelItem(0)->childCount(), 12);
    QCOMPARE(tree->currentItem()->text(0), QStringLiteral("O'Malley's Kitchen Band"));
    SendPaneMessage(tree, UWM_RELOAD);
    LOOP_VERIFY(!tree->isBuilding());
    QTest::qWait(200); // the first build's answer, had it been taken, would be in by now
    QCOMPARE(built.count(), 1);
    QCOMPARE(tree->topLevelItemCount(), 1);
    QCOMPARE(tree->topLevelItem(0)->childCount(), 12);
    QCOMPARE(tree->currentItem()->text(0), QStringLiteral("O'Malley's Kitchen Band"));
    QCOMPARE(listFilled.count(), 0);
    QCOMPARE(rows(), 2);
}

void TestMainFrame::listRowsKeepEveryCell_data()
{
    QTest::addColumn<QStringList>("cells");
    const QString separator(QChar(0x1f));
    QTest::newRow("plain") << QStringList{"Abba", "Arrival", "1976"};
    QTest::newRow("empty cells") << QStringList{"", "Arrival", "", ""};
    QTest::newRow("one cell") << QStringList{"Arrival"};
    QTest::newRow("unit separator in a text")
        << QStringList{"A" + separator + "B", separator, "1976" + separator};
}

void TestMainFrame::listRowsKeepEveryCell()
{
    QFETCH(QStringList, cells);
    AlbumListModel model;
    model.setColumns(QVector<ColumnInfo>(cells.size()));
    model.appendRow(cells, 7);
    QStringList shown;
    for (int column = 0; column < model.columnCount(); ++column)
        shown << model.data(model.index(0, column)).toString();
    QCOMPARE(shown, cells);
    QCOMPARE(model.albumId(0), 7);
}

void TestMainFrame::deleteAsksFirstAndSelectsTheNextRow()
{
    start(m_catalogue);
    AlbumListCtrl* control = list()->list();
    control->selectRow(3);
    const int doomed = list()->selectedAlbumId();
    const int next = list()->model()->albumId(4);

    MessageBox::setNextAnswer(QMessageBox::No);
    QVERIFY(frame()->runCommand(CommandIds::DeletePost));
    QCOMPARE(rows(), 26);
    QCOMPARE(MessageBox::history().last().caption, QStringLiteral("Delete confirmation"));
    QCOMPARE(MessageBox::history().last().text,
             QStringLiteral("Are you sure you want to delete the selected item?"));
    QCOMPARE(MessageBox::history().last().icon, QMessageBox::Question);

    MessageBox::setNextAnswer(QMessageBox::Yes);
    QVERIFY(frame()->runCommand(CommandIds::DeletePost));
    QCOMPARE(rows(), 25);
    QCOMPARE(frame()->statusPaneText(2), QStringLiteral("Total Posts: 25"));
    QCOMPARE(control->selectedRow(), 3);
    QCOMPARE(list()->selectedAlbumId(), next);
    QVERIFY(list()->model()->albumId(3) != doomed);
    // Soft deletion: the album still loads by id.
    AlbumRecord record;
    QVERIFY(m_app->document()->albumTable().Load(m_app->document()->database(), doomed, &record));

    control->selectRow(24);
    MessageBox::setNextAnswer(QMessageBox::Yes);
    QVERIFY(frame()->runCommand(CommandIds::DeletePost));
    QCOMPARE(control->selectedRow(), -1); // past the end: nothing selected
    QCOMPARE(frame()->pagePane()->shownPath(), QString());
}

// A catalogue the user may only read: the delete is refused with the engine's word, and the
// album stays where it was.
void TestMainFrame::deleteOnAReadOnlyCatalogueKeepsTheAlbum()
{
    QVERIFY(QFile::setPermissions(m_catalogue, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    start(m_catalogue);
    list()->list()->selectRow(3);
    const int album = list()->selectedAlbumId();
    MessageBox::history().clear();
    MessageBox::setNextAnswer(QMessageBox::Yes);
    QVERIFY(frame()->runCommand(CommandIds::DeletePost));
    QCOMPARE(MessageBox::history().size(), 2);
    QCOMPARE(MessageBox::history().last().icon, QMessageBox::Critical);
    QCOMPARE(rows(), 26);
    QCOMPARE(list()->selectedAlbumId(), album);
    QCOMPARE(frame()->statusPaneText(2), QStringLiteral("Total Posts: 26"));
}

// Sends each key to the menu open at that moment, one per turn of the event loop, so a key that
// opens a submenu hands the next key to it.
void TestMainFrame::pressInPopups(const QList<int>& keys)
{
    if (keys.isEmpty())
        return;
    QTimer::singleShot(20, qApp, [keys] {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup) {
            pressInPopups(keys); // not open yet
            return;
        }
        QTest::keyClick(popup, Qt::Key(keys.first()));
        pressInPopups(keys.mid(1));
    });
}

void TestMainFrame::rightClickMenusRunTheirCommands_data()
{
    QTest::addColumn<bool>("onHeader");
    QTest::addColumn<int>("place"); // the column or row clicked
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("sortText");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("rowsAfter");
    const QStringList defaults = {"Artist", "Title", "Record Year"};
    QTest::newRow("header: sort ascending")
        << true << 1 << QList<int>{Qt::Key_A} << "title ASC, year ASC" << defaults << 26;
    QTest::newRow("header: sort descending")
        << true << 2 << QList<int>{Qt::Key_D} << "year DESC, title DESC" << defaults << 26;
    QTest::newRow("header: hide the first column")
        << true << 0 << QList<int>{Qt::Key_C, Qt::Key_Return} << QString()
        << QStringList{"Title", "Record Year"} << 26;
    QTest::newRow("list: delete post")
        << false << 3 << QList<int>{Qt::Key_D} << QString() << defaults << 25;
}

void TestMainFrame::rightClickMenusRunTheirCommands()
{
    QFETCH(bool, onHeader);
    QFETCH(int, place);
    QFETCH(QList<int>, keys);
    QFETCH(QString, sortText);
    QFETCH(QStringList, captions);
    QFETCH(int, rowsAfter);
    start(m_catalogue);
    const QString sortBefore = m_app->document()->sortText();
    AlbumListCtrl* control = list()->list();
    QHeaderView* header = control->horizontalHeader();
    MessageBox::setNextAnswer(QMessageBox::Yes);
    pressInPopups(keys);
    // The right click as the window system delivers it: to the widget under the mouse, from
    // where it travels up to whoever handles it. The menu runs inside.
    QWidget* target = onHeader ? header->viewport() : control->viewport();
    const QPoint point =
        onHeader ? QPoint(header->sectionViewportPosition(place) + header->sectionSize(place) / 2,
                          header->height() / 2)
                 : rowCentre(place);
    if (!onHeader)
        QTest::mouseClick(target, Qt::LeftButton, {}, point); // a left click there sorts
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, point, target->mapToGlobal(point));
    QApplication::sendEvent(target, &rightClick);
    LOOP_VERIFY(!QApplication::activePopupWidget());
    QCOMPARE(m_app->document()->sortText(), sortText.isEmpty() ? sortBefore : sortText);
    QCOMPARE(headerCaptions(), captions);
    QCOMPARE(rows(), rowsAfter);
}

void TestMainFrame::columnsCanBeShownAndHidden()
{
    start(m_catalogue);
    AlbumListCtrl* control = list()->list();
    QTest::mouseClick(control->viewport(), Qt::LeftButton, {}, rowCentre(5));
    const int album = list()->selectedAlbumId();
    const QString page = shownPage();
    QVERIFY(page.contains(list()->model()->data(list()->model()->index(5, 1)).toString()));
    const int genre = 33006;
    QVERIFY(frame()->runCommand(genre));
    QCOMPARE(headerCaptions(), QStringList({"Artist", "Title", "Record Year", "Genre"}));
    // The selection and the page stay with the album.
    QCOMPARE(control->selectedRow(), 5);
    QCOMPARE(list()->selectedAlbumId(), album);
    QCOMPARE(shownPage(), page);
    // The first album is Åsa Lindqvist's, a folk record.
    QCOMPARE(list()->model()->data(list()->model()->index(0, 3)).toString(),
             QStringLiteral("Folk"));
    QVERIFY(frame()->runCommand(33000)); // hide Artist
    QCOMPARE(headerCaptions(), QStringList({"Title", "Record Year", "Genre"}));
    for (int command = 33001; command <= 33006; ++command)
        if (m_app->document()->columns()[command - 33000].shown)
            QVERIFY(frame()->runCommand(command));
    QCOMPARE(headerCaptions(), QStringList());
    QCOMPARE(rows(), 26); // still counted without columns
    QCOMPARE(frame()->statusPaneText(1), QStringLiteral("Displayed Posts: 26"));
    QCOMPARE(list()->selectedAlbumId(), album);
    QCOMPARE(shownPage(), page);
    QVERIFY(frame()->runCommand(33001)); // Title back: the album is selected again
    QCOMPARE(control->selectedRow(), 5);
    QCOMPARE(control->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(list()->selectedAlbumId(), album);
}

void TestMainFrame::settingsWrittenAtExitAreReadAtNextStart()
{
    start(m_catalogue);
    QVERIFY(frame()->runCommand(33006)); // show Genre
    QHeaderView* header = list()->list()->horizontalHeader();
    header->resizeSection(1, 170);
    header->moveSection(2, 0); // Record Year first
    SendPaneMessage(list(), UWM_SORT_COLUMN, 1);
    const QString page = frame()->pagePane()->shownPath();
    QVERIFY(QFileInfo::exists(page));
    stop();
    QVERIFY(!QFileInfo::exists(page)); // generated pages go with the program
    {
        AppSettings settings;
        QCOMPARE(settings.read(SettingsTable::LastDatabase), m_catalogue);
        QCOMPARE(settings.read(SettingsTable::OrderBy), QStringLiteral("title ASC, year ASC"));
        QCOMPARE(settings.read(SettingsTable::OrderByColumn), 1);
        QCOMPARE(settings.columnWidth(QStringLiteral("Title")), 170);
        QVERIFY(settings.columnShown(QStringLiteral("Genre")));
    }
    // The next start needs no catalogue on the command line.
    start(QString());
    QCOMPARE(m_app->document()->database()->name(), m_catalogue);
    QCOMPARE(headerCaptions(), QStringList({"Record Year", "Artist", "Title", "Genre"}));
    QCOMPARE(list()->list()->horizontalHeader()->sectionSize(1), 170);
    QCOMPARE(m_app->document()->sortText(), QStringLiteral("title ASC, year ASC"));
}

void TestMainFrame::missingCatalogueAtStartUp()
{
    FileDialog::setNextFileName(QString()); // the user cancels the open dialog
    const int dialogsBefore = FileDialog::shownCount();
    start(m_files->filePath(QStringLiteral("gone.muf")));
    QCOMPARE(FileDialog::shownCount(), dialogsBefore + 1);
    QCOMPARE(MessageBox::history().size(), 1);
    QVERIFY(MessageBox::history().first().text.startsWith(QStringLiteral("Could not find file")));
    QCOMPARE(m_app->document()->database(), nullptr);
    QCOMPARE(frame()->treePane()->topLevelItem(0)->text(0), QStringLiteral("Music"));
    QCOMPARE(rows(), 0);
    QCOMPARE(frame()->statusPaneText(2), QStringLiteral("Total Posts: 0"));
    QVERIFY(!QFileInfo::exists(m_files->filePath(QStringLiteral("gone.muf"))));
}

void TestMainFrame::openingAForeignFileLeavesEmptyPanes()
{
    start(m_catalogue);
    const QString foreign = m_files->filePath(QStringLiteral("notes.txt"));
    {
        QFile file(foreign);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("These are not albums.\n");
    }
    FileDialog::setNextFileName(foreign);
    QVERIFY(frame()->runCommand(CommandIds::OpenDatabase));
    QCOMPARE(MessageBox::history().size(), 1);
    QCOMPARE(MessageBox::history().first().caption, QStringLiteral("Vastry"));
    QCOMPARE(m_app->document()->database(), nullptr);
    QCOMPARE(rows(), 0);
    QCOMPARE(frame()->treePane()->topLevelItem(0)->childCount(), 0);
    QCOMPARE(TestCatalog::readBytes(foreign), QByteArray("These are not albums.\n"));

    FileDialog::setNextFileName(m_catalogue); // and back to a real one
    QVERIFY(frame()->runCommand(CommandIds::OpenDatabase));
    QCOMPARE(rows(), 26);
}

void TestMainFrame::aDamagedCatalogueOpensReadOnly_data()
{
    QTest::addColumn<bool>("backedUp");
    QTest::newRow("no backup") << false;
    QTest::newRow("a good backup, restored") << true;
}

// Damage found at open is told, and nothing more is written to the file (not even the delete
// the user tries next), unless the newest good backup it offers is restored.
void TestMainFrame::aDamagedCatalogueOpensReadOnly()
{
    QFETCH(bool, backedUp);
    if (backedUp) {
        Database sound;
        QVERIFY(sound.open(m_catalogue, DatabaseEx::catalogConnectString()));
        QString written;
        QString error;
        QVERIFY2(CatalogBackup::fromSettings(AppSettings()).take(&sound, &written, &error),
                 qPrintable(error));
    }
    QVERIFY(TestCatalog::damagePage(m_catalogue));
    const QByteArray damaged = TestCatalog::readBytes(m_catalogue);
    // "Restore", then Yes to restoring though the damaged state cannot be backed up first.
    MessageBox::setNextAnswer(QMessageBox::Open);
    MessageBox::setAnswerForAll(QMessageBox::Yes);
    start(m_catalogue);
    QVERIFY(!MessageBox::history().isEmpty());
    const QString told = MessageBox::history().first().text;
    QVERIFY2(told.startsWith(QStringLiteral("The catalog '")) && told.contains(u"is damaged"),
             qPrintable(told));
    QCOMPARE(told.contains(u"The newest good backup is from"), backedUp);
    QCOMPARE(m_app->document()->database()->isReadOnly(), !backedUp);
    QCOMPARE(rows(), 26);
    frame()->runCommand(CommandIds::DeletePost);
    stop();
    if (!backedUp) {
        QCOMPARE(TestCatalog::readBytes(m_catalogue), damaged);
        return;
    }
    Database restored;
    QVERIFY(restored.open(m_catalogue, DatabaseEx::catalogConnectString()));
    QStringList problems;
    QVERIFY(restored.quickCheck(&problems));
    QCOMPARE(problems, QStringList());
}

void TestMainFrame::newCatalogueIsEmpty()
{
    start(m_catalogue);
    const QString fresh = m_files->filePath(QStringLiteral("fresh"));
    FileDialog::setNextFileName(fresh);
    QVERIFY(frame()->runCommand(CommandIds::NewDatabase));
    QCOMPARE(m_app->document()->database()->name(), fresh + QStringLiteral(".muf"));
    QCOMPARE(rows(), 0);
    QCOMPARE(frame()->statusPaneText(1), QStringLiteral("Displayed Posts: 0"));
    QCOMPARE(frame()->statusPaneText(2), QStringLiteral("Total Posts: 0"));
    QCOMPARE(frame()->treePane()->topLevelItem(0)->text(0), QStringLiteral("Music - fresh.muf"));

    // A new catalogue over the open one: closed first, then replaced by an empty one.
    FileDialog::setNextFileName(m_catalogue);
    QVERIFY(frame()->runCommand(CommandIds::NewDatabase));
    QCOMPARE(rows(), 0);
    QVERIFY(MessageBox::history().isEmpty());
}

void TestMainFrame::nonsenseSettingsStillGiveAUsableWindow()
{
    {
        AppSettings settings;
        settings.write(SettingsTable::WindowLeft, -30000);
        settings.write(SettingsTable::WindowTop, 90000);
        settings.write(SettingsTable::WindowRight, -29990);
        settings.write(SettingsTable::WindowBottom, 90005);
        settings.write(SettingsTable::TreeWidth, 999999);
        settings.writeColumnState(QStringLiteral("Artist"), 500, true, -40);
        settings.writeColumnState(QStringLiteral("Title"), -7, true, 100000);
        settings.write(SettingsTable::OrderByColumn, 77);
        settings.write(SettingsTable::OrderBy, QStringLiteral("nonsense DESC; DROP TABLE music"));
    }
    start(m_catalogue);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(screen.intersects(frame()->geometry()));
    QVERIFY(frame()->width() >= 700 && frame()->height() >= 500);
    const QList<int> split = frame()->outerSplitter()->sizes();
    QVERIFY(split[0] >= 10 && split[1] >= 10);
    QCOMPARE(headerCaptions(), QStringList({"Title", "Record Year", "Artist"}));
    QCOMPARE(list()->list()->horizontalHeader()->sectionSize(0), 100);
    QCOMPARE(rows(), 26);
    QCOMPARE(m_app->document()->sortText(), QStringLiteral("artist_name ASC, title ASC"));
    QVERIFY(frame()->runCommand(CommandIds::ShowAll));
    QVERIFY(MessageBox::history().isEmpty()); // no engine error, then or at a reload
}

// A path below a device file cannot be created even by root, so this holds wherever it runs.
void TestMainFrame::unwritableSettingsAreSaidOnceAndTheWindowWorks()
{
    AppSettings::useFolder(QStringLiteral("/dev/null/settings"));
    m_app = std::make_unique<CVastryApp>();
    // The switch that keeps the tip away is a setting too, gone with the folder.
    m_app->setDialogs(std::make_unique<RecordingFrameDialogs>(), nullptr);
    QVERIFY(startFilled(*m_app, m_catalogue));
    QCOMPARE(MessageBox::history().size(), 1);
    const MessageBox::Shown warning = MessageBox::history().first();
    QCOMPARE(warning.icon, QMessageBox::Warning);
    QVERIFY2(
        warning.text.startsWith(QLatin1String("Settings cannot be saved to /dev/null/settings/")),
        qPrintable(warning.text));
    QCOMPARE(rows(), 26);
    QVERIFY(frame()->runCommand(CommandIds::ShowAll));
    stop();
    QCOMPARE(MessageBox::history().size(), 1); // closing does not complain again
}

void TestMainFrame::menusCarryTheirCommands()
{
    start(m_catalogue);
    QStringList menus;
    for (QAction* action : frame()->menuBar()->actions())
        menus << action->text();
    QCOMPARE(menus,
             QStringList({"&File", "&Edit", "&Record", "&Lists", "&View", "&Internet", "&Help"}));
    QAction* newPost = frame()->action(CommandIds::NewPost);
    QCOMPARE(newPost->statusTip(), QStringLiteral("Create a new post"));
    QCOMPARE(newPost->toolTip(), QStringLiteral("New Post (Ins)"));
    QCOMPARE(frame()->action(CommandIds::DeletePost)->shortcut(), QKeySequence(Qt::Key_Delete));
    // The Record menu reads "Enter"; the main keyboard's Return key edits as well.
    QAction* editPost = frame()->action(CommandIds::EditPost);
    QCOMPARE(editPost->shortcut().toString(QKeySequence::NativeText), QStringLiteral("Enter"));
    QVERIFY(editPost->shortcuts().contains(QKeySequence(Qt::Key_Return)));
    QCOMPARE(frame()->action(32804)->toolTip(), QStringLiteral("Orhcestra list"));
    const QMenu* view = frame()->menuBar()->findChild<QMenu*>(QStringLiteral("ViewMenu"));
    QCOMPARE(view->actions().value(2)->text(), QStringLiteral("CD-Rom Drives"));
    const QMenu* columns = frame()->menuBar()->findChild<QMenu*>(QStringLiteral("ColumnsMenu"));
    QCOMPARE(columns->actions().size(), 37);
    QVERIFY(columns->actions().value(0)->isChecked());
    QVERIFY(!columns->actions().value(2)->isChecked());
    const QMenu* lists = frame()->menuBar()->findChild<QMenu*>(QStringLiteral("ListsMenu"));
    QCOMPARE(lists->actions().size(), 16);
    QCOMPARE(lists->actions().first()->text(), QStringLiteral("&Artist"));
    // No handler in the window: these stay disabled.
    for (int id : {CommandIds::Cut, CommandIds::Copy, CommandIds::Paste, CommandIds::Preferences})
        QVERIFY(!frame()->action(id)->isEnabled());
}

namespace
{

// What a screen reader says for each item of `menu`: its name and, apart, its key.
QStringList spokenItems(QMenu* menu)
{
    QStringList items;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(menu);
    for (int i = 0; i < accessible->childCount(); ++i) {
        QAccessibleInterface* item = accessible->child(i);
        if (item->role() != QAccessible::Separator)
            items << item->text(QAccessible::Name) + QLatin1Char('|') +
                         item->text(QAccessible::Accelerator);
    }
    return items;
}

} // namespace

// The window's menus, the print button's drop-down and the list's popup: names without the key
// text, which is read as the item's key.
void TestMainFrame::menuItemsNameTheirKeysApart()
{
    start(m_catalogue);
    QStringList spoken;
    for (QMenu* menu : frame()->findChildren<QMenu*>())
        spoken += spokenItems(menu);
    QVERIFY(spoken.contains(QStringLiteral("Print Current Album|Ctrl+P")));
    QVERIFY(spoken.contains(QStringLiteral("Print All Albums|Ctrl+Shift+P")));

    QStringList popup;
    QTimer::singleShot(0, [&popup] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        popup = spokenItems(menu);
        menu->close();
    });
    const QPoint inList = list()->list()->viewport()->mapToGlobal(rowCentre(0));
    SendPaneMessage(list(), UWM_LIST_CONTEXT_MENU, PackPoint(inList), 0);
    QCOMPARE(popup,
             QStringList({"New Post|Ins", "Edit Post|Enter", "Delete Post|Del", "Find|Ctrl+F"}));
    spoken += popup;
    for (const QString& item : spoken)
        QVERIFY2(!item.contains(QLatin1Char('\t')), qPrintable(item));
}

void TestMainFrame::pageFollowsTheSelectedRow_data()
{
    QTest::addColumn<int>("key"); // 0: a drag with the mouse from row 1 to row 4
    QTest::addColumn<int>("row");
    QTest::newRow("down") << int(Qt::Key_Down) << 3;
    QTest::newRow("up") << int(Qt::Key_Up) << 1;
    QTest::newRow("page down") << int(Qt::Key_PageDown) << -1;
    QTest::newRow("page up") << int(Qt::Key_PageUp) << 0;
    QTest::newRow("drag") << 0 << 4;
}

// The page shows the album of the selected row however the selection moved, and Del deletes
// that very album.
void TestMainFrame::pageFollowsTheSelectedRow()
{
    QFETCH(int, key);
    QFETCH(int, row);
    start(m_catalogue);
    AlbumListCtrl* control = list()->list();
    QWidget* viewport = control->viewport();
    control->setFocus();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowCentre(2));
    if (key == 0) {
        QTest::mousePress(viewport, Qt::LeftButton, {}, rowCentre(1));
        QTest::mouseMove(viewport, rowCentre(2));
        QTest::mouseMove(viewport, rowCentre(row));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, rowCentre(row));
    } else {
        QTest::keyClick(control, Qt::Key(key));
    }
    const int selected = control->selectedRow();
    QVERIFY(selected > 2 || row >= 0);
    if (row >= 0)
        QCOMPARE(selected, row);
    const QString title = list()->model()->data(list()->model()->index(selected, 1)).toString();
    QVERIFY2(shownPage().contains(QStringLiteral("> - ") + title + QLatin1Char('<')),
             qPrintable(title));

    const int shown = list()->selectedAlbumId();
    MessageBox::setNextAnswer(QMessageBox::Yes);
    QVERIFY(frame()->runCommand(CommandIds::DeletePost));
    QCOMPARE(rows(), 25);
    QCOMPARE(list()->model()->rowOfAlbum(shown), -1);
}

void TestMainFrame::albumPageLinksOpenInTheDesktopBrowser_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("opened");
    QTest::newRow("https") << "https://music.example/albums/7" << true;
    QTest::newRow("http") << "http://music.example/?a=1&b=2" << true;
    QTest::newRow("mail") << "mailto:shop@music.example" << true;
    QTest::newRow("local file") << "file:///etc/passwd" << false;
    QTest::newRow("ftp") << "ftp://music.example/album.zip" << false;
}

// "This item on the Internet" opens the album's address with the desktop, never in the pane;
// an address that is no web or mail address is shown as text, with nothing to click.
void TestMainFrame::albumPageLinksOpenInTheDesktopBrowser()
{
    QFETCH(QString, url);
    QFETCH(bool, opened);
    start(m_catalogue);
    CBottomView* page = frame()->pagePane();
    const int album = list()->selectedAlbumId();
    QVERIFY(m_app->document()->database()->execute(
        QStringLiteral("UPDATE music SET url = '%1' WHERE music_id = %2")
            .arg(url, QString::number(album))
            .toUtf8()));
    QSignalSpy loaded(page, &QWebEngineView::loadFinished);
    SendPaneMessage(list(), UWM_SHOW_ALBUM);
    QVERIFY(loaded.wait(15000));
    const QUrl pageUrl = page->url();
    if (!opened) {
        QVariant links;
        page->page()->runJavaScript(QStringLiteral("document.links.length"),
                                    QWebEngineScript::ApplicationWorld,
                                    [&links](const QVariant& result) { links = result; });
        LOOP_VERIFY_WITH_TIMEOUT(links.isValid(), 10000);
        QCOMPARE(links.toInt(), 0);
        QVERIFY(shownPage().contains(url + QLatin1String("</TD>")));
        return;
    }

    QVariant centre;
    page->page()->runJavaScript(
        QStringLiteral("(function() { const link = document.links[0]; link.scrollIntoView();"
                       " const r = link.getBoundingClientRect();"
                       " return [r.left + r.width / 2, r.top + r.height / 2]; })()"),
        QWebEngineScript::ApplicationWorld, [&centre](const QVariant& result) { centre = result; });
    LOOP_VERIFY_WITH_TIMEOUT(centre.isValid(), 10000);
    const QVariantList xy = centre.toList();
    QVERIFY(page->focusProxy());
    QTest::mouseClick(page->focusProxy(), Qt::LeftButton, {},
                      QPoint(qRound(xy.value(0).toDouble()), qRound(xy.value(1).toDouble())));
    LOOP_COMPARE_WITH_TIMEOUT(UrlOpener::history(), QList<QUrl>{QUrl(url)}, 10000);
    QCOMPARE(page->url(), pageUrl); // the pane stays on the album page
}

// Another program renames an artist and adds an album: the window follows by itself, with the
// same artist and album chosen, the focus where it was and the list where it was scrolled.
void TestMainFrame::changesByAnotherProgramShowWithTheSelectionKept()
{
    start(m_catalogue);
    focusWindow();
    CLeftView* tree = frame()->treePane();
    AlbumListCtrl* control = list()->list();
    tree->setCurrentItem(artistNode(QStringLiteral("O'Malley's Kitchen Band")));
    QCOMPARE(rows(), 2);
    control->setFocus();
    QTest::keyClick(control, Qt::Key_Down);
    const int album = list()->selectedAlbumId();
    QCOMPARE(control->selectedRow(), 1);

    runCli({QStringLiteral("rename"), m_catalogue, QStringLiteral("music_artists"),
            QStringLiteral("2"), QStringLiteral("O'Malley & Sons")});
    LOOP_VERIFY(artistNode(QStringLiteral("O'Malley & Sons")));
    QCOMPARE(tree->currentItem(), artistNode(QStringLiteral("O'Malley & Sons")));
    QCOMPARE(list()->caption(), QStringLiteral("O'Malley & Sons"));
    QCOMPARE(list()->selectedAlbumId(), album);
    LOOP_VERIFY(shownPage().contains(QStringLiteral("O'Malley &amp; Sons")));

    const QString json = m_files->filePath(QStringLiteral("album.json"));
    {
        QFile file(json);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"artist_name": "O'Malley & Sons", "title": "AAA First Light"})");
    }
    runCli({QStringLiteral("add"), m_catalogue, json});
    LOOP_COMPARE(rows(), 3);
    QCOMPARE(frame()->statusPaneText(2), QStringLiteral("Total Posts: 27"));
    QCOMPARE(list()->selectedAlbumId(), album); // now in another row
    QCOMPARE(control->selectedRow(), 2);
    QCOMPARE(QApplication::focusWidget(), control);

    // All albums, scrolled to the end: a change elsewhere leaves the list where it is.
    tree->setCurrentItem(tree->topLevelItem(0));
    QTest::keyClick(control, Qt::Key_End, Qt::ControlModifier);
    const int scrolled = control->verticalScrollBar()->value();
    QVERIFY(scrolled > 0);
    const int last = list()->selectedAlbumId();
    runCli({QStringLiteral("rename"), m_catalogue, QStringLiteral("music_artists"),
            QStringLiteral("3"), QStringLiteral("Renamed Elsewhere")});
    LOOP_VERIFY(artistNode(QStringLiteral("Renamed Elsewhere")));
    QCOMPARE(control->verticalScrollBar()->value(), scrolled);
    QCOMPARE(list()->selectedAlbumId(), last);
    QCOMPARE(tree->currentItem(), tree->topLevelItem(0));
    QCOMPARE(QApplication::focusWidget(), control);
}

// The program's own changes reload the list once; nothing changed elsewhere, nothing reloads.
void TestMainFrame::ownChangesReloadOnce()
{
    start(m_catalogue);
    // The frame looks for outside changes on a timer; looking often makes "nothing reloaded"
    // a matter of a few looks instead of seconds.
    auto* check = frame()->findChild<QTimer*>(QStringLiteral("OutsideChangeCheck"));
    QVERIFY(check);
    check->setInterval(20);
    QSignalSpy looks(check, &QTimer::timeout);
    const auto lookTwiceMore = [&looks] {
        const qsizetype target = looks.size() + 2;
        return waitInEventLoop([&] { return looks.size() >= target; });
    };
    QSignalSpy resets(list()->model(), &QAbstractItemModel::modelReset);
    QVERIFY(lookTwiceMore());
    QCOMPARE(resets.size(), 0);
    MessageBox::setNextAnswer(QMessageBox::Yes);
    QVERIFY(frame()->runCommand(CommandIds::DeletePost));
    QCOMPARE(rows(), 25);
    const int afterDelete = resets.size();
    QVERIFY(lookTwiceMore());
    QCOMPARE(resets.size(), afterDelete);
}

// Moving through the list while another program holds the catalogue for a long write: no
// error box, a word in the status bar, and the page once the other program is done.
void TestMainFrame::readsWaitQuietlyWhileAnotherProgramWrites()
{
    start(m_catalogue);
    AlbumListCtrl* control = list()->list();
    control->setFocus();
    Database writer;
    QVERIFY(writer.open(m_catalogue, DatabaseEx::catalogConnectString()));
    QVERIFY(writer.execute("BEGIN EXCLUSIVE"));
    QTest::keyClick(control, Qt::Key_Down);
    QTest::keyClick(control, Qt::Key_Down);
    QCOMPARE(frame()->statusPaneText(0),
             QStringLiteral("Waiting for another program to finish writing…"));
    QCOMPARE(MessageBox::history().size(), 0);
    const int row = control->selectedRow();
    const QString title = HtmlPageWriter::escapeHtml(
        list()->model()->data(list()->model()->index(row, 1)).toString());

    // The writer gives up: nothing changed, yet the page the user chose is shown.
    QVERIFY(writer.execute("ROLLBACK"));
    LOOP_COMPARE_WITH_TIMEOUT(frame()->statusPaneText(0), QStringLiteral("Ready"), 10000);
    QCOMPARE(control->selectedRow(), row);
    LOOP_VERIFY_WITH_TIMEOUT(shownPage().contains(title), 10000);
    QCOMPARE(MessageBox::history().size(), 0);
    // The program's own writes wait for others as long as before.
    QCOMPARE(m_app->document()->database()->busyTimeout(), Database::BusyTimeoutMs);
}

void TestMainFrame::toolbarLabelsStay_data()
{
    QTest::addColumn<int>("tbText");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("labels") << 1 << QStringList({"New", "Search"});
    QTest::newRow("no labels") << 0 << QStringList({QString(), QString()});
}

// The labels are there from the start and stay when the commands change.
void TestMainFrame::toolbarLabelsStay()
{
    QFETCH(int, tbText);
    QFETCH(QStringList, labels);
    AppSettings().write(SettingsTable::TbText, tbText);
    start(m_catalogue);
    QToolBar* toolBar = frame()->findChild<QToolBar*>(QStringLiteral("ToolBar"));
    const int commands[] = {CommandIds::NewPost, CommandIds::Find};
    const auto shownLabels = [&] {
        QStringList shown;
        for (int id : commands) {
            const auto* button =
                qobject_cast<QToolButton*>(toolBar->widgetForAction(frame()->action(id)));
            shown << (button->toolButtonStyle() == Qt::ToolButtonIconOnly ? QString()
                                                                          : button->text());
        }
        return shown;
    };
    QCOMPARE(shownLabels(), labels);
    for (int id : commands) {
        QAction* action = frame()->action(id);
        const bool enabled = action->isEnabled();
        action->setEnabled(!enabled);
        action->setEnabled(enabled);
    }
    QCOMPARE(shownLabels(), labels);
    QCOMPARE(frame()->action(CommandIds::NewPost)->text(), QStringLiteral("&New Post"));
}

void TestMainFrame::paneKeysFocusTheViews_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("pane");
    const int next = Qt::Key_F6;
    const int previous = (Qt::SHIFT | Qt::Key_F6).toCombined();
    QTest::newRow("next: the list") << QList<int>{next} << "CTopView";
    QTest::newRow("next twice: the page") << QList<int>{next, next} << "CBottomView";
    QTest::newRow("round") << QList<int>{next, next, next} << "CLeftView";
    QTest::newRow("previous: the page") << QList<int>{previous} << "CBottomView";
    QTest::newRow("previous twice: the list") << QList<int>{previous, previous} << "CTopView";
}

// F6 and Shift+F6 hand the focus to the view inside each pane, where the keys then work.
void TestMainFrame::paneKeysFocusTheViews()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, pane);
    start(m_catalogue);
    LOOP_VERIFY_WITH_TIMEOUT(frame()->pagePane()->focusProxy(), 10000);
    focusWindow();
    QCOMPARE(QApplication::focusWidget(), frame()->treePane());
    for (int key : keys)
        QTest::keySequence(QApplication::focusWidget(), QKeySequence(key));
    QWidget* focused = QApplication::focusWidget();
    if (pane == QLatin1String("CTopView")) {
        QCOMPARE(focused, list()->list());
        QTest::keyClick(focused, Qt::Key_Down);
        QCOMPARE(list()->list()->selectedRow(), 1);
    } else if (pane == QLatin1String("CBottomView")) {
        QCOMPARE(focused, frame()->pagePane()->focusProxy());
    } else {
        QCOMPARE(focused, frame()->treePane());
        QTest::keyClick(focused, Qt::Key_Down);
        QCOMPARE(frame()->treePane()->currentItem()->parent(),
                 frame()->treePane()->topLevelItem(0));
    }
}

void TestMainFrame::listLookFollowsTheSettings_data()
{
    QTest::addColumn<int>("fullRow");
    QTest::addColumn<int>("hotTrack");
    QTest::newRow("defaults") << 1 << 1;
    QTest::newRow("no full row") << 0 << 1;
    QTest::newRow("no hot tracking") << 1 << 0;
}

// Full-row selection decides how much of the row is highlighted, also after a reload; hot
// tracking underlines the row under the mouse.
void TestMainFrame::listLookFollowsTheSettings()
{
    QFETCH(int, fullRow);
    QFETCH(int, hotTrack);
    {
        AppSettings settings;
        settings.write(SettingsTable::FullrowSelect, fullRow);
        settings.write(SettingsTable::HotTrack, hotTrack);
    }
    start(m_catalogue);
    AlbumListCtrl* control = list()->list();
    const int highlighted = fullRow ? 3 : 1;
    QCOMPARE(control->selectionModel()->selectedIndexes().size(), highlighted);
    QVERIFY(frame()->runCommand(CommandIds::ShowAll));
    QCOMPARE(control->selectionModel()->selectedIndexes().size(), highlighted);

    const QRect row3(0, control->rowViewportPosition(3), control->viewport()->width(),
                     control->rowHeight(3));
    const QImage before = control->viewport()->grab(row3).toImage();
    QTest::mouseMove(control->viewport(), rowCentre(3));
    QApplication::processEvents();
    const QImage under = control->viewport()->grab(row3).toImage();
    QCOMPARE(under != before, hotTrack != 0);
    QTest::mouseMove(control->viewport(), rowCentre(6));
    QApplication::processEvents();
    QCOMPARE(control->viewport()->grab(row3).toImage(), before);
}

// Resizing the window gives or takes the room on the right; the tree keeps its width and that
// width is what the next start gets.
void TestMainFrame::treeKeepsItsWidthWhenTheWindowResizes()
{
    start(m_catalogue);
    QSplitter* outer = frame()->outerSplitter();
    QCOMPARE(outer->sizes().value(0), 180);
    for (int width : {900, 1000, 720}) {
        frame()->resize(width, 570);
        LOOP_COMPARE(frame()->width(), width);
        LOOP_COMPARE(outer->sizes().value(0), 180);
        QCOMPARE(outer->sizes().value(1), outer->width() - 180 - outer->handleWidth());
    }
    stop();
    QCOMPARE(AppSettings().read(SettingsTable::TreeWidth), 180);
}

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    TestMainFrame test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestMainFrame.moc"
