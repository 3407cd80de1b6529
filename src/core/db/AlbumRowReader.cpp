#include "db/AlbumRowReader.h"

#include "db/AlbumField.h"
#include "db/DatabaseEx.h"

void AlbumRowReader::read(DatabaseEx& reader, Recordset* recordset, AlbumRecord* record)
{
    for (const AlbumField& field : AlbumField::all()) {
        const QLatin1String column(field.queryColumn);
        if (field.text)
            record->*field.text = reader.GetFieldText(recordset, column);
        else if (field.whole)
            record->*field.whole = reader.GetFieldInt(recordset, column);
        else
            record->*field.date = reader.GetFieldDate(recordset, column);
    }
}
