#include "editors/NameCollector.h"

#include "db/ItemTable.h"
#include "db/LocaleCollation.h"
#include "db/LookupList.h"

int NameCollector::addName(const QString& name)
{
    m_names << name;
    m_ids << -1;
    return int(m_names.size()) - 1;
}

void NameCollector::setItemId(int index, int id)
{
    if (index >= 0 && index < m_ids.size())
        m_ids[index] = id;
}

// The names in the order of the user's language, as the artist tree and the list editor show
// them; each name's collation key is made once, so a list of tens of thousands sorts quickly.
void NameCollector::sort()
{
    QStringList names;
    QVector<int> ids;
    names.reserve(m_names.size());
    ids.reserve(m_names.size());
    for (int index : LocaleCollation::current().sortedOrder(m_names)) {
        names << m_names.at(index);
        ids << m_ids.at(index);
    }
    m_names = names;
    m_ids = ids;
}

bool NameCollector::readSorted(ItemTable& table, Database* database, const LookupList& list)
{
    const bool read = table.FillNameCombo(database, this, list.table, list.nameColumn,
                                          list.idColumn, list.deletedColumn, false);
    sort();
    return read;
}
