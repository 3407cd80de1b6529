#pragma once

#include <QTableView>

class AppSettings;

// A report list of whole rows: one selection at most, no editing, rows of one height, and grid
// lines, full-row selection and hot tracking (the row under the mouse underlined) as the
// General settings ask.
class ReportListCtrl : public QTableView
{
    Q_OBJECT

public:
    explicit ReportListCtrl(QWidget* parent);

    void applyListLook(const AppSettings& settings);
    // The row under the mouse while hot tracking is on, else -1.
    int hotRow() const;

protected:
    // Makes `row` current and selected (its first cell only without full-row selection) and
    // scrolls it into view; the row must exist.
    void selectExistingRow(int row);
};
