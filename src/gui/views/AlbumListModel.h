#pragma once

#include "db/ColumnInfo.h"
#include "db/RowTable.h"

#include <QAbstractTableModel>
#include <QVector>
#include <vector>

// The album list's rows as the album table writes them: one row of text cells per album, each
// carrying its album id; the columns are the header items with their ColumnInfo.
class AlbumListModel : public QAbstractTableModel, public RowTable
{
    Q_OBJECT

public:
    // A row keeps its cells in one string, a unit separator between them: a million rows
    // then take less than half the memory of a list of strings each. A row whose texts hold
    // the separator itself keeps them as a list.
    struct Row {
        Row(const QStringList& cells, int id);
        QString cell(int column) const;

        QString joined;
        QStringList cells;
        int id;
    };

    using QAbstractTableModel::QAbstractTableModel;

    void setColumns(const QVector<ColumnInfo>& columns);
    const QVector<ColumnInfo>& columns() const { return m_columns; }
    int albumId(int row) const;
    // The row of the album with this id, or -1.
    int rowOfAlbum(int albumId) const;
    // The model column showing the album column with this flag, or -1.
    int columnOfFlag(std::uint64_t flag) const;

    // A fill between these two resets the model once, however many rows arrive.
    void beginFill();
    void endFill();
    // Rows filled elsewhere (on a thread of their own) take the place of the present ones.
    void replaceRows(std::vector<Row> rows);

    void removeAllRows() override;
    QStringList headerFields() const override;
    void appendRow(const QStringList& cells, int id) override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QVector<ColumnInfo> m_columns;
    std::vector<Row> m_rows;
    bool m_filling = false;
};
