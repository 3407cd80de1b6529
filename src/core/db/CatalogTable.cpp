#include "db/CatalogTable.h"

#include "db/LocaleCollation.h"
#include "db/SqlText.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace
{

QString number(int value)
{
    return QString::number(value);
}

// Ids formatted as the unsigned 32-bit numbers the use-count and tree queries were written with.
QString unsignedNumber(int value)
{
    return QString::number(static_cast<quint32>(value));
}

bool isColumnName(QStringView word)
{
    return !word.isEmpty() && std::all_of(word.begin(), word.end(), [](QChar c) {
        return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.');
    });
}

// "artist_name ASC, title ASC" ordered as the user's language orders text. Numbers and dates
// are unaffected: the engine collates text values only. A sort text in any other form (an
// expression, a collation of its own) is left as it is.
QString inLocaleOrder(const QString& sortText)
{
    QStringList keys;
    for (const QString& key : sortText.split(QLatin1Char(','))) {
        const QStringList words = key.simplified().split(QLatin1Char(' '));
        const bool direction = words.size() == 2 &&
                               (words[1].compare(QLatin1String("ASC"), Qt::CaseInsensitive) == 0 ||
                                words[1].compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0);
        if (!isColumnName(words[0]) || (words.size() != 1 && !direction))
            return sortText;
        keys << words[0] + QLatin1String(" COLLATE ") + QLatin1String(LocaleCollation::SqlName) +
                    (direction ? QLatin1Char(' ') + words[1] : QString());
    }
    return keys.join(QLatin1String(", "));
}

} // namespace

CatalogTable::~CatalogTable() = default;

QString CatalogTable::booleanWord(bool value)
{
    return value ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

int CatalogTable::FindOrAddName(Database* database, const QString& table, const QString& nameColumn,
                                const QString& name, const QString& idColumn)
{
    if (name.isEmpty())
        return -1;
    RecordsetHandle recordset;
    const QString sql = QStringLiteral("SELECT * FROM %1 WHERE %2 = '%3'")
                            .arg(table, nameColumn, SqlText::quoted(name));
    if (!OpenRecordset(&recordset, database, sql))
        return -1;
    int id = -1;
    if (GetRecordCount(recordset.get()) < 1) {
        // A soft-deleted entry of the same name was found above and is reused; only a name
        // the table has never held is added.
        if (!recordset->addNew() || !recordset->setField(nameColumn, name)) {
            reportEngineError(recordset->lastError());
            return -1;
        }
        id = GetFieldInt(recordset.get(), idColumn);
        if (!recordset->update()) {
            reportEngineError(recordset->lastError());
            return -1;
        }
    } else {
        id = GetFieldInt(recordset.get(), idColumn);
    }
    CloseRecordset(&recordset);
    return id;
}

bool CatalogTable::FillNameCombo(Database* database, NameList* list, const QString& table,
                                 const QString& nameColumn, const QString& idColumn,
                                 const QString& deletedColumn, bool deletedValue)
{
    if (!database || !list)
        return false;
    RecordsetHandle recordset;
    const QString sql = QStringLiteral("SELECT * FROM %1 WHERE %2 = %3")
                            .arg(table, deletedColumn, booleanWord(deletedValue));
    if (!OpenRecordset(&recordset, database, sql))
        return false;
    while (!recordset->isEOF()) {
        const int index = list->addName(GetFieldText(recordset.get(), nameColumn));
        if (index >= 0)
            list->setItemId(index, GetFieldInt(recordset.get(), idColumn));
        if (!recordset->moveNext())
            break;
    }
    CloseRecordset(&recordset);
    return true;
}

// The names are sorted here rather than by the engine: each name's collation key is made once,
// where the engine's sort would compare the texts afresh some twenty times per name (two
// seconds for 200 000 artists). Names that sort alike keep the table's order.
bool CatalogTable::FillNameTree(Database* database, NameTree::NodeHandle parent, NameTree* tree,
                                int image, int selectedImage, int nodeType, const QString& table,
                                const QString& nameColumn, const QString& idColumn,
                                const QString& deletedColumn, bool deletedValue)
{
    if (!database || !tree)
        return false;
    RecordsetHandle recordset;
    const QString sql =
        QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = %5")
            .arg(idColumn, nameColumn, table, deletedColumn, booleanWord(deletedValue));
    if (!OpenRecordset(&recordset, database, sql))
        return false;
    QStringList names;
    std::vector<int> ids;
    while (!recordset->isEOF()) {
        ids.push_back(GetFieldInt(recordset.get(), idColumn));
        names << GetFieldText(recordset.get(), nameColumn);
        if (!recordset->moveNext())
            break;
    }
    CloseRecordset(&recordset);
    for (int index : LocaleCollation::current().sortedOrder(names)) {
        auto data = std::make_unique<TreeNodeData>();
        data->type = nodeType;
        data->id = ids[std::size_t(index)];
        data->name = names.at(index);
        tree->insertNode(parent, names.at(index), image, selectedImage, std::move(data));
    }
    return true;
}

bool CatalogTable::FillLookupListView(Database* database, RowTable* list, const QString& usingTable,
                                      const QString& usingColumn, const QString& table,
                                      const QString& nameColumn, const QString& idColumn,
                                      const QString& deletedColumn, bool deletedValue)
{
    if (!database || !list)
        return false;
    RecordsetHandle recordset;
    const QString sql = QStringLiteral("SELECT * FROM %1 WHERE %2 = %3")
                            .arg(table, deletedColumn, booleanWord(deletedValue));
    if (!OpenRecordset(&recordset, database, sql))
        return false;
    while (!recordset->isEOF()) {
        const int id = GetFieldInt(recordset.get(), idColumn);
        const int uses = CountUses(database, usingTable, usingColumn, id);
        list->appendRow({GetFieldText(recordset.get(), nameColumn), unsignedNumber(uses),
                         GetFieldText(recordset.get(), idColumn)},
                        id);
        if (!recordset->moveNext())
            break;
    }
    CloseRecordset(&recordset);
    return true;
}

int CatalogTable::CountNamesUpTo(Database* database, const QString& table,
                                 const QString& deletedColumn, int limit)
{
    return CountByDeleted(database, table, deletedColumn, false, limit);
}

int CatalogTable::CountUses(Database* database, const QString& table, const QString& column, int id)
{
    if (!database)
        return -1;
    RecordsetHandle recordset;
    const QString sql =
        QStringLiteral("SELECT %1 FROM %2 WHERE %1 = %3").arg(column, table, unsignedNumber(id));
    if (!OpenRecordset(&recordset, database, sql))
        return -1;
    const int count = GetRecordCount(recordset.get());
    CloseRecordset(&recordset);
    return count;
}

bool CatalogTable::DeleteRowById(Database* database, int id, const QString& table,
                                 const QString& idColumn, const QString& deletedColumn, bool hard)
{
    if (!database)
        return false;
    RecordsetHandle recordset;
    const QString sql =
        QStringLiteral("SELECT * FROM %1 WHERE %2 = %3").arg(table, idColumn, number(id));
    if (!OpenRecordset(&recordset, database, sql))
        return false;
    if (GetRecordCount(recordset.get()) != 1)
        return false;
    if (hard)
        return DeleteCurrentRow(recordset.get());
    // A soft delete that cannot be stored (a read-only catalogue, say) is reported rather than
    // left for the user to wonder why the album is still there.
    if (!recordset->edit() || !recordset->setField(deletedColumn, true) || !recordset->update()) {
        reportEngineError(recordset->lastError());
        return false;
    }
    CloseRecordset(&recordset);
    return true;
}

int CatalogTable::CountByDeleted(Database* database, const QString& table,
                                 const QString& deletedColumn, bool deletedValue, int limit)
{
    if (!database)
        return -1;
    RecordsetHandle recordset;
    // The engine counts the rows itself: stepping through every row of a "SELECT *" to count it
    // is wasted work on every list reload of a large catalogue.
    QString sql = QStringLiteral("SELECT COUNT(*) AS row_count FROM %1 WHERE %2 = %3")
                      .arg(table, deletedColumn, booleanWord(deletedValue));
    if (limit > 0)
        sql = QStringLiteral("SELECT COUNT(*) AS row_count FROM (SELECT 1 FROM %1 WHERE %2 = %3 "
                             "LIMIT %4)")
                  .arg(table, deletedColumn, booleanWord(deletedValue))
                  .arg(limit);
    if (!OpenRecordset(&recordset, database, sql))
        return -1;
    const int count = GetFieldInt(recordset.get(), QStringLiteral("row_count"));
    CloseRecordset(&recordset);
    return count;
}

QString CatalogTable::BuildItemQuery(const QString& baseSelect, const QString& sortText,
                                     bool deletedValue, const QString& condition)
{
    QString sql =
        condition.isEmpty()
            ? QStringLiteral("%1 WHERE deleted = %2").arg(baseSelect, booleanWord(deletedValue))
            : QStringLiteral("%1 WHERE deleted = %2 AND (%3)")
                  .arg(baseSelect, booleanWord(deletedValue), condition);
    if (!sortText.isEmpty())
        sql += QLatin1String(" ORDER BY ") + inLocaleOrder(sortText);
    return sql;
}

bool CatalogTable::FillListFromHeader(Database* database, RowTable* list, const QString& baseSelect,
                                      const QString& idColumn, const QString& sortText,
                                      const QString& condition, bool deletedValue)
{
    if (!database || !list)
        return false;
    list->removeAllRows();
    RecordsetHandle recordset;
    if (!OpenRecordset(&recordset, database,
                       BuildItemQuery(baseSelect, sortText, deletedValue, condition)))
        return false;
    // Columns are looked up by name once; a header field the query lacks gives empty cells.
    QVector<int> columns;
    for (const QString& field : list->headerFields())
        columns.append(recordset->columnIndex(field));
    while (!recordset->isEOF()) {
        QStringList cells;
        cells.reserve(columns.size());
        for (int column : qAsConst(columns))
            cells.append(GetFieldText(recordset.get(), column));
        list->appendRow(cells, GetFieldInt(recordset.get(), idColumn));
        if (!recordset->moveNext())
            break;
    }
    CloseRecordset(&recordset);
    return true;
}

int CatalogTable::findOrAddRecordName(Database* database, const LoadedNames& loaded,
                                      const char* table, const char* nameColumn,
                                      const QString& name, const char* idColumn, bool* nameLost)
{
    const int loadedId = loaded.idOf(QLatin1String(table), name);
    if (loadedId != -1)
        return loadedId;
    const int id = FindOrAddName(database, QLatin1String(table), QLatin1String(nameColumn), name,
                                 QLatin1String(idColumn));
    if (id == -1 && !name.isEmpty())
        *nameLost = true;
    return id;
}

bool CatalogTable::openRowForSave(RecordsetHandle* recordset, Database* database,
                                  const QString& table, const QString& idColumn, int id)
{
    const bool adding = id == -1;
    const QString sql =
        adding ? QStringLiteral("SELECT * FROM %1").arg(table)
               : QStringLiteral("SELECT * FROM %1 WHERE %2 = %3").arg(table, idColumn, number(id));
    if (!OpenRecordset(recordset, database, sql))
        return false;
    if (adding ? (*recordset)->addNew() : (*recordset)->edit())
        return true;
    reportEngineError((*recordset)->lastError());
    return false;
}

int CatalogTable::storeSavedRow(RecordsetHandle* recordset, bool fieldsSet, const QString& idColumn)
{
    Recordset* row = recordset->get();
    if (!fieldsSet) {
        reportEngineError(row->lastError());
        return -1;
    }
    const int id = GetFieldInt(row, idColumn);
    if (!row->update()) {
        reportEngineError(row->lastError());
        return -1;
    }
    CloseRecordset(recordset);
    return id;
}
