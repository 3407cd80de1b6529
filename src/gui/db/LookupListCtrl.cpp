#include "db/LookupListCtrl.h"

#include "app/AppSettings.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace
{

// Underlines the hot entry, as hot tracking shows it.
class HotEntryDelegate : public QStyledItemDelegate
{
public:
    explicit HotEntryDelegate(LookupListCtrl* list) : QStyledItemDelegate(list), m_list(list) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->font.setUnderline(index.row() == m_list->hotRow());
    }

private:
    const LookupListCtrl* m_list;
};

} // namespace

LookupListCtrl::LookupListCtrl(QWidget* parent) : QTableView(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    // Rows of one height let the view lay out 20 000 entries without measuring each.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    QHeaderView* header = horizontalHeader();
    header->setDefaultSectionSize(ColumnWidth);
    header->setStretchLastSection(false);
    header->setSectionsMovable(true);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    setItemDelegate(new HotEntryDelegate(this));
    connect(this, &QAbstractItemView::doubleClicked, this, &LookupListCtrl::editRequested);
}

void LookupListCtrl::applyListLook(const AppSettings& settings)
{
    setShowGrid(settings.read(SettingsTable::ShowGridlines) != 0);
    setSelectionBehavior(settings.read(SettingsTable::FullrowSelect) != 0
                             ? QAbstractItemView::SelectRows
                             : QAbstractItemView::SelectItems);
    m_hotTracking = settings.read(SettingsTable::HotTrack) != 0;
    setMouseTracking(m_hotTracking);
    setHotRow(-1);
}

int LookupListCtrl::selectedRow() const
{
    const QModelIndexList selected =
        selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void LookupListCtrl::selectRow(int row)
{
    if (!model() || row < 0 || row >= model()->rowCount()) {
        clearSelection();
        return;
    }
    const QModelIndex index = model()->index(row, 0);
    const QItemSelectionModel::SelectionFlags whole = selectionBehavior() == SelectRows
                                                          ? QItemSelectionModel::Rows
                                                          : QItemSelectionModel::NoUpdate;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | whole);
    scrollTo(index);
}

// The view would pass Enter on to the dialog's default button as well; here it edits only.
void LookupListCtrl::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        event->accept();
        emit editRequested();
        return;
    }
    QTableView::keyPressEvent(event);
}

void LookupListCtrl::mouseMoveEvent(QMouseEvent* event)
{
    QTableView::mouseMoveEvent(event);
    if (m_hotTracking)
        setHotRow(rowAt(event->position().toPoint().y()));
}

bool LookupListCtrl::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Leave)
        setHotRow(-1);
    return QTableView::viewportEvent(event);
}

void LookupListCtrl::setHotRow(int row)
{
    if (row == m_hotRow)
        return;
    m_hotRow = row;
    viewport()->update();
}
