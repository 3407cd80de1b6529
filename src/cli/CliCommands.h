#pragma once

#include "db/AlbumTable.h"

#include <QStringList>
#include <QTextStream>

class AppSettings;
class ReleaseSearchQuery;
struct LookupSettings;

// The command-line companion's commands, each a few lines over the core's own operations.
// Exit codes: 0 success, 1 failure (one line on standard error), 2 usage error.
class CliCommands
{
public:
    // The largest album JSON `add` reads.
    static constexpr qint64 MaxAlbumJsonBytes = 64 * 1024 * 1024;
    static constexpr const char* PasswordFileOption = "--password-file";
    static constexpr const char* PasswordFileVariable = "TUNVALE_PASSWORD_FILE";

    explicit CliCommands(AppSettings& settings);
    int run(const QStringList& arguments);

    QString usage() const;

private:
    struct Arguments {
        QStringList positional;
        QHash<QString, QString> options; // "--name" -> value ("" for flags)
    };
    using Command = int (CliCommands::*)(const Arguments&);

    int commandNew(const Arguments& args);
    int commandAdd(const Arguments& args);
    int commandShow(const Arguments& args);
    int commandDelete(const Arguments& args);
    int commandCount(const Arguments& args);
    int commandList(const Arguments& args);
    int commandPage(const Arguments& args);
    int commandExport(const Arguments& args);
    int commandImport(const Arguments& args);
    int commandNames(const Arguments& args);
    int commandRename(const Arguments& args);
    int commandDrives(const Arguments& args);
    int commandDiscId(const Arguments& args);
    int commandLookup(const Arguments& args);
    int commandXmcd(const Arguments& args);
    int commandSearchOnline(const Arguments& args);
    int commandFill(const Arguments& args);
    int commandComplete(const Arguments& args);
    int commandStats(const Arguments& args);
    int commandLoans(const Arguments& args);
    int commandDuplicates(const Arguments& args);
    int commandCheck(const Arguments& args);
    int commandPasswd(const Arguments& args);
    int commandBackup(const Arguments& args);
    int commandRestore(const Arguments& args);
    int commandPublish(const Arguments& args);

    static bool readAlbumJson(QIODevice* input, QByteArray* text);
    bool openCatalog(const QString& path);
    bool openWritableCatalog(const QString& path);
    bool openCatalog(const QString& path, bool askTerminal);
    // The connect string of the password given for `path`, checked; false (said on standard
    // error) when none or a wrong one was given. The terminal is asked only when `askTerminal`.
    bool passwordConnectString(const QString& path, bool askTerminal, QString* connect);
    bool newPassword(const Arguments& args, QString* password);
    // The open catalogue's first change takes the day's backup, when none is taken yet.
    void backUpBeforeFirstChange();
    // A failed backup is said once, as a warning: the change goes on.
    void backUpBefore(int reason);
    bool parseId(const QString& text, int* id);
    bool columnsFromCaptions(const QString& captions, bool withWidths,
                             QVector<ColumnInfo>* columns);
    QVector<ColumnInfo> columnsFromSettings() const;
    QString sortText(const Arguments& args) const;
    bool listCondition(const Arguments& args, QString* condition);
    // Checks --where and --artist, opens the catalogue and sets the albums' `condition`: 0, or
    // the exit code of what failed (said on standard error).
    int openForSelection(const Arguments& args, QString* condition);
    bool listOptionsAreValid(const Arguments& args);
    bool listQueryIsReadOnly(const QString& order, const QString& condition);
    // The lookup settings with the --musicbrainz-server option applied; false when its value
    // is no address (said on standard error).
    bool onlineSettings(const Arguments& args, LookupSettings* settings);
    bool onlineQuery(const Arguments& args, ReleaseSearchQuery* query);
    int fail(const QString& message);
    // Fails with `message` unless the reason has been reported already.
    int failUnlessReported(const QString& message);
    int usageError(const QString& message);
    int invalidOption(const QString& message);

    AppSettings& m_settings;
    AlbumTable m_albums;
    DatabaseHandle m_database;
    QTextStream m_out;
    QTextStream m_err;
    int m_reported = 0; // messages the core has reported
    bool m_backupTried = false;
    QString m_listOptionError;
    QString m_passwordFile;
};
