#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <QVector>

// Names for a drop-down, each with its entry's id (Qt::UserRole). They go in at once, however
// many: added one by one, two hundred thousand artists kept a combo box busy for seconds.
class NameListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;
    ~NameListModel() override;

    void setNames(const QStringList& names, const QVector<int>& ids);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QStringList m_names;
    QVector<int> m_ids;
};
