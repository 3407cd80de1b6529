#pragma once

#include "db/AlbumRecord.h"

class DatabaseEx;
class Recordset;

// An album's values from the current row of the album query: names, dates and numbers by the
// query's own text rules. Not the entries the names came from, which only a save needs.
class AlbumRowReader
{
public:
    static void read(DatabaseEx& reader, Recordset* recordset, AlbumRecord* record);
};
