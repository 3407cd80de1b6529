#pragma once

#include "db/AlbumRecord.h"

#include <QString>
#include <QVariant>

// How an album column's value is written into a CSV cell and read back from one, so that an
// exported list imports to the same rows: dates in ISO 8601, yes/no as the list shows them,
// money with two decimals, everything else as text.
class AlbumCsvFields
{
public:
    // The cell for a value as the catalogue query returns it.
    static QString cellText(const QVariant& value);

    // Sets the record's value of `field` (an SQL column of the album column table) from a cell. An
    // empty cell leaves a number at its default and makes a date unset. False, with the reason,
    // when the cell does not hold that kind of value.
    static bool setField(AlbumRecord* record, const QString& field, const QString& cell,
                         QString* error);

    // "2020-11-18", or "2020-11-18T19:04:10" when the time of day is not midnight.
    static QString isoDate(const QDateTime& dateTime);
    // ISO 8601 dates with or without a time ("T" or a blank between them); invalid otherwise.
    static QDateTime parseDate(const QString& text);
};
