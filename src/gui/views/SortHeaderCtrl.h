#pragma once

#include <QHeaderView>

// The album list's header: remembers the column the list is sorted by and the direction the
// next sort will use, and shows an arrow on the sort column.
class SortHeaderCtrl : public QHeaderView
{
    Q_OBJECT

public:
    explicit SortHeaderCtrl(QWidget* parent);

    int sortColumn() const { return m_sortColumn; }
    int directionFlag() const { return m_directionFlag; }
    void setDirectionFlag(int flag) { m_directionFlag = flag ? 1 : 0; }
    // Moves the arrow to `column`, drawn for the current direction flag.
    void setSortColumn(int column);

private:
    int m_sortColumn = -1;
    int m_directionFlag = 0;
};
