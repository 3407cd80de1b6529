#include "views/SortHeaderCtrl.h"

SortHeaderCtrl::SortHeaderCtrl(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setObjectName(QStringLiteral("SortHeaderCtrl"));
    setAccessibleName(QStringLiteral("Album columns"));
    setSectionsMovable(true);
    setSectionsClickable(true);
    setHighlightSections(false);
    setSortIndicatorShown(true);
    setStretchLastSection(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The header tracks the hovered item.
    setMouseTracking(true);
}

void SortHeaderCtrl::setSortColumn(int column)
{
    m_sortColumn = column;
    // The arrow shows the direction the next click will sort in: up after a descending sort.
    setSortIndicator(column, m_directionFlag == 1 ? Qt::AscendingOrder : Qt::DescendingOrder);
}
