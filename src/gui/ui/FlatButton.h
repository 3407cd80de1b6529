#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QObject>
#include <QPointer>

class QPainter;
class QWidget;

// The flat look of a dialog's push buttons: a flat face with a thin raised edge that sinks
// while pressed, and a caption that turns blue while the mouse is over the button or while it
// is pressed. A button with the keyboard focus shows a dotted line inside its edge. Attached to an
// existing button, it only paints and follows the mouse: the button clicks, takes Enter as the
// default button and answers its mnemonic as before.
class FlatButton : public QObject
{
    Q_OBJECT

public:
    static inline const QColor HotTextColour{0, 0, 255};

    // Takes over the painting of `button`; lives as long as the button.
    explicit FlatButton(QAbstractButton* button);

    bool isOver() const { return m_over; }
    // The button whose look this is.
    QAbstractButton* button() const { return m_button; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setOver(bool over);
    void paint();
    void drawEdge(QPainter& painter, bool sunken) const;
    void drawCaption(QPainter& painter, bool pressed) const;
    void drawFocus(QPainter& painter) const;

    QPointer<QAbstractButton> m_button;
    bool m_over = false;
};

// Gives `button` of `dialog` the flat look (every platform: there is no themed exception).
void MakeButtonFlat(QWidget* dialog, QAbstractButton* button);
