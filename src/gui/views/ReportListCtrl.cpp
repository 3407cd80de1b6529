#include "views/ReportListCtrl.h"

#include "app/AppSettings.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace
{

// Underlines the row under the mouse, as hot tracking shows it.
class HotRowDelegate : public QStyledItemDelegate
{
public:
    explicit HotRowDelegate(ReportListCtrl* list) : QStyledItemDelegate(list), m_list(list) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.row() == m_list->hotRow())
            option->font.setUnderline(true);
    }

private:
    const ReportListCtrl* m_list;
};

} // namespace

ReportListCtrl::ReportListCtrl(QWidget* parent) : QTableView(parent)
{
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
    setItemDelegate(new HotRowDelegate(this));
}

void ReportListCtrl::applyListLook(const AppSettings& settings)
{
    setShowGrid(settings.read(SettingsTable::ShowGridlines) != 0);
    setSelectionBehavior(settings.read(SettingsTable::FullrowSelect) != 0
                             ? QAbstractItemView::SelectRows
                             : QAbstractItemView::SelectItems);
    m_hotTracking = settings.read(SettingsTable::HotTrack) != 0;
    setMouseTracking(m_hotTracking);
    setHotRow(-1);
}

void ReportListCtrl::selectExistingRow(int row)
{
    const QModelIndex index = model()->index(row, 0);
    const QItemSelectionModel::SelectionFlags whole = selectionBehavior() == SelectRows
                                                          ? QItemSelectionModel::Rows
                                                          : QItemSelectionModel::NoUpdate;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | whole);
    scrollTo(index);
}

void ReportListCtrl::setHotRow(int row)
{
    if (row == m_hotRow)
        return;
    m_hotRow = row;
    viewport()->update();
}

void ReportListCtrl::mouseMoveEvent(QMouseEvent* event)
{
    QTableView::mouseMoveEvent(event);
    if (m_hotTracking)
        setHotRow(rowAt(event->position().toPoint().y()));
}

bool ReportListCtrl::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Leave)
        setHotRow(-1);
    return QTableView::viewportEvent(event);
}
