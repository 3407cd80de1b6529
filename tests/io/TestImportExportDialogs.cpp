#include "app/AppSettings.h"
#include "app/CMainFrame.h"
#include "app/CVastryApp.h"
#include "db/AlbumTable.h"
#include "db/CatalogBackup.h"
#include "db/TrackTable.h"
#include "musicbrainz/MusicBrainzTestServer.h"
#include "musicbrainz/RateGate.h"
#include "print/PrintListDialog.h"
#include "support/TestCatalog.h"
#include "support/gui/AccessibleNames.h"
#include "support/gui/DesktopTestRun.h"
#include "support/gui/EventLoopWait.h"
#include "support/gui/ModalDialogDriver.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "views/AlbumListModel.h"
#include "views/CLeftView.h"
#include "views/CTopView.h"
#include "views/CVastryDoc.h"

#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

// File > Import and File > Export as > CSV File in the running program, on real files.
class TestImportExportDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void importFromTheFileMenuFillsTheWindow();
    void cancelledImportStoresNothing();
    void csvExportWritesTheChosenColumns_data();
    void csvExportWritesTheChosenColumns();
    void completeFromTheRecordMenuAddsTracks();

private:
    void start(const QString& catalogue);
    QAction* fileMenuAction(const QString& submenu, const QString& text) const;
    QAction* menuAction(const QString& menu, const QString& text) const;
    int rows() const { return m_app->mainFrame()->listPane()->model()->rowCount(); }

    std::unique_ptr<TestCatalog> m_files;
    std::unique_ptr<CVastryApp> m_app;
};

void TestImportExportDialogs::init()
{
    m_files = std::make_unique<TestCatalog>();
    useDesktopTestFolders(*m_files);
    MessageBox::history().clear();
    MessageBox::setAnswerForAll(QMessageBox::Ok);
}

void TestImportExportDialogs::cleanup()
{
    if (m_app)
        m_app->shutDown();
    m_app.reset();
    MessageBox::setAnswerForAll(QMessageBox::NoButton);
    m_files.reset();
}

void TestImportExportDialogs::start(const QString& catalogue)
{
    m_app = std::make_unique<CVastryApp>();
    QVERIFY(startFilled(*m_app, catalogue));
}

QAction* TestImportExportDialogs::menuAction(const QString& menu, const QString& text) const
{
    for (QAction* entry : m_app->mainFrame()->menuBar()->actions()) {
        if (entry->text() != menu || !entry->menu())
            continue;
        for (QAction* action : entry->menu()->actions())
            if (action->text() == text)
                return action;
    }
    return nullptr;
}

QAction* TestImportExportDialogs::fileMenuAction(const QString& submenu, const QString& text) const
{
    const QMenu* file = m_app->mainFrame()->menuBar()->actions().value(0)->menu();
    for (QAction* entry : file->actions()) {
        if (entry->text() != submenu || !entry->menu())
            continue;
        for (QAction* action : entry->menu()->actions())
            if (action->text() == text)
                return action;
    }
    return nullptr;
}

void TestImportExportDialogs::importFromTheFileMenuFillsTheWindow()
{
    start(m_files->copyOfTemplate());
    QAction* import =
        fileMenuAction(QStringLiteral("&Import"), QStringLiteral("&Discogs Collection (CSV)..."));
    QVERIFY(import && import->isEnabled());
    FileDialog::setNextFileName(QStringLiteral(TUNVALE_IO_TESTDATA "/gustw-vinyl-collection.csv"));
    import->trigger();
    QCOMPARE(MessageBox::history().size(), 1);
    QCOMPARE(MessageBox::history().first().caption, QStringLiteral("Import Discogs Collection"));
    QCOMPARE(MessageBox::history().first().text,
             QStringLiteral("Imported: 315\nSkipped (already imported): 1\n"
                            "Refused rows: 0"));
    LOOP_COMPARE(rows(), 315);
    LOOP_VERIFY(!m_app->mainFrame()
                     ->treePane()
                     ->findItems(QStringLiteral("Manu Chao"), Qt::MatchExactly | Qt::MatchRecursive)
                     .isEmpty());
    // The catalogue as it was before the import is kept: still empty.
    const Database* database = m_app->document()->database();
    const QVector<BackupEntry> backups = CatalogBackup::fromSettings(AppSettings())
                                             .list(database->name(), database->connectString());
    QCOMPARE(backups.size(), 1);
    QCOMPARE(backups.first().albums, 0);
}

// Escape in the progress dialog cancels; the summary says nothing was stored.
void TestImportExportDialogs::cancelledImportStoresNothing()
{
    QByteArray bytes = "Catalog#,Artist,Title,Label,Format,Rating,Released,release_id,"
                       "CollectionFolder,Date Added\r\n";
    for (int i = 1; i <= 100000; ++i)
        bytes += "X,Artist " + QByteArray::number(i % 999) + ",Title,Label,LP,,2001," +
                 QByteArray::number(i) + ",Uncategorized,2020-01-02 03:04:05\r\n";
    const QString csv = m_files->filePath(QStringLiteral("big.csv"));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    const QString catalogue = m_files->copyOfDemo();
    start(catalogue);
    const int before = rows();
    QStringList unnamed{QStringLiteral("not checked")};
    ModalDialogDriver driver;
    driver.onNext<QProgressDialog>([&unnamed](QProgressDialog* progress) {
        unnamed = unnamedControls(progress);
        QTest::keyClick(progress, Qt::Key_Escape);
    });
    FileDialog::setNextFileName(csv);
    fileMenuAction(QStringLiteral("&Import"), QStringLiteral("&Discogs Collection (CSV)..."))
        ->trigger();
    QVERIFY(driver.acted());
    QCOMPARE(unnamed, QStringList());
    QCOMPARE(MessageBox::history().value(0).text,
             QStringLiteral("The import was cancelled. Nothing was imported."));
    AlbumTable albums;
    DatabaseHandle database;
    QVERIFY(albums.OpenDatabase(&database, catalogue, DatabaseEx::catalogConnectString()));
    QCOMPARE(albums.Count(database.get(), false), before);
    albums.CloseDatabase(&database);
}

void TestImportExportDialogs::csvExportWritesTheChosenColumns_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("a new file") << "list.csv" << QString();
    QTest::newRow("the open catalogue") << "demo.muf"
                                        << "is the open catalogue";
}

void TestImportExportDialogs::csvExportWritesTheChosenColumns()
{
    QFETCH(QString, target);
    QFETCH(QString, refusal);
    AppSettings settings;
    CVastryDoc document(settings);
    QVERIFY(document.openCatalog(m_files->copyOfDemo()));
    const QString path = m_files->filePath(target);
    const QByteArray before = QFileInfo(path).isFile() ? TestCatalog::readBytes(path) : "";
    PrintListDialog dialog(document, PrintListDialog::ExportCsv);
    QSignalSpy shown(&dialog, &PrintListDialog::previewShown);
    dialog.show();
    QVERIFY(shown.wait(15000));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Export List as CSV"));
    QVERIFY(!dialog.findChild<QWidget*>(QStringLiteral("showGridlines"))->isVisible());
    QCOMPARE(unnamedControls(&dialog), QStringList());
    FileDialog::setNextFileName(path);
    QTest::keyClick(&dialog, Qt::Key_S, Qt::AltModifier);
    LOOP_VERIFY(!FileDialog::hasNextFileName());
    if (refusal.isEmpty()) {
        LOOP_VERIFY(QFileInfo::exists(path));
        const QByteArray csv = TestCatalog::readBytes(path);
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"
                               "Artist,Title,Record Year\r\n"));
        QVERIFY(csv.contains("Les Étoiles Filantes,Nuit d'été,1998\r\n"));
        QVERIFY(MessageBox::history().isEmpty());
    } else {
        LOOP_COMPARE(MessageBox::history().size(), 1);
        QVERIFY2(MessageBox::history().first().text.contains(refusal),
                 qPrintable(MessageBox::history().first().text));
        QCOMPARE(TestCatalog::readBytes(path), before);
    }
}

// A Discogs import completed from the Record menu against a local stand-in for MusicBrainz:
// the question offers every imported album without tracks, the one MusicBrainz knows gets its
// tracks, the unknown one stays as it was.
void TestImportExportDialogs::completeFromTheRecordMenuAddsTracks()
{
    const QString catalogue = m_files->copyOfTemplate();
    start(catalogue);
    const QString csv = m_files->filePath(QStringLiteral("discogs.csv"));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Catalog#,Artist,Title,Label,Format,Rating,Released,release_id,CollectionFolder,"
               "Date Added\r\n"
               "CR 34,Shinichi Atobe,Ship-Scope,Chain Reaction,LP,,2001,12620800,Uncategorized,"
               "2020-01-02 03:04:05\r\n"
               "X 2,Someone,Unknown,Label,LP,,1999,404404,Uncategorized,2020-01-02 03:04:05\r\n");
    file.close();
    FileDialog::setNextFileName(csv);
    fileMenuAction(QStringLiteral("&Import"), QStringLiteral("&Discogs Collection (CSV)..."))
        ->trigger();
    LOOP_COMPARE(rows(), 2);

    MusicBrainzTestServer server(MusicBrainzTestServer::discogsReleases(
        QStringLiteral("search/mb_release_21a03203_ship_scope_12in_vinyl.json"), {"404404"}));
    m_app->settings().write(SettingsTable::MusicBrainzServer, server.setting());
    m_app->settings().write(SettingsTable::CoverArtServer, server.setting());
    RateGate::musicBrainz().setInterval(std::chrono::milliseconds(10));
    QAction* complete =
        menuAction(QStringLiteral("&Record"), QStringLiteral("Complete from &MusicBrainz..."));
    QVERIFY(complete && complete->isEnabled());
    QStringList unnamed{QStringLiteral("not checked")};
    ModalDialogDriver driver;
    driver.onNext<QProgressDialog>(
        [&unnamed](QProgressDialog* progress) { unnamed = unnamedControls(progress); });
    MessageBox::history().clear();
    MessageBox::setNextAnswer(QMessageBox::YesToAll);
    complete->trigger();
    QCOMPARE(unnamed, QStringList());
    QCOMPARE(MessageBox::history().size(), 2);
    QVERIFY2(MessageBox::history().first().text.contains(
                 QStringLiteral("all 2 imported albums without tracks")),
             qPrintable(MessageBox::history().first().text));
    QCOMPARE(MessageBox::history().last().text,
             QStringLiteral("1 album completed, 1 not on MusicBrainz, 0 failed, 0 skipped."));

    Database* database = m_app->document()->database();
    QVector<TrackRecord> tracks;
    QVERIFY(TrackTable().loadForPage(database, 1, &tracks));
    QCOMPARE(tracks.size(), 4);
    tracks.clear();
    QVERIFY(TrackTable().loadForPage(database, 2, &tracks));
    QCOMPARE(tracks.size(), 0);
}

QTEST_MAIN(TestImportExportDialogs)
#include "TestImportExportDialogs.moc"
