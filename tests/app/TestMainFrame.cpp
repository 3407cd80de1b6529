#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/CMainFrame.h"
#include "app/CVastryApp.h"
#include "app/CommandIds.h"
#include "app/PrivateMessages.h"
#include "support/TestCatalog.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "views/AlbumListCtrl.h"
#include "views/AlbumListModel.h"
#include "views/CBottomView.h"
#include "views/CLeftView.h"
#include "views/CTopView.h"
#include "views/CVastryDoc.h"

#include <QApplication>
#include <QHeaderView>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>
#include <QSignalSpy>
#include <QSplitter>
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
    void windowShowsBeforeTheTreeFillsWithEveryArtist();
    void artistNodeFiltersTheList();
    void headerClicksAlternateTheSort_data();
    void headerClicksAlternateTheSort();
    void deleteAsksFirstAndSelectsTheNextRow();
    void columnsCanBeShownAndHidden();
    void settingsWrittenAtExitAreReadAtNextStart();
    void missingCatalogueAtStartUp();
    void openingAForeignFileLeavesEmptyPanes();
    void newCatalogueIsEmpty();
    void nonsenseSettingsStillGiveAUsableWindow();
    void menusCarryTheirCommands();
    void arrowKeysFollowWithThePageButPagingKeysDoNot();
    void albumPagePrints();

private:
    void start(const QString& catalogue);
    void stop();
    CMainFrame* frame() const { return m_app->mainFrame(); }
    CTopView* list() const { return frame()->listPane(); }
    int rows() const { return list()->model()->rowCount(); }
    QTreeWidgetItem* artistNode(const QString& name) const;
    QStringList headerCaptions() const;

    std::unique_ptr<TestCatalog> m_files;
    std::unique_ptr<CVastryApp> m_app;
    QString m_catalogue;
};

void TestMainFrame::init()
{
    m_files = std::make_unique<TestCatalog>();
    AppSettings::useFolder(m_files->filePath(QStringLiteral("settings")));
    AppPaths::setPageDirectory(m_files->filePath(QStringLiteral("pages")));
    AppPaths::setProgramDirectory(TestCatalog::programDirectory());
    m_catalogue = m_files->copyOfDemo();
    MessageBox::history().clear();
    // Any box a test does not expect is answered rather than left blocking the run.
    MessageBox::setAnswerForAll(QMessageBox::Ok);
}

void TestMainFrame::cleanup()
{
    stop();
    MessageBox::setAnswerForAll(QMessageBox::NoButton);
    m_files.reset();
}

void TestMainFrame::start(const QString& catalogue)
{
    m_app = std::make_unique<CVastryApp>();
    QVERIFY(m_app->initInstance({QStringLiteral("tunvale"), catalogue}));
    QVERIFY(QTest::qWaitForWindowExposed(frame()));
    // The web engine's first page can take a while on a busy machine.
    QTRY_VERIFY_WITH_TIMEOUT(frame()->isFilled(), 30000);
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
    QTRY_VERIFY(frame()->isMaximized());
    stop();
    AppSettings settings;
    QCOMPARE(settings.read(SettingsTable::WindowCmd), 3);
    QCOMPARE(settings.read(SettingsTable::WindowLeft), 20);
    start(m_catalogue);
    QTRY_VERIFY(frame()->isMaximized());
    QCOMPARE(frame()->normalGeometry().topLeft(), QPoint(20, 20));
}

void TestMainFrame::windowKeepsItsMinimumAndHalvesTheRightSide()
{
    start(m_catalogue);
    frame()->resize(300, 200);
    QVERIFY(frame()->width() >= 700 && frame()->height() >= 500);
    frame()->innerSplitter()->setSizes({50, 400}); // the user moves the bar...
    frame()->resize(760, 560);                     // ...until the next resize
    QTRY_COMPARE(frame()->size(), QSize(760, 560));
    const QList<int> sizes = frame()->innerSplitter()->sizes();
    QVERIFY2(qAbs(sizes[0] - sizes[1]) <= 1,
             qPrintable(QStringLiteral("%1 %2").arg(sizes[0]).arg(sizes[1])));
}

// The window is up and says it is loading before the catalogue is read; then the tree holds
// every artist in name order with the catalogue and artist pictures, and the root is chosen.
void TestMainFrame::windowShowsBeforeTheTreeFillsWithEveryArtist()
{
    m_app = std::make_unique<CVastryApp>();
    QVERIFY(m_app->initInstance({QStringLiteral("tunvale"), m_catalogue}));
    QVERIFY(frame()->isVisible());
    QCOMPARE(frame()->statusPaneText(0), QStringLiteral("Loading the catalogue..."));
    QCOMPARE(rows(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(frame()->isFilled(), 30000);
    QCOMPARE(frame()->statusPaneText(0), QStringLiteral("Ready"));

    const CLeftView* tree = frame()->treePane();
    QCOMPARE(tree->topLevelItemCount(), 1);
    const QTreeWidgetItem* root = tree->topLevelItem(0);
    QCOMPARE(tree->currentItem(), root);
    QStringList names;
    for (int i = 0; i < root->childCount(); ++i)
        names << root->child(i)->text(0);
    const QStringList expected = {
        "Dmitri Volkov Quartet",   "Harbour Lights",    "Jürgen Weiß Trio",       "Kestrel & Finch",
        "Les Étoiles Filantes",    "Mariana Conceição", "Midnight Cartographers", "Ngozi Adébáyọ̀",
        "O'Malley's Kitchen Band", "Sláinte Sessions",  "The Rowan Ensemble",     "Åsa Lindqvist"};
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
    // The rows really come in that order (titles and names compare without regard to case).
    const int column = clicks.last();
    for (int row = 1; row < rows(); ++row) {
        const QString before =
            list()->model()->data(list()->model()->index(row - 1, column)).toString();
        const QString after = list()->model()->data(list()->model()->index(row, column)).toString();
        const int order =
            column == 2 ? (before.toInt() < after.toInt() ? -1 : before.toInt() > after.toInt())
                        : before.compare(after, Qt::CaseInsensitive);
        QVERIFY2(descending ? order >= 0 : order <= 0,
                 qPrintable(before + QLatin1String(" / ") + after));
    }
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

void TestMainFrame::columnsCanBeShownAndHidden()
{
    start(m_catalogue);
    const int genre = 33006;
    QVERIFY(frame()->runCommand(genre));
    QCOMPARE(headerCaptions(), QStringList({"Artist", "Title", "Record Year", "Genre"}));
    QCOMPARE(list()->model()->data(list()->model()->index(0, 3)).toString(),
             QStringLiteral("Jazz"));
    QVERIFY(frame()->runCommand(33000)); // hide Artist
    QCOMPARE(headerCaptions(), QStringList({"Title", "Record Year", "Genre"}));
    for (int command = 33001; command <= 33006; ++command)
        if (m_app->document()->columns()[command - 33000].shown)
            QVERIFY(frame()->runCommand(command));
    QCOMPARE(headerCaptions(), QStringList());
    QCOMPARE(rows(), 26); // still counted without columns
    QCOMPARE(frame()->statusPaneText(1), QStringLiteral("Displayed Posts: 26"));
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
    QCOMPARE(frame()->action(32804)->toolTip(), QStringLiteral("Orhcestra list"));
    const QMenu* view = frame()->menuBar()->findChild<QMenu*>(QStringLiteral("ViewMenu"));
    QCOMPARE(view->actions().value(2)->text(), QStringLiteral("CD-Rom Drives"));
    const QMenu* columns = frame()->menuBar()->findChild<QMenu*>(QStringLiteral("ColumnsMenu"));
    QCOMPARE(columns->actions().size(), 36);
    QVERIFY(columns->actions().value(0)->isChecked());
    QVERIFY(!columns->actions().value(2)->isChecked());
    const QMenu* lists = frame()->menuBar()->findChild<QMenu*>(QStringLiteral("ListsMenu"));
    QCOMPARE(lists->actions().size(), 16);
    QCOMPARE(lists->actions().first()->text(), QStringLiteral("&Artist"));
    // No handler in the window: these stay disabled.
    for (int id : {CommandIds::Cut, CommandIds::Copy, CommandIds::Paste, CommandIds::Preferences})
        QVERIFY(!frame()->action(id)->isEnabled());
}

void TestMainFrame::arrowKeysFollowWithThePageButPagingKeysDoNot()
{
    start(m_catalogue);
    AlbumListCtrl* control = list()->list();
    control->setFocus();
    control->selectRow(0);
    QTest::keyClick(control, Qt::Key_Down);
    QCOMPARE(control->selectedRow(), 1);
    const QString second =
        QString::fromUtf8(TestCatalog::readBytes(frame()->pagePane()->shownPath()));
    QVERIFY(second.contains(QStringLiteral("Samovar Blues")));
    QTest::keyClick(control, Qt::Key_PageDown);
    QVERIFY(control->selectedRow() > 1);
    // The page still shows the album the arrow key chose.
    QCOMPARE(QString::fromUtf8(TestCatalog::readBytes(frame()->pagePane()->shownPath())), second);
}

void TestMainFrame::albumPagePrints()
{
    start(m_catalogue);
    CBottomView* page = frame()->pagePane();
    QTRY_VERIFY_WITH_TIMEOUT(!page->url().isEmpty(), 10000);
    QSignalSpy loaded(page, &QWebEngineView::loadFinished);
    SendPaneMessage(list(), UWM_SHOW_ALBUM);
    QVERIFY(loaded.wait(15000));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = m_files->filePath(QStringLiteral("page.pdf"));
    printer.setOutputFileName(pdf);
    QVERIFY(page->printTo(&printer));
    QVERIFY(TestCatalog::readBytes(pdf).startsWith("%PDF"));
}

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    TestMainFrame test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestMainFrame.moc"
