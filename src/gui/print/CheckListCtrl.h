#pragma once

#include "print/PrintColumns.h"

#include <QTreeWidget>

// The print dialog's column list: one row per album column with a check box, one selected row
// at a time. Space or a click on the box ticks it.
class CheckListCtrl : public QTreeWidget
{
    Q_OBJECT

public:
    explicit CheckListCtrl(QWidget* parent = nullptr);

    void setRows(const QVector<PrintColumns::Row>& rows);
    // Moves row `from` to `to`, keeping its check box, and selects it there.
    void moveRow(int from, int to);
    int selectedRow() const;
    void selectRow(int row);

signals:
    void checkToggled(int row, bool checked);
    // The selected row may be another one now.
    void selectionMayHaveChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void itemToggled(QTreeWidgetItem* item, int column);

    bool m_filling = false;
};
