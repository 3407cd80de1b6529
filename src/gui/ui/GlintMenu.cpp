#include "ui/GlintMenu.h"

#include "app/AppSettings.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionMenuItem>
#include <qdrawutil.h>

namespace
{

constexpr int ArrowWidth = 12;
constexpr int TextGap = 24;

// "Lighter" and "darker" are taken towards the palette's own background and text colours, so
// a dark desktop gets dark highlights under its light text rather than white ones.
QColor lighter(const QPalette& palette, const QColor& colour, double share)
{
    return GlintMenu::blend(colour, palette.color(QPalette::Base), share);
}

QColor darker(const QPalette& palette, const QColor& colour, double share)
{
    return GlintMenu::blend(colour, palette.color(QPalette::Text), share);
}

QString labelOf(const QString& text)
{
    return text.section(QLatin1Char('\t'), 0, 0);
}

QString acceleratorOf(const QString& text)
{
    const int tab = text.lastIndexOf(QLatin1Char('\t'));
    return tab < 0 ? QString() : text.mid(tab + 1);
}

// The default item (the one a drop-down button's own click runs) stands out in bold, as the
// desktop draws default items.
QFont itemFont(const QStyleOptionMenuItem& item)
{
    QFont font = item.font;
    if (item.menuItemType == QStyleOptionMenuItem::DefaultItem)
        font.setBold(true);
    return font;
}

} // namespace

GlintMenu::GlintMenu(Look look) : m_look(look) {}

GlintMenu::~GlintMenu()
{
    for (QWidget* widget : QApplication::allWidgets())
        if (widget->style() == this)
            widget->setStyle(nullptr);
}

QColor GlintMenu::blend(const QColor& colour, const QColor& target, double share)
{
    const auto channel = [share](int from, int to) { return from + int((to - from) * share); };
    return QColor(channel(colour.red(), target.red()), channel(colour.green(), target.green()),
                  channel(colour.blue(), target.blue()));
}

QAction* GlintMenu::addItem(QMenu* menu, const QString& label, const QKeySequence& accelerator)
{
    QAction* item = menu->addAction(label);
    item->setShortcut(accelerator);
    item->setShortcutContext(Qt::WidgetShortcut);
    item->setShortcutVisibleInContextMenu(true);
    return item;
}

GlintMenu::Look GlintMenu::lookFrom(const AppSettings& settings)
{
    // Without desktop themes only the reading with default 0 counts.
    return settings.read(SettingsTable::MenuStyleFirstSwitch) == 1 ? Flat : Classic;
}

GlintMenu* GlintMenu::install(const AppSettings& settings, QObject* owner)
{
    auto* style = new GlintMenu(lookFrom(settings));
    style->setParent(owner);
    qApp->installEventFilter(style);
    return style;
}

// A menu is polished once, before it is first measured: the moment to give it this style,
// whoever made it.
bool GlintMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Polish)
        if (auto* menu = qobject_cast<QMenu*>(watched))
            if (menu->style() != this)
                menu->setStyle(this);
    return false;
}

int GlintMenu::menuHeight(const QFontMetrics& metrics) const
{
    return metrics.height() + 6;
}

int GlintMenu::pixelMetric(PixelMetric metric, const QStyleOption* option,
                           const QWidget* widget) const
{
    switch (metric) {
    case PM_SmallIconSize:
        if (qobject_cast<const QMenu*>(widget))
            return PictureSize;
        break;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
        return 1;
    case PM_MenuPanelWidth:
        return 1;
    default:
        break;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize GlintMenu::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                  const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || !item)
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    const QFontMetrics metrics(itemFont(*item));
    if (item->menuItemType == QStyleOptionMenuItem::Separator)
        // Any width: the menu stretches every item to its own; an empty size would hide it.
        return QSize(1, m_look == Flat
                            ? 3
                            : std::max((PictureSize + padding()) / 2, menuHeight(metrics) / 2));
    const int textWidth = metrics.horizontalAdvance(labelOf(item->text)) + TextGap +
                          item->reservedShortcutWidth + ArrowWidth;
    const int pictureColumns = m_look == Flat ? PictureSize + padding() + 8 : 2 * PictureSize + 1;
    return QSize(textWidth + pictureColumns,
                 std::max(menuHeight(metrics), PictureSize + padding()));
}

void GlintMenu::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element != CE_MenuItem || !item) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    painter->save();
    if (m_look == Flat)
        drawFlatItem(*item, painter);
    else
        drawClassicItem(*item, painter);
    drawSubmenuArrow(*item, painter);
    painter->restore();
}

void GlintMenu::drawClassicItem(const QStyleOptionMenuItem& item, QPainter* painter) const
{
    const QPalette& palette = item.palette;
    const QRect r = item.rect;
    const QColor background = palette.color(QPalette::Window);
    painter->fillRect(r, background);
    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        const int middle = r.center().y();
        qDrawShadeLine(painter, r.left(), middle, r.right(), middle, palette, true, 1, 0);
        return;
    }
    const bool enabled = item.state & State_Enabled;
    const bool selected = (item.state & State_Selected) && enabled;
    const bool checked = item.checked;
    const bool hasPicture = !item.icon.isNull();
    const QRect square(r.left() + 1, r.top() + (r.height() - PictureSize - 4) / 2, PictureSize + 3,
                       PictureSize + 4);
    if (selected) {
        const int start = hasPicture || checked ? PictureSize + 5 : 0;
        painter->fillRect(r.adjusted(start, 0, 0, 0), palette.color(QPalette::Highlight));
    }
    if (hasPicture) {
        if (checked && !selected)
            painter->fillRect(square, lighter(palette, background, 0.6));
        if (checked || selected)
            qDrawShadePanel(painter, square, palette, checked, 1);
        drawPicture(item, painter, square, false);
    } else if (checked) {
        drawCheckMark(item, painter, square);
    }
    if (!enabled) {
        drawTexts(item, painter, palette.color(QPalette::Disabled, QPalette::WindowText), true);
        return;
    }
    drawTexts(item, painter,
              palette.color(selected ? QPalette::HighlightedText : QPalette::WindowText), false);
}

void GlintMenu::drawFlatItem(const QStyleOptionMenuItem& item, QPainter* painter) const
{
    const QPalette& palette = item.palette;
    const QRect r = item.rect;
    const QColor highlight = palette.color(QPalette::Highlight);
    const QRect strip(r.left(), r.top(), PictureSize + padding(), r.height());
    painter->fillRect(r, darker(palette, palette.color(QPalette::Window), 0.02));
    painter->fillRect(strip, lighter(palette, palette.color(QPalette::Button), 0.25));
    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        const int middle = r.center().y();
        qDrawShadeLine(painter, strip.right() + 4, middle, r.right(), middle, palette, true, 1, 0);
        return;
    }
    const bool enabled = item.state & State_Enabled;
    const bool selected = (item.state & State_Selected) && enabled;
    const bool checked = item.checked;
    if (selected) {
        painter->fillRect(r, lighter(palette, highlight, 0.85));
        painter->setPen(highlight);
        painter->drawRect(r.adjusted(0, 0, -1, -1));
    }
    const QRect square(r.left() + 1, r.top() + (r.height() - PictureSize - 4) / 2, PictureSize + 4,
                       PictureSize + 4);
    if (checked) {
        painter->fillRect(square, lighter(palette, highlight, selected ? 0.55 : 0.85));
        painter->setPen(highlight);
        painter->drawRect(square.adjusted(0, 0, -1, -1));
    }
    if (!item.icon.isNull())
        drawPicture(item, painter, square, selected && !checked);
    else if (checked)
        drawCheckMark(item, painter, square);
    drawTexts(item, painter,
              palette.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::WindowText),
              false);
}

// A selected item's picture stands raised over its own shadow.
void GlintMenu::drawPicture(const QStyleOptionMenuItem& item, QPainter* painter,
                            const QRect& square, bool shadow) const
{
    const bool enabled = item.state & State_Enabled;
    const QIcon::Mode mode = enabled ? QIcon::Normal : QIcon::Disabled;
    const QPoint at(square.left() + 2, square.top() + (square.height() - PictureSize) / 2);
    const QPixmap picture = item.icon.pixmap(PictureSize, PictureSize, mode);
    if (shadow) {
        const QPixmap shade = item.icon.pixmap(PictureSize, PictureSize, QIcon::Disabled);
        painter->drawPixmap(at + QPoint(1, 1), shade);
        painter->drawPixmap(at - QPoint(1, 1), picture);
        return;
    }
    painter->drawPixmap(at, picture);
}

void GlintMenu::drawCheckMark(const QStyleOptionMenuItem& item, QPainter* painter,
                              const QRect& square) const
{
    const bool selected = (item.state & State_Selected) && (item.state & State_Enabled);
    QPen pen(item.palette.color(selected && m_look == Classic ? QPalette::HighlightedText
                                                              : QPalette::WindowText),
             2);
    painter->setPen(pen);
    painter->setRenderHint(QPainter::Antialiasing, false);
    const QPoint c = square.center();
    painter->drawPolyline(QPolygon({c + QPoint(-4, 0), c + QPoint(-1, 3), c + QPoint(4, -3)}));
}

void GlintMenu::drawTexts(const QStyleOptionMenuItem& item, QPainter* painter, const QColor& colour,
                          bool embossed) const
{
    const QRect r = item.rect;
    const int left = PictureSize + 9;
    QRect text(r.left() + left, r.top(), r.width() - left - ArrowWidth, r.height());
    const int flags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    painter->setFont(itemFont(item));
    const auto draw = [&](const QRect& area, const QColor& pen) {
        painter->setPen(pen);
        painter->drawText(area, flags | Qt::AlignLeft, labelOf(item.text));
        painter->drawText(area, flags | Qt::AlignRight, acceleratorOf(item.text));
    };
    if (embossed)
        draw(text.translated(1, 1), item.palette.color(QPalette::Light));
    draw(text, colour);
}

void GlintMenu::drawSubmenuArrow(const QStyleOptionMenuItem& item, QPainter* painter) const
{
    if (item.menuItemType != QStyleOptionMenuItem::SubMenu)
        return;
    QStyleOptionMenuItem arrow = item;
    arrow.rect =
        QRect(item.rect.right() - ArrowWidth, item.rect.top(), ArrowWidth - 2, item.rect.height());
    const bool selected = (item.state & State_Selected) && m_look == Classic;
    arrow.palette.setColor(
        QPalette::ButtonText,
        item.palette.color(selected ? QPalette::HighlightedText : QPalette::WindowText));
    QProxyStyle::drawPrimitive(PE_IndicatorArrowRight, &arrow, painter);
}
