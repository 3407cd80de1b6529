#include "app/CMainFrame.h"
#include "app/CVastryApp.h"
#include "app/CommandIds.h"
#include "db/CatalogPassword.h"
#include "db/CatalogProbe.h"
#include "db/DatabaseEx.h"
#include "db/PasswordPrompt.h"
#include "db/SetPasswordDialog.h"
#include "stats/FigureTab.h"
#include "stats/StatisticsWindow.h"
#include "support/TestCatalog.h"
#include "support/gui/AccessibleNames.h"
#include "support/gui/DesktopTestRun.h"
#include "support/gui/EventLoopWait.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "views/CVastryDoc.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QtTest>

namespace
{

constexpr const char* Password = "Schlüssel 鍵";

// Answers the dialogs of one kind as they come up, one scripted answer each, from the
// keyboard alone: the answer's lines are typed into the focused field, one field after the
// other (Tab between them), and Enter ends it. A lone "<cancel>" presses Esc.
template <class Dialog> class DialogAnswerer
{
public:
    using Check = std::function<void(Dialog*)>;

    DialogAnswerer(QStringList answers, Check check = {})
        : m_answers(std::move(answers)), m_check(std::move(check))
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { answerShownDialog(); });
        m_poll.start(10);
    }
    int answered() const { return m_answered; }

private:
    void answerShownDialog()
    {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || dialog->property("answered").toBool())
            return;
        if (!dialog->isActiveWindow()) {
            dialog->activateWindow();
            return;
        }
        dialog->setProperty("answered", true);
        if (m_check)
            m_check(dialog);
        // A dialog that refuses an answer stays open for the next one.
        QPointer<Dialog> shown = dialog;
        while (shown && shown->isVisible())
            type(m_answers.value(m_answered++, QStringLiteral("<cancel>")));
    }

    static void type(const QString& answer)
    {
        if (answer == QLatin1String("<cancel>")) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            return;
        }
        const QStringList fields = answer.split(QLatin1Char('\n'));
        for (int i = 0; i < fields.size(); ++i) {
            if (i > 0)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            // Letters beyond ASCII have no key code of their own: they come as text.
            for (const QChar letter : fields[i])
                QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                                    QString(letter), Qt::NoModifier);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

    QStringList m_answers;
    Check m_check;
    QTimer m_poll;
    int m_answered = 0;
};

} // namespace

// A password of the collector's own in the desktop program: set, changed and removed from
// File > Set Password, and asked for whenever such a catalogue is opened. Every dialog is
// answered from the keyboard.
class TestPasswordDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void setChangeAndRemoveFromTheMenu();
    void openingAsksForThePassword_data();
    void openingAsksForThePassword();

private:
    void start(const QString& catalogue);
    void withPassword(const QString& path);
    bool boxShown(const QString& text) const;
    CMainFrame* frame() const { return m_app->mainFrame(); }
    CVastryDoc& document() const { return *m_app->document(); }

    std::unique_ptr<TestCatalog> m_files;
    std::unique_ptr<CVastryApp> m_app;
};

void TestPasswordDialogs::init()
{
    m_files = std::make_unique<TestCatalog>();
    useDesktopTestFolders(*m_files);
    MessageBox::history().clear();
    MessageBox::setAnswerForAll(QMessageBox::Ok);
}

void TestPasswordDialogs::cleanup()
{
    if (m_app)
        m_app->shutDown();
    m_app.reset();
    MessageBox::setAnswerForAll(QMessageBox::NoButton);
    m_files.reset();
}

void TestPasswordDialogs::start(const QString& catalogue)
{
    m_app = std::make_unique<CVastryApp>();
    QVERIFY(startFilled(*m_app, catalogue));
}

void TestPasswordDialogs::withPassword(const QString& path)
{
    ReportRecorder reports;
    Database database;
    QString error;
    QVERIFY(database.open(path, DatabaseEx::catalogConnectString()));
    QVERIFY2(CatalogPassword::change(&database, QString::fromUtf8(Password), &error),
             qPrintable(error));
}

bool TestPasswordDialogs::boxShown(const QString& text) const
{
    for (const MessageBox::Shown& box : MessageBox::history())
        if (box.text.contains(text))
            return true;
    return false;
}

void TestPasswordDialogs::setChangeAndRemoveFromTheMenu()
{
    const QString path = m_files->copyOfDemo();
    start(path);
    const QString password = QString::fromUtf8(Password);
    const auto namedAndFocused = [](SetPasswordDialog* dialog) {
        QCOMPARE(unnamedControls(dialog), QStringList());
        QVERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
    };

    {
        // Typed differently first: said so, and the dialog stays for the second go.
        DialogAnswerer<SetPasswordDialog> answers(
            {password + QStringLiteral("\nSchlüssel"), password + QStringLiteral("\n") + password},
            namedAndFocused);
        QVERIFY(frame()->runCommand(CommandIds::SetPassword));
        QCOMPARE(answers.answered(), 2);
    }
    QVERIFY(boxShown(QStringLiteral("The two new passwords differ")));
    QVERIFY(boxShown(QStringLiteral("The password is set")));
    QCOMPARE(CatalogProbe::kind(path), CatalogProbe::Kind::NeedsPassword);
    QVERIFY(CatalogProbe::opensWith(path, CatalogPassword::connectString(password)));
    QVERIFY(CatalogPassword::isCurrent(*document().database(), password));
    QCOMPARE(frame()->statusPaneText(2), QStringLiteral("Total Posts: 26"));
    // The statistics count on a connection of their own, which needs the key too.
    QVERIFY(frame()->runCommand(CommandIds::Statistics));
    StatisticsWindow* statistics = frame()->statisticsWindow();
    statistics->showTab(StatisticsWindow::YearsTab);
    LOOP_VERIFY_WITH_TIMEOUT(!statistics->isCounting(), 30000);
    QVERIFY(statistics->figureTab(StatisticsWindow::YearsTab)->chartView()->chart()->title() !=
            QLatin1String(FigureTab::NoAlbums));
    QVERIFY(!boxShown(QStringLiteral("encrypted")));
    statistics->close();

    // Changing asks for the current password; a wrong one changes nothing.
    MessageBox::history().clear();
    {
        DialogAnswerer<SetPasswordDialog> answers({QStringLiteral("wrong\nneu\nneu")},
                                                  namedAndFocused);
        QVERIFY(frame()->runCommand(CommandIds::SetPassword));
        QCOMPARE(answers.answered(), 2); // the second, unscripted, is Esc
    }
    QVERIFY(boxShown(QStringLiteral("The current password is wrong")));
    QVERIFY(CatalogProbe::opensWith(path, CatalogPassword::connectString(password)));

    // Removing: the current password, then nothing twice.
    MessageBox::history().clear();
    {
        DialogAnswerer<SetPasswordDialog> answers({password + QStringLiteral("\n\n")});
        QVERIFY(frame()->runCommand(CommandIds::SetPassword));
    }
    QVERIFY(boxShown(QStringLiteral("The password is removed")));
    QCOMPARE(CatalogProbe::kind(path), CatalogProbe::Kind::BuiltInKey);
    QVERIFY(!CatalogPassword::hasOwnPassword(*document().database()));
    QCOMPARE(frame()->statusPaneText(2), QStringLiteral("Total Posts: 26"));
}

void TestPasswordDialogs::openingAsksForThePassword_data()
{
    QTest::addColumn<bool>("atStartUp");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("outcome"); // opened, refused or cancelled
    const QString right = QString::fromUtf8(Password);
    for (const bool atStartUp : {false, true}) {
        const char* where = atStartUp ? "start-up: " : "File > Open: ";
        QTest::addRow("%sright at once", where) << atStartUp << QStringList{right} << "opened";
        QTest::addRow("%swrong, then right", where)
            << atStartUp << QStringList{QStringLiteral("schlüssel 鍵"), right} << "opened";
        QTest::addRow("%sthree wrong", where)
            << atStartUp << QStringList{QStringLiteral("a"), QString(), QStringLiteral("c")}
            << "refused";
        QTest::addRow("%scancel", where)
            << atStartUp << QStringList{QStringLiteral("<cancel>")} << "cancelled";
    }
}

void TestPasswordDialogs::openingAsksForThePassword()
{
    QFETCH(bool, atStartUp);
    QFETCH(QStringList, typed);
    QFETCH(QString, outcome);
    const QString locked = m_files->copyOfDemo(QStringLiteral("locked.muf"));
    withPassword(locked);
    const QByteArray before = TestCatalog::readBytes(locked);
    QVector<bool> wrongShown;
    DialogAnswerer<PasswordPrompt> answers(typed, [&wrongShown](PasswordPrompt* prompt) {
        QCOMPARE(unnamedControls(prompt), QStringList());
        wrongShown << prompt->findChild<QLabel*>(QStringLiteral("wrongPassword"))->isVisible();
    });
    // After a refusal at start-up the program offers to look for another file: none is chosen.
    FileDialog::setNextFileName(QString());
    const int fileDialogsBefore = FileDialog::shownCount();
    if (atStartUp) {
        start(locked);
    } else {
        start(m_files->copyOfDemo());
        FileDialog::setNextFileName(locked);
        QVERIFY(frame()->runCommand(CommandIds::OpenDatabase));
    }

    QCOMPARE(answers.answered(), typed.size());
    QVector<bool> expectedWrong(typed.size(), true);
    expectedWrong[0] = false;
    QCOMPARE(wrongShown, expectedWrong);
    const Database* open = document().database();
    if (outcome == QLatin1String("opened")) {
        QVERIFY(open && open->name() == locked);
        LOOP_COMPARE(frame()->statusPaneText(2), QStringLiteral("Total Posts: 26"));
        QVERIFY(!boxShown(QStringLiteral("encrypted")));
    } else if (outcome == QLatin1String("refused")) {
        QVERIFY(!open);
        QVERIFY(boxShown(QStringLiteral("file is encrypted or is not a database")));
        QCOMPARE(FileDialog::shownCount() - fileDialogsBefore, 1);
    } else {
        // Cancel opens nothing and asks nothing more; a catalogue open before stays open.
        QCOMPARE(open != nullptr, !atStartUp);
        QVERIFY(MessageBox::history().isEmpty());
        QCOMPARE(FileDialog::shownCount() - fileDialogsBefore, atStartUp ? 0 : 1);
    }
    QCOMPARE(TestCatalog::readBytes(locked), before);
}

QTEST_MAIN(TestPasswordDialogs)
#include "TestPasswordDialogs.moc"
