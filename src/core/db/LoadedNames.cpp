#include "db/LoadedNames.h"

void LoadedNames::remember(const QString& table, const QString& name, int id)
{
    if (name.isEmpty() || id < 0)
        m_entries.remove(table);
    else
        m_entries.insert(table, Entry{name, id});
}

int LoadedNames::idOf(const QString& table, const QString& name) const
{
    const auto entry = m_entries.constFind(table);
    if (entry == m_entries.cend() || name.isEmpty() || entry->name != name)
        return -1;
    return entry->id;
}
