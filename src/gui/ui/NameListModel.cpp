#include "ui/NameListModel.h"

#include <QThreadPool>

// Two hundred thousand names take a tenth of a second to free: on a pool thread, so that
// closing a dialog never stops the window.
NameListModel::~NameListModel()
{
    QThreadPool::globalInstance()->start(
        [names = std::move(m_names), ids = std::move(m_ids)]() mutable {
            names.clear();
            ids.clear();
        });
}

void NameListModel::setNames(const QStringList& names, const QVector<int>& ids)
{
    beginResetModel();
    m_names = names;
    m_ids = ids;
    m_ids.resize(m_names.size(), -1);
    endResetModel();
}

int NameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant NameListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_names.size())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_names.at(index.row());
    case Qt::UserRole:
        return m_ids.at(index.row());
    default:
        return QVariant();
    }
}
