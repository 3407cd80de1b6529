#include "ui/DialogFont.h"
#include "ui/FlatButton.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

// The flat look as the user sees it, read from grabbed pixels, and the button's behaviour
// under the mouse and the keyboard, which the look must leave as it was.
class TestFlatButton : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void captionColourFollowsThePointer_data();
    void captionColourFollowsThePointer();
    void pressedButtonSinks();
    void keyboardFocusShows();
    void clickOnlyWhenReleasedInside_data();
    void clickOnlyWhenReleasedInside();
    void defaultButtonStillTakesEnterAndEscCancels();
    void dialogFontIsEightPoints();

private:
    static int bluePixels(const QImage& image);
    static QImage look(QWidget* widget) { return widget->grab().toImage(); }
    QPoint centre() const { return m_ok->rect().center(); }

    std::unique_ptr<QDialog> m_dialog;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

void TestFlatButton::init()
{
    m_dialog = std::make_unique<QDialog>();
    auto* layout = new QHBoxLayout(m_dialog.get());
    m_ok = new QPushButton(QStringLiteral("&Save"), m_dialog.get());
    m_cancel = new QPushButton(QStringLiteral("Close"), m_dialog.get());
    m_ok->setDefault(true);
    layout->addWidget(m_ok);
    layout->addWidget(m_cancel);
    QObject::connect(m_ok, &QPushButton::clicked, m_dialog.get(), &QDialog::accept);
    QObject::connect(m_cancel, &QPushButton::clicked, m_dialog.get(), &QDialog::reject);
    MakeButtonFlat(m_dialog.get(), m_ok);
    MakeButtonFlat(m_dialog.get(), m_cancel);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

void TestFlatButton::cleanup()
{
    m_dialog.reset();
}

int TestFlatButton::bluePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.blue() > 180 && c.red() < 90 && c.green() < 90;
        }
    return count;
}

void TestFlatButton::captionColourFollowsThePointer_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("pointerOver");
    QTest::addColumn<bool>("blue");
    QTest::newRow("pointer elsewhere") << true << false << false;
    QTest::newRow("pointer over") << true << true << true;
    QTest::newRow("disabled, pointer over") << false << true << false;
}

void TestFlatButton::captionColourFollowsThePointer()
{
    QFETCH(bool, enabled);
    QFETCH(bool, pointerOver);
    QFETCH(bool, blue);
    m_ok->setEnabled(enabled);
    QTest::mouseMove(m_dialog.get(), m_dialog->rect().bottomRight() - QPoint(1, 1));
    if (pointerOver)
        QTest::mouseMove(m_ok, centre());
    const QImage image = look(m_ok);
    QCOMPARE(bluePixels(image) > 0, blue);
    if (!enabled) {
        // Embossed: the caption shows in the shadow colour with a light copy beneath it.
        const QColor shadow = m_ok->palette().color(QPalette::Dark);
        bool hasShadowText = false;
        for (int x = 0; x < image.width() && !hasShadowText; ++x)
            hasShadowText = image.pixel(x, image.height() / 2) == shadow.rgb();
        QVERIFY(hasShadowText);
    }
    // Leaving takes the colour away again.
    QTest::mouseMove(m_cancel, m_cancel->rect().center());
    QCOMPARE(bluePixels(look(m_ok)), 0);
}

void TestFlatButton::pressedButtonSinks()
{
    const QImage raised = look(m_ok);
    QTest::mousePress(m_ok, Qt::LeftButton, {}, centre());
    const QImage sunken = look(m_ok);
    QTest::mouseRelease(m_ok, Qt::LeftButton, {}, centre());
    const QPalette& palette = m_ok->palette();
    QCOMPARE(raised.pixel(0, 1), palette.color(QPalette::Light).rgb());
    QCOMPARE(raised.pixel(raised.width() - 1, 1), palette.color(QPalette::Dark).rgb());
    QCOMPARE(sunken.pixel(0, 1), palette.color(QPalette::Dark).rgb());
    QCOMPARE(sunken.pixel(sunken.width() - 1, 1), palette.color(QPalette::Light).rgb());
    QVERIFY(bluePixels(sunken) > 0);
}

// Tab moves the focus, and the look moves with it: the focused button shows a line of the
// caption's colour inside its edge, away from the caption.
void TestFlatButton::keyboardFocusShows()
{
    m_dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
    const auto focusLine = [](QPushButton* button) {
        const QImage image = look(button);
        const QRgb ink = button->palette().color(QPalette::ButtonText).rgb();
        int inked = 0;
        for (int x = 0; x < image.width(); ++x)
            inked += image.pixel(x, 3) == ink;
        return inked;
    };
    m_ok->setFocus();
    QVERIFY(focusLine(m_ok) > m_ok->width() / 5);
    QCOMPARE(focusLine(m_cancel), 0);
    const QImage okFocused = look(m_ok);
    QTest::keyClick(m_ok, Qt::Key_Tab);
    QVERIFY(m_cancel->hasFocus());
    QCOMPARE(focusLine(m_ok), 0);
    QVERIFY(focusLine(m_cancel) > m_cancel->width() / 5);
    QVERIFY(look(m_ok) != okFocused);
}

void TestFlatButton::clickOnlyWhenReleasedInside_data()
{
    QTest::addColumn<bool>("leaveBeforeRelease");
    QTest::addColumn<int>("clicks");
    QTest::newRow("released inside") << false << 1;
    QTest::newRow("moved off, then released") << true << 0;
}

void TestFlatButton::clickOnlyWhenReleasedInside()
{
    QFETCH(bool, leaveBeforeRelease);
    QFETCH(int, clicks);
    QObject::disconnect(m_ok, &QPushButton::clicked, m_dialog.get(), &QDialog::accept);
    QSignalSpy clicked(m_ok, &QPushButton::clicked);
    QTest::mouseMove(m_ok, centre());
    QTest::mousePress(m_ok, Qt::LeftButton, {}, centre());
    QPoint releaseAt = centre();
    if (leaveBeforeRelease) {
        releaseAt = QPoint(m_ok->width() + 30, m_ok->height() + 30);
        QTest::mouseMove(m_ok, releaseAt);
        QCOMPARE(bluePixels(look(m_ok)), 0); // the normal colour as soon as the pointer leaves
    }
    QTest::mouseRelease(m_ok, Qt::LeftButton, {}, releaseAt);
    QCOMPARE(clicked.count(), clicks);
}

void TestFlatButton::defaultButtonStillTakesEnterAndEscCancels()
{
    auto* name = new QLineEdit(m_dialog.get());
    m_dialog->layout()->addWidget(name);
    name->show();
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Escape);
    QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
    QVERIFY(!m_dialog->isVisible());
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Return);
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
}

void TestFlatButton::dialogFontIsEightPoints()
{
    DialogFont::apply(m_dialog.get());
    QCOMPARE(m_ok->font().pointSize(), 8);
    QCOMPARE(m_ok->font(), DialogFont::font());
}

QTEST_MAIN(TestFlatButton)
#include "TestFlatButton.moc"
