#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/CMainFrame.h"
#include "app/CVastryApp.h"
#include "app/CommandIds.h"
#include "db/LookupList.h"
#include "db/TreeNodeData.h"
#include "freedb/CdDrives.h"
#include "support/TestCatalog.h"
#include "support/gui/AccessibleNames.h"
#include "support/gui/DesktopTestRun.h"
#include "support/gui/RecordingFrameDialogs.h"
#include "support/gui/RecordingPostDialogs.h"
#include "ui/MessageBox.h"
#include "views/AlbumListCtrl.h"
#include "views/AlbumListModel.h"
#include "views/CLeftView.h"
#include "views/CTopView.h"
#include "views/CVastryDoc.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QtTest>

// The frame and the album list open their dialogs through two seams; here recorders stand in
// for the dialogs, so the flows around them (which command opens what, what is reloaded
// afterwards) are checked on the real window and a real catalogue.
class TestDialogSeams : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void programOffersEveryDialogItHas();
    void newPostReloadsListAndTree();
    void enterEditsTheSelectedAlbum();
    void findFiltersTheList();
    void listCommandsOpenTheListDialog_data();
    void listCommandsOpenTheListDialog();
    void listEditorChangesReachBothPanes();
    void frameDialogs_data();
    void frameDialogs();
    void everyControlHasAnAccessibleName();
    void albumListModelKeepsItsContract();

private:
    void start();
    CMainFrame* frame() const { return m_app->mainFrame(); }
    CTopView* list() const { return frame()->listPane(); }
    int rows() const { return list()->model()->rowCount(); }

    std::unique_ptr<TestCatalog> m_files;
    std::unique_ptr<CVastryApp> m_app;
    RecordingFrameDialogs* m_frameDialogs = nullptr;
    RecordingPostDialogs* m_postDialogs = nullptr;
};

void TestDialogSeams::init()
{
    m_files = std::make_unique<TestCatalog>();
    useDesktopTestFolders(*m_files);
    MessageBox::history().clear();
    MessageBox::setAnswerForAll(QMessageBox::Ok);
}

void TestDialogSeams::cleanup()
{
    if (m_app)
        m_app->shutDown();
    m_app.reset();
    MessageBox::setAnswerForAll(QMessageBox::NoButton);
    m_files.reset();
}

void TestDialogSeams::start()
{
    m_app = std::make_unique<CVastryApp>();
    auto frameDialogs = std::make_unique<RecordingFrameDialogs>();
    auto postDialogs = std::make_unique<RecordingPostDialogs>();
    m_frameDialogs = frameDialogs.get();
    m_postDialogs = postDialogs.get();
    m_app->setDialogs(std::move(frameDialogs), std::move(postDialogs));
    QVERIFY(startFilled(*m_app, m_files->copyOfDemo()));
}

// The program's own dialogs: every command with a dialog is available.
void TestDialogSeams::programOffersEveryDialogItHas()
{
    m_app = std::make_unique<CVastryApp>();
    QVERIFY(startFilled(*m_app, m_files->copyOfDemo()));
    QStringList unavailable;
    for (QAction* action : frame()->findChildren<QAction*>()) {
        const int command = action->data().toInt();
        if (command > 0 && !action->isEnabled())
            unavailable << action->text();
    }
    // Cut, Copy, Paste and Preferences have no handler in the main window at all.
    QCOMPARE(unavailable, QStringList({"Cu&t", "&Copy", "&Paste", "&Preferences"}));
    // The pictures compiled into the program are found.
    QVERIFY(!frame()->action(CommandIds::Find)->icon().pixmap(16, 15).isNull());
    QVERIFY(!frame()->action(CommandIds::PrintAllAlbums)->icon().pixmap(16, 15).isNull());
}

void TestDialogSeams::newPostReloadsListAndTree()
{
    start();
    m_postDialogs->duringEditAlbum = [](CVastryDoc& document, int) {
        AlbumRecord album;
        album.artist = QStringLiteral("Newcomer Quartet");
        album.title = QStringLiteral("First Light");
        return document.albumTable().Add(document.database(), album) > 0;
    };
    QVERIFY(frame()->runCommand(CommandIds::NewPost));
    QCOMPARE(m_postDialogs->calls, QStringList{QStringLiteral("editAlbum -1")});
    QCOMPARE(rows(), 27);
    QCOMPARE(frame()->statusPaneText(2), QStringLiteral("Total Posts: 27"));
    QVERIFY(
        !frame()
             ->treePane()
             ->findItems(QStringLiteral("Newcomer Quartet"), Qt::MatchExactly | Qt::MatchRecursive)
             .isEmpty());
}

void TestDialogSeams::enterEditsTheSelectedAlbum()
{
    start();
    AlbumListCtrl* albums = list()->list();
    albums->setFocus();
    QTest::keyClick(albums, Qt::Key_Down);
    QTest::keyClick(albums, Qt::Key_Down);
    const int id = list()->model()->albumId(2);
    QCOMPARE(list()->selectedAlbumId(), id);
    QTest::keyClick(albums, Qt::Key_Return);
    QCOMPARE(m_postDialogs->calls, QStringList{QStringLiteral("editAlbum %1").arg(id)});
}

void TestDialogSeams::findFiltersTheList()
{
    start();
    m_postDialogs->findCondition = QStringLiteral("music.year < 1995");
    QTest::keyClick(frame(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(m_postDialogs->calls, QStringList{QStringLiteral("find")});
    QCOMPARE(m_app->document()->filter(), QStringLiteral("music.year < 1995"));
    QCOMPARE(rows(), 6);
    QCOMPARE(frame()->statusPaneText(1), QStringLiteral("Displayed Posts: %1").arg(rows()));

    // A find the user cancels leaves the list as it was.
    const int shown = rows();
    m_postDialogs->findCondition.clear();
    QVERIFY(frame()->runCommand(CommandIds::Find));
    QCOMPARE(rows(), shown);
}

void TestDialogSeams::listCommandsOpenTheListDialog_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("call");
    QTest::newRow("print all albums") << int(CommandIds::PrintAllAlbums) << "printList 1";
    QTest::newRow("export as HTML") << int(CommandIds::ExportHtml) << "printList 0";
}

void TestDialogSeams::listCommandsOpenTheListDialog()
{
    QFETCH(int, command);
    QFETCH(QString, call);
    start();
    QVERIFY(frame()->runCommand(command));
    QCOMPARE(m_postDialogs->calls, QStringList{call});
}

void TestDialogSeams::listEditorChangesReachBothPanes()
{
    start();
    const LookupList* artists = LookupList::find(QStringLiteral("music_artists"));
    const QList<QTreeWidgetItem*> nodes = frame()->treePane()->findItems(
        QStringLiteral("O'Malley's Kitchen Band"), Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(nodes.size(), 1);
    const int artistId = CLeftView::nodeData(nodes.first())->id;
    m_frameDialogs->duringEditList = [artistId](CVastryDoc& document, const LookupList& list) {
        document.albumTable().SaveLookupName(document.database(), artistId, list.table,
                                             list.nameColumn, list.idColumn,
                                             QStringLiteral("The Kitchen Band"));
    };
    QVERIFY(frame()->runCommand(artists->commandId));
    QCOMPARE(m_frameDialogs->calls, QStringList{QStringLiteral("editList music_artists")});
    QCOMPARE(m_frameDialogs->parents.value(0), frame());
    QVERIFY(
        !frame()
             ->treePane()
             ->findItems(QStringLiteral("The Kitchen Band"), Qt::MatchExactly | Qt::MatchRecursive)
             .isEmpty());
    bool listed = false;
    for (int row = 0; row < rows(); ++row)
        listed = listed || list()->model()->index(row, 0).data() == "The Kitchen Band";
    QVERIFY(listed);
}

void TestDialogSeams::frameDialogs_data()
{
    const QString drives = EnumerateCdDrives().join(QLatin1Char(' '));
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("answer"); // to the message, if one shows
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("message");
    QTest::newRow("tip of the day") << int(CommandIds::TipOfTheDay) << int(QMessageBox::Ok)
                                    << QStringList{"showTipOfTheDay"} << QString();
    QTest::newRow("about") << int(CommandIds::About) << int(QMessageBox::Ok)
                           << QStringList{"showAbout"} << QString();
    QTest::newRow("help") << int(CommandIds::HelpContents) << int(QMessageBox::Ok)
                          << QStringList{QStringLiteral("showHelp %1/music.chm::/html/index.htm")
                                             .arg(AppPaths::programDirectory())}
                          << QString();
    // Test machines rarely have a drive; either way the outcome is the one the user sees.
    if (drives.isEmpty()) {
        QTest::newRow("CD-ROM drives: none") << int(CommandIds::CdRomDrives) << int(QMessageBox::Ok)
                                             << QStringList() << "No available CD-ROM.";
        // The message's "Choose a Disc Image..." leads to the dialog with no drives listed.
        QTest::newRow("CD-ROM drives: none, a disc image instead")
            << int(CommandIds::CdRomDrives) << int(QMessageBox::Open)
            << QStringList{"chooseCdDrive "} << "No available CD-ROM.";
    } else {
        QTest::newRow("CD-ROM drives") << int(CommandIds::CdRomDrives) << int(QMessageBox::Ok)
                                       << QStringList{"chooseCdDrive " + drives} << QString();
    }
}

void TestDialogSeams::frameDialogs()
{
    QFETCH(int, command);
    QFETCH(int, answer);
    QFETCH(QStringList, calls);
    QFETCH(QString, message);
    start();
    if (answer != QMessageBox::Ok) // every other box is answered OK
        MessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
    QVERIFY(frame()->runCommand(command));
    QCOMPARE(m_frameDialogs->calls, calls);
    if (message.isEmpty()) {
        QVERIFY(MessageBox::history().isEmpty());
    } else {
        QCOMPARE(MessageBox::history().size(), 1);
        QCOMPARE(MessageBox::history().first().text, message);
        QCOMPARE(MessageBox::history().first().caption, QStringLiteral("ERROR"));
        QCOMPARE(MessageBox::history().first().icon, QMessageBox::Critical);
    }
}

void TestDialogSeams::everyControlHasAnAccessibleName()
{
    start();
    const QStringList unnamed = unnamedControls(frame());
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
}

// The model through the changes a user makes: reloads, sorting, columns shown and hidden, a
// catalogue closed.
void TestDialogSeams::albumListModelKeepsItsContract()
{
    start();
    QAbstractItemModelTester tester(list()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(frame()->runCommand(CommandIds::ShowAll));
    QTest::mouseClick(list()->list()->horizontalHeader()->viewport(), Qt::LeftButton);
    QVERIFY(frame()->runCommand(CommandIds::FirstColumn + 2));
    QVERIFY(frame()->runCommand(CommandIds::FirstColumn + 2));
    frame()->treePane()->setCurrentItem(frame()->treePane()->topLevelItem(0)->child(1));
    m_app->document()->closeCatalog();
    QVERIFY(frame()->runCommand(CommandIds::ShowAll));
    QCOMPARE(rows(), 0);
}

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    TestDialogSeams test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestDialogSeams.moc"
