#pragma once

#include <QTableView>

class AppSettings;

// The list editor's report list: single selection, a movable header that does not sort, and
// grid lines, full-row selection and hot tracking as the General settings ask. Enter and a
// double click on an entry ask for it to be edited.
class LookupListCtrl : public QTableView
{
    Q_OBJECT

public:
    static constexpr int ColumnWidth = 100;

    explicit LookupListCtrl(QWidget* parent);

    void applyListLook(const AppSettings& settings);
    // The selected row, -1 for none.
    int selectedRow() const;
    void selectRow(int row);
    // The row under the mouse while hot tracking is on, else -1.
    int hotRow() const { return m_hotRow; }

signals:
    void editRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void setHotRow(int row);

    bool m_hotTracking = false;
    int m_hotRow = -1;
};
