#include "db/LookupListModel.h"

#include "db/ItemTable.h"
#include "db/LocaleCollation.h"
#include "db/LookupList.h"

#include <algorithm>

// Names compare as the artist tree and the name boxes order them, in the user's language.
bool LookupListModel::byName(const Entry& left, const Entry& right)
{
    return LocaleCollation::current().less(left.cells[NameColumn], right.cells[NameColumn]);
}

bool LookupListModel::fill(ItemTable& table, Database* database, const LookupList& list)
{
    beginResetModel();
    m_entries.clear();
    m_filling = true;
    const bool filled =
        table.FillLookupListView(database, this, list.usingTable, list.usingColumn, list.table,
                                 list.nameColumn, list.idColumn, list.deletedColumn, false);
    m_filling = false;
    sortByName();
    endResetModel();
    return filled;
}

// Sorting once after the fill, on keys made once per name, keeps 20 000 names to one n log n
// pass of cheap comparisons. Entries of equal names keep the order the table gave them.
void LookupListModel::sortByName()
{
    QStringList names;
    names.reserve(int(m_entries.size()));
    for (const Entry& entry : m_entries)
        names << entry.cells[NameColumn];
    std::vector<Entry> sorted;
    sorted.reserve(m_entries.size());
    for (int index : LocaleCollation::current().sortedOrder(names))
        sorted.push_back(std::move(m_entries[size_t(index)]));
    m_entries = std::move(sorted);
}

int LookupListModel::entryId(int row) const
{
    return row >= 0 && row < rowCount() ? m_entries[std::size_t(row)].id : -1;
}

QString LookupListModel::entryName(int row) const
{
    return row >= 0 && row < rowCount() ? m_entries[std::size_t(row)].cells[NameColumn] : QString();
}

int LookupListModel::useCount(int row) const
{
    return row >= 0 && row < rowCount() ? m_entries[std::size_t(row)].cells[UsedColumn].toInt() : 0;
}

int LookupListModel::rowOfEntry(int id) const
{
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [id](const Entry& entry) { return entry.id == id; });
    return found == m_entries.end() ? -1 : int(found - m_entries.begin());
}

int LookupListModel::rowOfNewest(const QString& name) const
{
    int newest = -1;
    for (int row = 0; row < rowCount(); ++row) {
        const Entry& entry = m_entries[std::size_t(row)];
        if (entry.cells[NameColumn] == name && (newest < 0 || entry.id > entryId(newest)))
            newest = row;
    }
    return newest;
}

void LookupListModel::removeEntry(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_entries.erase(m_entries.begin() + row);
    endRemoveRows();
}

void LookupListModel::removeAllRows()
{
    if (m_filling) {
        m_entries.clear();
        return;
    }
    beginResetModel();
    m_entries.clear();
    endResetModel();
}

// The cells arrive by position, not by field.
QStringList LookupListModel::headerFields() const
{
    return {};
}

void LookupListModel::appendRow(const QStringList& cells, int id)
{
    Entry entry{{cells.value(NameColumn), cells.value(UsedColumn), cells.value(IdColumn)}, id};
    if (m_filling) {
        m_entries.push_back(std::move(entry));
        return;
    }
    // Outside a fill a row goes where the sorted order puts it.
    const auto place = std::upper_bound(m_entries.begin(), m_entries.end(), entry, byName);
    const int row = int(place - m_entries.begin());
    beginInsertRows(QModelIndex(), row, row);
    m_entries.insert(place, std::move(entry));
    endInsertRows();
}

int LookupListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

int LookupListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LookupListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return QVariant();
    const Entry& entry = m_entries[std::size_t(index.row())];
    // A name wider than its column can still be read whole in its tip.
    if (role == Qt::DisplayRole || (role == Qt::ToolTipRole && index.column() == NameColumn))
        return entry.cells[index.column()];
    return QVariant();
}

QVariant LookupListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const captions[ColumnCount] = {"Name", "Used", "ID"};
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QVariant();
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(captions[section]);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    return QVariant();
}
