#include "views/AlbumListCtrl.h"

#include "app/AppSettings.h"
#include "app/PrivateMessages.h"
#include "views/SortHeaderCtrl.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

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
    connect(header, &QHeaderView::sectionClicked, this,
            [this](int section) { notifyParent(UWM_SORT_COLUMN, quintptr(section)); });
}

void AlbumListCtrl::applyListLook(const AppSettings& settings)
{
    setShowGrid(settings.read(SettingsTable::ShowGridlines) != 0);
    setSelectionBehavior(settings.read(SettingsTable::FullrowSelect) != 0
                             ? QAbstractItemView::SelectRows
                             : QAbstractItemView::SelectItems);
    const bool hotTrack = settings.read(SettingsTable::HotTrack) != 0;
    setMouseTracking(hotTrack);
    setStyleSheet(hotTrack
                      ? QStringLiteral("QTableView::item:hover { text-decoration: underline; }")
                      : QString());
}

SortHeaderCtrl* AlbumListCtrl::sortHeader() const
{
    return static_cast<SortHeaderCtrl*>(horizontalHeader());
}

int AlbumListCtrl::selectedRow() const
{
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
    if (!model() || row < 0 || row >= model()->rowCount()) {
        clearSelection();
        return;
    }
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
}

void AlbumListCtrl::notifyParent(int message, quintptr wParam, qintptr lParam)
{
    SendPaneMessage(parentWidget(), message, wParam, lParam);
}

void AlbumListCtrl::keyReleaseEvent(QKeyEvent* event)
{
    QTableView::keyReleaseEvent(event);
    // Only the arrow keys follow with the page; paging keys move the selection alone.
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
        notifyParent(UWM_SHOW_ALBUM);
}

void AlbumListCtrl::mousePressEvent(QMouseEvent* event)
{
    QTableView::mousePressEvent(event);
    const bool onRow = indexAt(event->position().toPoint()).isValid();
    if (onRow && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton))
        notifyParent(UWM_SHOW_ALBUM);
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
