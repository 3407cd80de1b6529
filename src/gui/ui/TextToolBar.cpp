#include "ui/TextToolBar.h"

#include "app/AppSettings.h"

#include <QActionEvent>
#include <QContextMenuEvent>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QToolButton>

namespace
{

// The labels of selective text: button index and text.
const struct {
    int index;
    const char* text;
} SelectiveLabels[] = {{0, "New"}, {6, "Search"}};

// Resting pictures are a little muted; under the mouse they show their full colour.
QPixmap muted(const QPixmap& picture)
{
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            const int grey = qGray(pixel);
            line[x] = qRgba((qRed(pixel) + grey) / 2, (qGreen(pixel) + grey) / 2,
                            (qBlue(pixel) + grey) / 2, qAlpha(pixel));
        }
    }
    return QPixmap::fromImage(image);
}

} // namespace

TextToolBar::TextToolBar(AppSettings& settings, QMainWindow* frame)
    : QToolBar(frame), m_settings(settings), m_frame(frame)
{
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void TextToolBar::actionEvent(QActionEvent* event)
{
    QToolBar::actionEvent(event);
    if (event->type() == QEvent::ActionAdded && !event->action()->isSeparator())
        giveHotImage(event->action());
}

void TextToolBar::giveHotImage(QAction* action)
{
    const QIcon original = action->icon();
    const QPixmap picture = original.pixmap(iconSize());
    if (picture.isNull())
        return;
    QIcon both;
    both.addPixmap(muted(picture), QIcon::Normal);
    both.addPixmap(picture, QIcon::Active);
    both.addPixmap(original.pixmap(iconSize(), QIcon::Disabled), QIcon::Disabled);
    action->setIcon(both);
}

void TextToolBar::setButtonText(int index, const QString& text, int newMode)
{
    m_textMode = newMode;
    QAction* action = actions().value(index);
    if (!action || action->isSeparator())
        return;
    // The label is the action's icon text: a button takes it again whenever its command
    // changes, where a text set on the button itself would be lost.
    if (!text.isEmpty())
        action->setIconText(text);
    if (auto* button = qobject_cast<QToolButton*>(widgetForAction(action)))
        button->setToolButtonStyle(text.isEmpty() ? Qt::ToolButtonIconOnly
                                                  : Qt::ToolButtonTextBesideIcon);
}

void TextToolBar::showNoText()
{
    if (m_textMode != SelectiveText)
        return;
    for (int index = 0; index < actions().size(); ++index)
        setButtonText(index, QString(), NoText);
    update();
}

void TextToolBar::showSelectiveText()
{
    if (m_textMode != NoText)
        return;
    for (const auto& label : SelectiveLabels)
        setButtonText(label.index, QLatin1String(label.text), SelectiveText);
    update();
}

bool TextToolBar::addDropDownButton(QAction* action, QMenu* menu)
{
    auto* button = qobject_cast<QToolButton*>(widgetForAction(action));
    if (!button || m_dropDowns.contains(action))
        return false;
    m_dropDowns.insert(action, menu);
    // The first entry is the button's own command, shown first as the default.
    if (!menu->actions().isEmpty())
        menu->setDefaultAction(menu->actions().first());
    button->setMenu(menu);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    return true;
}

QMenu* TextToolBar::createTextMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    QAction* none = menu->addAction(QStringLiteral("&No Text"), this, &TextToolBar::showNoText);
    QAction* selective = menu->addAction(QStringLiteral("&Selective Text on Right"), this,
                                         &TextToolBar::showSelectiveText);
    none->setData(NoTextCommand);
    selective->setData(SelectiveTextCommand);
    none->setCheckable(true);
    selective->setCheckable(true);
    none->setChecked(m_textMode == NoText);
    selective->setChecked(m_textMode != NoText);
    return menu;
}

void TextToolBar::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createTextMenu(this);
    menu->exec(event->globalPos());
    delete menu;
}

void TextToolBar::saveState()
{
    m_settings.write(SettingsTable::TbText, m_textMode);
    m_settings.writeToolbarState(m_frame->saveState());
}

// A state another version wrote, or one damaged by hand, is refused by the window as a whole;
// the toolbar then stays where the frame put it.
void TextToolBar::restoreState()
{
    const QByteArray state = m_settings.readToolbarState();
    if (!state.isEmpty())
        m_frame->restoreState(state);
}
