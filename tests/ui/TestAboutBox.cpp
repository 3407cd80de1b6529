#include "support/gui/AccessibleNames.h"
#include "support/gui/EventLoopWait.h"
#include "support/gui/ModalDialogDriver.h"
#include "ui/AboutDialog.h"
#include "ui/HyperLink.h"
#include "ui/MakerAddresses.h"
#include "ui/MessageBox.h"
#include "ui/UrlOpener.h"

#include <QEnterEvent>
#include <QPushButton>
#include <QtTest>

// The hyperlink's colours and opening, and the about box driven from the keyboard.
class TestAboutBox : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void linkColoursFollowVisitsAndHover();
    void emptyAddressOpensTheText();
    void onlyTheTextActsAsTheLink();
    void aboutBoxOpensTheMakersAddresses();

private:
    static bool shows(HyperLink& link, const QColor& colour);
};

void TestAboutBox::init()
{
    UrlOpener::setRecordOnly(true);
    UrlOpener::history().clear();
    MessageBox::history().clear();
    MessageBox::setAnswerForAll(QMessageBox::Ok);
}

void TestAboutBox::cleanup()
{
    MessageBox::setAnswerForAll(QMessageBox::NoButton);
}

// The underline is drawn in the text colour without smoothing, so the colour is on screen
// exactly.
bool TestAboutBox::shows(HyperLink& link, const QColor& colour)
{
    const QImage shot = link.grab().toImage();
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixelColor(x, y) == colour)
                return true;
    return false;
}

void TestAboutBox::linkColoursFollowVisitsAndHover()
{
    HyperLink link(QStringLiteral("Visit"));
    link.setUrl(QStringLiteral("https://www.tunvale.example/"));
    link.show();
    QVERIFY(QTest::qWaitForWindowExposed(&link));
    // The window may open under the pointer; the test starts with the pointer elsewhere.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&link, &leave);
    QCOMPARE(link.toolTip(), QStringLiteral("https://www.tunvale.example/"));
    QVERIFY(link.font().underline());
    QVERIFY(shows(link, HyperLink::LinkColour));

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(&link, &enter);
    QCOMPARE(link.cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(shows(link, HyperLink::HoverColour));
    QApplication::sendEvent(&link, &leave);
    QVERIFY(shows(link, HyperLink::LinkColour));

    QTest::mouseClick(&link, Qt::LeftButton);
    QCOMPARE(UrlOpener::history(),
             QList<QUrl>{QUrl(QStringLiteral("https://www.tunvale.example/"))});
    QVERIFY(link.isVisited());
    QVERIFY(shows(link, HyperLink::VisitedColour));
    QVERIFY(MessageBox::history().isEmpty());

    // An address the desktop may not open: the message, and the visit is forgotten.
    link.setUrl(QStringLiteral("file:///etc/passwd"));
    QTest::keyClick(&link, Qt::Key_Space);
    QVERIFY(!link.isVisited());
    QVERIFY(shows(link, HyperLink::LinkColour));
    QCOMPARE(MessageBox::history().size(), 1);
    QCOMPARE(MessageBox::history().first().text,
             QStringLiteral("Unable to open hyperlink:\n\nThere is no application associated\n"
                            "with the given filename extension."));
    QCOMPARE(MessageBox::history().first().icon, QMessageBox::Warning);
}

void TestAboutBox::emptyAddressOpensTheText()
{
    HyperLink link(QStringLiteral("mailto:someone@tunvale.example"));
    link.show();
    QTest::mouseClick(&link, Qt::LeftButton);
    QCOMPARE(UrlOpener::history(),
             QList<QUrl>{QUrl(QStringLiteral("mailto:someone@tunvale.example"))});

    HyperLink untitled;
    untitled.setUrl(QStringLiteral("https://elsewhere.example/"));
    QCOMPARE(untitled.text(), QStringLiteral("https://elsewhere.example/"));
}

// A layout may stretch the link across its dialog; the blank rest of it is no link.
void TestAboutBox::onlyTheTextActsAsTheLink()
{
    HyperLink link(QStringLiteral("Visit"));
    link.setUrl(QStringLiteral("https://www.tunvale.example/"));
    link.resize(400, link.sizeHint().height());
    link.show();
    QVERIFY(QTest::qWaitForWindowExposed(&link));
    const QPoint onText = link.textRect().center();
    const QPoint beside(380, onText.y());
    QVERIFY(!link.textRect().contains(beside));
    const auto moveTo = [&link](const QPoint& point) {
        QMouseEvent move(QEvent::MouseMove, point, link.mapToGlobal(point), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&link, &move);
    };

    moveTo(beside);
    QVERIFY(!link.isOver());
    QVERIFY(link.cursor().shape() != Qt::PointingHandCursor);
    QHelpEvent tip(QEvent::ToolTip, beside, link.mapToGlobal(beside));
    QApplication::sendEvent(&link, &tip);
    QVERIFY(!tip.isAccepted());
    QTest::mouseClick(&link, Qt::LeftButton, Qt::NoModifier, beside);
    QVERIFY(UrlOpener::history().isEmpty());

    moveTo(onText);
    QVERIFY(link.isOver());
    QCOMPARE(link.cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(shows(link, HyperLink::HoverColour));
    moveTo(beside);
    QVERIFY(!link.isOver());
    QTest::mouseClick(&link, Qt::LeftButton, Qt::NoModifier, onText);
    QCOMPARE(UrlOpener::history(),
             QList<QUrl>{QUrl(QStringLiteral("https://www.tunvale.example/"))});
}

void TestAboutBox::aboutBoxOpensTheMakersAddresses()
{
    AboutDialog about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About Tunvale 1.00"));
    QCOMPARE(about.mailLink()->text(), QStringLiteral("Problems? Click here to send us a mail."));
    QCOMPARE(about.webLink()->text(), QStringLiteral("Click here to visit our website."));

    ModalDialogDriver driver;
    driver.onNext<AboutDialog>([](AboutDialog* dialog) {
        QVERIFY(unnamedControls(dialog).isEmpty());
        // Keys go to the focus widget, which a busy machine gives out a little after the show.
        dialog->activateWindow();
        QVERIFY(waitInEventLoop([] { return QApplication::focusWidget() != nullptr; }, 5000));
        // The links come first in the Tab order; the focus starts on Close.
        QTest::keyClick(dialog, Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QTest::keyClick(dialog, Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QCOMPARE(about.exec(), int(QDialog::Rejected));
    QVERIFY(driver.acted());
    QCOMPARE(UrlOpener::history(), (QList<QUrl>{QUrl(QLatin1String(MakerAddresses::SupportMail)),
                                                QUrl(QLatin1String(MakerAddresses::Website))}));
}

QTEST_MAIN(TestAboutBox)
#include "TestAboutBox.moc"
