#include "db/LookupListCtrl.h"

#include <QHeaderView>
#include <QKeyEvent>

LookupListCtrl::LookupListCtrl(QWidget* parent) : ReportListCtrl(parent)
{
    setTabKeyNavigation(false);
    QHeaderView* header = horizontalHeader();
    header->setDefaultSectionSize(ColumnWidth);
    header->setStretchLastSection(false);
    header->setSectionsMovable(true);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    connect(this, &QAbstractItemView::doubleClicked, this, &LookupListCtrl::editRequested);
}

int LookupListCtrl::selectedRow() const
{
    const QModelIndexList selected =
        selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void LookupListCtrl::selectRow(int row)
{
    if (model() && row >= 0 && row < model()->rowCount())
        selectExistingRow(row);
    else
        clearSelection();
}

// The view would pass Enter on to the dialog's default button as well; here it edits only.
void LookupListCtrl::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            emit editRequested();
            return;
        case Qt::Key_Insert:
            event->accept();
            emit addRequested();
            return;
        case Qt::Key_Delete:
            event->accept();
            emit deleteRequested();
            return;
        default:
            break;
        }
    }
    ReportListCtrl::keyPressEvent(event);
}
