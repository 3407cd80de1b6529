#include "app/AppSettings.h"
#include "app/CMainFrame.h"
#include "app/CVastryApp.h"
#include "app/CommandIds.h"
#include "db/CatalogBackup.h"
#include "db/RestoreBackupDialog.h"
#include "support/TestCatalog.h"
#include "support/gui/AccessibleNames.h"
#include "support/gui/DesktopTestRun.h"
#include "support/gui/EventLoopWait.h"
#include "support/gui/ModalDialogDriver.h"
#include "ui/MessageBox.h"
#include "views/CVastryDoc.h"

#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

// Backups from the desktop program: the day's first change is preceded by one, and File >
// Restore from Backup puts an older state back, driven from the keyboard.
class TestRestoreDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void firstChangeOfTheDayIsBackedUp();
    void restoreFromTheKeyboardBringsTheOldStateBack();

private:
    CVastryDoc& document() const { return *m_app->document(); }
    QVector<BackupEntry> backups() const;
    int albums() { return document().albumTable().Count(document().database(), false); }

    std::unique_ptr<TestCatalog> m_files;
    std::unique_ptr<CVastryApp> m_app;
};

void TestRestoreDialog::initTestCase()
{
    m_files = std::make_unique<TestCatalog>();
    useDesktopTestFolders(*m_files);
    m_app = std::make_unique<CVastryApp>();
    QVERIFY(startFilled(*m_app, m_files->copyOfDemo()));
}

void TestRestoreDialog::cleanupTestCase()
{
    m_app->shutDown();
    m_app.reset();
    MessageBox::setAnswerForAll(QMessageBox::NoButton);
}

QVector<BackupEntry> TestRestoreDialog::backups() const
{
    Database* database = document().database();
    return CatalogBackup::fromSettings(AppSettings())
        .list(database->name(), database->connectString());
}

// Runs first: no backup of the catalogue exists yet today.
void TestRestoreDialog::firstChangeOfTheDayIsBackedUp()
{
    QCOMPARE(backups().size(), 0);
    QCOMPARE(albums(), 26);
    QVERIFY(document().albumTable().Delete(document().database(), 1, false));
    QVERIFY(document().albumTable().Delete(document().database(), 2, false));
    const QVector<BackupEntry> taken = backups();
    QCOMPARE(taken.size(), 1);
    QCOMPARE(taken.first().albums, 26);
    QCOMPARE(albums(), 24);
}

void TestRestoreDialog::restoreFromTheKeyboardBringsTheOldStateBack()
{
    QCOMPARE(albums(), 24);
    ModalDialogDriver driver;
    QStringList shown;
    driver.onNext<RestoreBackupDialog>([&](RestoreBackupDialog* dialog) {
        // Keys reach the dialog once it is the active window; the offscreen platform may
        // still hand a late activation to the main window after the dialog's.
        QTreeWidget* list = dialog->list();
        QVERIFY(waitInEventLoop(
            [&] {
                if (!dialog->isActiveWindow())
                    dialog->activateWindow();
                return dialog->isActiveWindow() && list->hasFocus();
            },
            30000));
        QCOMPARE(unnamedControls(dialog), QStringList());
        QCOMPARE(list->columnCount(), 3);
        QCOMPARE(list->topLevelItemCount(), 1);
        for (int column = 0; column < 3; ++column)
            shown << list->topLevelItem(0)->text(column);
        MessageBox::setNextAnswer(QMessageBox::Yes);
        QTest::keyClick(list, Qt::Key_Return);
    });
    QVERIFY(m_app->mainFrame()->runCommand(CommandIds::RestoreFromBackup));
    QVERIFY(driver.acted());
    QCOMPARE(shown.value(2), QStringLiteral("26"));
    QVERIFY(!shown.value(0).isEmpty() && !shown.value(1).isEmpty());
    QVERIFY(document().database());
    QCOMPARE(albums(), 26);
    // The state it replaced is the newest backup now.
    const QVector<BackupEntry> after = backups();
    QCOMPARE(after.size(), 2);
    QCOMPARE(after.first().albums, 24);
    LOOP_VERIFY(m_app->mainFrame()->statusPaneText(2).endsWith(QLatin1String(": 26")));
}

QTEST_MAIN(TestRestoreDialog)
#include "TestRestoreDialog.moc"
