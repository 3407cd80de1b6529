#pragma once

#include <QProxyStyle>

class AppSettings;
class QAction;
class QKeySequence;
class QMenu;
class QStyleOptionMenuItem;

// Draws the items of the program's menus: the menu bar's popups, the toolbar's drop-downs and
// every context menu, including items other code adds later. Items show their picture in a
// column of their own, the text with its underlined mnemonic on the left and the accelerator
// on the right, in a classic raised-and-sunken look or a flat one. Colours come from the
// desktop's palette, so the menus read as well on dark desktops as on light ones.
class GlintMenu : public QProxyStyle
{
    Q_OBJECT

public:
    enum Look { Classic = 0, Flat = 1 };
    static constexpr int PictureSize = 16;

    explicit GlintMenu(Look look);
    // Menus still drawn by this style go back to the application's.
    ~GlintMenu() override;

    // "MenuStyle" 1 is the flat look; anything else, or nothing, is classic.
    static Look lookFrom(const AppSettings& settings);
    // Gives every menu of the process this look from now on; `owner` keeps the style alive.
    static GlintMenu* install(const AppSettings& settings, QObject* owner);

    // Appends an item that shows `accelerator` on its right, for a command whose key the window
    // itself takes. The key is the item's shortcut rather than part of its text, so a screen
    // reader says the item's name and its key apart; it acts only inside the open menu.
    static QAction* addItem(QMenu* menu, const QString& label, const QKeySequence& accelerator);

    Look look() const { return m_look; }
    int padding() const { return m_look == Flat ? 7 : 4; }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;

    // Moves `colour` the fraction `share` of the way towards `target`.
    static QColor blend(const QColor& colour, const QColor& target, double share);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int menuHeight(const QFontMetrics& metrics) const;
    void drawClassicItem(const QStyleOptionMenuItem& item, QPainter* painter) const;
    void drawFlatItem(const QStyleOptionMenuItem& item, QPainter* painter) const;
    void drawPicture(const QStyleOptionMenuItem& item, QPainter* painter, const QRect& square,
                     bool shadow) const;
    void drawCheckMark(const QStyleOptionMenuItem& item, QPainter* painter,
                       const QRect& square) const;
    void drawTexts(const QStyleOptionMenuItem& item, QPainter* painter, const QColor& colour,
                   bool embossed) const;
    void drawSubmenuArrow(const QStyleOptionMenuItem& item, QPainter* painter) const;

    Look m_look;
};
