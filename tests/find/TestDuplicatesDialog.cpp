#include "app/CMainFrame.h"
#include "app/CVastryApp.h"
#include "app/CommandIds.h"
#include "find/DuplicatesDialog.h"
#include "support/TestCatalog.h"
#include "support/gui/AccessibleNames.h"
#include "support/gui/DesktopTestRun.h"
#include "support/gui/ModalDialogDriver.h"
#include "support/gui/RecordingFrameDialogs.h"
#include "support/gui/RecordingPostDialogs.h"
#include "ui/MessageBox.h"
#include "views/AlbumListModel.h"
#include "views/CTopView.h"
#include "views/CVastryDoc.h"

#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

// Record > Find Duplicates in the running program, over the demo catalogue with two albums
// entered twice: one copy exactly, one as its deluxe edition.
class TestDuplicatesDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void editAndDeleteFromTheKeyboard();

private:
    int addCopy(int albumId, const QString& titleSuffix);
    int listRows() const { return m_app->mainFrame()->listPane()->model()->rowCount(); }
    void checkGroups(DuplicatesDialog* dialog);
    void editTheCopy(DuplicatesDialog* dialog);
    void deleteTheDeluxeEdition(DuplicatesDialog* dialog);
    static QTreeWidgetItem* rowOf(QTreeWidget* tree, int albumId);

    std::unique_ptr<TestCatalog> m_files;
    std::unique_ptr<CVastryApp> m_app;
    RecordingPostDialogs* m_postDialogs = nullptr;
    QString m_catalogue;
    int m_copy = -1;
    int m_deluxe = -1;
};

int TestDuplicatesDialog::addCopy(int albumId, const QString& titleSuffix)
{
    AlbumTable albums;
    DatabaseHandle database;
    if (!albums.OpenDatabase(&database, m_catalogue, DatabaseEx::catalogConnectString()))
        return -1;
    AlbumRecord album;
    int id = -1;
    if (albums.Load(database.get(), albumId, &album)) {
        album.title += titleSuffix;
        id = albums.Add(database.get(), album);
    }
    albums.CloseDatabase(&database);
    return id;
}

void TestDuplicatesDialog::initTestCase()
{
    m_files = std::make_unique<TestCatalog>();
    useDesktopTestFolders(*m_files);
    m_catalogue = m_files->copyOfDemo();
    m_copy = addCopy(9, QString());
    m_deluxe = addCopy(3, QStringLiteral(" [Deluxe Edition]"));
    QVERIFY(m_copy > 0 && m_deluxe > 0);
    m_app = std::make_unique<CVastryApp>();
    auto postDialogs = std::make_unique<RecordingPostDialogs>();
    m_postDialogs = postDialogs.get();
    m_app->setDialogs(std::make_unique<RecordingFrameDialogs>(), std::move(postDialogs));
    QVERIFY(startFilled(*m_app, m_catalogue));
}

void TestDuplicatesDialog::cleanupTestCase()
{
    if (m_app)
        m_app->shutDown();
    m_app.reset();
    m_files.reset();
}

QTreeWidgetItem* TestDuplicatesDialog::rowOf(QTreeWidget* tree, int albumId)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toInt() == albumId)
            return *it;
    return nullptr;
}

void TestDuplicatesDialog::checkGroups(DuplicatesDialog* dialog)
{
    QTreeWidget* tree = dialog->groups();
    QCOMPARE(tree->topLevelItemCount(), 2);
    QCOMPARE(dialog->summary(), QStringLiteral("2 groups, 4 albums"));
    QCOMPARE(unnamedControls(dialog), QStringList());
    // Both copies of album 9 under one group, with what tells pressings apart.
    QTreeWidgetItem* original = rowOf(tree, 9);
    QTreeWidgetItem* copy = rowOf(tree, m_copy);
    QVERIFY(original && copy && original->parent() == copy->parent());
    QVERIFY(copy->parent()->text(0).startsWith(QStringLiteral("Same artist and title")));
    for (int column : {DuplicatesDialog::MediaTypeColumn, DuplicatesDialog::YearColumn,
                       DuplicatesDialog::LabelColumn, DuplicatesDialog::NumberColumn}) {
        QVERIFY(!copy->text(column).isEmpty());
        QCOMPARE(copy->text(column), original->text(column));
    }
    // The first row is a group's: nothing to edit or delete there; Down reaches an album.
    QCOMPARE(dialog->selectedAlbumId(), -1);
    QVERIFY(!dialog->findChild<QPushButton*>()->isEnabled());
    QTest::keyClick(tree, Qt::Key_Down);
    QVERIFY(dialog->selectedAlbumId() > 0);
}

// An edit that makes the copy another album ends its group.
void TestDuplicatesDialog::editTheCopy(DuplicatesDialog* dialog)
{
    QTreeWidget* tree = dialog->groups();
    m_postDialogs->duringEditAlbum = [](CVastryDoc& document, int albumId) {
        AlbumRecord album;
        document.albumTable().Load(document.database(), albumId, &album);
        album.title = QStringLiteral("Night Train to Helsinki");
        return document.albumTable().Update(document.database(), albumId, album) == albumId;
    };
    tree->setCurrentItem(rowOf(tree, m_copy));
    QTest::keyClick(tree, Qt::Key_Return);
    QCOMPARE(m_postDialogs->calls, QStringList{QStringLiteral("editAlbum %1").arg(m_copy)});
    QCOMPARE(tree->topLevelItemCount(), 1);
}

void TestDuplicatesDialog::deleteTheDeluxeEdition(DuplicatesDialog* dialog)
{
    QTreeWidget* tree = dialog->groups();
    const int rowsBefore = listRows();
    tree->setCurrentItem(rowOf(tree, m_deluxe));
    MessageBox::history().clear();
    MessageBox::setNextAnswer(QMessageBox::No);
    QTest::keyClick(tree, Qt::Key_Delete);
    QCOMPARE(tree->topLevelItemCount(), 1);
    MessageBox::setNextAnswer(QMessageBox::Yes);
    QTest::keyClick(tree, Qt::Key_Delete);
    QCOMPARE(MessageBox::history().size(), 2);
    QCOMPARE(MessageBox::history().last().caption, QStringLiteral("Delete confirmation"));
    QVERIFY(MessageBox::history().last().text.contains(QStringLiteral("[Deluxe Edition]")));
    QCOMPARE(tree->topLevelItemCount(), 0);
    QCOMPARE(dialog->summary(), QLatin1String(DuplicateFinder::NoneFoundText));
    // The main window's list follows at once; the album is only marked deleted.
    QCOMPARE(listRows(), rowsBefore - 1);
    QCOMPARE(m_app->mainFrame()->listPane()->model()->rowOfAlbum(m_deluxe), -1);
    QCOMPARE(TestCatalog::albumCount(m_catalogue, DatabaseEx::catalogConnectString()),
             rowsBefore - 1);
}

void TestDuplicatesDialog::editAndDeleteFromTheKeyboard()
{
    ModalDialogDriver driver;
    driver.onNext<DuplicatesDialog>([this](DuplicatesDialog* dialog) {
        checkGroups(dialog);
        if (!QTest::currentTestFailed())
            editTheCopy(dialog);
        if (!QTest::currentTestFailed())
            deleteTheDeluxeEdition(dialog);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QVERIFY(m_app->mainFrame()->runCommand(CommandIds::FindDuplicates));
    QVERIFY(driver.acted());
}

QTEST_MAIN(TestDuplicatesDialog)
#include "TestDuplicatesDialog.moc"
