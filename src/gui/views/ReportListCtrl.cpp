#include "views/ReportListCtrl.h"

#include "ui/ListLook.h"

#include <QHeaderView>

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
}

void ReportListCtrl::applyListLook(const AppSettings& settings)
{
    ListLook::apply(this, settings);
}

int ReportListCtrl::hotRow() const
{
    const ListLook* look = ListLook::of(this);
    return look ? look->hotRow() : -1;
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
