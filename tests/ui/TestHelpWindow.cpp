#include "app/AppPaths.h"
#include "support/TestCatalog.h"
#include "support/gui/AccessibleNames.h"
#include "support/gui/EventLoopWait.h"
#include "ui/HelpSchemeHandler.h"
#include "ui/HelpWindow.h"
#include "ui/MessageBox.h"
#include "ui/UrlOpener.h"

#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QWebEngineHistory>
#include <QWebEngineView>
#include <QtTest>
#include <csignal>

// The help window over the help file the build compiled, and over broken copies of it.
class TestHelpWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void opensTheContentsAndFollowsLinks();
    void staysInsideTheHelpFile();
    void deadPageProcessIsSaidAndContentsBringsThePageBack();
    void brokenHelpFileGivesAMessage_data();
    void brokenHelpFileGivesAMessage();

private:
    static QString builtHelpFile();
    static bool waitForPage(QWebEngineView* view, const QString& path);

    std::unique_ptr<TestCatalog> m_files;
};

void TestHelpWindow::initTestCase()
{
    QVERIFY(QFile::exists(builtHelpFile()));
}

void TestHelpWindow::init()
{
    m_files = std::make_unique<TestCatalog>();
    MessageBox::history().clear();
    MessageBox::setAnswerForAll(QMessageBox::Ok);
    UrlOpener::setRecordOnly(true);
    UrlOpener::history().clear();
}

void TestHelpWindow::cleanup()
{
    MessageBox::setAnswerForAll(QMessageBox::NoButton);
    m_files.reset();
}

QString TestHelpWindow::builtHelpFile()
{
    return TestCatalog::programDirectory() + QStringLiteral("/music.chm");
}

bool TestHelpWindow::waitForPage(QWebEngineView* view, const QString& path)
{
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    return waitInEventLoop(
        [&] {
            return view->url().path() == path && !loaded.isEmpty() && loaded.last().at(0).toBool();
        },
        20000);
}

// The page process killed as the system kills one that runs out of memory: the window says so
// and stays; Contents loads the page again.
void TestHelpWindow::deadPageProcessIsSaidAndContentsBringsThePageBack()
{
    QWidget frame;
    frame.show();
    HelpWindow* help =
        HelpWindow::showTopic(builtHelpFile() + QStringLiteral("::/html/index.htm"), &frame);
    QVERIFY(help);
    QVERIFY(waitForPage(help->view(), QStringLiteral("/html/index.htm")));
    QVERIFY(help->noticeText().isEmpty());
    const qint64 pid = help->view()->page()->renderProcessPid();
    QVERIFY(pid > 0);
    QVERIFY(::kill(pid_t(pid), SIGKILL) == 0);
    LOOP_VERIFY_WITH_TIMEOUT(!help->noticeText().isEmpty(), 20000);
    QVERIFY(help->noticeText().startsWith(QStringLiteral("The help page could not be shown: ")));
    QVERIFY(help->isVisible());

    help->contentsAction()->trigger();
    QVERIFY(waitForPage(help->view(), QStringLiteral("/html/index.htm")));
    QVERIFY(help->noticeText().isEmpty());
}

void TestHelpWindow::opensTheContentsAndFollowsLinks()
{
    QWidget frame;
    frame.show();
    HelpWindow* help =
        HelpWindow::showTopic(builtHelpFile() + QStringLiteral("::/html/index.htm"), &frame);
    QVERIFY(help);
    QVERIFY(MessageBox::history().isEmpty());
    QVERIFY(waitForPage(help->view(), QStringLiteral("/html/index.htm")));
    LOOP_COMPARE(help->view()->title(), QStringLiteral("Tunvale Help"));
    QCOMPARE(help->windowTitle(), QStringLiteral("Tunvale Help"));
    QVERIFY(unnamedControls(help).isEmpty());
    // A window of its own for a screen reader, not a pane of the main window.
    QVERIFY(help->isWindow());
    QCOMPARE(QAccessible::queryAccessibleInterface(help)->role(), QAccessible::Window);

    // The first link of the contents, from the keyboard.
    help->view()->setFocus();
    QTest::keyClick(help->view()->focusProxy(), Qt::Key_Tab);
    QTest::keyClick(help->view()->focusProxy(), Qt::Key_Return);
    QVERIFY(waitForPage(help->view(), QStringLiteral("/html/mainwindow.htm")));
    LOOP_COMPARE(help->view()->title(), QStringLiteral("The main window"));
    QCOMPARE(help->windowTitle(), QStringLiteral("Tunvale Help - The main window"));

    LOOP_VERIFY(help->backAction()->isEnabled());
    help->backAction()->trigger();
    QVERIFY(waitForPage(help->view(), QStringLiteral("/html/index.htm")));

    // Asking again reuses the window.
    QCOMPARE(HelpWindow::showTopic(builtHelpFile() + QStringLiteral("::/html/find.htm"), &frame),
             help);
    QVERIFY(waitForPage(help->view(), QStringLiteral("/html/find.htm")));
    QCOMPARE(frame.findChildren<HelpWindow*>().size(), 1);
}

// Whoever asks (a damaged page, a typed address), the view never leaves the help file: each
// address outside it is refused, and the next page of the file still opens.
void TestHelpWindow::staysInsideTheHelpFile()
{
    QWidget frame;
    HelpWindow* help =
        HelpWindow::showTopic(builtHelpFile() + QStringLiteral("::/html/index.htm"), &frame);
    QVERIFY(help);
    QVERIFY(waitForPage(help->view(), QStringLiteral("/html/index.htm")));
    QSignalSpy shown(help->view(), &QWebEngineView::urlChanged);
    const QList<QUrl> outside{QUrl::fromLocalFile(builtHelpFile()),
                              QUrl(QStringLiteral("file:///etc/passwd")),
                              QUrl(QStringLiteral("http://127.0.0.1:9/")),
                              QUrl(QStringLiteral("https://example.org/index.htm")),
                              QUrl(QStringLiteral("tunvale-help://elsewhere/html/index.htm")),
                              QUrl(QStringLiteral("data:text/html,<p>outside</p>"))};
    QString next = QStringLiteral("/html/find.htm");
    for (const QUrl& address : outside) {
        help->view()->load(address);
        help->view()->load(HelpSchemeHandler::urlOf(next));
        QVERIFY2(waitForPage(help->view(), next), qPrintable(address.toString()));
        next = next == QLatin1String("/html/find.htm") ? QStringLiteral("/html/print.htm")
                                                       : QStringLiteral("/html/find.htm");
    }
    for (const QList<QVariant>& signal : shown)
        QCOMPARE(signal.first().toUrl().scheme(), QStringLiteral("tunvale-help"));
    for (const QWebEngineHistoryItem& item : help->view()->history()->items())
        QCOMPARE(item.url().host(), QStringLiteral("music"));
    QVERIFY(UrlOpener::history().isEmpty());
}

void TestHelpWindow::brokenHelpFileGivesAMessage_data()
{
    const QByteArray built = TestCatalog::readBytes(builtHelpFile());
    QTest::addColumn<QByteArray>("content"); // null: no file at all
    QTest::addColumn<QString>("page");
    QTest::newRow("missing") << QByteArray() << QStringLiteral("/html/index.htm");
    QTest::newRow("empty") << QByteArray("") << QStringLiteral("/html/index.htm");
    QTest::newRow("not a help file") << QByteArray(4096, 'x') << QStringLiteral("/html/index.htm");
    QTest::newRow("cut off") << built.left(built.size() / 2) << QStringLiteral("/html/index.htm");
    QTest::newRow("no such page") << built << QStringLiteral("/html/nowhere.htm");
    // Small help files with one setting of the compression changed: each of them once took
    // the program down (division by zero, a decompressor that was never made).
    const QDir damaged(QStringLiteral(TUNVALE_UI_TESTDATA));
    const QStringList files = damaged.entryList({QStringLiteral("*.chm")}, QDir::Files);
    QVERIFY(files.size() >= 4);
    for (const QString& name : files)
        QTest::newRow(qPrintable(name))
            << TestCatalog::readBytes(damaged.filePath(name)) << QStringLiteral("/html/index.htm");
}

void TestHelpWindow::brokenHelpFileGivesAMessage()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, page);
    const QString path = m_files->filePath(QStringLiteral("music.chm"));
    if (!content.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QWidget frame;
    QVERIFY(!HelpWindow::showTopic(path + QStringLiteral("::") + page, &frame));
    QVERIFY(frame.findChildren<HelpWindow*>().isEmpty());
    QCOMPARE(MessageBox::history().size(), 1);
    QVERIFY(MessageBox::history().first().text.contains(QStringLiteral("music.chm")));
}

int main(int argc, char** argv)
{
    // The scheme has to be known before the web engine starts.
    HelpSchemeHandler::registerScheme();
    QApplication application(argc, argv);
    TestHelpWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestHelpWindow.moc"
