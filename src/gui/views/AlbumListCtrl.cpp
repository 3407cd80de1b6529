#include "views/AlbumListCtrl.h"

#include "app/AppSettings.h"
#include "app/PrivateMessages.h"
#include "views/SortHeaderCtrl.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace
{

// Underlines the row under the mouse, as hot tracking shows it.
class HotRowDelegate : public QStyledItemDelegate
{
public:
    explicit HotRowDelegate(AlbumListCtrl* list) : QStyledItemDelegate(list), m_list(list) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.row() == m_list->hotRow())
            option->font.setUnderline(true);
    }

private:
    const AlbumListCtrl* m_list;
};

} // namespace

AlbumListCtrl::AlbumListCtrl(QWidget* parent) : QTableView(parent)
{
    setObjectName(QStringLiteral("AlbumListCtrl"));
    setAccessibleName(QStringLiteral("Albums"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setWordWrap(false);
    setAlternatingRowColors(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    // Rows of one height let the view lay out 100 000 rows without measuring each.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    auto* header = new SortHeaderCtrl(this);
    setHorizontalHeader(header);
    // Taking a header resets its arrow to the view's own sorting, which stays off: the view
    // sorts through its pane, and the arrow is shown all the same.
    header->setSortIndicatorShown(true);
    header->installEventFilter(this);
    setItemDelegate(new HotRowDelegate(this));
    connect(header, &QHeaderView::sectionClicked, this,
            [this](int section) { notifyParent(UWM_SORT_COLUMN, quintptr(section)); });
}

void AlbumListCtrl::applyListLook(const AppSettings& settings)
{
    setShowGrid(settings.read(SettingsTable::ShowGridlines) != 0);
    setSelectionBehavior(settings.read(SettingsTable::FullrowSelect) != 0
                             ? QAbstractItemView::SelectRows
                             : QAbstractItemView::SelectItems);
    m_hotTracking = settings.read(SettingsTable::HotTrack) != 0;
    setMouseTracking(m_hotTracking);
    setHotRow(-1);
}

void AlbumListCtrl::setHotRow(int row)
{
    if (row == m_hotRow)
        return;
    m_hotRow = row;
    viewport()->update();
}

void AlbumListCtrl::mouseMoveEvent(QMouseEvent* event)
{
    QTableView::mouseMoveEvent(event);
    if (m_hotTracking)
        setHotRow(rowAt(event->position().toPoint().y()));
}

bool AlbumListCtrl::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Leave)
        setHotRow(-1);
    return QTableView::viewportEvent(event);
}

SortHeaderCtrl* AlbumListCtrl::sortHeader() const
{
    return static_cast<SortHeaderCtrl*>(horizontalHeader());
}

int AlbumListCtrl::selectedRow() const
{
    if (model() && model()->columnCount() == 0)
        return m_rowWithoutColumns < model()->rowCount() ? m_rowWithoutColumns : -1;
    const QModelIndexList rows =
        selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    int first = -1;
    for (const QModelIndex& index : rows)
        if (first < 0 || index.row() < first)
            first = index.row();
    return first;
}

void AlbumListCtrl::selectRow(int row)
{
    const bool inRange = model() && row >= 0 && row < model()->rowCount();
    // A list without columns has no cell to select; the row waits for the first column.
    m_rowWithoutColumns = inRange ? row : -1;
    m_selectingByProgram = true;
    if (!inRange || model()->columnCount() == 0) {
        clearSelection();
    } else {
        const QModelIndex index = model()->index(row, 0);
        // Without full-row selection only the album's first cell is highlighted.
        const QItemSelectionModel::SelectionFlags whole = selectionBehavior() == SelectRows
                                                              ? QItemSelectionModel::Rows
                                                              : QItemSelectionModel::NoUpdate;
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | whole);
        scrollTo(index);
    }
    m_selectingByProgram = false;
}

// Whatever moves the selection (click, drag, any key), the album page follows it, so the page
// always shows the album Edit and Delete act on.
void AlbumListCtrl::selectionChanged(const QItemSelection& selected,
                                     const QItemSelection& deselected)
{
    QTableView::selectionChanged(selected, deselected);
    if (!m_selectingByProgram)
        notifyParent(UWM_SHOW_ALBUM);
}

void AlbumListCtrl::notifyParent(int message, quintptr wParam, qintptr lParam)
{
    SendPaneMessage(parentWidget(), message, wParam, lParam);
}

void AlbumListCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    notifyParent(UWM_EDIT_POST);
}

void AlbumListCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    notifyParent(UWM_LIST_CONTEXT_MENU, PackPoint(event->globalPos()), 0);
}

bool AlbumListCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == horizontalHeader() && event->type() == QEvent::ContextMenu) {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        m_headerClickPoint = mapFromGlobal(menuEvent->globalPos());
        notifyParent(UWM_LIST_CONTEXT_MENU, PackPoint(menuEvent->globalPos()), 1);
        return true;
    }
    return QTableView::eventFilter(watched, event);
}
