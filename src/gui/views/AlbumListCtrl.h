#pragma once

#include "views/ReportListCtrl.h"

#include <QHeaderView>

class SortHeaderCtrl;

// The album list control: a report list that tells its parent view about selection changes,
// double clicks, header clicks and context menus through private messages.
class AlbumListCtrl : public ReportListCtrl
{
    Q_OBJECT

public:
    explicit AlbumListCtrl(QWidget* parent);

    SortHeaderCtrl* sortHeader() const;
    // The selected row, -1 for none; while no column is shown, the row kept for when one is.
    int selectedRow() const;
    // Selects `row` (none when it is out of range) without telling the parent.
    void selectRow(int row);
    // The last right-click point on the header, in the list's coordinates.
    QPoint headerClickPoint() const { return m_headerClickPoint; }

protected:
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void notifyParent(int message, quintptr wParam = 0, qintptr lParam = 0);

    QPoint m_headerClickPoint;
    int m_rowWithoutColumns = -1;
    bool m_selectingByProgram = false;
};
