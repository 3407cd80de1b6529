#pragma once

#include <QColor>
#include <QLabel>

// A line of text that behaves like a web link: link, visited and hover colours, an underline,
// a pointing hand and its address as tooltip, all over the text itself. A click, or Enter or Space
// while it has the keyboard focus, opens the address through the desktop; a failure beeps and says
// why.
class HyperLink : public QLabel
{
    Q_OBJECT

public:
    static inline const QColor LinkColour{0, 0, 238};
    static inline const QColor VisitedColour{85, 26, 139};
    static inline const QColor HoverColour{255, 0, 0};
    // The result number reported when the desktop cannot open an address.
    static constexpr int NoApplicationResult = 31;

    explicit HyperLink(const QString& text = QString(), QWidget* parent = nullptr);

    // An empty address opens the link's own text; a link without text shows its address.
    void setUrl(const QString& url);
    QString url() const;
    void setVisited(bool visited);
    bool isVisited() const { return m_visited; }
    void setUnderline(bool underline);
    bool isOver() const { return m_over; }
    QColor currentColour() const;
    // Where the text is drawn: the part of the control that acts as the link.
    QRect textRect() const;

    // Opens the address and reports a failure; true when it was opened.
    bool openUrl();
    // The message shown for a failed open with result number `result`.
    static QString errorText(int result);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool onText(const QPoint& point) const;
    void setOver(bool over);
    void applyColour();
    void reportError(int result);

    QString m_url;
    bool m_visited = false;
    bool m_over = false;
};
