#pragma once

#include <QString>
#include <QStringList>

class Database;

// The names of the catalogue's tables, for checks that a file really is a catalogue.
class CatalogSchema
{
public:
    // All nineteen tables: albums, tracks and the seventeen lookup lists.
    static const QStringList& tableNames();
    // Tables added since, which new catalogues hold and older ones get on their first write: a
    // file without them is a catalogue all the same.
    static const QStringList& addedTableNames();
    // Adds the indexes added since, which new catalogues hold, to an older catalogue: called at
    // the first write of an album, when the file is being changed anyway. Only a speed-up, so a
    // failure is not reported; nothing is tried on a read-only file.
    static void addMissingIndexes(Database* database);
    // The first catalogue table missing from `present` (compared without regard to case), or
    // empty text when all are there.
    static QString firstMissingTable(const QStringList& present);
};
