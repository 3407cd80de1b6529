#pragma once

#include "db/RowTable.h"

#include <QAbstractTableModel>
#include <vector>

class Database;
class ItemTable;
struct LookupList;

// The entries of one name list as the list editor shows them: name, use count and id, always
// sorted by name. The core writes the rows; a fill resets the model once, however many arrive.
class LookupListModel : public QAbstractTableModel, public RowTable
{
    Q_OBJECT

public:
    enum Column { NameColumn, UsedColumn, IdColumn, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    // Empties the model and fills it with the list's entries that are not deleted; false when
    // the catalogue could not be read (or none is open), leaving the model empty.
    bool fill(ItemTable& table, Database* database, const LookupList& list);

    int entryId(int row) const;
    QString entryName(int row) const;
    // The number the "Used" column shows.
    int useCount(int row) const;
    // The row of the entry with this id, or -1.
    int rowOfEntry(int id) const;
    // The row of the newest entry (highest id) with exactly this name, or -1.
    int rowOfNewest(const QString& name) const;
    void removeEntry(int row);

    void removeAllRows() override;
    QStringList headerFields() const override;
    void appendRow(const QStringList& cells, int id) override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Entry {
        QString cells[ColumnCount];
        int id;
    };
    static bool byName(const Entry& left, const Entry& right);
    void sortByName();

    std::vector<Entry> m_entries;
    bool m_filling = false;
};
