#include "print/ListRowReader.h"

#include "db/AlbumTable.h"

ListRowReader::ListRowReader(AlbumTable& albums, Database* database,
                             const QVector<ColumnInfo>& columns, const QString& sortText,
                             const QString& condition)
    : m_albums(albums), m_database(database), m_columns(columns), m_sortText(sortText),
      m_condition(condition)
{
}

ListRowReader::~ListRowReader()
{
    if (m_recordset)
        m_albums.CloseRecordset(&m_recordset);
}

bool ListRowReader::open()
{
    if (!m_database)
        return false;
    QStringList fields;
    for (const ColumnInfo& column : qAsConst(m_columns))
        fields << column.field;
    const QString sql = CatalogTable::BuildItemQuery(
        m_albums.listSelect(m_database, fields, m_sortText, m_condition), m_sortText, false,
        m_condition);
    if (!m_albums.OpenRecordset(&m_recordset, m_database, sql))
        return false;
    m_positions.clear();
    for (const ColumnInfo& column : qAsConst(m_columns))
        m_positions.append(m_recordset->columnIndex(column.field));
    return true;
}

bool ListRowReader::next(QStringList* cells)
{
    if (!m_recordset || m_recordset->isEOF())
        return false;
    cells->clear();
    for (int position : qAsConst(m_positions)) {
        const QByteArrayView text = m_albums.listCellText(m_recordset.get(), position, &m_scratch);
        cells->append(QString::fromUtf8(text));
    }
    // A failed step ends the list here, as it ends the list document.
    if (!m_recordset->moveNext())
        m_albums.CloseRecordset(&m_recordset);
    return true;
}

qint64 ListRowReader::count()
{
    return m_albums.countListed(m_database, m_condition);
}
