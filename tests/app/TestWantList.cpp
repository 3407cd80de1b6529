#include "app/AppSettings.h"
#include "app/CMainFrame.h"
#include "app/CVastryApp.h"
#include "app/CommandIds.h"
#include "app/PrivateMessages.h"
#include "db/CatalogBackup.h"
#include "editors/AlbumEditorDialog.h"
#include "find/FilterField.h"
#include "find/SearchCondition.h"
#include "support/TestCatalog.h"
#include "support/gui/DesktopTestRun.h"
#include "support/gui/EventLoopWait.h"
#include "support/gui/ModalDialogDriver.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "views/AlbumListCtrl.h"
#include "views/AlbumListModel.h"
#include "views/CLeftView.h"
#include "views/CTopView.h"
#include "views/CVastryDoc.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

// The want list in the running program: a Discogs wantlist imported from the File menu, the
// View menu's choice between the want list, the collection and everything, and an album moved
// to the collection in the editor. One program runs the tests in order, each going on from
// the catalogue the one before left: the demo (25 albums owned, one wanted) and the 29 wanted
// releases of the wantlist.
class TestWantList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void wantlistOfferedAsACollectionIsRefused();
    void wantlistImportsAsWantedAlbums();
    void eachViewShowsAndCountsItsAlbums();
    void findAndArtistKeepToTheView();
    void tickingInCollectionMovesTheAlbum();
    void theViewIsRememberedAcrossARestart();

private:
    void start();
    CMainFrame* frame() const { return m_app->mainFrame(); }
    CVastryDoc& document() const { return *m_app->document(); }
    int rows() const { return frame()->listPane()->model()->rowCount(); }
    QString viewPane() const;
    QAction* menuAction(const QString& path) const;
    void importFromMenu(const QString& item);
    void findAnyOf(const QStringList& criteria);

    std::unique_ptr<TestCatalog> m_files;
    std::unique_ptr<CVastryApp> m_app;
    QString m_catalogue;
};

namespace
{

const QString Wantlist =
    QStringLiteral(TUNVALE_IO_TESTDATA "/mouse-reeve-record-catalogue.wantlist.csv");

} // namespace

void TestWantList::initTestCase()
{
    m_files = std::make_unique<TestCatalog>();
    useDesktopTestFolders(*m_files);
    m_catalogue = m_files->copyOfDemo();
    // Any box a test does not expect is answered rather than left blocking the run.
    MessageBox::setAnswerForAll(QMessageBox::Ok);
    start();
}

void TestWantList::cleanupTestCase()
{
    if (m_app)
        m_app->shutDown();
    m_app.reset();
    MessageBox::setAnswerForAll(QMessageBox::NoButton);
    m_files.reset();
}

void TestWantList::init()
{
    MessageBox::history().clear();
    CTopView::setBackgroundFillFrom(CTopView::BackgroundFillFrom);
}

void TestWantList::start()
{
    m_app = std::make_unique<CVastryApp>();
    QVERIFY(startFilled(*m_app, m_catalogue));
}

QString TestWantList::viewPane() const
{
    return frame()->findChild<QLabel*>(QStringLiteral("CollectionViewPane"))->text();
}

// "&File/&Import/&CSV File...": the item as the menus show it.
QAction* TestWantList::menuAction(const QString& path) const
{
    const QStringList steps = path.split(QLatin1Char('/'));
    QList<QAction*> actions = frame()->menuBar()->actions();
    for (const QString& step : steps) {
        const auto found = std::find_if(actions.begin(), actions.end(),
                                        [&step](QAction* a) { return a->text() == step; });
        if (found == actions.end())
            return nullptr;
        if (step == steps.last())
            return *found;
        if (!(*found)->menu())
            return nullptr;
        actions = (*found)->menu()->actions();
    }
    return nullptr;
}

void TestWantList::importFromMenu(const QString& item)
{
    QAction* import = menuAction(QStringLiteral("&File/&Import/") + item);
    QVERIFY(import && import->isEnabled());
    FileDialog::setNextFileName(Wantlist);
    import->trigger();
    QCOMPARE(MessageBox::history().size(), 1);
}

// The list then shows what the find dialog's OR of `criteria` ("Item=value") selects.
void TestWantList::findAnyOf(const QStringList& criteria)
{
    const QVector<FilterField> fields = FilterField::offered(document().columns());
    QVector<SearchCriterion> built;
    for (const QString& criterion : criteria) {
        const QString item = criterion.section(QLatin1Char('='), 0, 0);
        const auto field =
            std::find_if(fields.begin(), fields.end(),
                         [&item](const FilterField& f) { return f.itemText == item; });
        QVERIFY(field != fields.end());
        SearchCriterion one;
        QCOMPARE(SearchCondition::build(*field, criterion.section(QLatin1Char('='), 1), &one),
                 SearchCondition::Outcome::Built);
        built << one;
    }
    document().setFilter(SearchCondition::joined(built, true));
    SendPaneMessage(frame()->listPane(), UWM_RELOAD);
}

// Imported as owned records, the wants would count as the collection: the collection's menu
// item refuses the file and names the one that imports it.
void TestWantList::wantlistOfferedAsACollectionIsRefused()
{
    importFromMenu(QStringLiteral("&Discogs Collection (CSV)..."));
    QCOMPARE(MessageBox::history().first().text,
             QStringLiteral("This file looks like a Discogs wantlist, not a Discogs collection "
                            "export. Its albums are wanted, not owned: import it with File > "
                            "Import > \"Discogs Want List (CSV)...\". Nothing was imported."));
    QCOMPARE(rows(), 26);
}

void TestWantList::wantlistImportsAsWantedAlbums()
{
    importFromMenu(QStringLiteral("Discogs &Want List (CSV)..."));
    QCOMPARE(MessageBox::history().first().caption, QStringLiteral("Import Discogs Want List"));
    QCOMPARE(MessageBox::history().first().text,
             QStringLiteral("Imported: 29\nSkipped (already imported): 0\nRefused rows: 0"));
    LOOP_COMPARE(rows(), 55);
    // The catalogue as it was before the import is kept.
    const Database* database = document().database();
    const QVector<BackupEntry> backups = CatalogBackup::fromSettings(AppSettings())
                                             .list(database->name(), database->connectString());
    QVERIFY(!backups.isEmpty());
    QCOMPARE(backups.first().albums, 26);

    MessageBox::history().clear();
    importFromMenu(QStringLiteral("Discogs &Want List (CSV)..."));
    QCOMPARE(MessageBox::history().first().text,
             QStringLiteral("Imported: 0\nSkipped (already imported): 29\nRefused rows: 0"));
    LOOP_COMPARE(rows(), 55);
}

// Filled here and now, and (as a large catalogue is) by the background worker.
void TestWantList::eachViewShowsAndCountsItsAlbums()
{
    const struct {
        int command;
        const char* name;
        int albums;
    } views[] = {{CommandIds::ShowWantList, "Want List", 30},
                 {CommandIds::ShowCollection, "Collection", 25},
                 {CommandIds::ShowEverything, "Everything", 55}};
    for (const bool background : {false, true}) {
        CTopView::setBackgroundFillFrom(background ? 0 : CTopView::BackgroundFillFrom);
        for (const auto& view : views) {
            // From the menu, as the user chooses.
            QAction* item = frame()->action(view.command);
            QCOMPARE(menuAction(QStringLiteral("&View/") + item->text()), item);
            item->trigger();
            QCOMPARE(viewPane(), QLatin1String(view.name));
            for (const auto& other : views)
                QCOMPARE(frame()->action(other.command)->isChecked(),
                         other.command == view.command);
            LOOP_COMPARE(rows(), view.albums);
            LOOP_COMPARE(frame()->statusPaneText(2),
                         QStringLiteral("Total Posts: %1").arg(view.albums));
            QCOMPARE(frame()->statusPaneText(1),
                     QStringLiteral("Displayed Posts: %1").arg(view.albums));
        }
    }
}

// A find, an artist chosen in the tree and the view all hold at once; the total stays that
// of the view.
void TestWantList::findAndArtistKeepToTheView()
{
    QVERIFY(frame()->runCommand(CommandIds::ShowEverything));
    // What the find's own "In Collection" test leaves is what the want list shows.
    findAnyOf({QStringLiteral("In Collection=FALSE")});
    QCOMPARE(rows(), 30);
    QVERIFY(frame()->runCommand(CommandIds::ShowCollection));
    QCOMPARE(rows(), 0);

    // The owned Les Étoiles Filantes albums and the demo's 1998 album are not wanted; the two
    // wanted 1998 releases are.
    findAnyOf({QStringLiteral("Year=1998"), QStringLiteral("Artist=Les Étoiles Filantes")});
    QVERIFY(frame()->runCommand(CommandIds::ShowWantList));
    QCOMPARE(rows(), 2);
    QCOMPARE(frame()->statusPaneText(2), QStringLiteral("Total Posts: 30"));
    QVERIFY(frame()->runCommand(CommandIds::ShowEverything));
    QCOMPARE(rows(), 4);

    const QList<QTreeWidgetItem*> artist = frame()->treePane()->findItems(
        QStringLiteral("Harbour Lights"), Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(artist.size(), 1);
    frame()->treePane()->setCurrentItem(artist.first());
    QCOMPARE(rows(), 2);
    QVERIFY(frame()->runCommand(CommandIds::ShowWantList));
    QCOMPARE(rows(), 1);
    QVERIFY(frame()->runCommand(CommandIds::ShowCollection));
    QCOMPARE(rows(), 1);
    frame()->treePane()->setCurrentItem(frame()->treePane()->topLevelItem(0));
    QCOMPARE(rows(), 25);
}

// Bought at last: "In Collection" ticked in the editor takes the album off the want list.
void TestWantList::tickingInCollectionMovesTheAlbum()
{
    QVERIFY(frame()->runCommand(CommandIds::ShowWantList));
    const int wanted = 17; // the demo's one wanted album
    CTopView* list = frame()->listPane();
    list->list()->selectRow(list->model()->rowOfAlbum(wanted));
    QCOMPARE(list->selectedAlbumId(), wanted);
    bool ticked = false;
    ModalDialogDriver driver;
    driver.onNext<AlbumEditorDialog>([&ticked](AlbumEditorDialog* editor) {
        for (QCheckBox* box : editor->findChildren<QCheckBox*>())
            if (box->text() == QLatin1String("In Collection") && !box->isChecked()) {
                box->setFocus();
                QTest::keyClick(box, Qt::Key_Space);
                ticked = box->isChecked();
            }
        editor->saveAndCloseButton()->click();
    });
    QVERIFY(frame()->runCommand(CommandIds::EditPost));
    QVERIFY(driver.acted());
    QVERIFY(ticked);
    LOOP_COMPARE(rows(), 29);
    QCOMPARE(list->model()->rowOfAlbum(wanted), -1);
    QCOMPARE(frame()->statusPaneText(2), QStringLiteral("Total Posts: 29"));
    QVERIFY(frame()->runCommand(CommandIds::ShowCollection));
    QVERIFY(list->model()->rowOfAlbum(wanted) >= 0);
    QCOMPARE(rows(), 26);
}

void TestWantList::theViewIsRememberedAcrossARestart()
{
    QVERIFY(frame()->runCommand(CommandIds::ShowWantList));
    m_app->shutDown();
    m_app.reset();
    QCOMPARE(AppSettings().read(SettingsTable::CollectionView), 2);
    start();
    QCOMPARE(viewPane(), QStringLiteral("Want List"));
    QVERIFY(frame()->action(CommandIds::ShowWantList)->isChecked());
    QCOMPARE(rows(), 29);
    QCOMPARE(frame()->statusPaneText(2), QStringLiteral("Total Posts: 29"));
}

QTEST_MAIN(TestWantList)
#include "TestWantList.moc"
