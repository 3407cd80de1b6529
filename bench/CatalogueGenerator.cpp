#include "CatalogueGenerator.h"

#include "CatalogBuilder.h"
#include "db/DatabaseEx.h"
#include "db/OleDate.h"
#include "db/UnicodeCollation.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cstdio>
#include <cstdlib>
#include <sqlcipher/sqlite3.h>

namespace
{

constexpr int TracksPerAlbum = 10;
constexpr int AlbumsPerArtist = 5;
constexpr int EntriesPerList = 200;

struct Lookup {
    const char* table;
    const char* prefix;
};

const Lookup otherLists[] = {
    {"music_categories", "cat"},        {"music_types", "type"},
    {"music_subcategories", "subcat"},  {"persons", "person"},
    {"purchasedfrom", "purchasedfrom"}, {"music_locations", "location"},
    {"conditions", "condition"},        {"languages", "language"},
    {"countries", "country"},           {"music_labels", "label"},
    {"music_studios", "studio"},        {"music_producers", "producer"},
    {"music_engineers", "engineer"},    {"music_conductors", "conductor"},
    {"music_orchestras", "orchestra"},  {"track_songwriters", "songwriter"},
};

const char* const syllables[] = {"an",  "bel", "cor", "dä",  "el",  "fin", "gor", "hal",  "is",
                                 "jö",  "ka",  "lun", "mar", "nor", "ø",   "pel", "quin", "ros",
                                 "sol", "tam", "ul",  "vé",  "wyn", "xa",  "yr",  "zan"};

QString nameFor(QRandomGenerator& random, int words)
{
    QStringList parts;
    for (int w = 0; w < words; ++w) {
        QString word;
        const int count = 2 + random.bounded(2);
        for (int s = 0; s < count; ++s)
            word += QString::fromUtf8(syllables[random.bounded(int(std::size(syllables)))]);
        word[0] = word[0].toUpper();
        parts << word;
    }
    return parts.join(QLatin1Char(' '));
}

class Inserter
{
public:
    Inserter(sqlite3* connection, const QByteArray& sql) : m_connection(connection)
    {
        sqlite3_prepare_v2(connection, sql.constData(), -1, &m_statement, nullptr);
    }
    ~Inserter() { sqlite3_finalize(m_statement); }
    void bind(int index, int value) { sqlite3_bind_int(m_statement, index, value); }
    void bind(int index, double value) { sqlite3_bind_double(m_statement, index, value); }
    void bind(int index, const QString& value)
    {
        const QByteArray text = value.toUtf8();
        sqlite3_bind_text(m_statement, index, text.constData(), text.size(), SQLITE_TRANSIENT);
    }
    bool run()
    {
        const int rc = sqlite3_step(m_statement);
        sqlite3_reset(m_statement);
        if (rc != SQLITE_DONE)
            std::fprintf(stderr, "generator: %s\n", sqlite3_errmsg(m_connection));
        return rc == SQLITE_DONE;
    }

private:
    sqlite3* m_connection;
    sqlite3_stmt* m_statement = nullptr;
};

void fillLookup(sqlite3* connection, const char* table, const char* prefix, int entries,
                QRandomGenerator& random)
{
    Inserter insert(connection, QStringLiteral("INSERT INTO %1 (%2_name) VALUES (?)")
                                    .arg(QLatin1String(table), QLatin1String(prefix))
                                    .toUtf8());
    for (int i = 0; i < entries; ++i) {
        insert.bind(1,
                    nameFor(random, 1 + random.bounded(3)) + QLatin1Char(' ') + QString::number(i));
        insert.run();
    }
}

void fillAlbums(sqlite3* connection, int albums, QRandomGenerator& random)
{
    Inserter album(connection,
                   "INSERT INTO music (number, artist_id, title, type_id, year, length, cat_id, "
                   "subcat_id, value, person_id, purchasedfrom_id, purchasedate, notes, "
                   "location_id, grade, incollection, condition_id, purchaseprice, language_id, "
                   "country_id, label_id, labelnumber, studio_id, producer_id, ad, engineer_id, "
                   "recordingdate, conductor_id, orchestra_id, freedbid) VALUES (?, ?, ?, ?, ?, "
                   "?, ?, ?, ?, -1, ?, ?, ?, ?, ?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    Inserter track(connection,
                   "INSERT INTO tracks (tracknumber, title, artist_id, cat_id, length, year, "
                   "grade, songwriter_id, music_id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const int artists = std::max(1, albums / AlbumsPerArtist);
    auto entry = [&random] { return 1 + random.bounded(EntriesPerList); };
    for (int i = 1; i <= albums; ++i) {
        const int artist = 1 + (i - 1) % artists;
        const int year = 1950 + random.bounded(75);
        int column = 1;
        album.bind(column++, i);
        album.bind(column++, artist);
        album.bind(column++, nameFor(random, 1 + random.bounded(4)));
        album.bind(column++, entry());
        album.bind(column++, year);
        album.bind(column++, QStringLiteral("%1:%2")
                                 .arg(30 + random.bounded(50))
                                 .arg(random.bounded(60), 2, 10, QLatin1Char('0')));
        album.bind(column++, entry());
        album.bind(column++, entry());
        album.bind(column++, random.bounded(100.0));
        album.bind(column++, entry());
        album.bind(column++, 36000.0 + random.bounded(9000));
        album.bind(column++, QStringLiteral("Bought second-hand; sleeve slightly worn."));
        album.bind(column++, entry());
        album.bind(column++, 1 + random.bounded(10));
        album.bind(column++, entry());
        album.bind(column++, random.bounded(40.0));
        album.bind(column++, entry());
        album.bind(column++, entry());
        album.bind(column++, entry());
        album.bind(column++, QStringLiteral("LB-%1").arg(i));
        album.bind(column++, entry());
        album.bind(column++, entry());
        album.bind(column++, random.bounded(4));
        album.bind(column++, entry());
        album.bind(column++, OleDate::toDays(QDateTime(QDate(year, 1, 1), QTime(0, 0), Qt::UTC)));
        album.bind(column++, entry());
        album.bind(column++, entry());
        album.bind(column++,
                   QString::number(random.generate(), 16).rightJustified(8, QLatin1Char('0')));
        album.run();
        for (int t = 1; t <= TracksPerAlbum; ++t) {
            track.bind(1, t);
            track.bind(2, nameFor(random, 1 + random.bounded(3)));
            track.bind(3, artist);
            track.bind(4, entry());
            track.bind(5, QStringLiteral("%1:%2")
                              .arg(2 + random.bounded(5))
                              .arg(random.bounded(60), 2, 10, QLatin1Char('0')));
            track.bind(6, year);
            track.bind(7, 1 + random.bounded(10));
            track.bind(8, entry());
            track.bind(9, i);
            track.run();
        }
    }
}

bool generate(const QString& path, int albums)
{
    QString error;
    const QByteArray schema = CatalogBuilder::readFile(QStringLiteral(TUNVALE_SCHEMA_PATH), &error);
    if (schema.isEmpty() ||
        !CatalogBuilder::create(path, DatabaseEx::CatalogPassword, schema, &error)) {
        std::fprintf(stderr, "generator: %s\n", qPrintable(error));
        return false;
    }
    sqlite3* connection = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &connection, SQLITE_OPEN_READWRITE, nullptr);
    const QByteArray key = DatabaseEx::CatalogPassword;
    sqlite3_key(connection, key.constData(), key.size());
    UnicodeCollation::install(connection);
    // A million albums (ten million tracks) keep their indexes' pages in memory while growing.
    sqlite3_exec(connection, "PRAGMA cache_size = -262144", nullptr, nullptr, nullptr);
    sqlite3_exec(connection, "BEGIN", nullptr, nullptr, nullptr);
    QRandomGenerator random(20261207u + unsigned(albums));
    fillLookup(connection, "music_artists", "artist", std::max(1, albums / AlbumsPerArtist),
               random);
    for (const Lookup& lookup : otherLists)
        fillLookup(connection, lookup.table, lookup.prefix, EntriesPerList, random);
    fillAlbums(connection, albums, random);
    const bool ok = sqlite3_exec(connection, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(connection);
    return ok;
}

} // namespace

QString CatalogueGenerator::dataFolder()
{
    const QByteArray configured = qgetenv("TUNVALE_BENCH_DATA");
    const QString folder = configured.isEmpty()
                               ? QDir::current().filePath(QStringLiteral("bench-data"))
                               : QString::fromLocal8Bit(configured);
    QDir().mkpath(folder);
    return folder;
}

QString CatalogueGenerator::catalogue(int albums)
{
    const QString path = QDir(dataFolder()).filePath(QStringLiteral("albums-%1.muf").arg(albums));
    if (QFileInfo::exists(path))
        return path;
    const QString partial = path + QLatin1String(".part");
    std::fprintf(stderr, "generating %d albums...\n", albums);
    QElapsedTimer clock;
    clock.start();
    if (!generate(partial, albums) || !QFile::rename(partial, path)) {
        std::fprintf(stderr, "generator: cannot make %s\n", qPrintable(path));
        std::exit(1);
    }
    std::fprintf(stderr, "generated %d albums in %.1f s\n", albums, double(clock.elapsed()) / 1e3);
    return path;
}

QString CatalogueGenerator::workingCopy(int albums)
{
    const QString source = catalogue(albums);
    const QString copy = QDir(dataFolder()).filePath(QStringLiteral("work-%1.muf").arg(albums));
    QFile::remove(copy);
    QFile::copy(source, copy);
    return copy;
}
