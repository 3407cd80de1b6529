#pragma once

#include <QString>
#include <QStringList>

// A report list: a header whose items each carry the SQL column that fills them, and rows of
// text cells, each row carrying an id.
class RowTable
{
public:
    virtual ~RowTable() = default;
    virtual void removeAllRows() = 0;
    // The SQL column of every header item, in header order.
    virtual QStringList headerFields() const = 0;
    virtual void appendRow(const QStringList& cells, int id) = 0;
};
