#pragma once

#include "views/AlbumColumns.h"

#include <QString>
#include <QVector>

struct LookupList;

// One field the search can test: the album column it is (by flag, with that column's caption
// and SQL name), how its value is entered and how the value goes into the condition.
struct FilterField {
    enum class Input { DropDown, Edit, CheckBox };
    enum class Value { Text, Number, Boolean };

    QString itemText; // as the Item drop-down lists it
    ColumnFlag flag;
    QString caption; // the column's caption, empty when no column has the flag
    QString field;   // the column's SQL name, empty likewise
    int width = 100;
    Input input = Input::Edit;
    Value value = Value::Text;
    const LookupList* lookup = nullptr; // the names a drop-down offers

    // The fields the search offers, in their fixed order, with caption, SQL name and width
    // taken from `columns`.
    static QVector<FilterField> offered(const AlbumColumns& columns);
};
