#include "print/CheckListCtrl.h"

#include <QHeaderView>
#include <QSignalBlocker>

namespace
{

Qt::CheckState checkState(bool checked)
{
    return checked ? Qt::Checked : Qt::Unchecked;
}

} // namespace

CheckListCtrl::CheckListCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderLabels({QStringLiteral("Columns")});
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAllColumnsShowFocus(true);
    connect(this, &QTreeWidget::itemChanged, this, &CheckListCtrl::itemToggled);
    connect(this, &QTreeWidget::currentItemChanged, this, &CheckListCtrl::selectionMayHaveChanged);
}

void CheckListCtrl::setRows(const QVector<PrintColumns::Row>& rows)
{
    m_filling = true;
    clear();
    for (const PrintColumns::Row& row : rows) {
        auto* item = new QTreeWidgetItem(this, {row.column.caption});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, checkState(row.checked));
    }
    m_filling = false;
}

void CheckListCtrl::moveRow(int from, int to)
{
    m_filling = true;
    QTreeWidgetItem* item = takeTopLevelItem(from);
    insertTopLevelItem(to, item);
    m_filling = false;
    selectRow(to);
    scrollToItem(item);
}

int CheckListCtrl::selectedRow() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : indexOfTopLevelItem(selected.first());
}

void CheckListCtrl::selectRow(int row)
{
    if (QTreeWidgetItem* item = topLevelItem(row)) {
        setCurrentItem(item);
        item->setSelected(true);
    }
}

void CheckListCtrl::itemToggled(QTreeWidgetItem* item, int column)
{
    if (m_filling || column != 0)
        return;
    const int row = indexOfTopLevelItem(item);
    // Ticking a row selects it, so its width shows and Set applies to it.
    if (selectedRow() != row)
        selectRow(row);
    emit checkToggled(row, item->checkState(0) == Qt::Checked);
}

void CheckListCtrl::resizeEvent(QResizeEvent* event)
{
    QTreeWidget::resizeEvent(event);
    // The only column fills the list, less room for the scroll bar.
    setColumnWidth(0, qMax(0, viewport()->width() - 5));
}
