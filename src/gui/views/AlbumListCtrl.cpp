#include "views/AlbumListCtrl.h"

#include "app/PrivateMessages.h"
#include "views/SortHeaderCtrl.h"

#include <QContextMenuEvent>
#include <QMouseEvent>

AlbumListCtrl::AlbumListCtrl(QWidget* parent) : ReportListCtrl(parent)
{
    setObjectName(QStringLiteral("AlbumListCtrl"));
    setAccessibleName(QStringLiteral("Albums"));
    auto* header = new SortHeaderCtrl(this);
    setHorizontalHeader(header);
    // Taking a header resets its arrow to the view's own sorting, which stays off: the view
    // sorts through its pane, and the arrow is shown all the same.
    header->setSortIndicatorShown(true);
    header->installEventFilter(this);
    connect(header, &QHeaderView::sectionClicked, this,
            [this](int section) { notifyParent(UWM_SORT_COLUMN, quintptr(section)); });
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
        selectExistingRow(row);
    }
    m_selectingByProgram = false;
}

// Whatever moves the selection (click, drag, any key), the album page follows it, so the page
// always shows the album Edit and Delete act on.
void AlbumListCtrl::selectionChanged(const QItemSelection& selected,
                                     const QItemSelection& deselected)
{
    ReportListCtrl::selectionChanged(selected, deselected);
    if (!m_selectingByProgram)
        notifyParent(UWM_SHOW_ALBUM);
}

void AlbumListCtrl::notifyParent(int message, quintptr wParam, qintptr lParam)
{
    SendPaneMessage(parentWidget(), message, wParam, lParam);
}

void AlbumListCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    ReportListCtrl::mouseDoubleClickEvent(event);
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
    return ReportListCtrl::eventFilter(watched, event);
}
