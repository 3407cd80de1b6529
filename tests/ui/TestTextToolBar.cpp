#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/CMainFrame.h"
#include "app/CVastryApp.h"
#include "app/CommandIds.h"
#include "support/TestCatalog.h"
#include "support/gui/DesktopTestRun.h"
#include "ui/MessageBox.h"
#include "ui/TextToolBar.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>
#include <QtTest>

// The main window's toolbar across restarts of the program, with settings in a temporary
// folder.
class TestTextToolBar : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void labelModesSurviveARestart();
    void strangeSettingsGiveDefaults_data();
    void strangeSettingsGiveDefaults();
    void printButtonHasItsDropDown();

private:
    void start();
    void stop();
    TextToolBar* toolBar() const;
    QStringList labels() const;
    static int inkOfFirstItem(QMenu* menu);

    std::unique_ptr<TestCatalog> m_files;
    std::unique_ptr<CVastryApp> m_app;
};

void TestTextToolBar::init()
{
    m_files = std::make_unique<TestCatalog>();
    useDesktopTestFolders(*m_files);
    MessageBox::setAnswerForAll(QMessageBox::Ok);
}

void TestTextToolBar::cleanup()
{
    stop();
    MessageBox::setAnswerForAll(QMessageBox::NoButton);
    m_files.reset();
}

void TestTextToolBar::start()
{
    m_app = std::make_unique<CVastryApp>();
    QVERIFY(startFilled(*m_app, m_files->copyOfDemo()));
}

void TestTextToolBar::stop()
{
    if (m_app)
        m_app->shutDown();
    m_app.reset();
}

TextToolBar* TestTextToolBar::toolBar() const
{
    return m_app->mainFrame()->findChild<TextToolBar*>(QStringLiteral("ToolBar"));
}

// The labels the buttons show, left to right (empty for a picture alone).
QStringList TestTextToolBar::labels() const
{
    QStringList shown;
    for (QAction* action : toolBar()->actions()) {
        const auto* button = qobject_cast<QToolButton*>(toolBar()->widgetForAction(action));
        if (button && button->toolButtonStyle() != Qt::ToolButtonIconOnly)
            shown << button->text();
    }
    return shown;
}

void TestTextToolBar::labelModesSurviveARestart()
{
    const QStringList selective{QStringLiteral("New"), QStringLiteral("Search")};
    start();
    QCOMPARE(toolBar()->textMode(), int(TextToolBar::SelectiveText));
    QCOMPARE(labels(), selective);

    std::unique_ptr<QMenu> menu(toolBar()->createTextMenu(nullptr));
    QCOMPARE(menu->actions().size(), 2);
    QVERIFY(!menu->actions().at(0)->isChecked());
    QVERIFY(menu->actions().at(1)->isChecked());
    // The checked mode again changes nothing; the other switches the labels off.
    menu->actions().at(1)->trigger();
    QCOMPARE(labels(), selective);
    menu->actions().at(0)->trigger();
    QCOMPARE(labels(), QStringList());
    QCOMPARE(toolBar()->textMode(), int(TextToolBar::NoText));
    m_app->mainFrame()->addToolBar(Qt::LeftToolBarArea, toolBar());
    stop();
    QCOMPARE(AppSettings().read(SettingsTable::TbText), 0);

    start();
    QCOMPARE(labels(), QStringList());
    QCOMPARE(m_app->mainFrame()->toolBarArea(toolBar()), Qt::LeftToolBarArea);
    menu.reset(toolBar()->createTextMenu(nullptr));
    QVERIFY(menu->actions().at(0)->isChecked());
    menu->actions().at(1)->trigger();
    QCOMPARE(labels(), selective);
    stop();
    QCOMPARE(AppSettings().read(SettingsTable::TbText), 1);
}

void TestTextToolBar::strangeSettingsGiveDefaults_data()
{
    QTest::addColumn<int>("tbText");
    QTest::addColumn<QByteArray>("state");
    QTest::addColumn<int>("mode");
    QTest::newRow("odd label mode") << 42 << QByteArray() << 1;
    QTest::newRow("negative label mode") << -3 << QByteArray() << 1;
    QTest::newRow("garbage state") << 0 << QByteArray("\xff\x00garbage\x13", 10) << 0;
    QTest::newRow("cut-off state") << 1 << QByteArray("\x00\x00\x00\xff", 4) << 1;
}

void TestTextToolBar::strangeSettingsGiveDefaults()
{
    QFETCH(int, tbText);
    QFETCH(QByteArray, state);
    QFETCH(int, mode);
    {
        AppSettings settings;
        settings.write(SettingsTable::TbText, tbText);
        settings.writeToolbarState(state);
    }
    start();
    QCOMPARE(toolBar()->textMode(), mode);
    QCOMPARE(m_app->mainFrame()->toolBarArea(toolBar()), Qt::TopToolBarArea);
    QVERIFY(toolBar()->isVisible());
    stop();
    QCOMPARE(AppSettings().read(SettingsTable::TbText), mode);
}

// Pixels of the first item darker than its background, as the menu draws it.
int TestTextToolBar::inkOfFirstItem(QMenu* menu)
{
    menu->popup(QPoint(10, 10));
    if (!QTest::qWaitForWindowExposed(menu))
        return -1;
    const QImage shot = menu->grab().toImage();
    const QRect item = menu->actionGeometry(menu->actions().first());
    menu->close();
    const int background = qGray(shot.pixel(item.right() - 2, item.top() + 1));
    int ink = 0;
    for (int y = item.top(); y <= item.bottom(); ++y)
        for (int x = item.left(); x <= item.right(); ++x)
            ink += qGray(shot.pixel(x, y)) < background - 60;
    return ink;
}

void TestTextToolBar::printButtonHasItsDropDown()
{
    start();
    QAction* print = m_app->mainFrame()->action(CommandIds::PrintCurrentAlbum);
    auto* button = qobject_cast<QToolButton*>(toolBar()->widgetForAction(print));
    QVERIFY(button && button->menu());
    QCOMPARE(button->popupMode(), QToolButton::MenuButtonPopup);
    const QList<QAction*> items = button->menu()->actions();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items.at(0)->text(), QStringLiteral("&Print Current Album"));
    QCOMPARE(items.at(0)->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    QCOMPARE(items.at(1)->text(), QStringLiteral("Print &All Albums"));
    QCOMPARE(items.at(1)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+P")));
    QCOMPARE(button->menu()->defaultAction(), items.at(0));
    // The default item is drawn in bold: more ink than the same item drawn plainly.
    const int asDefault = inkOfFirstItem(button->menu());
    button->menu()->setDefaultAction(nullptr);
    const int plain = inkOfFirstItem(button->menu());
    button->menu()->setDefaultAction(items.at(0));
    QVERIFY2(asDefault > plain, qPrintable(QStringLiteral("%1 vs %2").arg(asDefault).arg(plain)));
    QVERIFY(!toolBar()->addDropDownButton(print, button->menu()));
    QCOMPARE(toolBar()->dropDownCount(), 1);
}

QTEST_MAIN(TestTextToolBar)
#include "TestTextToolBar.moc"
