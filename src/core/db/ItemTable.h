#pragma once

#include "db/AlbumRecord.h"
#include "db/CatalogTable.h"
#include "db/ColumnInfo.h"

#include <QVector>

// The operations one kind of catalogue item offers; AlbumTable implements them for albums.
class ItemTable : public CatalogTable
{
public:
    ~ItemTable() override;

    QString GetNameById(Database* database, int id, const QString& table, const QString& nameColumn,
                        const QString& idColumn);
    void SaveLookupName(Database* database, int id, const QString& table, const QString& nameColumn,
                        const QString& idColumn, const QString& name);

    // Callers outside the data-access layer reach these through the item table.
    using CatalogTable::CountNamesUpTo;
    using CatalogTable::DeleteRowById;
    using CatalogTable::FillLookupListView;
    using CatalogTable::FillNameCombo;
    using CatalogTable::FillNameTree;

    // The item operations, in this order.
    virtual bool Load(Database* database, int id, AlbumRecord* record) = 0;
    virtual bool FillList(Database* database, RowTable* list, const QString& sortText,
                          bool deletedValue, const QString& condition) = 0;
    virtual bool Delete(Database* database, int id, bool hard) = 0;
    virtual int Update(Database* database, int id, const AlbumRecord& record) = 0;
    virtual int Add(Database* database, const AlbumRecord& record) = 0;
    virtual int Save(Database* database, const AlbumRecord& record, int id) = 0;
    virtual int Count(Database* database, bool deletedValue) = 0;
    virtual bool Export(Database* database, const QString& path, bool deletedValue,
                        const QString& condition) = 0;
    virtual QString WritePage(Database* database, int id, bool deletedValue) = 0;
    virtual bool WriteListTable(Database* database, const QVector<ColumnInfo>& columns,
                                int gridLines, const QString& path, const QString& sortText,
                                bool deletedValue, const QString& condition) = 0;
};
