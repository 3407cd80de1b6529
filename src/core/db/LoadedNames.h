#pragma once

#include <QHash>
#include <QString>

// The names a record was read with, each with the id of the entry it named then, by lookup
// table. A record refers to an entry, not to its spelling: a name the user left as it was is
// saved as that entry, even when the entry was renamed or deleted in its list since.
class LoadedNames
{
public:
    void remember(const QString& table, const QString& name, int id);
    // The id `name` had when the record was read; -1 when it was read with another name in
    // `table`, or with none.
    int idOf(const QString& table, const QString& name) const;
    void clear() { m_entries.clear(); }

private:
    struct Entry {
        QString name;
        int id = -1;
    };
    QHash<QString, Entry> m_entries;
};
