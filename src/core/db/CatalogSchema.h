#pragma once

#include <QString>
#include <QStringList>

// The names of the catalogue's tables, for checks that a file really is a catalogue.
class CatalogSchema
{
public:
    // All nineteen tables: albums, tracks and the seventeen lookup lists.
    static const QStringList& tableNames();
    // The first catalogue table missing from `present` (compared without regard to case), or
    // empty text when all are there.
    static QString firstMissingTable(const QStringList& present);
};
