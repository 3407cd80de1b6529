#pragma once

#include "db/LoadedNames.h"
#include "db/NameList.h"
#include "db/NameTree.h"
#include "db/RowTable.h"
#include "views/HtmlPageWriter.h"

// SQL over the lookup tables and the item queries. Holds no connection: every operation is
// handed the database and opens and closes its own recordsets.
class CatalogTable : public HtmlPageWriter
{
public:
    ~CatalogTable() override;

    static QString BuildItemQuery(const QString& baseSelect, const QString& sortText,
                                  bool deletedValue, const QString& condition);
    // TRUE or FALSE, as the SQL texts write a deleted value.
    static QString booleanWord(bool value);

protected:
    int FindOrAddName(Database* database, const QString& table, const QString& nameColumn,
                      const QString& name, const QString& idColumn);
    bool FillNameCombo(Database* database, NameList* list, const QString& table,
                       const QString& nameColumn, const QString& idColumn,
                       const QString& deletedColumn, bool deletedValue);
    bool FillNameTree(Database* database, NameTree::NodeHandle parent, NameTree* tree, int image,
                      int selectedImage, int nodeType, const QString& table,
                      const QString& nameColumn, const QString& idColumn,
                      const QString& deletedColumn, bool deletedValue);
    bool FillLookupListView(Database* database, RowTable* list, const QString& usingTable,
                            const QString& usingColumn, const QString& table,
                            const QString& nameColumn, const QString& idColumn,
                            const QString& deletedColumn, bool deletedValue);
    int CountUses(Database* database, const QString& table, const QString& column, int id);
    // The names of a name list (`table`) not deleted, counted up to `limit` at most.
    int CountNamesUpTo(Database* database, const QString& table, const QString& deletedColumn,
                       int limit);
    bool DeleteRowById(Database* database, int id, const QString& table, const QString& idColumn,
                       const QString& deletedColumn, bool hard);
    // With a `limit` the count stops there: enough to tell a large table from a small one
    // without reading all of a large one.
    int CountByDeleted(Database* database, const QString& table, const QString& deletedColumn,
                       bool deletedValue, int limit = 0);
    bool FillListFromHeader(Database* database, RowTable* list, const QString& baseSelect,
                            const QString& idColumn, const QString& sortText,
                            const QString& condition, bool deletedValue);

    // FindOrAddName for a name of a record being saved, except that a name the record was read
    // with keeps the entry it named then (`loaded`). A name that gets no id sets `nameLost`,
    // so the save fails rather than quietly storing "no name".
    int findOrAddRecordName(Database* database, const LoadedNames& loaded, const char* table,
                            const char* nameColumn, const QString& name, const char* idColumn,
                            bool* nameLost);
    // Opens the row a record is saved into: a new row of `table` for id -1, else the row with
    // that id, ready for its fields to be set. Errors have been reported when it fails.
    bool openRowForSave(RecordsetHandle* recordset, Database* database, const QString& table,
                        const QString& idColumn, int id);
    // Stores the row once its fields are set; returns its id (the new key for an added row),
    // or -1 after reporting the engine's error.
    int storeSavedRow(RecordsetHandle* recordset, bool fieldsSet, const QString& idColumn);
};
