#pragma once

#include "db/NameList.h"

#include <QStringList>
#include <QVector>

class Database;
class ItemTable;
struct LookupList;

// Gathers the names of a lookup list as the catalogue hands them over, so that a name box
// gets them sorted in one go rather than one insertion at a time (the artist list can hold
// tens of thousands).
class NameCollector : public NameList
{
public:
    int addName(const QString& name) override;
    void setItemId(int index, int id) override;

    // The names in a name box's order, with their ids alongside.
    void sort();
    // Adds the names of `list` not marked deleted, then sorts; false when they could not be
    // read (the table has said why, unless told to keep quiet).
    bool readSorted(ItemTable& table, Database* database, const LookupList& list);
    const QStringList& names() const { return m_names; }
    const QVector<int>& ids() const { return m_ids; }

private:
    QStringList m_names;
    QVector<int> m_ids;
};
