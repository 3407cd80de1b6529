#include "ui/ListLook.h"

#include "app/AppSettings.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTableView>
#include <QTreeView>

ListLook::ListLook(QAbstractItemView* view) : QStyledItemDelegate(view), m_view(view)
{
    view->viewport()->installEventFilter(this);
}

ListLook* ListLook::of(const QAbstractItemView* view)
{
    return view ? qobject_cast<ListLook*>(view->itemDelegate()) : nullptr;
}

ListLook* ListLook::apply(QAbstractItemView* view, const AppSettings& settings, Grid grid)
{
    ListLook* look = of(view);
    if (!look) {
        look = new ListLook(view);
        view->setItemDelegate(look);
    }
    const bool gridLines =
        grid == Grid::AsSettingsSay && settings.read(SettingsTable::ShowGridlines) != 0;
    const bool fullRow = settings.read(SettingsTable::FullrowSelect) != 0;
    // A table draws its own grid; other views get theirs from the look.
    if (auto* table = qobject_cast<QTableView*>(view))
        table->setShowGrid(gridLines);
    else
        look->m_grid = gridLines;
    view->setSelectionBehavior(fullRow ? QAbstractItemView::SelectRows
                                       : QAbstractItemView::SelectItems);
    if (auto* tree = qobject_cast<QTreeView*>(view))
        tree->setAllColumnsShowFocus(fullRow);
    look->m_hotTracking = settings.read(SettingsTable::HotTrack) != 0;
    if (look->m_hotTracking)
        view->viewport()->setMouseTracking(true);
    look->setHotRow(-1);
    view->viewport()->update();
    return look;
}

void ListLook::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.row() == m_hotRow && !index.parent().isValid())
        option->font.setUnderline(true);
}

void ListLook::paint(QPainter* painter, const QStyleOptionViewItem& option,
                     const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    if (!m_grid)
        return;
    // The right and bottom edges of every cell; together they make the grid a table draws.
    const QColor colour = QColor::fromRgba(
        quint32(m_view->style()->styleHint(QStyle::SH_Table_GridLineColor, &option, m_view)));
    painter->save();
    painter->setPen(colour);
    const QRect& cell = option.rect;
    painter->drawLine(cell.bottomLeft(), cell.bottomRight());
    painter->drawLine(cell.topRight(), cell.bottomRight());
    painter->restore();
}

void ListLook::setHotRow(int row)
{
    if (row == m_hotRow)
        return;
    m_hotRow = row;
    m_view->viewport()->update();
}

bool ListLook::eventFilter(QObject* watched, QEvent* event)
{
    // The delegate's own filter is for item editors, which these lists never open.
    if (watched != m_view->viewport())
        return QStyledItemDelegate::eventFilter(watched, event);
    if (event->type() == QEvent::MouseMove && m_hotTracking) {
        const QModelIndex under =
            m_view->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        setHotRow(under.isValid() && !under.parent().isValid() ? under.row() : -1);
    } else if (event->type() == QEvent::Leave) {
        setHotRow(-1);
    }
    return false;
}
