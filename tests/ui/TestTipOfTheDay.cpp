#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/CMainFrame.h"
#include "app/CVastryApp.h"
#include "support/TestCatalog.h"
#include "support/gui/AccessibleNames.h"
#include "support/gui/EventLoopWait.h"
#include "support/gui/ModalDialogDriver.h"
#include "ui/MessageBox.h"
#include "ui/TipList.h"
#include "ui/TipOfTheDayDialog.h"

#include <QAccessible>
#include <QComboBox>
#include <QPushButton>
#include <QtTest>

// The tip of the day on its own and at the program's start-up, with settings in a temporary
// folder.
class TestTipOfTheDay : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startsAfterTheStoredTip_data();
    void startsAfterTheStoredTip();
    void nextTipWrapsAndNeverIsRemembered();
    void startUpShowsTheNextTipUntilDisabled();
    void paintsTheBandHeaderAndText();

private:
    QString startAndCloseTip(bool expectTip);

    std::unique_ptr<TestCatalog> m_files;
};

void TestTipOfTheDay::init()
{
    m_files = std::make_unique<TestCatalog>();
    AppSettings::useFolder(m_files->filePath(QStringLiteral("settings")));
    AppPaths::setPageDirectory(m_files->filePath(QStringLiteral("pages")));
    AppPaths::setProgramDirectory(TestCatalog::programDirectory());
    MessageBox::setAnswerForAll(QMessageBox::Ok);
}

void TestTipOfTheDay::cleanup()
{
    MessageBox::setAnswerForAll(QMessageBox::NoButton);
    m_files.reset();
}

// Stored values, including ones no run of the program writes: the tip shown, the start-up
// choice shown, and what closing stores.
void TestTipOfTheDay::startsAfterTheStoredTip_data()
{
    QTest::addColumn<int>("lastTip"); // -2: absent
    QTest::addColumn<int>("disableTips");
    QTest::addColumn<int>("shownTip");
    QTest::addColumn<int>("storedDisable");
    QTest::newRow("first run") << -2 << -2 << 0 << 0;
    QTest::newRow("after the first") << 0 << 0 << 1 << 0;
    QTest::newRow("after the tenth") << 9 << 0 << 10 << 0;
    QTest::newRow("after the last") << 10 << 1 << 0 << 1;
    QTest::newRow("beyond the list") << 99 << 0 << 0 << 0;
    QTest::newRow("below the list") << -5 << 0 << 0 << 0;
    QTest::newRow("odd start-up value") << 3 << 7 << 4 << 1;
}

void TestTipOfTheDay::startsAfterTheStoredTip()
{
    QFETCH(int, lastTip);
    QFETCH(int, disableTips);
    QFETCH(int, shownTip);
    QFETCH(int, storedDisable);
    AppSettings settings;
    if (lastTip != -2)
        settings.write(SettingsTable::LastTip, lastTip);
    if (disableTips != -2)
        settings.write(SettingsTable::DisableTips, disableTips);

    TipOfTheDayDialog dialog(settings);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Tunvale Tip of the Day"));
    QCOMPARE(dialog.currentTip(), shownTip);
    QCOMPARE(dialog.currentTipText(), TipList::tips().at(shownTip));
    QCOMPARE(dialog.startUpChoice()->currentIndex(), storedDisable);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(settings.read(SettingsTable::LastTip), shownTip);
    QCOMPARE(settings.read(SettingsTable::DisableTips), storedDisable);
}

// From the keyboard alone: Alt+N past the last tip, the choice changed, Enter closes.
void TestTipOfTheDay::nextTipWrapsAndNeverIsRemembered()
{
    AppSettings settings;
    settings.write(SettingsTable::LastTip, 9);
    TipOfTheDayDialog dialog(settings);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QVERIFY(unnamedControls(&dialog).isEmpty());
    QCOMPARE(dialog.currentTip(), 10);
    // Tab from Close reaches the tip itself, as a text a screen reader reads out.
    QTest::keyClick(dialog.closeButton(), Qt::Key_Tab);
    QAccessibleInterface* tip = QAccessible::queryAccessibleInterface(QApplication::focusWidget());
    QVERIFY(tip->role() == QAccessible::StaticText || tip->role() == QAccessible::EditableText);
    QCOMPARE(tip->text(QAccessible::Name), TipList::tips().at(10));
    // A mnemonic clicks its button a moment later, as a visible press.
    QTest::keyClick(&dialog, Qt::Key_N, Qt::AltModifier);
    LOOP_COMPARE(dialog.currentTip(), 0);
    QCOMPARE(dialog.currentTipText(), QStringLiteral("To view the help file, just press F1."));
    QCOMPARE(tip->text(QAccessible::Name), dialog.currentTipText());
    dialog.startUpChoice()->setFocus();
    QTest::keyClick(dialog.startUpChoice(), Qt::Key_Down);
    QCOMPARE(dialog.startUpChoice()->currentText(), QStringLiteral("Never show tips at startup"));
    QTest::keyClick(dialog.startUpChoice(), Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(settings.read(SettingsTable::DisableTips), 1);
    QCOMPARE(settings.read(SettingsTable::LastTip), 0);
}

// Starts the program on a copy of the demo catalogue and returns the tip the start-up showed
// (closed with Escape). A start that shows none is checked by the program simply starting.
QString TestTipOfTheDay::startAndCloseTip(bool expectTip)
{
    QString shown;
    ModalDialogDriver driver;
    if (expectTip)
        driver.onNext<TipOfTheDayDialog>([&shown](TipOfTheDayDialog* dialog) {
            shown = dialog->currentTipText();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
    CVastryApp app;
    if (!app.initInstance({QStringLiteral("tunvale"), m_files->copyOfDemo()}))
        return QStringLiteral("start-up failed");
    app.shutDown();
    return shown;
}

void TestTipOfTheDay::startUpShowsTheNextTipUntilDisabled()
{
    QCOMPARE(startAndCloseTip(true), TipList::tips().at(0));
    QCOMPARE(startAndCloseTip(true), TipList::tips().at(1));
    AppSettings settings;
    settings.write(SettingsTable::LastTip, 10);
    QCOMPARE(startAndCloseTip(true), TipList::tips().at(0));
    settings.write(SettingsTable::DisableTips, 1);
    QCOMPARE(startAndCloseTip(false), QString());
    QCOMPARE(settings.read(SettingsTable::LastTip), 0);
}

void TestTipOfTheDay::paintsTheBandHeaderAndText()
{
    AppSettings settings;
    TipOfTheDayDialog dialog(settings);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QImage shot = dialog.grab().toImage();
    // The band's gray fills its left column; the picture's magenta turned gray too.
    const QRect canvas = dialog.findChild<QWidget*>(QStringLiteral("TipCanvas"))->geometry();
    int magenta = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            magenta += shot.pixelColor(x, y) == QColor(255, 0, 255);
    QCOMPARE(magenta, 0);
    QCOMPARE(shot.pixelColor(canvas.left() + 2, canvas.bottom() - 2), QColor(128, 128, 128));
    QCOMPARE(shot.pixelColor(canvas.right() - 2, canvas.bottom() - 2), QColor(Qt::white));
}

QTEST_MAIN(TestTipOfTheDay)
#include "TestTipOfTheDay.moc"
