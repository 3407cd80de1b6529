#pragma once

#include <QString>
#include <cstdint>

// One album-list column as a list header item or a row of the print dialog carries it.
struct ColumnInfo {
    std::uint64_t flag = 0; // the column's one-bit flag; identifies it
    QString caption;
    QString field; // SQL column of the album query that fills the column
    int width = 100;
    int shown = 0;
    int order = 0;
};
