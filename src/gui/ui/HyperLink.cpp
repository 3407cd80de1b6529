#include "ui/HyperLink.h"

#include "ui/MessageBox.h"
#include "ui/UrlOpener.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolTip>
#include <QUrl>

HyperLink::HyperLink(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    // The link is its text: the hand, the hover colour, the tip and a click belong there, not
    // to the blank rest of a label that a layout stretched across its dialog.
    setMouseTracking(true);
    // A link is reached with Tab like any control, so the keyboard can open it too.
    setFocusPolicy(Qt::StrongFocus);
    setTextFormat(Qt::PlainText);
    setUnderline(true);
    applyColour();
}

void HyperLink::setUrl(const QString& url)
{
    m_url = url;
    if (text().isEmpty())
        setText(url);
    setToolTip(this->url());
    setAccessibleDescription(this->url());
}

QString HyperLink::url() const
{
    return m_url.isEmpty() ? text() : m_url;
}

void HyperLink::setVisited(bool visited)
{
    m_visited = visited;
    applyColour();
}

void HyperLink::setUnderline(bool underline)
{
    // Only the underline is set here: family and size still come from the dialog.
    QFont underlined;
    underlined.setUnderline(underline);
    setFont(underlined);
}

QColor HyperLink::currentColour() const
{
    if (m_over)
        return HoverColour;
    return m_visited ? VisitedColour : LinkColour;
}

void HyperLink::applyColour()
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, currentColour());
    setPalette(colours);
}

QRect HyperLink::textRect() const
{
    return style()->itemTextRect(fontMetrics(), contentsRect(), int(alignment()), isEnabled(),
                                 text());
}

bool HyperLink::onText(const QPoint& point) const
{
    return textRect().contains(point);
}

void HyperLink::setOver(bool over)
{
    if (m_over == over)
        return;
    m_over = over;
    if (over)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    applyColour();
    repaint();
}

void HyperLink::enterEvent(QEnterEvent* event)
{
    setOver(onText(event->position().toPoint()));
    QLabel::enterEvent(event);
}

void HyperLink::mouseMoveEvent(QMouseEvent* event)
{
    setOver(onText(event->position().toPoint()));
    QLabel::mouseMoveEvent(event);
}

void HyperLink::leaveEvent(QEvent* event)
{
    setOver(false);
    QLabel::leaveEvent(event);
}

void HyperLink::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && onText(event->position().toPoint()))
        openUrl();
    QLabel::mouseReleaseEvent(event);
}

void HyperLink::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        openUrl();
        break;
    default:
        QLabel::keyPressEvent(event);
    }
}

bool HyperLink::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && !onText(static_cast<QHelpEvent*>(event)->pos())) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QLabel::event(event);
}

// A link reached with Tab shows that it has the focus, as a button would, around its text.
void HyperLink::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = textRect().adjusted(-1, -1, 1, 1).intersected(rect());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

// The desktop says only whether it opened the address; a refusal is reported as the
// missing-application case, which is what the user has to fix.
bool HyperLink::openUrl()
{
    const bool opened = UrlOpener::open(QUrl(url()));
    setVisited(opened);
    if (!opened) {
        QApplication::beep();
        reportError(NoApplicationResult);
    }
    return opened;
}

void HyperLink::reportError(int result)
{
    MessageBox::show(window(), QStringLiteral("Tunvale"),
                     QStringLiteral("Unable to open hyperlink:\n\n") + errorText(result),
                     QMessageBox::Warning);
}

QString HyperLink::errorText(int result)
{
    switch (result) {
    case 0:
        return QStringLiteral("The operating system is out\nof memory or resources.");
    case 2:
        return QStringLiteral("The specified file was not found.");
    case 3:
        return QStringLiteral("The specified path was not found.");
    case 5:
        return QStringLiteral("The operating system denied\naccess to the specified file.");
    case 8:
        return QStringLiteral("There was not enough memory to complete the operation.");
    case 11:
        return QStringLiteral("The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
    case 26:
        return QStringLiteral("A sharing violation occurred. ");
    case 27:
        return QStringLiteral("The filename association is\nincomplete or invalid.");
    case 28:
        return QStringLiteral(
            "The DDE transaction could not\nbe completed because the request timed out.");
    case 29:
        return QStringLiteral("The DDE transaction failed.");
    case 30:
        return QStringLiteral("The DDE transaction could not\nbe completed because other DDE "
                              "transactions\nwere being processed.");
    case 31:
        return QStringLiteral(
            "There is no application associated\nwith the given filename extension.");
    case 32:
        return QStringLiteral("The specified dynamic-link library was not found.");
    default:
        return QStringLiteral("Unknown Error (%1) occurred.").arg(result);
    }
}
