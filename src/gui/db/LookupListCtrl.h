#pragma once

#include "views/ReportListCtrl.h"

// The list editor's report list: three columns of fixed width under a movable header that does
// not sort. Enter and a double click on an entry ask for it to be edited; Ins asks for a new
// entry and Del for the chosen one to be deleted, as in the album and track lists.
class LookupListCtrl : public ReportListCtrl
{
    Q_OBJECT

public:
    static constexpr int ColumnWidth = 100;

    explicit LookupListCtrl(QWidget* parent);

    // The selected row, -1 for none.
    int selectedRow() const;
    // Selects `row`, or nothing when there is no such row.
    void selectRow(int row);

signals:
    void addRequested();
    void editRequested();
    void deleteRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
