#include "cli/CliCommands.h"

#include "app/AppSettings.h"
#include "app/ErrorReporter.h"
#include "app/TunvaleVersion.h"
#include "cli/AlbumJson.h"
#include "cli/DuplicatesOutput.h"
#include "cli/PasswordInput.h"
#include "cli/StatisticsOutput.h"
#include "db/CatalogBackup.h"
#include "db/CatalogPassword.h"
#include "db/CatalogProbe.h"
#include "db/CatalogTemplate.h"
#include "db/LocaleCollation.h"
#include "db/LookupList.h"
#include "db/ReadOnlyScope.h"
#include "db/SqlText.h"
#include "db/TrackTable.h"
#include "freedb/CdDrives.h"
#include "freedb/DiscToc.h"
#include "freedb/FreedbClient.h"
#include "freedb/LookupProgress.h"
#include "io/CollectionImport.h"
#include "io/CsvExport.h"
#include "musicbrainz/AlbumCompleter.h"
#include "musicbrainz/DiscLookup.h"
#include "musicbrainz/LookupSettings.h"
#include "musicbrainz/MusicBrainzDiscId.h"
#include "musicbrainz/MusicBrainzJson.h"
#include "musicbrainz/ReleaseLookup.h"
#include "musicbrainz/ReleaseSearchQuery.h"
#include "views/AlbumColumns.h"
#include "views/AlbumListQuery.h"
#include "views/JpegCoverScaler.h"
#include "views/OutputTarget.h"
#include "views/SitePublisher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSaveFile>
#include <algorithm>
#include <cstdio>
#include <limits>

namespace
{

// Lookup stages go to standard error as they happen.
class ProgressLines : public LookupProgress
{
public:
    void setProgressText(const QString& text) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        std::fflush(stderr);
        last = text;
    }
    QString last;
};

QJsonArray numbersArray(const QVector<int>& numbers)
{
    QJsonArray array;
    for (int number : numbers)
        array.append(number);
    return array;
}

QJsonArray textsArray(const QVector<QByteArray>& texts)
{
    QJsonArray array;
    for (const QByteArray& text : texts)
        array.append(FreedbClient::serverText(text));
    return array;
}

QString discIdText(std::uint32_t discId)
{
    return QString::asprintf("%08x", discId);
}

struct CommandSyntax {
    const char* name;
    int minimum;
    int maximum;
    QStringList options; // options taking a value; flags end with "!"
};

const QHash<QString, CommandSyntax>& commandSyntax()
{
    static const QHash<QString, CommandSyntax> table = {
        {QStringLiteral("new"), {"new", 1, 1, {}}},
        {QStringLiteral("add"), {"add", 2, 2, {}}},
        {QStringLiteral("show"), {"show", 2, 2, {}}},
        {QStringLiteral("delete"), {"delete", 2, 2, {}}},
        {QStringLiteral("count"), {"count", 1, 1, {}}},
        {QStringLiteral("list"), {"list", 1, 1, {"--columns", "--order", "--where", "--artist"}}},
        {QStringLiteral("page"), {"page", 3, 3, {}}},
        {QStringLiteral("export"),
         {"export", 2, 2, {"--columns", "--grid!", "--order", "--where", "--format"}}},
        {QStringLiteral("import"), {"import", 2, 2, {"--format", "--dry-run!"}}},
        {QStringLiteral("names"), {"names", 2, 2, {}}},
        {QStringLiteral("rename"), {"rename", 4, 4, {}}},
        {QStringLiteral("drives"), {"drives", 0, 0, {}}},
        {QStringLiteral("discid"), {"discid", 1, 1, {}}},
        {QStringLiteral("lookup"),
         {"lookup",
          1,
          1,
          {"--server", "--musicbrainz-server", "--no-musicbrainz!", "--musicbrainz-first!"}}},
        {QStringLiteral("xmcd"), {"xmcd", 1, 1, {}}},
        {QStringLiteral("search-online"),
         {"search-online",
          0,
          0,
          {"--barcode", "--catno", "--artist", "--title", "--musicbrainz-server"}}},
        {QStringLiteral("fill"),
         {"fill", 2, 2, {"--release", "--musicbrainz-server", "--no-cover!"}}},
        {QStringLiteral("complete"),
         {"complete", 1, std::numeric_limits<int>::max(), {"--dry-run!", "--musicbrainz-server"}}},
        {QStringLiteral("stats"), {"stats", 1, 1, {"--where", "--artist", "--json!"}}},
        {QStringLiteral("loans"), {"loans", 1, 1, {"--overdue", "--json!"}}},
        {QStringLiteral("duplicates"), {"duplicates", 1, 1, {"--json!"}}},
        {QStringLiteral("check"), {"check", 1, 1, {}}},
        {QStringLiteral("passwd"), {"passwd", 1, 1, {"--new-password-file"}}},
        {QStringLiteral("backup"), {"backup", 1, 2, {}}},
        {QStringLiteral("restore"), {"restore", 2, 2, {"--force!"}}},
        {QStringLiteral("publish"), {"publish", 2, 2, {"--where", "--artist", "--no-covers!"}}},
    };
    return table;
}

// Cells stay on one line and free of NULs (which would end the line for many tools): tabs,
// line feeds, carriage returns, NULs and backslashes are written as escapes.
QString escapedCell(const QString& cell)
{
    QString text;
    text.reserve(cell.size());
    for (const QChar c : cell) {
        switch (c.unicode()) {
        case '\\':
            text += QLatin1String("\\\\");
            break;
        case '\t':
            text += QLatin1String("\\t");
            break;
        case '\n':
            text += QLatin1String("\\n");
            break;
        case '\r':
            text += QLatin1String("\\r");
            break;
        case 0:
            text += QLatin1String("\\0");
            break;
        default:
            text += c;
        }
    }
    return text;
}

// Rows written straight to standard output as the list fills them.
class TabSeparatedRows : public RowTable
{
public:
    TabSeparatedRows(QTextStream& out, QStringList fields) : m_out(out), m_fields(std::move(fields))
    {
    }
    void removeAllRows() override {}
    QStringList headerFields() const override { return m_fields; }
    void appendRow(const QStringList& cells, int) override
    {
        QStringList escaped;
        for (const QString& cell : cells)
            escaped << escapedCell(cell);
        m_out << escaped.join(QLatin1Char('\t')) << '\n';
    }

private:
    QTextStream& m_out;
    QStringList m_fields;
};

class CollectedRows : public RowTable
{
public:
    void removeAllRows() override { rows.clear(); }
    QStringList headerFields() const override { return {}; }
    void appendRow(const QStringList& cells, int) override { rows.append(cells); }
    QVector<QStringList> rows;
};

} // namespace

CliCommands::CliCommands(AppSettings& settings) : m_settings(settings), m_out(stdout), m_err(stderr)
{
    // Messages meant for a box become one line on standard error: the first line of the text
    // is the engine's own description. A command that failed after such a line adds none.
    ErrorReporter::setHandler([this](const Report& report) {
        ++m_reported;
        m_err << "tunvale-cli: "
              << report.text.section(QLatin1Char('\r'), 0, 0).section(QLatin1Char('\n'), 0, 0)
              << Qt::endl;
    });
}

int CliCommands::failUnlessReported(const QString& message)
{
    return m_reported > 0 ? 1 : fail(message);
}

QString CliCommands::usage() const
{
    return QStringLiteral(
               "Usage: tunvale-cli COMMAND ARGUMENTS\n"
               "\n"
               "  new FILE                     make an empty catalogue\n"
               "  add FILE ALBUM.json          add an album with its tracks (\"-\": standard "
               "input);\n"
               "                               prints the new album id\n"
               "  show FILE ID                 print an album and its tracks as JSON\n"
               "  delete FILE ID               delete an album (it is marked deleted)\n"
               "  count FILE                   print the number of albums\n"
               "  list FILE [--columns CAPTIONS] [--order TEXT] [--where CONDITION] [--artist "
               "NAME]\n"
               "                               print the album list, tab-separated\n"
               "  page FILE ID OUT             write the album page to OUT\n"
               "  export FILE OUT [--columns CAPTION[:WIDTH],...] [--grid] [--order TEXT]\n"
               "         [--where CONDITION] [--format html|csv]\n"
               "                               write the album list as an HTML document or as "
               "CSV\n"
               "  import FILE IN.csv [--format discogs|discogs-wantlist|csv] [--dry-run]\n"
               "                               import a Discogs collection export, a "
               "Discogs\n"
               "                               wantlist (albums not in the collection) or a "
               "CSV\n"
               "                               list; prints the summary\n"
               "  names FILE LIST              print a name list: name, uses, id\n"
               "  rename FILE LIST ID NAME     rename an entry of a name list\n"
               "  drives                       list the CD-ROM drives\n"
               "  discid SOURCE                disc ID, track count, frame offsets and seconds of "
               "the\n"
               "                               disc in a drive or a disc image (.cue, .toc)\n"
               "  lookup SOURCE [--server HOST[:PORT][/PATH]] [--musicbrainz-server "
               "HOST[:PORT][/PATH]]\n"
               "         [--no-musicbrainz] [--musicbrainz-first]\n"
               "                               look the disc up at the CDDB server, then at "
               "MusicBrainz;\n"
               "                               prints JSON\n"
               "  xmcd FILE                    parse a CDDB read reply; prints the entry as JSON\n"
               "  search-online [--barcode N | --catno TEXT | --artist A --title T]\n"
               "         [--musicbrainz-server HOST[:PORT][/PATH]]\n"
               "                               search releases at MusicBrainz; prints the "
               "candidates\n"
               "                               as JSON, best first\n"
               "  fill FILE ID --release MBID [--musicbrainz-server HOST[:PORT][/PATH]] "
               "[--no-cover]\n"
               "                               fill the empty fields of album ID (and its "
               "tracks, when\n"
               "                               it has none) from a MusicBrainz release; prints "
               "the album\n"
               "  complete FILE [ID...] [--dry-run] [--musicbrainz-server HOST[:PORT][/PATH]]\n"
               "                               complete albums from MusicBrainz by their Discogs "
               "release\n"
               "                               (all imported albums without tracks when no ID is "
               "given);\n"
               "                               prints the summary, progress on standard error\n"
               "  stats FILE [--where CONDITION] [--artist NAME] [--json]\n"
               "                               figures of the collection (or of the albums the\n"
               "                               condition and artist select), as text or JSON\n"
               "  loans FILE [--overdue DAYS] [--json]\n"
               "                               the albums on loan, longest out first (only those\n"
               "                               out more than DAYS days with --overdue)\n"
               "  duplicates FILE [--json]     groups of albums that are probably the same record\n"
               "                               (same barcode, Discogs or MusicBrainz release, or "
               "artist\n"
               "                               and title), as text or JSON\n"
               "  check FILE                   check the whole file for damage; prints ok or the\n"
               "                               problems found (exit 1)\n"
               "  passwd FILE [--new-password-file F]\n"
               "                               set, change or remove (an empty new password) "
               "the\n"
               "                               catalogue's own password; asks on the terminal, "
               "without\n"
               "                               echo, for what no file gives\n"
               "  backup FILE [OUT]            copy the catalogue, checked, into OUT (a file or "
               "a folder;\n"
               "                               default: its backup folder); prints the copy's "
               "path\n"
               "  restore FILE BACKUP [--force]\n"
               "                               replace the catalogue with a backup, after "
               "backing up\n"
               "                               its current state (--force: even when that "
               "fails)\n"
               "  publish FILE DIR [--where CONDITION] [--artist NAME] [--no-covers]\n"
               "                               write the albums as a web site into DIR (a new or "
               "empty\n"
               "                               folder, or one published before, which is "
               "replaced):\n"
               "                               open DIR/index.html in any browser, no server "
               "needed\n"
               "\n"
               "  --password-file F            the password of a catalogue that has one: the "
               "first line\n"
               "                               of F (also taken from the file the environment\n"
               "                               variable TUNVALE_PASSWORD_FILE names); catalogues "
               "without\n"
               "                               a password of their own open without it\n"
               "  --help, --version\n"
               "\n"
               "Settings are the desktop program's: %1\n")
        .arg(m_settings.fileName());
}

int CliCommands::fail(const QString& message)
{
    m_err << "tunvale-cli: " << message << Qt::endl;
    return 1;
}

int CliCommands::usageError(const QString& message)
{
    m_err << "tunvale-cli: " << message << "\n" << usage() << Qt::flush;
    return 2;
}

// An option whose value is wrong in itself: the usage text would not help.
int CliCommands::invalidOption(const QString& message)
{
    m_err << "tunvale-cli: " << message << Qt::endl;
    return 2;
}

int CliCommands::run(const QStringList& arguments)
{
    if (arguments.size() < 2)
        return usageError(QStringLiteral("no command given"));
    const QString name = arguments[1];
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        m_out << usage() << Qt::flush;
        return 0;
    }
    if (name == QLatin1String("--version")) {
        m_out << "tunvale-cli " << TunvaleVersion << Qt::endl;
        return 0;
    }
    const auto syntax = commandSyntax().constFind(name);
    if (syntax == commandSyntax().constEnd())
        return usageError(QStringLiteral("unknown command '%1'").arg(name));

    Arguments args;
    for (int i = 2; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        if (!word.startsWith(QLatin1String("--")) || word == QLatin1String("--")) {
            args.positional << word;
            continue;
        }
        if (word == QLatin1String(PasswordFileOption) && i + 1 < arguments.size()) {
            m_passwordFile = arguments[++i];
        } else if (syntax->options.contains(word + QLatin1Char('!'))) {
            args.options.insert(word, QString());
        } else if (syntax->options.contains(word) && i + 1 < arguments.size()) {
            args.options.insert(word, arguments[++i]);
        } else {
            return usageError(
                QStringLiteral("%1: unknown option or missing value '%2'").arg(name, word));
        }
    }
    if (args.positional.size() < syntax->minimum || args.positional.size() > syntax->maximum)
        return usageError(QStringLiteral("%1: wrong number of arguments").arg(name));

    static const QHash<QString, Command> commands = {
        {QStringLiteral("new"), &CliCommands::commandNew},
        {QStringLiteral("add"), &CliCommands::commandAdd},
        {QStringLiteral("show"), &CliCommands::commandShow},
        {QStringLiteral("delete"), &CliCommands::commandDelete},
        {QStringLiteral("count"), &CliCommands::commandCount},
        {QStringLiteral("list"), &CliCommands::commandList},
        {QStringLiteral("page"), &CliCommands::commandPage},
        {QStringLiteral("export"), &CliCommands::commandExport},
        {QStringLiteral("import"), &CliCommands::commandImport},
        {QStringLiteral("names"), &CliCommands::commandNames},
        {QStringLiteral("rename"), &CliCommands::commandRename},
        {QStringLiteral("drives"), &CliCommands::commandDrives},
        {QStringLiteral("discid"), &CliCommands::commandDiscId},
        {QStringLiteral("lookup"), &CliCommands::commandLookup},
        {QStringLiteral("xmcd"), &CliCommands::commandXmcd},
        {QStringLiteral("search-online"), &CliCommands::commandSearchOnline},
        {QStringLiteral("fill"), &CliCommands::commandFill},
        {QStringLiteral("complete"), &CliCommands::commandComplete},
        {QStringLiteral("stats"), &CliCommands::commandStats},
        {QStringLiteral("loans"), &CliCommands::commandLoans},
        {QStringLiteral("duplicates"), &CliCommands::commandDuplicates},
        {QStringLiteral("check"), &CliCommands::commandCheck},
        {QStringLiteral("passwd"), &CliCommands::commandPasswd},
        {QStringLiteral("backup"), &CliCommands::commandBackup},
        {QStringLiteral("restore"), &CliCommands::commandRestore},
        {QStringLiteral("publish"), &CliCommands::commandPublish},
    };
    const int result = (this->*commands.value(name))(args);
    m_out.flush();
    m_albums.CloseDatabase(&m_database);
    return result;
}

bool CliCommands::openCatalog(const QString& path)
{
    return openCatalog(path, false);
}

// A catalogue on the built-in key opens as always; for one with a password of its own the
// password is taken from its file (or the terminal, when `askTerminal`) and checked. The
// engine or this reports why on standard error.
bool CliCommands::openCatalog(const QString& path, bool askTerminal)
{
    bool needsPassword = false;
    bool opened = m_albums.OpenDatabase(&m_database, path, DatabaseEx::catalogConnectString(),
                                        &needsPassword);
    if (!opened && needsPassword) {
        QString connect;
        opened = passwordConnectString(path, askTerminal, &connect) &&
                 m_albums.OpenDatabase(&m_database, path, connect);
        connect.fill(QLatin1Char(' '));
    }
    if (opened)
        m_database->setBeforeChange([this] { backUpBeforeFirstChange(); });
    return opened;
}

bool CliCommands::passwordConnectString(const QString& path, bool askTerminal, QString* connect)
{
    QString password;
    QString error;
    const QString file =
        m_passwordFile.isEmpty() ? qEnvironmentVariable(PasswordFileVariable) : m_passwordFile;
    bool given = false;
    if (!file.isEmpty()) {
        given = PasswordInput::fromFile(file, &password, &error);
    } else if (askTerminal && PasswordInput::hasTerminal()) {
        given = PasswordInput::fromTerminal(QStringLiteral("Password of '%1': ").arg(path),
                                            &password, &error);
    } else {
        error =
            QStringLiteral("'%1' is protected by a password: give it with %2 FILE or in "
                           "the environment variable %3.")
                .arg(path, QLatin1String(PasswordFileOption), QLatin1String(PasswordFileVariable));
    }
    if (!given) {
        fail(error);
        return false;
    }
    *connect = CatalogPassword::connectString(password);
    if (CatalogProbe::opensWith(path, *connect))
        return true;
    fail(QStringLiteral("the password of '%1' is wrong.").arg(path));
    return false;
}

// The new password from its file, or typed twice on the terminal.
bool CliCommands::newPassword(const Arguments& args, QString* password)
{
    QString error;
    const QString file = args.options.value(QStringLiteral("--new-password-file"));
    if (!file.isEmpty()) {
        if (PasswordInput::fromFile(file, password, &error))
            return true;
        fail(error);
        return false;
    }
    if (!PasswordInput::hasTerminal()) {
        fail(QStringLiteral("give the new password with --new-password-file FILE (there is no "
                            "terminal to ask on)."));
        return false;
    }
    QString repeated;
    if (!PasswordInput::fromTerminal(
            QStringLiteral("New password (empty: back to the built-in key): "), password, &error) ||
        !PasswordInput::fromTerminal(QStringLiteral("The new password again: "), &repeated,
                                     &error)) {
        fail(error);
        return false;
    }
    if (*password == repeated)
        return true;
    fail(QStringLiteral("the two new passwords differ; nothing was changed."));
    return false;
}

int CliCommands::commandPasswd(const Arguments& args)
{
    const QString path = args.positional[0];
    if (!openCatalog(path, true))
        return 1;
    if (m_database->isReadOnly())
        return fail(QStringLiteral("'%1' is read-only; nothing was changed.").arg(path));
    QString password;
    if (!newPassword(args, &password))
        return 1;
    const QString problem = CatalogPassword::problem(password);
    if (!problem.isEmpty())
        return fail(problem + QLatin1String(" Nothing was changed."));
    const bool hadPassword = CatalogPassword::hasOwnPassword(*m_database);
    backUpBefore(int(CatalogBackup::Reason::PasswordChange));
    QString error;
    if (!CatalogPassword::change(m_database.get(), password, &error))
        return fail(error);
    m_albums.CloseDatabase(&m_database);
    if (password.isEmpty())
        m_out << QStringLiteral("'%1' has no password of its own any more.").arg(path) << '\n';
    else
        m_out << QStringLiteral("The password of '%1' is %2.")
                     .arg(path, hadPassword ? QStringLiteral("changed") : QStringLiteral("set"))
              << '\n';
    return 0;
}

void CliCommands::backUpBeforeFirstChange()
{
    if (!m_backupTried && CatalogBackup::fromSettings(m_settings).isDailyDue(m_database->name()))
        backUpBefore(int(CatalogBackup::Reason::Daily));
    m_backupTried = true;
}

void CliCommands::backUpBefore(int reason)
{
    if (m_backupTried)
        return;
    m_backupTried = true;
    const auto why = CatalogBackup::Reason(reason);
    QString error;
    if (!CatalogBackup::fromSettings(m_settings).takeBefore(m_database.get(), why, &error))
        m_err << "tunvale-cli: warning: " << CatalogBackup::reasonText(why) << " failed: " << error
              << Qt::endl;
}

// Commands that change the catalogue say so when it cannot be changed, before trying.
bool CliCommands::openWritableCatalog(const QString& path)
{
    if (!openCatalog(path))
        return false;
    if (!m_database->isReadOnly())
        return true;
    fail(QStringLiteral("'%1' is read-only; nothing was changed.").arg(path));
    return false;
}

bool CliCommands::parseId(const QString& text, int* id)
{
    bool ok = false;
    *id = text.toInt(&ok);
    return ok;
}

int CliCommands::commandNew(const Arguments& args)
{
    const QString path = args.positional[0];
    // A script that names an existing file gets an error, never a silently emptied catalogue.
    if (QFileInfo::exists(path))
        return fail(QStringLiteral("'%1' already exists.").arg(path));
    QString error;
    if (!CatalogTemplate::copyTo(path, &error))
        return fail(error);
    return openCatalog(path) ? 0 : 1;
}

// An album with its tracks is a few kilobytes; the cap keeps an endless input (a device, a
// runaway pipe) from filling the memory. False when the input goes beyond it.
bool CliCommands::readAlbumJson(QIODevice* input, QByteArray* text)
{
    constexpr qint64 ChunkBytes = 1024 * 1024;
    for (;;) {
        const QByteArray chunk =
            input->read(std::min<qint64>(ChunkBytes, MaxAlbumJsonBytes + 1 - text->size()));
        if (chunk.isEmpty())
            return true;
        text->append(chunk);
        if (text->size() > MaxAlbumJsonBytes)
            return false;
    }
}

int CliCommands::commandAdd(const Arguments& args)
{
    const QString source = args.positional[1];
    QFile file;
    const bool opened = source == QLatin1String("-")
                            ? file.open(stdin, QIODevice::ReadOnly)
                            : (file.setFileName(source), file.open(QIODevice::ReadOnly));
    if (!opened)
        return fail(QStringLiteral("cannot read '%1': %2").arg(source, file.errorString()));
    QByteArray text;
    if (!readAlbumJson(&file, &text))
        return fail(QStringLiteral("%1: the album JSON is larger than %2 MB; nothing was added.")
                        .arg(source)
                        .arg(MaxAlbumJsonBytes / (1024 * 1024)));
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(text, &parseError);
    if (json.isNull())
        return fail(
            QStringLiteral("%1: not a JSON object (%2)").arg(source, parseError.errorString()));
    if (!json.isObject())
        return fail(
            QStringLiteral("%1: not a JSON object (the top level is an array).").arg(source));
    AlbumRecord album;
    QVector<TrackRecord> tracks;
    QString error;
    if (!AlbumJson::fromJson(json.object(), &album, &tracks, &error))
        return fail(error);
    // Tracks of a new album are new, whatever ids the JSON carried from elsewhere.
    for (TrackRecord& track : tracks)
        track.trackId = -1;
    if (!openWritableCatalog(args.positional[0]))
        return 1;
    const int id = m_albums.saveWithTracks(m_database.get(), album, -1, &tracks);
    if (id < 0)
        return failUnlessReported(QStringLiteral("the album was not saved."));
    m_out << id << '\n';
    return 0;
}

int CliCommands::commandShow(const Arguments& args)
{
    int id = -1;
    if (!parseId(args.positional[1], &id))
        return usageError(QStringLiteral("show: '%1' is not an album id").arg(args.positional[1]));
    if (!openCatalog(args.positional[0]))
        return 1;
    AlbumRecord album;
    if (!m_albums.Load(m_database.get(), id, &album))
        return fail(QStringLiteral("no album with id %1.").arg(id));
    QVector<TrackRecord> tracks;
    TrackTable().loadForPage(m_database.get(), id, &tracks);
    m_out << QJsonDocument(AlbumJson::toJson(album, id, tracks)).toJson(QJsonDocument::Indented);
    return 0;
}

int CliCommands::commandDelete(const Arguments& args)
{
    int id = -1;
    if (!parseId(args.positional[1], &id))
        return usageError(
            QStringLiteral("delete: '%1' is not an album id").arg(args.positional[1]));
    if (!openWritableCatalog(args.positional[0]))
        return 1;
    if (!m_albums.Delete(m_database.get(), id, false))
        return failUnlessReported(QStringLiteral("no album with id %1.").arg(id));
    return 0;
}

int CliCommands::commandCount(const Arguments& args)
{
    if (!openCatalog(args.positional[0]))
        return 1;
    const int count = m_albums.Count(m_database.get(), false);
    if (count < 0)
        return 1;
    m_out << count << '\n';
    return 0;
}

// The columns the desktop list shows, in its display order.
QVector<ColumnInfo> CliCommands::columnsFromSettings() const
{
    AlbumColumns table;
    table.load(m_settings);
    return table.shownInDisplayOrder();
}

bool CliCommands::columnsFromCaptions(const QString& captions, bool withWidths,
                                      QVector<ColumnInfo>* columns)
{
    AlbumColumns table;
    table.load(m_settings);
    for (const QString& item : captions.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        QString caption = item.trimmed();
        int width = -1;
        const int colon = caption.lastIndexOf(QLatin1Char(':'));
        if (withWidths && colon > 0) {
            bool ok = false;
            width = caption.mid(colon + 1).toInt(&ok);
            if (!ok || width < 0 || width > AlbumColumns::MaxWidth) {
                fail(QStringLiteral("'%1' is not a caption with a width (0 to %2 pixels).")
                         .arg(item, QString::number(AlbumColumns::MaxWidth)));
                return false;
            }
            caption = caption.left(colon).trimmed();
        }
        const int index = table.indexOfCaption(caption);
        if (index < 0) {
            fail(QStringLiteral("unknown column caption '%1'.").arg(caption));
            return false;
        }
        ColumnInfo info = table[index].info();
        if (width >= 0)
            info.width = width;
        columns->append(info);
    }
    return true;
}

QString CliCommands::sortText(const Arguments& args) const
{
    AlbumListQuery query;
    query.load(m_settings);
    return args.options.value(QStringLiteral("--order"), query.sortText());
}

// The order and condition are SQL from outside: an order is column names with their
// directions, a condition one expression, and neither may do more than read.
bool CliCommands::listOptionsAreValid(const Arguments& args)
{
    const QString order = args.options.value(QStringLiteral("--order"));
    if (args.options.contains(QStringLiteral("--order")) && !AlbumListQuery::isSortText(order)) {
        m_listOptionError = QStringLiteral("--order '%1' is not a list of column names, each "
                                           "with ASC or DESC or neither.")
                                .arg(order);
        return false;
    }
    const QString condition = args.options.value(QStringLiteral("--where"));
    if (!SqlText::isEnclosable(condition.toUtf8())) {
        m_listOptionError =
            QStringLiteral("--where '%1' is not one expression (unbalanced parentheses, a ';' "
                           "or a comment).")
                .arg(condition);
        return false;
    }
    return true;
}

// Prepared, not run, with the catalogue open for reading only.
bool CliCommands::listQueryIsReadOnly(const QString& order, const QString& condition)
{
    const QString sql = CatalogTable::BuildItemQuery(m_albums.baseSelect(m_database.get()), order,
                                                     false, condition);
    ReadOnlyScope readOnly(m_database.get());
    if (m_database->isSingleStatement(sql))
        return true;
    m_listOptionError = QStringLiteral("--where or --order is not a read-only expression: %1")
                            .arg(m_database->lastError().description);
    return false;
}

bool CliCommands::listCondition(const Arguments& args, QString* condition)
{
    *condition = args.options.value(QStringLiteral("--where"));
    if (!args.options.contains(QStringLiteral("--artist")))
        return true;
    const QString name = args.options.value(QStringLiteral("--artist"));
    RecordsetHandle artist;
    const QString sql =
        QStringLiteral("SELECT artist_id FROM music_artists WHERE artist_name = '%1'")
            .arg(SqlText::quoted(name));
    if (!m_albums.OpenRecordset(&artist, m_database.get(), sql))
        return false;
    if (artist->isEOF()) {
        fail(QStringLiteral("no artist named '%1'.").arg(name));
        return false;
    }
    // The same condition the artist tree sets.
    const QString byArtist = AlbumListQuery::artistCondition(
        m_albums.GetFieldInt(artist.get(), QStringLiteral("artist_id")));
    *condition = AlbumListQuery::bothConditions(byArtist, *condition);
    return true;
}

int CliCommands::commandList(const Arguments& args)
{
    if (!listOptionsAreValid(args))
        return invalidOption(m_listOptionError);
    QVector<ColumnInfo> columns;
    if (args.options.contains(QStringLiteral("--columns"))) {
        if (!columnsFromCaptions(args.options.value(QStringLiteral("--columns")), false, &columns))
            return 1;
    } else {
        columns = columnsFromSettings();
    }
    if (!openCatalog(args.positional[0]))
        return 1;
    QString condition;
    if (!listCondition(args, &condition))
        return 1;
    QStringList captions;
    QStringList fields;
    for (const ColumnInfo& column : columns) {
        captions << column.caption;
        fields << column.field;
    }
    const QString order = sortText(args);
    if (!listQueryIsReadOnly(order, condition))
        return invalidOption(m_listOptionError);
    m_out << captions.join(QLatin1Char('\t')) << '\n';
    TabSeparatedRows rows(m_out, fields);
    ReadOnlyScope readOnly(m_database.get());
    return m_albums.FillList(m_database.get(), &rows, order, false, condition) ? 0 : 1;
}

int CliCommands::commandPage(const Arguments& args)
{
    int id = -1;
    if (!parseId(args.positional[1], &id))
        return usageError(QStringLiteral("page: '%1' is not an album id").arg(args.positional[1]));
    const QString target = args.positional[2];
    const QString refused = OutputTarget::refusal(target, args.positional[0]);
    if (!refused.isEmpty())
        return fail(refused);
    if (!openCatalog(args.positional[0]))
        return 1;
    // The page replaces the target only once every byte of it is written.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return fail(OutputTarget::cannotWrite(target, file));
    switch (m_albums.WritePageTo(m_database.get(), id, false, &file)) {
    case AlbumTable::PageResult::NoAlbum:
        return failUnlessReported(QStringLiteral("no page for album %1.").arg(id));
    case AlbumTable::PageResult::TracksUnreadable:
        return failUnlessReported(QStringLiteral("the tracks of album %1 cannot be read.").arg(id));
    case AlbumTable::PageResult::WriteFailed:
        return fail(OutputTarget::cannotWrite(target, file));
    case AlbumTable::PageResult::Written:
        break;
    }
    // A short write at the final flush sets no error that commit() would see: flush first.
    if (!file.flush() || !file.commit())
        return fail(OutputTarget::cannotWrite(target, file));
    return 0;
}

int CliCommands::commandExport(const Arguments& args)
{
    const QString format = args.options.value(QStringLiteral("--format"), QStringLiteral("html"));
    if (format != QLatin1String("html") && format != QLatin1String("csv"))
        return invalidOption(QStringLiteral("--format '%1' is neither html nor csv.").arg(format));
    if (!listOptionsAreValid(args))
        return invalidOption(m_listOptionError);
    QVector<ColumnInfo> columns;
    if (args.options.contains(QStringLiteral("--columns"))) {
        if (!columnsFromCaptions(args.options.value(QStringLiteral("--columns")), true, &columns))
            return 1;
    } else {
        columns = columnsFromSettings();
    }
    if (!openCatalog(args.positional[0]))
        return 1;
    const QString order = sortText(args);
    const QString condition = args.options.value(QStringLiteral("--where"));
    if (!listQueryIsReadOnly(order, condition))
        return invalidOption(m_listOptionError);
    ReadOnlyScope readOnly(m_database.get());
    if (format == QLatin1String("csv")) {
        QString error;
        return CsvExport::write(m_database.get(), columns, args.positional[1], order, condition,
                                &error)
                   ? 0
                   : failUnlessReported(error);
    }
    const int grid = args.options.contains(QStringLiteral("--grid")) ? 1 : 0;
    if (!m_albums.WriteListTable(m_database.get(), columns, grid, args.positional[1], order, false,
                                 condition))
        return failUnlessReported(QStringLiteral("cannot write '%1'.").arg(args.positional[1]));
    return 0;
}

int CliCommands::commandImport(const Arguments& args)
{
    static const QHash<QString, CollectionImport::Format> formats = {
        {QString(), CollectionImport::Format::Detect},
        {QStringLiteral("discogs"), CollectionImport::Format::Discogs},
        {QStringLiteral("csv"), CollectionImport::Format::Csv},
        {QStringLiteral("discogs-wantlist"), CollectionImport::Format::DiscogsWantlist}};
    const QString format = args.options.value(QStringLiteral("--format"));
    if (!formats.contains(format))
        return invalidOption(
            QStringLiteral("--format '%1' is not discogs, discogs-wantlist or csv.").arg(format));
    const bool dryRun = args.options.contains(QStringLiteral("--dry-run"));
    // A dry run only reads, so it works on a catalogue that cannot be changed.
    if (!(dryRun ? openCatalog(args.positional[0]) : openWritableCatalog(args.positional[0])))
        return 1;
    if (!dryRun)
        backUpBefore(int(CatalogBackup::Reason::Import));
    CollectionImport import(m_database.get());
    import.setWantlistCommand(QStringLiteral("--format discogs-wantlist"));
    const ImportSummary summary = import.run(args.positional[1], formats.value(format), dryRun);
    if (summary.outcome != ImportSummary::Outcome::Stored &&
        summary.outcome != ImportSummary::Outcome::DryRun)
        return fail(QStringLiteral("%1: %2").arg(args.positional[1], summary.message));
    m_out << summary.text() << '\n';
    return 0;
}

int CliCommands::commandNames(const Arguments& args)
{
    const LookupList* list = LookupList::find(args.positional[1]);
    if (!list)
        return fail(QStringLiteral("unknown list '%1'.").arg(args.positional[1]));
    if (!openCatalog(args.positional[0]))
        return 1;
    CollectedRows rows;
    if (!m_albums.FillLookupListView(m_database.get(), &rows, list->usingTable, list->usingColumn,
                                     list->table, list->nameColumn, list->idColumn,
                                     list->deletedColumn, false))
        return 1;
    // As the list editor shows them: sorted by name.
    QStringList names;
    for (const QStringList& row : qAsConst(rows.rows))
        names << row.value(0);
    for (int index : LocaleCollation::current().sortedOrder(names)) {
        QStringList escaped;
        for (const QString& cell : rows.rows.at(index))
            escaped << escapedCell(cell);
        m_out << escaped.join(QLatin1Char('\t')) << '\n';
    }
    return 0;
}

int CliCommands::commandRename(const Arguments& args)
{
    const LookupList* list = LookupList::find(args.positional[1]);
    if (!list)
        return fail(QStringLiteral("unknown list '%1'.").arg(args.positional[1]));
    int id = -1;
    if (!parseId(args.positional[2], &id))
        return usageError(QStringLiteral("rename: '%1' is not an id").arg(args.positional[2]));
    const QString name = args.positional[3];
    if (name.isEmpty())
        return fail(QStringLiteral("a name cannot be empty."));
    if (!openWritableCatalog(args.positional[0]))
        return 1;
    Database* database = m_database.get();
    RecordsetHandle entry;
    const QString sql = QStringLiteral("SELECT * FROM %1 WHERE %2 = %3")
                            .arg(list->table, list->idColumn, QString::number(id));
    if (!m_albums.OpenRecordset(&entry, database, sql))
        return 1;
    if (m_albums.GetRecordCount(entry.get()) != 1)
        return fail(
            QStringLiteral("no entry %1 in the list '%2'.").arg(QString::number(id), list->table));
    m_albums.CloseRecordset(&entry);
    backUpBefore(int(CatalogBackup::Reason::ListChange));
    m_albums.SaveLookupName(database, id, list->table, list->nameColumn, list->idColumn, name);
    if (m_albums.GetNameById(database, id, list->table, list->nameColumn, list->idColumn) != name)
        return 1; // the engine has said why
    return 0;
}

int CliCommands::commandDrives(const Arguments&)
{
    for (const QString& drive : EnumerateCdDrives())
        m_out << drive << '\n';
    return 0;
}

// The four values a CDDB query carries.
int CliCommands::commandDiscId(const Arguments& args)
{
    DiscToc toc;
    std::uint32_t discId = 0;
    if (!ReadDiscId(args.positional[0], toc, discId))
        return 1; // the reason is on standard error already
    QStringList offsets;
    for (int i = 0; i < toc.trackCount(); ++i)
        offsets << QString::number(toc.trackStart(i).frameOffset());
    m_out << discIdText(discId) << ' ' << toc.trackCount() << ' ' << offsets.join(QLatin1Char('+'))
          << ' ' << toc.leadOut().wholeSeconds() << '\n';
    m_out << "MB " << MusicBrainzDiscId::fromToc(toc) << '\n';
    return 0;
}

int CliCommands::commandLookup(const Arguments& args)
{
    LookupSettings settings = LookupSettings::read(m_settings);
    const auto option = [&](const char* name) { return args.options.value(QLatin1String(name)); };
    if (args.options.contains(QStringLiteral("--server"))) {
        settings.cddbServer = CddbServer::fromSetting(option("--server"));
        if (!settings.cddbServer)
            return fail(QStringLiteral("'%1' is not a server as host[:port][/path].")
                            .arg(option("--server")));
    }
    if (!onlineSettings(args, &settings))
        return 1;
    // Asking for MusicBrainz first asks it even where the settings have it off; saying no
    // to it wins over both.
    if (args.options.contains(QStringLiteral("--musicbrainz-first")))
        settings.musicBrainz = settings.musicBrainzFirst = true;
    if (args.options.contains(QStringLiteral("--no-musicbrainz")))
        settings.musicBrainz = false;
    AlbumRecord album;
    std::vector<std::unique_ptr<TrackRecord>> tracks;
    ProgressLines progress;
    if (!DiscLookup::Lookup(args.positional[0], settings, album, tracks, &progress))
        return fail(progress.last);
    QJsonObject object{{QStringLiteral("artist_name"), album.artist},
                       {QStringLiteral("title"), album.title},
                       {QStringLiteral("cat_name"), album.genre},
                       {QStringLiteral("length"), album.length},
                       {QStringLiteral("year"), album.year},
                       {QStringLiteral("freedbid"), album.freedbId},
                       {QStringLiteral("label_name"), album.label},
                       {QStringLiteral("labelnumber"), album.labelNumber},
                       {QStringLiteral("frontimage"), album.frontImage}};
    QJsonArray list;
    for (const auto& track : tracks)
        list.append(QJsonObject{{QStringLiteral("tracknumber"), track->trackNumber},
                                {QStringLiteral("title"), track->title},
                                {QStringLiteral("artist_name"), track->artist},
                                {QStringLiteral("length"), track->length}});
    object.insert(QStringLiteral("tracks"), list);
    m_out << QJsonDocument(object).toJson(QJsonDocument::Indented);
    return 0;
}

int CliCommands::commandXmcd(const Arguments& args)
{
    QFile file(args.positional[0]);
    if (!file.open(QIODevice::ReadOnly))
        return fail(
            QStringLiteral("cannot read '%1': %2").arg(file.fileName(), file.errorString()));
    // A read reply is small; anything far larger is no reply.
    const QByteArray body = file.read(FreedbClient().maxReplySize() + 1);
    XmcdEntry entry;
    if (body.size() > FreedbClient().maxReplySize() || !entry.Parse(body))
        return fail(QStringLiteral("'%1' holds no complete xmcd entry.").arg(file.fileName()));
    const QJsonObject object{
        {QStringLiteral("disc_id"), discIdText(entry.discId)},
        {QStringLiteral("artist"), FreedbClient::serverText(entry.artist)},
        {QStringLiteral("title"), FreedbClient::serverText(entry.title)},
        {QStringLiteral("year"), entry.year},
        {QStringLiteral("genre"), FreedbClient::serverText(entry.genre)},
        {QStringLiteral("disc_length"), entry.discLength},
        {QStringLiteral("revision"), entry.revision},
        {QStringLiteral("frame_offsets"), numbersArray(entry.frameOffsets)},
        {QStringLiteral("track_titles"), textsArray(entry.trackTitles)},
        {QStringLiteral("extended_disc_data"), FreedbClient::serverText(entry.extendedDiscData)},
        {QStringLiteral("extended_track_data"), textsArray(entry.extendedTrackData)},
        {QStringLiteral("play_order"), numbersArray(entry.playOrder)},
        {QStringLiteral("submitter_client"), FreedbClient::serverText(entry.submitterClient)},
        {QStringLiteral("submitter_version"), FreedbClient::serverText(entry.submitterVersion)},
        {QStringLiteral("submitter_comment"), FreedbClient::serverText(entry.submitterComment)},
    };
    m_out << QJsonDocument(object).toJson(QJsonDocument::Indented);
    return 0;
}

bool CliCommands::onlineSettings(const Arguments& args, LookupSettings* settings)
{
    const QString option = QStringLiteral("--musicbrainz-server");
    if (!args.options.contains(option))
        return true;
    settings->musicBrainzServer = LookupSettings::musicBrainzAddress(args.options.value(option));
    if (settings->musicBrainzServer)
        return true;
    fail(QStringLiteral("'%1' is not a server as host[:port][/path].")
             .arg(args.options.value(option)));
    return false;
}

// Exactly one way to search: a barcode, a catalogue number, or an artist with a title.
bool CliCommands::onlineQuery(const Arguments& args, ReleaseSearchQuery* query)
{
    const auto given = [&](const char* name) { return args.options.contains(QLatin1String(name)); };
    const auto value = [&](const char* name) { return args.options.value(QLatin1String(name)); };
    const int ways = int(given("--barcode")) + int(given("--catno")) +
                     int(given("--artist") || given("--title"));
    if (ways != 1 || given("--artist") != given("--title"))
        return false;
    if (given("--barcode"))
        *query = ReleaseSearchQuery::barcode(value("--barcode"));
    else if (given("--catno"))
        *query = ReleaseSearchQuery::catalogNumber(value("--catno"));
    else
        *query = ReleaseSearchQuery::artistAndTitle(value("--artist"), value("--title"));
    return true;
}

int CliCommands::commandSearchOnline(const Arguments& args)
{
    ReleaseSearchQuery query;
    if (!onlineQuery(args, &query))
        return usageError(QStringLiteral(
            "search-online: give --barcode, --catno, or --artist with --title (one of them)"));
    if (!query.isValid())
        return invalidOption(query.error());
    // Searching is what the command is for: the disc lookup's MusicBrainz switch does not
    // apply, only the server it names.
    LookupSettings settings = LookupSettings::read(m_settings);
    if (!onlineSettings(args, &settings))
        return 1;
    if (!settings.musicBrainzServer)
        return fail(QStringLiteral("the MusicBrainz server setting is no usable address."));
    MusicBrainzClient client(*settings.musicBrainzServer);
    QVector<ReleaseCandidate> candidates;
    const MusicBrainzClient::Answer answer = client.searchReleases(query, candidates);
    if (answer == MusicBrainzClient::Answer::Failed)
        return fail(client.lastError());
    // No candidate is an answer too: an empty array, the reason on standard error.
    if (answer == MusicBrainzClient::Answer::NotFound)
        m_err << "tunvale-cli: " << client.lastError() << Qt::endl;
    QJsonArray list;
    for (const ReleaseCandidate& candidate : candidates)
        list.append(QJsonObject{{QStringLiteral("id"), candidate.id},
                                {QStringLiteral("title"), candidate.title},
                                {QStringLiteral("artist"), candidate.artist},
                                {QStringLiteral("date"), candidate.date},
                                {QStringLiteral("country"), candidate.country},
                                {QStringLiteral("barcode"), candidate.barcode},
                                {QStringLiteral("formats"), candidate.formats},
                                {QStringLiteral("track_count"), candidate.trackCount},
                                {QStringLiteral("label"), candidate.label},
                                {QStringLiteral("catalog_number"), candidate.catalogNumber},
                                {QStringLiteral("score"), candidate.score}});
    m_out << QJsonDocument(list).toJson(QJsonDocument::Indented);
    return 0;
}

int CliCommands::commandFill(const Arguments& args)
{
    int id = -1;
    if (!parseId(args.positional[1], &id))
        return usageError(QStringLiteral("fill: '%1' is not an album id").arg(args.positional[1]));
    const QString releaseId = args.options.value(QStringLiteral("--release"));
    if (releaseId.isEmpty())
        return usageError(QStringLiteral("fill: --release MBID is missing"));
    if (MusicBrainzJson::canonicalId(releaseId).isEmpty())
        return invalidOption(
            QStringLiteral("--release '%1' is not a MusicBrainz release id.").arg(releaseId));
    LookupSettings settings = LookupSettings::read(m_settings);
    if (!onlineSettings(args, &settings))
        return 1;
    // The album is found before the service is asked: a wrong id costs no request.
    if (!openWritableCatalog(args.positional[0]))
        return 1;
    AlbumRecord album;
    if (!m_albums.Load(m_database.get(), id, &album))
        return fail(QStringLiteral("no album with id %1.").arg(id));

    const bool wantCover =
        !args.options.contains(QStringLiteral("--no-cover")) && album.frontImage.isEmpty();
    MusicBrainzRelease::Fill fill;
    QString error;
    if (ReleaseLookup::lookUp(releaseId, settings, wantCover, fill, &error) !=
        MusicBrainzClient::Answer::Found)
        return fail(error + QStringLiteral(" Nothing was changed."));
    if (ReleaseLookup::fillAndStore(m_database.get(), id, album, fill) < 0)
        return failUnlessReported(QStringLiteral("album %1 was not saved.").arg(id));
    m_albums.CloseDatabase(&m_database);
    return commandShow(args);
}

int CliCommands::commandComplete(const Arguments& args)
{
    QVector<int> ids;
    for (int i = 1; i < args.positional.size(); ++i) {
        int id = -1;
        if (!parseId(args.positional[i], &id))
            return usageError(
                QStringLiteral("complete: '%1' is not an album id").arg(args.positional[i]));
        ids.append(id);
    }
    LookupSettings settings = LookupSettings::read(m_settings);
    if (!onlineSettings(args, &settings))
        return 1;
    const bool dryRun = args.options.contains(QStringLiteral("--dry-run"));
    if (!(dryRun ? openCatalog(args.positional[0]) : openWritableCatalog(args.positional[0])))
        return 1;
    AlbumCompleter completer(m_database.get(), settings);
    if (ids.isEmpty())
        ids = completer.albumsToComplete();
    const AlbumCompleter::Summary summary =
        completer.run(ids, dryRun, [this](const AlbumCompleter::Progress& progress) {
            m_err << QStringLiteral("%1/%2 albums, about %3 s left")
                         .arg(progress.done)
                         .arg(progress.total)
                         .arg(progress.remaining.count())
                  << Qt::endl;
            return true;
        });
    m_out << summary.text() << Qt::endl;
    return summary.failed() == 0 ? 0 : 1;
}

int CliCommands::openForSelection(const Arguments& args, QString* condition)
{
    if (!listOptionsAreValid(args))
        return invalidOption(m_listOptionError);
    if (!openCatalog(args.positional[0]) || !listCondition(args, condition))
        return 1;
    if (!listQueryIsReadOnly(QString(), *condition))
        return invalidOption(m_listOptionError);
    return 0;
}

int CliCommands::commandStats(const Arguments& args)
{
    QString condition;
    if (const int failed = openForSelection(args, &condition))
        return failed;
    CollectionStatistics::Figures figures;
    {
        ReadOnlyScope readOnly(m_database.get());
        if (!CollectionStatistics(m_database.get()).compute(condition, &figures))
            return failUnlessReported(QStringLiteral("the figures cannot be read."));
    }
    if (args.options.contains(QStringLiteral("--json")))
        m_out << QJsonDocument(StatisticsOutput::toJson(figures)).toJson(QJsonDocument::Indented);
    else
        m_out << StatisticsOutput::toText(figures, QLocale());
    return 0;
}

int CliCommands::commandPublish(const Arguments& args)
{
    QString condition;
    if (const int failed = openForSelection(args, &condition))
        return failed;
    SitePublisher::Options options;
    options.condition = condition;
    options.covers = !args.options.contains(QStringLiteral("--no-covers"));
    JpegCoverScaler covers;
    SitePublisher publisher(m_database.get(), &covers);
    ReadOnlyScope readOnly(m_database.get());
    if (publisher.publish(args.positional[1], options) != SitePublisher::Outcome::Published)
        return failUnlessReported(publisher.errorText());
    m_out << QStringLiteral("%1 albums, %2 covers: %3\n")
                 .arg(publisher.albumCount())
                 .arg(publisher.coverCount())
                 .arg(QDir(args.positional[1]).absoluteFilePath(QStringLiteral("index.html")));
    return 0;
}

int CliCommands::commandLoans(const Arguments& args)
{
    int overdueDays = -1;
    if (args.options.contains(QStringLiteral("--overdue"))) {
        bool ok = false;
        overdueDays = args.options.value(QStringLiteral("--overdue")).toInt(&ok);
        if (!ok || overdueDays < 0)
            return invalidOption(QStringLiteral("--overdue '%1' is not a number of days.")
                                     .arg(args.options.value(QStringLiteral("--overdue"))));
    }
    if (!openCatalog(args.positional[0]))
        return 1;
    QVector<AlbumLoans::Loan> loans;
    if (!AlbumLoans(m_database.get()).current(QDate::currentDate(), &loans))
        return failUnlessReported(QStringLiteral("the loans cannot be read."));
    if (overdueDays >= 0)
        loans.erase(std::remove_if(loans.begin(), loans.end(),
                                   [overdueDays](const AlbumLoans::Loan& loan) {
                                       return !AlbumLoans::isOverdue(loan, overdueDays);
                                   }),
                    loans.end());
    if (args.options.contains(QStringLiteral("--json"))) {
        m_out
            << QJsonDocument(StatisticsOutput::loansToJson(loans)).toJson(QJsonDocument::Indented);
        return 0;
    }
    for (const AlbumLoans::Loan& loan : loans) {
        QStringList cells;
        for (const QString& cell : StatisticsOutput::loanCells(loan, QLocale()))
            cells << escapedCell(cell);
        m_out << cells.join(QLatin1Char('\t')) << '\n';
    }
    return 0;
}

int CliCommands::commandDuplicates(const Arguments& args)
{
    if (!openCatalog(args.positional[0]))
        return 1;
    QVector<DuplicateFinder::Group> groups;
    {
        ReadOnlyScope readOnly(m_database.get());
        if (!DuplicateFinder(m_database.get()).find(&groups))
            return failUnlessReported(QStringLiteral("the albums cannot be read."));
    }
    if (args.options.contains(QStringLiteral("--json"))) {
        m_out << QJsonDocument(DuplicatesOutput::toJson(groups)).toJson(QJsonDocument::Indented);
        return 0;
    }
    if (groups.isEmpty())
        m_out << DuplicateFinder::NoneFoundText << '\n';
    for (const DuplicateFinder::Group& group : qAsConst(groups)) {
        if (&group != &groups.first())
            m_out << '\n';
        m_out << DuplicatesOutput::groupLine(group) << '\n';
        for (const DuplicateFinder::Album& album : group.albums) {
            QStringList cells;
            for (const QString& cell : DuplicatesOutput::albumCells(album))
                cells << escapedCell(cell);
            m_out << '\t' << cells.join(QLatin1Char('\t')) << '\n';
        }
    }
    return 0;
}

int CliCommands::commandCheck(const Arguments& args)
{
    // A file damaged at its start does not even open; the engine has said why then.
    if (!openCatalog(args.positional[0]))
        return 1;
    QStringList problems;
    if (!m_database->quickCheck(&problems))
        return fail(m_database->lastError().description);
    if (problems.isEmpty()) {
        m_out << "ok\n";
        return 0;
    }
    for (const QString& problem : problems)
        m_out << problem << '\n';
    return 1;
}

int CliCommands::commandBackup(const Arguments& args)
{
    if (!openCatalog(args.positional[0]))
        return 1;
    Database* database = m_database.get();
    QString written;
    QString error;
    bool copied = false;
    if (args.positional.size() < 2) {
        copied = CatalogBackup::fromSettings(m_settings).take(database, &written, &error);
    } else {
        const QFileInfo out(args.positional[1]);
        written = out.isDir() ? QDir(out.filePath())
                                    .filePath(QFileInfo(database->name()).completeBaseName() +
                                              QDateTime::currentDateTime().toString(
                                                  QStringLiteral("-yyyy-MM-dd_HHmmss")) +
                                              QLatin1String(CatalogBackup::FileSuffix))
                              : out.absoluteFilePath();
        if (QFileInfo(written) == QFileInfo(database->name()))
            return fail(QStringLiteral("a backup cannot replace the catalogue itself."));
        copied = CatalogCopy::write(database, written, database->connectString(), &error);
    }
    if (!copied)
        return fail(error);
    m_out << QDir::toNativeSeparators(written) << '\n';
    return 0;
}

int CliCommands::commandRestore(const Arguments& args)
{
    const QString path = args.positional[0];
    const QString backup = args.positional[1];
    QString error;
    if (!CatalogBackup::canReplace(path, &error))
        return fail(error);
    QString connect = DatabaseEx::catalogConnectString();
    // The key of an openable catalogue is the one its connection used; a damaged one keeps
    // the key it was given.
    if (openCatalog(path)) {
        connect = m_database->connectString();
        m_albums.CloseDatabase(&m_database);
    }
    QString previous;
    switch (CatalogBackup::fromSettings(m_settings)
                .restore(path, backup, connect, args.options.contains(QStringLiteral("--force")),
                         &previous, &error)) {
    case CatalogBackup::RestoreResult::Restored:
        break;
    case CatalogBackup::RestoreResult::CurrentNotBackedUp:
        return fail(error + QLatin1String(" (--force restores without that backup)"));
    case CatalogBackup::RestoreResult::Refused:
        return fail(error);
    }
    m_out << QStringLiteral("Restored '%1' from '%2'.").arg(path, backup);
    if (!previous.isEmpty())
        m_out << QStringLiteral(" The previous state is in '%1'.")
                     .arg(QDir::toNativeSeparators(previous));
    m_out << '\n';
    return 0;
}
