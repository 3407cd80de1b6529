#pragma once

#include "db/ColumnInfo.h"

#include <QString>
#include <QVector>
#include <cstdint>

class AppSettings;

// The one-bit flag that identifies an album column to the filter and print dialogs.
struct ColumnFlag {
    std::uint32_t low = 0;
    std::uint32_t high = 0;

    static ColumnFlag fromBit(int bit);
    std::uint64_t value() const { return (std::uint64_t(high) << 32) | low; }
};

// The album list's 37 columns with the layout the user gave them: caption (also the name of
// the column's settings), SQL column of the album query, width, display order, Columns-menu
// command id, flag and whether it is shown.
class AlbumColumns
{
public:
    struct Column {
        QString caption;
        QString field;
        int width = 100;
        int order = 0;
        int commandId = 0;
        ColumnFlag flag;
        int shown = 0;

        ColumnInfo info() const;
    };

    static constexpr int ColumnCount = 37;
    // The widest a column may be, in pixels; wider widths in the settings are not believed.
    static constexpr int MaxWidth = 4000;

    // The table as it is before any settings were read.
    static const QVector<Column>& defaults();

    void load(const AppSettings& settings);
    void save(AppSettings& settings) const;

    int size() const { return m_columns.size(); }
    Column& operator[](int index) { return m_columns[index]; }
    const Column& operator[](int index) const { return m_columns[index]; }
    // The shown columns in table order, each carrying its display order.
    QVector<ColumnInfo> shownColumns() const;
    // The shown columns as the list displays them, left to right.
    QVector<ColumnInfo> shownInDisplayOrder() const;

    int indexOfCommand(int commandId) const;
    int indexOfFlag(std::uint64_t flag) const;
    int indexOfCaption(const QString& caption) const;

private:
    QVector<Column> m_columns;
};
