#include "ui/FlatButton.h"

#include <QAbstractButton>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace
{

// Far enough inside the edge to stay clear of it, close enough to frame the caption.
constexpr int FocusInset = 3;

} // namespace

FlatButton::FlatButton(QAbstractButton* button) : QObject(button), m_button(button)
{
    // Moves over the button are needed to tell when the pointer comes and goes while pressed.
    button->setMouseTracking(true);
    button->setAttribute(Qt::WA_Hover, true);
    button->installEventFilter(this);
    button->update();
}

bool FlatButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_button)
        return false;
    switch (event->type()) {
    case QEvent::Paint:
        paint();
        return true;
    case QEvent::Enter:
    case QEvent::HoverEnter:
        setOver(true);
        break;
    case QEvent::Leave:
    case QEvent::HoverLeave:
    case QEvent::FocusOut:
        setOver(false);
        break;
    case QEvent::MouseMove:
        // While pressed the button keeps the mouse; only the position tells it has left.
        setOver(m_button->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint()));
        break;
    default:
        break;
    }
    return false;
}

void FlatButton::setOver(bool over)
{
    if (m_over == over)
        return;
    m_over = over;
    m_button->update();
}

// Widgets paint into their window's back buffer, which reaches the screen in one piece: the
// face never flickers.
void FlatButton::paint()
{
    QPainter painter(m_button);
    const bool pressed = m_button->isDown() || m_button->isChecked();
    painter.fillRect(m_button->rect(), m_button->palette().color(QPalette::Button));
    drawEdge(painter, pressed);
    drawCaption(painter, pressed);
    if (m_button->hasFocus())
        drawFocus(painter);
}

void FlatButton::drawEdge(QPainter& painter, bool sunken) const
{
    const QPalette& palette = m_button->palette();
    const QColor topLeft = palette.color(sunken ? QPalette::Dark : QPalette::Light);
    const QColor bottomRight = palette.color(sunken ? QPalette::Light : QPalette::Dark);
    const QRect r = m_button->rect();
    painter.setPen(topLeft);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

// The flat face has no default frame, so without this a keyboard user could not see where
// Space will act: a dotted line just inside the edge, in the caption's colour.
void FlatButton::drawFocus(QPainter& painter) const
{
    QPen pen(m_button->palette().color(QPalette::ButtonText), 1, Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(
        m_button->rect().adjusted(FocusInset, FocusInset, -FocusInset - 1, -FocusInset - 1));
}

void FlatButton::drawCaption(QPainter& painter, bool pressed) const
{
    const QPalette& palette = m_button->palette();
    const int flags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    QRect area = m_button->rect();
    if (pressed)
        area.translate(1, 1);
    painter.setFont(m_button->font());
    const QString caption = m_button->text();
    if (!m_button->isEnabled()) {
        // Embossed: a light copy one pixel down and right under the shadow-coloured caption.
        painter.setPen(palette.color(QPalette::Light));
        painter.drawText(area.translated(1, 1), flags, caption);
        painter.setPen(palette.color(QPalette::Dark));
        painter.drawText(area, flags, caption);
        return;
    }
    painter.setPen((m_over || pressed) ? HotTextColour : palette.color(QPalette::ButtonText));
    painter.drawText(area, flags, caption);
}

void MakeButtonFlat(QWidget* dialog, QAbstractButton* button)
{
    if (!button || !dialog || !dialog->isAncestorOf(button))
        return;
    if (button->findChild<FlatButton*>(QString(), Qt::FindDirectChildrenOnly))
        return; // made flat already
    new FlatButton(button);
}
