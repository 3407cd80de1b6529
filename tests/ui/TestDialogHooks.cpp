#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/CMainFrame.h"
#include "app/CVastryApp.h"
#include "app/CommandIds.h"
#include "app/PrivateMessages.h"
#include "support/TestCatalog.h"
#include "support/gui/DesktopTestRun.h"
#include "support/gui/EventLoopWait.h"
#include "support/gui/ModalDialogDriver.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/PrintDialogs.h"
#include "views/CBottomView.h"
#include "views/CTopView.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QtTest>

// The message-box, file-dialog and print hooks with the real dialogs behind them, answered
// from the keyboard as a user would, and the page's Print commands run end to end.
class TestDialogHooks : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void messageBoxAnswersFromTheKeyboard_data();
    void messageBoxAnswersFromTheKeyboard();
    void fileDialogReturnsWhatTheUserChose_data();
    void fileDialogReturnsWhatTheUserChose();
    void printCommandsPrintTheShownPage_data();
    void printCommandsPrintTheShownPage();
    void previewShowsTheRealDialog();

private:
    void startWithPage();

    std::unique_ptr<TestCatalog> m_files;
    std::unique_ptr<CVastryApp> m_app;
};

void TestDialogHooks::init()
{
    m_files = std::make_unique<TestCatalog>();
    useDesktopTestFolders(*m_files);
    MessageBox::history().clear();
}

void TestDialogHooks::cleanup()
{
    if (m_app)
        m_app->shutDown();
    m_app.reset();
    m_files.reset();
}

void TestDialogHooks::messageBoxAnswersFromTheKeyboard_data()
{
    using Box = QMessageBox;
    QTest::addColumn<Box::StandardButtons>("buttons");
    QTest::addColumn<Box::StandardButton>("defaultButton");
    QTest::addColumn<int>("key");
    QTest::addColumn<Box::StandardButton>("expected");
    const Box::StandardButtons yesNo = Box::Yes | Box::No;
    const Box::StandardButtons yesNoCancel = Box::Yes | Box::No | Box::Cancel;
    QTest::newRow("Enter takes Yes") << yesNo << Box::Yes << int(Qt::Key_Return) << Box::Yes;
    QTest::newRow("Esc answers No") << yesNo << Box::Yes << int(Qt::Key_Escape) << Box::No;
    QTest::newRow("Enter takes the default No")
        << yesNoCancel << Box::No << int(Qt::Key_Return) << Box::No;
    QTest::newRow("Enter takes the default Cancel")
        << yesNoCancel << Box::Cancel << int(Qt::Key_Enter) << Box::Cancel;
    QTest::newRow("Esc answers Cancel")
        << yesNoCancel << Box::Yes << int(Qt::Key_Escape) << Box::Cancel;
}

void TestDialogHooks::messageBoxAnswersFromTheKeyboard()
{
    QFETCH(QMessageBox::StandardButtons, buttons);
    QFETCH(QMessageBox::StandardButton, defaultButton);
    QFETCH(int, key);
    QFETCH(QMessageBox::StandardButton, expected);
    ModalDialogDriver driver;
    QString shownText;
    driver.onNext<QMessageBox>([&shownText, key](QMessageBox* box) {
        shownText = box->text();
        QTest::keyClick(box, Qt::Key(key));
    });
    const QMessageBox::StandardButton answer =
        MessageBox::question(nullptr, QStringLiteral("Tunvale"),
                             QStringLiteral("Save the changes?"), buttons, defaultButton);
    QVERIFY(driver.acted());
    QCOMPARE(answer, expected);
    QCOMPARE(shownText, QStringLiteral("Save the changes?"));
    QCOMPARE(MessageBox::history().size(), 1);
    LOOP_VERIFY(!QApplication::activeModalWidget());
}

void TestDialogHooks::fileDialogReturnsWhatTheUserChose_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("a typed name, Enter") << true;
    QTest::newRow("Esc") << false;
}

void TestDialogHooks::fileDialogReturnsWhatTheUserChose()
{
    QFETCH(bool, accept);
    const QString catalogue = m_files->copyOfDemo(QStringLiteral("mine.muf"));
    ModalDialogDriver driver;
    driver.onNext<QFileDialog>([&catalogue, accept](QFileDialog* dialog) {
        if (!accept) {
            QTest::keyClick(dialog, Qt::Key_Escape);
            return;
        }
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        // Set rather than typed: typing opens the name completer's popup, which takes Enter.
        name->setText(catalogue);
        QTest::keyClick(name, Qt::Key_Return);
    });
    const QString chosen = FileDialog::openFileName(nullptr);
    QVERIFY(driver.acted());
    QCOMPARE(chosen, accept ? catalogue : QString());
    LOOP_VERIFY(!QApplication::activeModalWidget());
}

void TestDialogHooks::startWithPage()
{
    m_app = std::make_unique<CVastryApp>();
    QVERIFY(startFilled(*m_app, m_files->copyOfDemo()));
    CBottomView* page = m_app->mainFrame()->pagePane();
    LOOP_VERIFY_WITH_TIMEOUT(!page->url().isEmpty(), 10000);
    // Shown once more, so the spy is sure to see the page finish loading.
    QSignalSpy loaded(page, &QWebEngineView::loadFinished);
    SendPaneMessage(m_app->mainFrame()->listPane(), UWM_SHOW_ALBUM);
    QVERIFY(loaded.wait(15000));
}

void TestDialogHooks::printCommandsPrintTheShownPage_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("cancel");
    QTest::newRow("print") << int(CommandIds::PrintCurrentAlbum) << false;
    QTest::newRow("print, cancelled") << int(CommandIds::PrintCurrentAlbum) << true;
    QTest::newRow("preview") << int(CommandIds::PreviewCurrentAlbum) << false;
}

void TestDialogHooks::printCommandsPrintTheShownPage()
{
    QFETCH(int, command);
    QFETCH(bool, cancel);
    startWithPage();
    const QString pdf = m_files->filePath(QStringLiteral("page.pdf"));
    if (command == CommandIds::PreviewCurrentAlbum)
        PrintDialogs::setNextPreviewTarget(pdf);
    else
        PrintDialogs::setNextPrintTarget(cancel ? QString() : pdf);
    const int dialogsBefore = PrintDialogs::shownCount();
    QVERIFY(m_app->mainFrame()->runCommand(command));
    QCOMPARE(PrintDialogs::shownCount(), dialogsBefore + 1);
    if (cancel) {
        QVERIFY(!QFile::exists(pdf));
        return;
    }
    const QByteArray printed = TestCatalog::readBytes(pdf);
    QVERIFY(printed.startsWith("%PDF"));
    QVERIFY(printed.size() > 1000); // a page with text on it, not an empty document
}

// The preview's own window renders the page on request and closes with Esc.
void TestDialogHooks::previewShowsTheRealDialog()
{
    startWithPage();
    ModalDialogDriver driver;
    driver.onNext<QPrintPreviewDialog>(
        [](QPrintPreviewDialog* preview) { QTest::keyClick(preview, Qt::Key_Escape); });
    QVERIFY(m_app->mainFrame()->runCommand(CommandIds::PreviewCurrentAlbum));
    QVERIFY(driver.acted());
    LOOP_VERIFY(!QApplication::activeModalWidget());
}

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    TestDialogHooks test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestDialogHooks.moc"
