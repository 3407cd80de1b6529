#pragma once

#include <QHeaderView>
#include <QTableView>

class AppSettings;
class SortHeaderCtrl;

// The album list control: a report list that tells its parent view about selection changes,
// double clicks, header clicks and context menus through private messages.
class AlbumListCtrl : public QTableView
{
    Q_OBJECT

public:
    explicit AlbumListCtrl(QWidget* parent);

    // Grid lines, full-row selection and hot tracking as the General settings ask.
    void applyListLook(const AppSettings& settings);
    SortHeaderCtrl* sortHeader() const;
    // The selected row, -1 for none; while no column is shown, the row kept for when one is.
    int selectedRow() const;
    // Selects `row` (none when it is out of range) without telling the parent.
    void selectRow(int row);
    // The row under the mouse while hot tracking is on, else -1.
    int hotRow() const { return m_hotRow; }
    // The last right-click point on the header, in the list's coordinates.
    QPoint headerClickPoint() const { return m_headerClickPoint; }

protected:
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void notifyParent(int message, quintptr wParam = 0, qintptr lParam = 0);
    void setHotRow(int row);

    QPoint m_headerClickPoint;
    bool m_hotTracking = false;
    int m_hotRow = -1;
    int m_rowWithoutColumns = -1;
    bool m_selectingByProgram = false;
};
