#pragma once

#include "db/ColumnInfo.h"
#include "db/DatabaseEx.h"
#include "views/HtmlPageWriter.h"

#include <QStringList>
#include <QVector>

class AlbumTable;

// The rows of the list document, read one at a time as the texts of their cells: for output
// that lays the list out itself, page by page, and must never hold the whole of a long list.
// The rows, their order and their texts are those of the list document.
class ListRowReader
{
public:
    ListRowReader(AlbumTable& albums, Database* database, const QVector<ColumnInfo>& columns,
                  const QString& sortText, const QString& condition);
    ~ListRowReader();
    ListRowReader(const ListRowReader&) = delete;
    ListRowReader& operator=(const ListRowReader&) = delete;

    // Runs the list's query; false, having reported why, when it cannot be run.
    bool open();
    // The next row's cell texts in column order (empty text for an empty cell); false after the
    // last row.
    bool next(QStringList* cells);
    // How many rows the list has, counted by a query of its own; -1 when it cannot be counted.
    qint64 count();

private:
    AlbumTable& m_albums;
    Database* m_database;
    QVector<ColumnInfo> m_columns;
    QString m_sortText;
    QString m_condition;
    RecordsetHandle m_recordset;
    QVector<int> m_positions;
    HtmlPageWriter::ListCellScratch m_scratch;
};
