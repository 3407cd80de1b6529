#include "views/AlbumListModel.h"

#include <QThreadPool>
#include <algorithm>
#include <utility>

namespace
{
constexpr QChar CellSeparator(0x1f);
} // namespace

AlbumListModel::Row::Row(const QStringList& texts, int albumId) : id(albumId)
{
    for (const QString& text : texts) {
        if (text.contains(CellSeparator)) {
            cells = texts;
            return;
        }
    }
    joined = texts.join(CellSeparator);
}

QString AlbumListModel::Row::cell(int column) const
{
    if (!cells.isEmpty())
        return cells.value(column);
    qsizetype start = 0;
    for (int skipped = 0; skipped < column; ++skipped) {
        start = joined.indexOf(CellSeparator, start);
        if (start < 0)
            return QString();
        ++start;
    }
    const qsizetype end = joined.indexOf(CellSeparator, start);
    return joined.mid(start, end < 0 ? -1 : end - start);
}

void AlbumListModel::setColumns(const QVector<ColumnInfo>& columns)
{
    beginResetModel();
    m_columns = columns;
    m_rows.clear();
    endResetModel();
}

int AlbumListModel::albumId(int row) const
{
    return row >= 0 && row < int(m_rows.size()) ? m_rows[std::size_t(row)].id : -1;
}

int AlbumListModel::rowOfAlbum(int albumId) const
{
    const auto found = std::find_if(m_rows.begin(), m_rows.end(),
                                    [albumId](const Row& row) { return row.id == albumId; });
    return found == m_rows.end() ? -1 : int(found - m_rows.begin());
}

int AlbumListModel::columnOfFlag(std::uint64_t flag) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].flag == flag)
            return i;
    return -1;
}

void AlbumListModel::beginFill()
{
    beginResetModel();
    m_filling = true;
}

void AlbumListModel::endFill()
{
    m_filling = false;
    endResetModel();
}

// Freeing a million rows takes the better part of a second: the old rows are freed on a pool
// thread while the window goes on.
void AlbumListModel::replaceRows(std::vector<Row> rows)
{
    beginResetModel();
    std::vector<Row> old = std::exchange(m_rows, std::move(rows));
    endResetModel();
    QThreadPool::globalInstance()->start([old = std::move(old)]() mutable { old.clear(); });
}

void AlbumListModel::removeAllRows()
{
    if (m_filling) {
        m_rows.clear();
        return;
    }
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

QStringList AlbumListModel::headerFields() const
{
    QStringList fields;
    for (const ColumnInfo& column : m_columns)
        fields << column.field;
    return fields;
}

void AlbumListModel::appendRow(const QStringList& cells, int id)
{
    if (m_filling) {
        m_rows.emplace_back(cells, id);
        return;
    }
    const int row = int(m_rows.size());
    beginInsertRows(QModelIndex(), row, row);
    m_rows.emplace_back(cells, id);
    endInsertRows();
}

int AlbumListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int AlbumListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns.size();
}

QVariant AlbumListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= int(m_rows.size()))
        return QVariant();
    return m_rows[std::size_t(index.row())].cell(index.column());
}

QVariant AlbumListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_columns[section].caption;
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    return QVariant();
}
