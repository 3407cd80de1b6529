#include "io/CsvExport.h"

#include "db/AlbumTable.h"
#include "io/AlbumCsvFields.h"
#include "io/CsvWriter.h"
#include "views/OutputTarget.h"

#include <QSaveFile>

bool CsvExport::write(Database* database, const QVector<ColumnInfo>& columns, const QString& path,
                      const QString& sortText, const QString& condition, QString* error)
{
    AlbumTable albums;
    RecordsetHandle recordset;
    if (!database ||
        !albums.OpenRecordset(&recordset, database,
                              CatalogTable::BuildItemQuery(albums.baseSelect(database), sortText,
                                                           false, condition))) {
        *error = QStringLiteral("The album list cannot be read.");
        return false;
    }
    // Never over the open catalogue, a folder or a device.
    const QString refused = OutputTarget::refusal(path, database->name());
    if (!refused.isEmpty()) {
        *error = refused;
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = OutputTarget::cannotWrite(path, file);
        return false;
    }
    CsvWriter writer(&file);
    QStringList captions;
    QVector<int> indexes;
    for (const ColumnInfo& column : columns) {
        captions << column.caption;
        indexes << recordset->columnIndex(column.field);
    }
    writer.writeRecord(captions);
    QStringList cells;
    QVariant value;
    while (!recordset->isEOF() && writer.isOk()) {
        cells.clear();
        for (int index : qAsConst(indexes))
            cells << (recordset->field(index, &value) ? AlbumCsvFields::cellText(value)
                                                      : QString());
        writer.writeRecord(cells);
        if (!recordset->moveNext())
            break;
    }
    // A short write at the final flush sets no error that commit() would see: flush first.
    if (!writer.isOk() || !file.flush() || !file.commit()) {
        *error = OutputTarget::cannotWrite(path, file);
        return false;
    }
    return true;
}
