#include "CatalogBuilder.h"
#include "db/AlbumIdsTable.h"
#include "db/AlbumInserter.h"
#include "db/AlbumTable.h"
#include "db/CatalogSchema.h"
#include "db/DatabaseEx.h"
#include "support/EveryField.h"
#include "support/PlainTargets.h"
#include "support/TestCatalog.h"

#include <QDir>
#include <QRandomGenerator>
#include <QtTest>
#include <sqlcipher/sqlite3.h>

// The catalogue files themselves: the template's schema and protection, the demonstration
// catalogue, and files that are no catalogue at all.
class TestCatalogFiles : public QObject
{
    Q_OBJECT

private slots:
    void templateNeedsTheKey();
    void templateSchema_data();
    void templateSchema();
    void lookupTablesFollowTheirPrefix();
    void demoCatalogueIsRealistic();
    void notACatalogue_data();
    void notACatalogue();
    void readOnlyCatalogueOpensButRefusesWrites();
    void olderCatalogueGetsTheIdsOnItsFirstWrite_data();
    void olderCatalogueGetsTheIdsOnItsFirstWrite();
    void olderReadOnlyCatalogueReadsNoIds();

private:
    // A copy of the demonstration catalogue as a version before the table of ids made it;
    // `idsSql`, when given, is the older table of ids it holds instead.
    QString olderCatalogue(const QString& name, const QByteArray& idsSql = QByteArray());
    // Column name -> declared type, default, primary key, collation-bearing type text.
    QStringList describeTable(const QString& path, const QString& table);

    TestCatalog m_files;
};

namespace
{

struct RawConnection {
    sqlite3* handle = nullptr;
    RawConnection(const QString& path, const QByteArray& key)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &handle, SQLITE_OPEN_READONLY, nullptr);
        if (!key.isEmpty())
            sqlite3_key(handle, key.constData(), key.size());
    }
    ~RawConnection() { sqlite3_close(handle); }
    QStringList rows(const char* sql)
    {
        QStringList result;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(handle, sql, -1, &statement, nullptr) != SQLITE_OK)
            return {QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(handle))};
        while (sqlite3_step(statement) == SQLITE_ROW) {
            QStringList cells;
            for (int i = 0; i < sqlite3_column_count(statement); ++i)
                cells << QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, i)));
            result << cells.join(QLatin1Char('|'));
        }
        sqlite3_finalize(statement);
        return result;
    }
};

} // namespace

QStringList TestCatalogFiles::describeTable(const QString& path, const QString& table)
{
    RawConnection raw(path, DatabaseEx::CatalogPassword);
    return raw.rows(QStringLiteral("PRAGMA table_info(%1)").arg(table).toUtf8().constData());
}

void TestCatalogFiles::templateNeedsTheKey()
{
    const QString path = TestCatalog::programDirectory() + QLatin1String("/template.bin");
    {
        RawConnection withoutKey(path, QByteArray());
        QVERIFY(withoutKey.rows("SELECT count(*) FROM sqlite_master")
                    .first()
                    .startsWith(QStringLiteral("error: file is encrypted or is not a database")));
    }
    RawConnection withKey(path, DatabaseEx::CatalogPassword);
    QStringList tables = withKey.rows(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name <> 'sqlite_sequence'");
    tables.sort();
    QStringList expected = CatalogSchema::tableNames() + CatalogSchema::addedTableNames();
    expected.sort();
    QCOMPARE(tables, expected);
    // Empty: no albums, tracks or names.
    for (const QString& table : expected)
        QCOMPARE(
            withKey.rows(QStringLiteral("SELECT count(*) FROM %1").arg(table).toUtf8().constData()),
            QStringList({"0"}));
}

void TestCatalogFiles::templateSchema_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("columns"); // name:type, key first
    QTest::newRow("music")
        << "music"
        << QStringList{"music_id:INTEGER",     "number:INTEGER",       "artist_id:INTEGER",
                       "title:TEXT",           "type_id:INTEGER",      "year:INTEGER",
                       "length:TEXT",          "cat_id:INTEGER",       "subcat_id:INTEGER",
                       "value:REAL",           "person_id:INTEGER",    "purchasedfrom_id:INTEGER",
                       "purchasedate:DATE",    "frontimage:TEXT",      "backimage:TEXT",
                       "contents:LONGTEXT",    "notes:LONGTEXT",       "loandate:DATE",
                       "returndate:DATE",      "location_id:INTEGER",  "grade:INTEGER",
                       "incollection:BOOLEAN", "condition_id:INTEGER", "purchaseprice:REAL",
                       "language_id:INTEGER",  "country_id:INTEGER",   "url:TEXT",
                       "label_id:INTEGER",     "labelnumber:TEXT",     "studio_id:INTEGER",
                       "producer_id:INTEGER",  "ad:INTEGER",           "engineer_id:INTEGER",
                       "recordingdate:DATE",   "tourname:TEXT",        "conductor_id:INTEGER",
                       "orchestra_id:INTEGER", "freedbid:TEXT",        "deleted:BOOLEAN"};
    QTest::newRow("tracks")
        << "tracks"
        << QStringList{"track_id:INTEGER",      "tracknumber:INTEGER",  "title:TEXT",
                       "artist_id:INTEGER",     "cat_id:INTEGER",       "subcat_id:INTEGER",
                       "length:TEXT",           "notes:LONGTEXT",       "language_id:INTEGER",
                       "country_id:INTEGER",    "label_id:INTEGER",     "labelnumber:TEXT",
                       "studio_id:INTEGER",     "producer_id:INTEGER",  "engineer_id:INTEGER",
                       "songwriter_id:INTEGER", "conductor_id:INTEGER", "orchestra_id:INTEGER",
                       "year:INTEGER",          "grade:INTEGER",        "lyrics:LONGTEXT",
                       "audiofile:TEXT",        "music_id:INTEGER"};
    QTest::newRow("album_ids") << "album_ids"
                               << QStringList{"album_id:INTEGER", "barcode:TEXT",
                                              "musicbrainz_release_id:TEXT",
                                              "discogs_release_id:TEXT", "ids_deleted:BOOLEAN"};
}

void TestCatalogFiles::templateSchema()
{
    QFETCH(QString, table);
    QFETCH(QStringList, columns);
    const QStringList described =
        describeTable(TestCatalog::programDirectory() + QLatin1String("/template.bin"), table);
    QStringList actual;
    for (const QString& row : described) {
        const QStringList cells = row.split(QLatin1Char('|')); // cid|name|type|notnull|dflt|pk
        actual << cells[1] + QLatin1Char(':') + cells[2];
        QCOMPARE(cells[5] == QLatin1String("1"), actual.size() == 1);
        if (cells[1].endsWith(QLatin1String("deleted")))
            QCOMPARE(cells[4], QStringLiteral("0"));
    }
    QCOMPARE(actual, columns);
}

void TestCatalogFiles::lookupTablesFollowTheirPrefix()
{
    const QString path = TestCatalog::programDirectory() + QLatin1String("/template.bin");
    RawConnection raw(path, DatabaseEx::CatalogPassword);
    const QStringList lookups = CatalogSchema::tableNames().mid(2);
    QCOMPARE(lookups.size(), 17);
    const QStringList prefixes = {
        "artist",   "cat",       "type",      "subcat",    "person",    "purchasedfrom",
        "location", "condition", "language",  "country",   "label",     "studio",
        "producer", "engineer",  "conductor", "orchestra", "songwriter"};
    for (int i = 0; i < lookups.size(); ++i) {
        const QStringList rows = describeTable(path, lookups[i]);
        QCOMPARE(rows.size(), 3);
        const QString p = prefixes[i];
        QCOMPARE(rows[0].section(QLatin1Char('|'), 1, 2), p + QStringLiteral("_id|INTEGER"));
        QCOMPARE(rows[1].section(QLatin1Char('|'), 1, 2), p + QStringLiteral("_name|TEXT"));
        QCOMPARE(rows[2].section(QLatin1Char('|'), 1, 4),
                 p + QStringLiteral("_deleted|BOOLEAN|1|0"));
        const QString sql =
            raw.rows(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = '%1'")
                         .arg(lookups[i])
                         .toUtf8()
                         .constData())
                .value(0);
        QVERIFY2(sql.contains(QStringLiteral("AUTOINCREMENT")), qPrintable(sql));
        QVERIFY2(sql.contains(QStringLiteral("COLLATE NOCASE")), qPrintable(sql));
    }
}

void TestCatalogFiles::demoCatalogueIsRealistic()
{
    RawConnection raw(TestCatalog::programDirectory() + QLatin1String("/demo.muf"),
                      DatabaseEx::CatalogPassword);
    QVERIFY(raw.rows("SELECT count(*) FROM music").first().toInt() >= 25);
    QVERIFY(raw.rows("SELECT count(DISTINCT artist_id) FROM music").first().toInt() >= 12);
    QCOMPARE(raw.rows("SELECT count(*) FROM music WHERE deleted = 1"), QStringList({"1"}));
    QCOMPARE(raw.rows("SELECT count(*) FROM music_artists WHERE artist_deleted = 1"),
             QStringList({"1"}));
    QCOMPARE(raw.rows("SELECT count(*) FROM music WHERE person_id > 0 AND deleted = 0"),
             QStringList({"3"}));
    const QStringList trackCounts =
        raw.rows("SELECT count(*) FROM music LEFT JOIN tracks ON tracks.music_id = music.music_id "
                 "GROUP BY music.music_id");
    for (const QString& count : trackCounts)
        QVERIFY2(count.toInt() >= 8 && count.toInt() <= 15, qPrintable(count));
    QVERIFY(raw.rows("SELECT count(*) FROM music_artists WHERE artist_name LIKE '%''%'")
                .first()
                .toInt() >= 1);
    QVERIFY(raw.rows("SELECT count(*) FROM music_artists WHERE artist_name <> "
                     "CAST(CAST(artist_name AS BLOB) AS TEXT) "
                     "OR length(CAST(artist_name AS BLOB)) > length(artist_name)")
                .first()
                .toInt() >= 3);
}

void TestCatalogFiles::notACatalogue_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("messageStart");
    QTest::newRow("missing file") << "missing"
                                  << "Could not find file";
    QTest::newRow("zero-length file") << "empty"
                                      << "The file '";
    QTest::newRow("random bytes") << "random"
                                  << "file is encrypted or is not a database";
    QTest::newRow("plain SQLite file") << "plain"
                                       << "file is encrypted or is not a database";
    QTest::newRow("another password") << "otherkey"
                                      << "file is encrypted or is not a database";
    QTest::newRow("truncated catalogue") << "truncated"
                                         << "";
    QTest::newRow("folder") << "folder"
                            << "'";
    QTest::newRow("right key, no catalogue tables") << "notables"
                                                    << "The file '";
    QTest::newRow("catalogue without tracks table") << "onemissing"
                                                    << "The file '";
}

void TestCatalogFiles::notACatalogue()
{
    QFETCH(QString, kind);
    QFETCH(QString, messageStart);
    const QString path = m_files.filePath(kind + QStringLiteral(".muf"));
    QString error;
    if (kind == QLatin1String("empty")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (kind == QLatin1String("random")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray bytes(64 * 1024, '\0');
        QRandomGenerator generator(42);
        for (char& byte : bytes)
            byte = char(generator.bounded(256));
        file.write(bytes);
    } else if (kind == QLatin1String("plain")) {
        QVERIFY2(CatalogBuilder::create(path, QByteArray(), TestCatalog::schemaSql(), &error),
                 qPrintable(error));
    } else if (kind == QLatin1String("otherkey")) {
        QVERIFY(CatalogBuilder::create(path, "Secret", TestCatalog::schemaSql(), &error));
    } else if (kind == QLatin1String("truncated")) {
        const QByteArray whole =
            TestCatalog::readBytes(m_files.copyOfDemo(QStringLiteral("whole.muf")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(whole.left(whole.size() / 2 + 100));
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == QLatin1String("notables")) {
        QVERIFY(CatalogBuilder::create(path, DatabaseEx::CatalogPassword,
                                       "CREATE TABLE other (x INTEGER);", &error));
    } else if (kind == QLatin1String("onemissing")) {
        QVERIFY(CatalogBuilder::create(path, DatabaseEx::CatalogPassword,
                                       TestCatalog::schemaSql() + "DROP TABLE tracks;", &error));
    }
    const QByteArray before = TestCatalog::readBytes(path);
    const QFileInfo infoBefore(path);

    ReportRecorder reports;
    DatabaseEx layer;
    DatabaseHandle database;
    QVERIFY(!layer.OpenDatabase(&database, path, DatabaseEx::catalogConnectString()));
    QVERIFY(!database || !database->isOpen());
    QCOMPARE(reports.count(), 1);
    const Report report = reports.reports().first();
    QCOMPARE(report.caption, QStringLiteral("Vastry"));
    QCOMPARE(report.icon, ReportIcon::Stop);
    QVERIFY2(report.text.startsWith(messageStart), qPrintable(report.text));
    QVERIFY(report.text.contains(QStringLiteral("\r\n\r\n") + QString(68, QLatin1Char('-')) +
                                 QStringLiteral("\r\nLine: ")));
    QVERIFY(report.text.contains(QStringLiteral("\r\nFile: ")));
    layer.CloseDatabase(&database);

    // Nothing was created or changed.
    QCOMPARE(QFileInfo::exists(path), kind != QLatin1String("missing"));
    QCOMPARE(TestCatalog::readBytes(path), before);
    QVERIFY(!QFileInfo::exists(path + QLatin1String("-journal")));
}

void TestCatalogFiles::readOnlyCatalogueOpensButRefusesWrites()
{
    const QString path = m_files.copyOfDemo(QStringLiteral("readonly.muf"));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup);
    const QByteArray before = TestCatalog::readBytes(path);
    ReportRecorder reports;
    DatabaseEx layer;
    DatabaseHandle database;
    QVERIFY(layer.OpenDatabase(&database, path, DatabaseEx::catalogConnectString()));
    QVERIFY(database->isReadOnly());
    RecordsetHandle recordset;
    QVERIFY(layer.OpenRecordset(&recordset, database.get(),
                                QStringLiteral("SELECT * FROM music WHERE music_id = 1")));
    QCOMPARE(layer.GetRecordCount(recordset.get()), 1);
    QVERIFY(!layer.DeleteCurrentRow(recordset.get()));
    QCOMPARE(reports.count(), 1);
    QVERIFY2(reports.lastText().startsWith(QStringLiteral("attempt to write a readonly database")),
             qPrintable(reports.lastText()));
    layer.CloseRecordset(&recordset);
    layer.CloseDatabase(&database);
    QCOMPARE(TestCatalog::readBytes(path), before);
}

QString TestCatalogFiles::olderCatalogue(const QString& name, const QByteArray& idsSql)
{
    const QString path = m_files.copyOfDemo(name);
    DatabaseEx layer;
    DatabaseHandle database;
    if (!layer.OpenDatabase(&database, path, DatabaseEx::catalogConnectString()) ||
        !database->execute(QByteArray("DROP TABLE ") + AlbumIdsTable::Table) ||
        (!idsSql.isEmpty() && !database->execute(idsSql)) || !database->execute("VACUUM"))
        return QString();
    return path;
}

void TestCatalogFiles::olderCatalogueGetsTheIdsOnItsFirstWrite_data()
{
    QTest::addColumn<bool>("imported");
    QTest::addColumn<QByteArray>("idsSql");
    QTest::newRow("saved album") << false << QByteArray();
    QTest::newRow("imported album") << true << QByteArray();
    QTest::newRow("ids table of fewer columns")
        << false
        << QByteArray("CREATE TABLE album_ids (album_id INTEGER PRIMARY KEY, barcode TEXT COLLATE "
                      "NOCASE, ids_deleted BOOLEAN NOT NULL DEFAULT 0)");
}

// The table is added as a new catalogue has it, and the album written keeps its ids.
void TestCatalogFiles::olderCatalogueGetsTheIdsOnItsFirstWrite()
{
    QFETCH(bool, imported);
    QFETCH(QByteArray, idsSql);
    const QString path = olderCatalogue(QStringLiteral("older.muf"), idsSql);
    QVERIFY(!path.isEmpty());
    ReportRecorder reports;
    AlbumTable albums;
    DatabaseHandle database;
    QVERIFY(albums.OpenDatabase(&database, path, DatabaseEx::catalogConnectString()));
    const AlbumRecord album = EveryField::album();
    const int id =
        imported ? AlbumInserter(database.get()).add(album) : albums.Add(database.get(), album);
    QVERIFY(id > 0);
    AlbumRecord loaded;
    QVERIFY(albums.Load(database.get(), id, &loaded));
    albums.CloseDatabase(&database);
    QCOMPARE(reports.count(), 0);
    QCOMPARE(loaded.barcode, album.barcode);
    QCOMPARE(loaded.discogsReleaseId, album.discogsReleaseId);
    // Columns added to an older table come last: their order is not compared.
    const auto columns = [this](const QString& file) {
        QStringList described;
        for (const QString& row : describeTable(file, QStringLiteral("album_ids")))
            described << row.section(QLatin1Char('|'), 1);
        described.sort();
        return described;
    };
    QCOMPARE(columns(path),
             columns(TestCatalog::programDirectory() + QLatin1String("/template.bin")));
}

// Opened read-only, a catalogue older than the table lists, finds and shows its albums as
// holding no ids, and is not written to.
void TestCatalogFiles::olderReadOnlyCatalogueReadsNoIds()
{
    const QString path = olderCatalogue(QStringLiteral("older-readonly.muf"));
    QVERIFY(!path.isEmpty());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup);
    const QByteArray before = TestCatalog::readBytes(path);
    ReportRecorder reports;
    AlbumTable albums;
    DatabaseHandle database;
    QVERIFY(albums.OpenDatabase(&database, path, DatabaseEx::catalogConnectString()));
    QVERIFY(database->isReadOnly());
    AlbumRecord album;
    QVERIFY(albums.Load(database.get(), 1, &album));
    QVERIFY(!album.title.isEmpty());
    QCOMPARE(album.barcode, QString());
    PlainRowTable list({QStringLiteral("title"), QStringLiteral("barcode")});
    QVERIFY(albums.FillList(database.get(), &list, QStringLiteral("barcode ASC"), false,
                            QStringLiteral("barcode IS NULL")));
    QCOMPARE(list.ids.size(), albums.Count(database.get(), false));
    QVERIFY(albums.FillList(database.get(), &list, QString(), false,
                            QStringLiteral("album_ids.barcode = '0724'")));
    QVERIFY(list.ids.isEmpty());
    QBuffer page;
    page.open(QIODevice::WriteOnly);
    QCOMPARE(albums.WritePageTo(database.get(), 1, false, &page), AlbumTable::PageResult::Written);
    QCOMPARE(reports.count(), 0);

    album.barcode = QStringLiteral("5012345678900");
    QCOMPARE(albums.Update(database.get(), 1, album), -1);
    QCOMPARE(reports.count(), 1);
    QVERIFY(!database->hasTable(QLatin1String(AlbumIdsTable::Table)));
    albums.CloseDatabase(&database);
    QCOMPARE(TestCatalog::readBytes(path), before);
}

QTEST_GUILESS_MAIN(TestCatalogFiles)
#include "TestCatalogFiles.moc"
