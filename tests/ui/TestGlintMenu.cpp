#include "app/AppSettings.h"
#include "ui/GlintMenu.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

// Menu items as the two looks draw them, checked on the pixels of real menus on light and
// dark palettes.
class TestGlintMenu : public QObject
{
    Q_OBJECT

private slots:
    void lookComesFromTheSettings_data();
    void lookComesFromTheSettings();
    void itemsAreDrawnReadably_data();
    void itemsAreDrawnReadably();
    void menusMadeLaterTakeTheLook();

private:
    struct Shot {
        QImage image;
        QRect normal, selected, disabled, checked, separator, accelerator;
    };
    static Shot drawMenu(GlintMenu& style, const QPalette& palette);
    static int contrast(const QColor& a, const QColor& b);
    static QColor mostDistant(const QImage& image, const QRect& area, const QColor& from);
};

void TestGlintMenu::lookComesFromTheSettings_data()
{
    QTest::addColumn<QVariant>("stored"); // invalid: absent
    QTest::addColumn<int>("look");
    QTest::newRow("absent") << QVariant() << int(GlintMenu::Classic);
    QTest::newRow("classic") << QVariant(0) << int(GlintMenu::Classic);
    QTest::newRow("flat") << QVariant(1) << int(GlintMenu::Flat);
    QTest::newRow("nonsense") << QVariant(7) << int(GlintMenu::Classic);
    QTest::newRow("negative") << QVariant(-1) << int(GlintMenu::Classic);
}

void TestGlintMenu::lookComesFromTheSettings()
{
    QFETCH(QVariant, stored);
    QFETCH(int, look);
    QTemporaryDir folder;
    AppSettings::useFolder(folder.path());
    AppSettings settings;
    if (stored.isValid())
        settings.write(SettingsTable::MenuStyleFirstSwitch, stored.toInt());
    QCOMPARE(int(GlintMenu::lookFrom(settings)), look);
}

int TestGlintMenu::contrast(const QColor& a, const QColor& b)
{
    return qAbs(qGray(a.rgb()) - qGray(b.rgb()));
}

// The colour in `area` furthest in brightness from `from`: the ink of a text drawn there.
QColor TestGlintMenu::mostDistant(const QImage& image, const QRect& area, const QColor& from)
{
    QColor best = from;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (contrast(pixel, from) > contrast(best, from))
                best = pixel;
        }
    return best;
}

TestGlintMenu::Shot TestGlintMenu::drawMenu(GlintMenu& style, const QPalette& palette)
{
    auto* menu = new QMenu;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setStyle(&style);
    menu->setPalette(palette);
    QAction* normal = menu->addAction(QStringLiteral("&Find"));
    normal->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    normal->setShortcutVisibleInContextMenu(true);
    QAction* selected = menu->addAction(QStringLiteral("&Open"));
    QAction* disabled = menu->addAction(QStringLiteral("&Paste"));
    disabled->setEnabled(false);
    QAction* separator = menu->addSeparator();
    QAction* checked = menu->addAction(QStringLiteral("&Artist"));
    checked->setCheckable(true);
    checked->setChecked(true);
    QAction* accelerator = menu->addAction(QStringLiteral("Print &All Albums"));
    accelerator->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+Alt+Meta+F12")));
    accelerator->setShortcutVisibleInContextMenu(true);
    menu->popup(QPoint(10, 10));
    menu->setActiveAction(selected);
    if (!QTest::qWaitForWindowExposed(menu))
        return {};
    Shot shot;
    shot.image = menu->grab().toImage();
    shot.normal = menu->actionGeometry(normal);
    shot.selected = menu->actionGeometry(selected);
    shot.disabled = menu->actionGeometry(disabled);
    shot.separator = menu->actionGeometry(separator);
    shot.checked = menu->actionGeometry(checked);
    shot.accelerator = menu->actionGeometry(accelerator);
    menu->close();
    return shot;
}

void TestGlintMenu::itemsAreDrawnReadably_data()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(40, 40, 40));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Button, QColor(50, 50, 50));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
    dark.setColor(QPalette::Highlight, QColor(40, 90, 160));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Light, QColor(70, 70, 70));
    dark.setColor(QPalette::Dark, QColor(20, 20, 20));
    QPalette light;
    light.setColor(QPalette::Window, QColor(236, 236, 236));
    light.setColor(QPalette::Base, Qt::white);
    light.setColor(QPalette::Button, QColor(224, 224, 224));
    light.setColor(QPalette::WindowText, Qt::black);
    light.setColor(QPalette::Text, Qt::black);
    light.setColor(QPalette::Disabled, QPalette::WindowText, QColor(150, 150, 150));
    light.setColor(QPalette::Highlight, QColor(48, 140, 198));
    light.setColor(QPalette::HighlightedText, Qt::white);
    light.setColor(QPalette::Light, Qt::white);
    light.setColor(QPalette::Dark, QColor(160, 160, 160));
    QTest::addColumn<int>("look");
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("classic, light") << int(GlintMenu::Classic) << light;
    QTest::newRow("classic, dark") << int(GlintMenu::Classic) << dark;
    QTest::newRow("flat, light") << int(GlintMenu::Flat) << light;
    QTest::newRow("flat, dark") << int(GlintMenu::Flat) << dark;
}

void TestGlintMenu::itemsAreDrawnReadably()
{
    QFETCH(int, look);
    QFETCH(QPalette, palette);
    GlintMenu style{GlintMenu::Look(look)};
    const Shot shot = drawMenu(style, palette);
    const QImage& image = shot.image;
    const auto textArea = [](const QRect& item) {
        return item.adjusted(GlintMenu::PictureSize + 9, 2, -2, -2);
    };
    const auto backgroundOf = [&](const QRect& item) {
        return image.pixelColor(item.right() - 3, item.top() + 2);
    };
    // Every kind of item shows its text clearly on its own background.
    for (const QRect& item : {shot.normal, shot.selected, shot.checked, shot.accelerator}) {
        const QColor background = backgroundOf(item);
        QVERIFY2(contrast(mostDistant(image, textArea(item), background), background) > 100,
                 qPrintable(QStringLiteral("item at %1").arg(item.top())));
    }
    // A disabled item is readable but dimmer than an enabled one.
    const QColor disabledBackground = backgroundOf(shot.disabled);
    const int disabledInk = contrast(
        mostDistant(image, textArea(shot.disabled), disabledBackground), disabledBackground);
    QVERIFY(disabledInk > 30);
    QVERIFY(disabledInk <
            contrast(mostDistant(image, textArea(shot.normal), backgroundOf(shot.normal)),
                     backgroundOf(shot.normal)));
    // The selection stands out from the items around it.
    QVERIFY(backgroundOf(shot.selected) != backgroundOf(shot.normal));
    // A separator is a thin line across the middle of a low item.
    QVERIFY(shot.separator.height() > 0);
    QVERIFY(shot.separator.height() < shot.normal.height());
    QCOMPARE(shot.separator.width(), shot.normal.width());
    const int middle = shot.separator.center().y();
    const QColor around = image.pixelColor(shot.separator.right() - 2, shot.separator.top());
    bool line = false;
    for (int y = middle - 1; y <= middle + 1; ++y)
        line |= image.pixelColor(shot.separator.center().x(), y) != around;
    QVERIFY(line);
    // The check mark sits in the picture column.
    const QRect checkColumn(shot.checked.left() + 2, shot.checked.top() + 2, GlintMenu::PictureSize,
                            shot.checked.height() - 4);
    const QColor checkBackground = image.pixelColor(checkColumn.topLeft());
    QVERIFY(contrast(mostDistant(image, checkColumn, checkBackground), checkBackground) > 60);
    // A long accelerator is right-aligned and leaves a gap after the label.
    const QRect right(shot.accelerator.right() - 30, shot.accelerator.top() + 2, 20,
                      shot.accelerator.height() - 4);
    const QColor acceleratorBackground = backgroundOf(shot.accelerator);
    QVERIFY(contrast(mostDistant(image, right, acceleratorBackground), acceleratorBackground) >
            100);
}

// A context menu made after the style was installed, by any code, is drawn by it too.
void TestGlintMenu::menusMadeLaterTakeTheLook()
{
    QTemporaryDir folder;
    AppSettings::useFolder(folder.path());
    AppSettings settings;
    settings.write(SettingsTable::MenuStyleFirstSwitch, 1);
    QWidget owner;
    GlintMenu* style = GlintMenu::install(settings, &owner);
    QCOMPARE(style->look(), GlintMenu::Flat);
    QMenu later;
    later.addAction(QStringLiteral("&Sort Ascending"));
    later.ensurePolished();
    QCOMPARE(later.style(), style);
}

QTEST_MAIN(TestGlintMenu)
#include "TestGlintMenu.moc"
