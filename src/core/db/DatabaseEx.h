#pragma once

#include "db/Database.h"
#include "db/Recordset.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <memory>

using DatabaseHandle = std::unique_ptr<Database>;
using RecordsetHandle = std::unique_ptr<Recordset>;

// The engine wrapper at the root of the data-access chain: opening catalogues and recordsets,
// reading field values and reporting engine errors in the program's one message format.
class DatabaseEx
{
public:
    static constexpr const char* CatalogPassword = "Vrelta";
    static constexpr const char* MessageCaption = "Vastry";

    virtual ~DatabaseEx();

    // ";PWD=" followed by the catalogue password.
    static QString catalogConnectString();

    bool OpenDatabase(DatabaseHandle* database, const QString& path, const QString& connect);
    // The same, except that a file which looks like a catalogue under another key is not
    // reported: false with `needsOtherKey` set, so the caller can ask for that key. A file on
    // the built-in key thus opens with no more work than before.
    bool OpenDatabase(DatabaseHandle* database, const QString& path, const QString& connect,
                      bool* needsOtherKey);
    void CloseDatabase(DatabaseHandle* database);
    bool OpenRecordset(RecordsetHandle* recordset, Database* database, const QString& sql);
    bool CloseRecordset(RecordsetHandle* recordset);
    int GetRecordCount(Recordset* recordset);
    QString VariantToText(const QVariant& value) const;
    QString GetFieldText(Recordset* recordset, const QString& column);
    // The same, for a column already looked up by name (loops over many rows).
    QString GetFieldText(Recordset* recordset, int column);
    int GetFieldInt(Recordset* recordset, const QString& column);
    QDateTime GetFieldDate(Recordset* recordset, const QString& column);
    bool DeleteCurrentRow(Recordset* recordset);

    // The error box: description, blank line, a rule, the failing call's line and file name.
    void ReportDbError(const DbError& error, int line, const char* file) const;
    // The engine's own report: its description alone.
    void reportEngineError(const DbError& error) const;

    static QString formatDbError(const DbError& error, int line, const char* file);

    // Errors kept instead of reported, for work on a thread of its own that may be interrupted
    // or given up: its caller decides what, if anything, the user is told. The first error
    // since quiet was set is kept.
    void setQuiet(bool quiet)
    {
        m_quiet = quiet;
        m_quietError = DbError();
    }
    const DbError& quietError() const { return m_quietError; }

protected:
    // The error box, except for a read that another program's write kept waiting too long:
    // that one is reported as such, so the desktop program can wait and read again.
    void reportReadError(const DbError& error, int line, const char* file) const;
    static QString truncatedDescription(const DbError& error);

private:
    bool keptQuiet(const DbError& error) const;

    bool m_quiet = false;
    mutable DbError m_quietError;
};
