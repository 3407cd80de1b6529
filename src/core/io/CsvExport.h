#pragma once

#include "db/ColumnInfo.h"

#include <QString>
#include <QVector>

class Database;

// Writes the album list as CSV: a header of column captions, then one record per album in
// the list's order, with the values as AlbumCsvFields writes them. The target is replaced only
// once every byte is written.
class CsvExport
{
public:
    static bool write(Database* database, const QVector<ColumnInfo>& columns, const QString& path,
                      const QString& sortText, const QString& condition, QString* error);
};
