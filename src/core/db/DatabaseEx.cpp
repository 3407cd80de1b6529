#include "db/DatabaseEx.h"

#include "app/ErrorReporter.h"
#include "db/CatalogProbe.h"
#include "db/CatalogSchema.h"
#include "db/OleDate.h"

#include <QLocale>
#include <sqlcipher/sqlite3.h>

namespace
{

const char* const OpenDatabaseFailed = "An error occured opening the database. If this problem "
                                       "persists, contact the program vendor.";
constexpr int MaxDescriptionLength = 255;

void showMessage(const QString& text)
{
    ErrorReporter::report(QLatin1String(DatabaseEx::MessageCaption), text, ReportIcon::Stop);
}

// The source file is named without its folders: where the program was built means nothing to
// its user.
QString sourceFileName(const char* file)
{
    const QString path = QString::fromLocal8Bit(file);
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

DatabaseEx::~DatabaseEx() = default;

QString DatabaseEx::catalogConnectString()
{
    return QLatin1String(";PWD=") + QLatin1String(CatalogPassword);
}

QString DatabaseEx::truncatedDescription(const DbError& error)
{
    return error.description.left(MaxDescriptionLength);
}

QString DatabaseEx::formatDbError(const DbError& error, int line, const char* file)
{
    return QStringLiteral("%1\r\n\r\n%2\r\nLine: %3\r\nFile: %4")
        .arg(truncatedDescription(error), QString(68, QLatin1Char('-')), QString::number(line),
             sourceFileName(file));
}

bool DatabaseEx::keptQuiet(const DbError& error) const
{
    if (m_quiet && !m_quietError.isSet())
        m_quietError = error;
    return m_quiet;
}

void DatabaseEx::ReportDbError(const DbError& error, int line, const char* file) const
{
    if (!keptQuiet(error))
        showMessage(formatDbError(error, line, file));
}

void DatabaseEx::reportReadError(const DbError& error, int line, const char* file) const
{
    if (keptQuiet(error))
        return;
    if (!Database::isBusyError(error)) {
        ReportDbError(error, line, file);
        return;
    }
    Report report{QLatin1String(MessageCaption), truncatedDescription(error), ReportIcon::Stop};
    report.otherWriterBusy = true;
    ErrorReporter::report(report);
}

void DatabaseEx::reportEngineError(const DbError& error) const
{
    if (!keptQuiet(error))
        showMessage(truncatedDescription(error));
}

bool DatabaseEx::OpenDatabase(DatabaseHandle* database, const QString& path, const QString& connect)
{
    return OpenDatabase(database, path, connect, nullptr);
}

bool DatabaseEx::OpenDatabase(DatabaseHandle* database, const QString& path, const QString& connect,
                              bool* needsOtherKey)
{
    if (!database) {
        showMessage(QLatin1String(OpenDatabaseFailed));
        return false;
    }
    database->reset(new Database);
    Database& opened = **database;
    if (!opened.open(path, connect)) {
        if (needsOtherKey)
            *needsOtherKey = (opened.lastError().code & 0xff) == SQLITE_NOTADB &&
                             CatalogProbe::looksEncrypted(path);
        if (!needsOtherKey || !*needsOtherKey)
            ReportDbError(opened.lastError(), __LINE__, __FILE__);
        return false;
    }

    QStringList tables;
    QString table;
    for (int i = 0; opened.tableDefinition(i, &table); ++i)
        tables.append(table);
    // The walk ends past the last table. Ending on anything else (another program's lock that
    // outlasted the wait, a read error) says nothing about which tables the file holds.
    if (opened.lastError().code != SQLITE_NOTFOUND) {
        ReportDbError(opened.lastError(), __LINE__, __FILE__);
        opened.close();
        return false;
    }
    // A file without the catalogue's tables is no catalogue, whatever else it holds.
    const QString missing = CatalogSchema::firstMissingTable(tables);
    if (!missing.isEmpty()) {
        ReportDbError(DbError{QStringLiteral("The file '%1' is not a music catalog: it has no "
                                             "table '%2'.")
                                  .arg(path, missing),
                              1},
                      __LINE__, __FILE__);
        opened.close();
        return false;
    }
    return true;
}

void DatabaseEx::CloseDatabase(DatabaseHandle* database)
{
    if (!database || !*database)
        return;
    (*database)->close();
    database->reset();
}

bool DatabaseEx::OpenRecordset(RecordsetHandle* recordset, Database* database, const QString& sql)
{
    if (!recordset)
        return false;
    recordset->reset();
    if (!database) {
        ReportDbError(DbError{QStringLiteral("The database is not open."), 1}, __LINE__, __FILE__);
        return false;
    }
    auto opened = std::make_unique<Recordset>(*database);
    if (!opened->open(sql)) {
        reportReadError(opened->lastError(), __LINE__, __FILE__);
        return false;
    }
    *recordset = std::move(opened);
    return true;
}

bool DatabaseEx::CloseRecordset(RecordsetHandle* recordset)
{
    if (!recordset || !*recordset)
        return true;
    (*recordset)->close();
    recordset->reset();
    return true;
}

int DatabaseEx::GetRecordCount(Recordset* recordset)
{
    if (!recordset)
        return -1;
    if (recordset->isEOF() && recordset->isBOF())
        return 0;
    if (!recordset->moveLast()) {
        reportReadError(recordset->lastError(), __LINE__, __FILE__);
        return -1;
    }
    const int position = recordset->absolutePosition();
    if (position < 0) {
        ReportDbError(recordset->lastError(), __LINE__, __FILE__);
        return -1;
    }
    if (!recordset->moveFirst())
        ReportDbError(recordset->lastError(), __LINE__, __FILE__);
    return position + 1;
}

QString DatabaseEx::VariantToText(const QVariant& value) const
{
    switch (value.typeId()) {
    case QMetaType::Int:
        return QString::number(value.toInt());
    case QMetaType::Double:
        return QString::asprintf("%.2f", value.toDouble());
    case QMetaType::QDateTime:
        return QLocale().toString(value.toDateTime().date(), QLocale::ShortFormat);
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("Yes") : QStringLiteral("No");
    default:
        return QString();
    }
}

QString DatabaseEx::GetFieldText(Recordset* recordset, const QString& column)
{
    QVariant value;
    if (!recordset || !recordset->field(column, &value))
        return QString();
    return VariantToText(value);
}

QString DatabaseEx::GetFieldText(Recordset* recordset, int column)
{
    QVariant value;
    if (!recordset || !recordset->field(column, &value))
        return QString();
    return VariantToText(value);
}

int DatabaseEx::GetFieldInt(Recordset* recordset, const QString& column)
{
    QVariant value;
    if (!recordset || !recordset->field(column, &value))
        return -1;
    switch (value.typeId()) {
    case QMetaType::Int:
        return value.toInt();
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    default:
        return -1;
    }
}

QDateTime DatabaseEx::GetFieldDate(Recordset* recordset, const QString& column)
{
    QVariant value;
    if (!recordset || !recordset->field(column, &value) || value.typeId() != QMetaType::QDateTime)
        return OleDate::zero();
    return value.toDateTime();
}

bool DatabaseEx::DeleteCurrentRow(Recordset* recordset)
{
    if (!recordset)
        return false;
    if (!recordset->deleteCurrent()) {
        ReportDbError(recordset->lastError(), __LINE__, __FILE__);
        return false;
    }
    return true;
}
