#pragma once

#include "db/ColumnInfo.h"

#include <QString>
#include <QVector>

class AlbumColumns;

// The rows of the print dialog's column list: every album column with its check box, which
// the user orders and sizes for the list document without touching the album list's own
// layout.
class PrintColumns
{
public:
    struct Row {
        ColumnInfo column;
        bool checked = false;
    };

    // Every column of `columns`, checked when shown; shown columns first, each group in
    // display order.
    static QVector<Row> fromTable(const AlbumColumns& columns);
    // The columns of the checked rows, top to bottom: what the document is written with.
    static QVector<ColumnInfo> checkedColumns(const QVector<Row>& rows);
    // Moves row `index` one place up (`step` -1) or down (+1); false when it is not there or
    // already at that end.
    static bool move(QVector<Row>* rows, int index, int step);
    // The width edit's text as a width: a signed whole number, 0 when it is none.
    static int widthFromText(const QString& text);
};
