#include "print/PrintColumns.h"

#include "views/AlbumColumns.h"

#include <algorithm>

QVector<PrintColumns::Row> PrintColumns::fromTable(const AlbumColumns& columns)
{
    QVector<Row> rows;
    rows.reserve(columns.size());
    for (int i = 0; i < columns.size(); ++i)
        rows.append(Row{columns[i].info(), columns[i].shown != 0});
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        if (a.checked != b.checked)
            return a.checked;
        return a.column.order < b.column.order;
    });
    return rows;
}

QVector<ColumnInfo> PrintColumns::checkedColumns(const QVector<Row>& rows)
{
    QVector<ColumnInfo> columns;
    for (const Row& row : rows) {
        if (row.checked)
            columns.append(row.column);
    }
    return columns;
}

bool PrintColumns::move(QVector<Row>* rows, int index, int step)
{
    const int target = index + step;
    if (index < 0 || index >= rows->size() || target < 0 || target >= rows->size())
        return false;
    rows->move(index, target);
    return true;
}

int PrintColumns::widthFromText(const QString& text)
{
    bool ok = false;
    const int width = text.trimmed().toInt(&ok);
    return ok ? width : 0;
}
