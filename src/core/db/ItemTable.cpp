#include "db/ItemTable.h"

ItemTable::~ItemTable() = default;

QString ItemTable::GetNameById(Database* database, int id, const QString& table,
                               const QString& nameColumn, const QString& idColumn)
{
    if (!database)
        return QString();
    RecordsetHandle recordset;
    const QString sql =
        QStringLiteral("SELECT * FROM %1 WHERE %2 = %3").arg(table, idColumn, QString::number(id));
    if (!OpenRecordset(&recordset, database, sql))
        return QString();
    QString name;
    if (GetRecordCount(recordset.get()) == 1)
        name = GetFieldText(recordset.get(), nameColumn);
    CloseRecordset(&recordset);
    return name;
}

void ItemTable::SaveLookupName(Database* database, int id, const QString& table,
                               const QString& nameColumn, const QString& idColumn,
                               const QString& name)
{
    if (!database)
        return;
    RecordsetHandle recordset;
    const bool adding = id == -1;
    const QString sql = adding ? QStringLiteral("SELECT * FROM %1").arg(table)
                               : QStringLiteral("SELECT * FROM %1 WHERE %2 = %3")
                                     .arg(table, idColumn, QString::number(id));
    if (!OpenRecordset(&recordset, database, sql))
        return;
    const bool started = adding ? recordset->addNew() : recordset->edit();
    // A rename that cannot be stored is reported: the list would otherwise show the old name
    // with no word of why.
    if (!started || !recordset->setField(nameColumn, name) || !recordset->update())
        reportEngineError(recordset->lastError());
    CloseRecordset(&recordset);
}
