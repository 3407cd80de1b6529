#include "db/ItemTable.h"
#include "editors/NameCollector.h"
#include "support/PlainTargets.h"
#include "support/TestCatalog.h"

#include <QtTest>
#include <algorithm>

namespace
{

// The lookup and item SQL is reached through a table that exposes it to the test.
class OpenCatalogTable : public ItemTable
{
public:
    using CatalogTable::CountByDeleted;
    using CatalogTable::CountUses;
    using CatalogTable::FillListFromHeader;
    using CatalogTable::FindOrAddName;

    bool Load(Database*, int, AlbumRecord*) override { return false; }
    bool FillList(Database*, RowTable*, const QString&, bool, const QString&) override
    {
        return false;
    }
    bool Delete(Database*, int, bool) override { return false; }
    int Update(Database*, int, const AlbumRecord&) override { return -1; }
    int Add(Database*, const AlbumRecord&) override { return -1; }
    int Save(Database*, const AlbumRecord&, int) override { return -1; }
    int Count(Database*, bool) override { return -1; }
    bool Export(Database*, const QString&, bool, const QString&) override { return false; }
    QString WritePage(Database*, int, bool) override { return QString(); }
    bool WriteListTable(Database*, const QVector<ColumnInfo>&, int, const QString&, const QString&,
                        bool, const QString&) override
    {
        return false;
    }
};

const QString Artists = QStringLiteral("music_artists");
const QString ArtistId = QStringLiteral("artist_id");
const QString ArtistName = QStringLiteral("artist_name");
const QString ArtistDeleted = QStringLiteral("artist_deleted");

} // namespace

class TestCatalogTable : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void findOrAddName_data();
    void findOrAddName();
    void findOrAddNameReusesSoftDeletedEntries();
    void findOrAddNameOnReadOnlyCatalogue();
    void fillNameComboSkipsDeletedEntries();
    void fillNameTreeSortsAndOwnsNodeData();
    void fillLookupListViewCountsEveryUse();
    void namesSortInTheUsersLanguage_data();
    void namesSortInTheUsersLanguage();
    void deleteRowById_data();
    void deleteRowById();
    void countByDeleted();
    void buildItemQuery_data();
    void buildItemQuery();
    void fillListFromHeader();
    void fillListFromHeaderKeepsTheDeletedFilter();
    void nameById();
    void saveLookupName();
    void noDatabaseMeansFailure();

private:
    int addAlbum(int artistId, bool deleted = false, const QString& title = QString());
    void softDelete(const QString& table, const QString& idColumn, const QString& deletedColumn,
                    int id);

    TestCatalog m_files;
    OpenCatalogTable m_table;
    DatabaseHandle m_database;
    std::unique_ptr<ReportRecorder> m_reports;
};

void TestCatalogTable::init()
{
    m_reports = std::make_unique<ReportRecorder>();
    QVERIFY(m_table.OpenDatabase(&m_database, m_files.copyOfTemplate(),
                                 DatabaseEx::catalogConnectString()));
}

void TestCatalogTable::cleanup()
{
    m_table.CloseDatabase(&m_database);
    m_reports.reset();
}

int TestCatalogTable::addAlbum(int artistId, bool deleted, const QString& title)
{
    RecordsetHandle recordset;
    m_table.OpenRecordset(&recordset, m_database.get(), QStringLiteral("SELECT * FROM music"));
    recordset->addNew();
    recordset->setField(QStringLiteral("artist_id"), artistId);
    recordset->setField(QStringLiteral("title"), title);
    recordset->setField(QStringLiteral("deleted"), deleted);
    const int id = m_table.GetFieldInt(recordset.get(), QStringLiteral("music_id"));
    return recordset->update() ? id : -1;
}

void TestCatalogTable::softDelete(const QString& table, const QString& idColumn,
                                  const QString& deletedColumn, int id)
{
    QVERIFY(m_table.DeleteRowById(m_database.get(), id, table, idColumn, deletedColumn, false));
}

void TestCatalogTable::findOrAddName_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<bool>("same");
    QTest::newRow("exact") << "Abba"
                           << "Abba" << true;
    QTest::newRow("letter case") << "Abba"
                                 << "ABBA" << true;
    QTest::newRow("non-ASCII letter case") << "Björk"
                                           << "BJÖRK" << true;
    QTest::newRow("apostrophe") << "Guns N' Roses"
                                << "guns n' roses" << true;
    QTest::newRow("two apostrophes") << "''"
                                     << "''" << true;
    QTest::newRow("accent differs") << "Bjork"
                                    << "Björk" << false;
    QTest::newRow("ring above differs") << "Åsa"
                                        << "Asa" << false;
    QTest::newRow("trailing space differs") << "Abba"
                                            << "Abba " << false;
    QTest::newRow("injection attempt") << "x"
                                       << "x' OR '1'='1" << false;
    QTest::newRow("percent signs") << "100% %1 %s"
                                   << "100% %1 %S" << true;
}

void TestCatalogTable::findOrAddName()
{
    QFETCH(QString, stored);
    QFETCH(QString, asked);
    QFETCH(bool, same);
    Database* db = m_database.get();
    const int first = m_table.FindOrAddName(db, Artists, ArtistName, stored, ArtistId);
    QVERIFY(first > 0);
    QCOMPARE(m_table.FindOrAddName(db, Artists, ArtistName, stored, ArtistId), first);
    const int second = m_table.FindOrAddName(db, Artists, ArtistName, asked, ArtistId);
    QVERIFY(second > 0);
    QCOMPARE(second == first, same);
    // Stored exactly as first entered.
    QCOMPARE(m_table.GetNameById(db, first, Artists, ArtistName, ArtistId), stored);
    if (!same)
        QCOMPARE(m_table.GetNameById(db, second, Artists, ArtistName, ArtistId), asked);
    QCOMPARE(m_table.CountByDeleted(db, Artists, ArtistDeleted, false), same ? 1 : 2);
    QCOMPARE(m_table.FindOrAddName(db, Artists, ArtistName, QString(), ArtistId), -1);
    QCOMPARE(m_reports->count(), 0);
}

void TestCatalogTable::findOrAddNameReusesSoftDeletedEntries()
{
    Database* db = m_database.get();
    const int id = m_table.FindOrAddName(db, Artists, ArtistName, QStringLiteral("Gone"), ArtistId);
    softDelete(Artists, ArtistId, ArtistDeleted, id);
    QCOMPARE(m_table.FindOrAddName(db, Artists, ArtistName, QStringLiteral("gone"), ArtistId), id);
    QCOMPARE(m_table.CountByDeleted(db, Artists, ArtistDeleted, true), 1);
    QCOMPARE(m_table.CountByDeleted(db, Artists, ArtistDeleted, false), 0);
}

void TestCatalogTable::findOrAddNameOnReadOnlyCatalogue()
{
    const QString path = m_database->name();
    m_table.CloseDatabase(&m_database);
    QFile::setPermissions(path, QFile::ReadOwner);
    const QByteArray before = TestCatalog::readBytes(path);
    QVERIFY(m_table.OpenDatabase(&m_database, path, DatabaseEx::catalogConnectString()));
    QCOMPARE(m_table.FindOrAddName(m_database.get(), Artists, ArtistName, QStringLiteral("New"),
                                   ArtistId),
             -1);
    QCOMPARE(m_reports->count(), 1);
    QVERIFY(m_reports->lastText().contains(QStringLiteral("readonly")));
    m_table.CloseDatabase(&m_database);
    QCOMPARE(TestCatalog::readBytes(path), before);
}

void TestCatalogTable::fillNameComboSkipsDeletedEntries()
{
    Database* db = m_database.get();
    const int keep =
        m_table.FindOrAddName(db, Artists, ArtistName, QStringLiteral("Keep"), ArtistId);
    const int gone =
        m_table.FindOrAddName(db, Artists, ArtistName, QStringLiteral("Gone"), ArtistId);
    const int also =
        m_table.FindOrAddName(db, Artists, ArtistName, QStringLiteral("Also"), ArtistId);
    softDelete(Artists, ArtistId, ArtistDeleted, gone);
    PlainNameList list;
    QVERIFY(m_table.FillNameCombo(db, &list, Artists, ArtistName, ArtistId, ArtistDeleted, false));
    QCOMPARE(list.names, QStringList({"Keep", "Also"}));
    QCOMPARE(list.ids, QVector<int>({keep, also}));

    PlainNameList refusing;
    refusing.refuseFrom = 1;
    QVERIFY(
        m_table.FillNameCombo(db, &refusing, Artists, ArtistName, ArtistId, ArtistDeleted, false));
    QCOMPARE(refusing.names, QStringList({"Keep"}));
}

void TestCatalogTable::fillNameTreeSortsAndOwnsNodeData()
{
    Database* db = m_database.get();
    for (const char* name : {"zeta", "Alpha", "Émile", "beta"})
        m_table.FindOrAddName(db, Artists, ArtistName, QString::fromUtf8(name), ArtistId);
    PlainNameTree tree;
    int root = 0;
    QVERIFY(m_table.FillNameTree(db, &root, &tree, 3, 4, TreeNodeData::ArtistNode, Artists,
                                 ArtistName, ArtistId, ArtistDeleted, false));
    QStringList texts;
    for (const auto& node : tree.nodes) {
        QCOMPARE(node->parent, static_cast<void*>(&root));
        QCOMPARE(node->image, 3);
        QCOMPARE(node->selectedImage, 4);
        QCOMPARE(node->data->type, TreeNodeData::ArtistNode);
        QCOMPARE(node->data->name, node->text);
        QCOMPARE(m_table.GetNameById(db, node->data->id, Artists, ArtistName, ArtistId),
                 node->text);
        texts << node->text;
    }
    QCOMPARE(texts, QStringList({"Alpha", "beta", "Émile", "zeta"}));
}

void TestCatalogTable::namesSortInTheUsersLanguage_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("expected");
    const QStringList international = {"Åsa Lindqvist", "Orchestra No. 2", "Orchestra No. 10",
                                       "The Rowan Ensemble", "Zoë"};
    // No language named: the international order, not the code points'.
    QTest::newRow("C locale") << QLocale::c() << international;
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedKingdom) << international;
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << international;
    // Swedish puts Å after Z.
    QTest::newRow("Swedish") << QLocale(QLocale::Swedish, QLocale::Sweden)
                             << QStringList{"Orchestra No. 2", "Orchestra No. 10",
                                            "The Rowan Ensemble", "Zoë", "Åsa Lindqvist"};
}

// The tree, the album list sorted either way, and a name box all give the language's order,
// whatever order the names were stored in.
void TestCatalogTable::namesSortInTheUsersLanguage()
{
    QFETCH(QLocale, locale);
    QFETCH(QStringList, expected);
    QLocale::setDefault(locale);
    OpenCatalogTable table;
    DatabaseHandle handle;
    QVERIFY(table.OpenDatabase(&handle, m_files.copyOfTemplate(QStringLiteral("order.muf")),
                               DatabaseEx::catalogConnectString()));
    QLocale::setDefault(QLocale::system());
    Database* db = handle.get();
    for (auto name = expected.crbegin(); name != expected.crend(); ++name) {
        const int artist = table.FindOrAddName(db, Artists, ArtistName, *name, ArtistId);
        RecordsetHandle recordset;
        QVERIFY(table.OpenRecordset(&recordset, db, QStringLiteral("SELECT * FROM music")));
        recordset->addNew();
        recordset->setField(QStringLiteral("artist_id"), artist);
        recordset->setField(QStringLiteral("title"), *name);
        QVERIFY(recordset->update());
    }

    // The tree and the name box sort in the language in use when they fill; the list in the
    // connection's.
    QLocale::setDefault(locale);
    PlainNameTree tree;
    int root = 0;
    QVERIFY(table.FillNameTree(db, &root, &tree, 1, 2, TreeNodeData::ArtistNode, Artists,
                               ArtistName, ArtistId, ArtistDeleted, false));
    QLocale::setDefault(QLocale::system());
    QStringList inTree;
    for (const auto& node : tree.nodes)
        inTree << node->text;
    QCOMPARE(inTree, expected);

    const QString select =
        QStringLiteral("SELECT music.music_id, a.artist_name, music.title FROM music LEFT JOIN "
                       "music_artists AS a ON music.artist_id = a.artist_id");
    const auto listed = [&](const QString& sortText, const QString& column) {
        PlainRowTable rows({column});
        table.FillListFromHeader(db, &rows, select, QStringLiteral("music_id"), sortText, QString(),
                                 false);
        QStringList cells;
        for (const QStringList& row : rows.rows)
            cells << row.value(0);
        return cells;
    };
    QCOMPARE(listed(QStringLiteral("artist_name ASC, title ASC"), QStringLiteral("artist_name")),
             expected);
    QStringList descending = expected;
    std::reverse(descending.begin(), descending.end());
    QCOMPARE(listed(QStringLiteral("title DESC, artist_name DESC"), QStringLiteral("title")),
             descending);

    QLocale::setDefault(locale);
    NameCollector box;
    QVERIFY(table.FillNameCombo(db, &box, Artists, ArtistName, ArtistId, ArtistDeleted, false));
    box.sort();
    QLocale::setDefault(QLocale::system());
    QCOMPARE(box.names(), expected);
    QCOMPARE(m_reports->count(), 0);
}

void TestCatalogTable::fillLookupListViewCountsEveryUse()
{
    Database* db = m_database.get();
    const int busy =
        m_table.FindOrAddName(db, Artists, ArtistName, QStringLiteral("Busy"), ArtistId);
    const int idle =
        m_table.FindOrAddName(db, Artists, ArtistName, QStringLiteral("Idle"), ArtistId);
    addAlbum(busy);
    addAlbum(busy, true); // soft-deleted albums still count as uses
    addAlbum(busy);
    PlainRowTable rows;
    QVERIFY(m_table.FillLookupListView(db, &rows, QStringLiteral("music"), ArtistId, Artists,
                                       ArtistName, ArtistId, ArtistDeleted, false));
    QCOMPARE(rows.rows.size(), 2);
    QCOMPARE(rows.rows[0], QStringList({"Busy", "3", QString::number(busy)}));
    QCOMPARE(rows.rows[1], QStringList({"Idle", "0", QString::number(idle)}));
    QCOMPARE(rows.ids, QVector<int>({busy, idle}));
    QCOMPARE(m_table.CountUses(db, QStringLiteral("music"), ArtistId, busy), 3);
}

void TestCatalogTable::deleteRowById_data()
{
    QTest::addColumn<int>("rowsWithId");
    QTest::addColumn<bool>("hard");
    QTest::addColumn<bool>("succeeds");
    QTest::newRow("soft") << 1 << false << true;
    QTest::newRow("hard") << 1 << true << true;
    QTest::newRow("no such row") << 0 << false << false;
    QTest::newRow("two rows match") << 2 << true << false;
}

void TestCatalogTable::deleteRowById()
{
    QFETCH(int, rowsWithId);
    QFETCH(bool, hard);
    QFETCH(bool, succeeds);
    Database* db = m_database.get();
    // Tracks carry no unique constraint on their album id, so two rows can match.
    const QString table = QStringLiteral("music");
    const int album = addAlbum(-1);
    const int other = addAlbum(-1);
    int target = rowsWithId == 0 ? 9999 : album;
    if (rowsWithId == 2) {
        for (int i = 0; i < 2; ++i) {
            RecordsetHandle recordset;
            m_table.OpenRecordset(&recordset, db, QStringLiteral("SELECT * FROM tracks"));
            recordset->addNew();
            recordset->setField(QStringLiteral("music_id"), album);
            QVERIFY(recordset->update());
        }
        QCOMPARE(m_table.DeleteRowById(db, album, QStringLiteral("tracks"),
                                       QStringLiteral("music_id"), QStringLiteral("deleted"), hard),
                 succeeds);
        QCOMPARE(m_table.CountUses(db, QStringLiteral("tracks"), QStringLiteral("music_id"), album),
                 2);
        return;
    }
    QCOMPARE(m_table.DeleteRowById(db, target, table, QStringLiteral("music_id"),
                                   QStringLiteral("deleted"), hard),
             succeeds);
    const int live = m_table.CountByDeleted(db, table, QStringLiteral("deleted"), false);
    const int soft = m_table.CountByDeleted(db, table, QStringLiteral("deleted"), true);
    QCOMPARE(live, succeeds ? 1 : 2);
    QCOMPARE(soft, succeeds && !hard ? 1 : 0);
    QCOMPARE(m_table.CountUses(db, table, QStringLiteral("music_id"), other), 1);
    QCOMPARE(m_reports->count(), 0);
}

void TestCatalogTable::countByDeleted()
{
    Database* db = m_database.get();
    QCOMPARE(m_table.CountByDeleted(db, QStringLiteral("music"), QStringLiteral("deleted"), false),
             0);
    addAlbum(-1);
    addAlbum(-1, true);
    addAlbum(-1);
    QCOMPARE(m_table.CountByDeleted(db, QStringLiteral("music"), QStringLiteral("deleted"), false),
             2);
    QCOMPARE(m_table.CountByDeleted(db, QStringLiteral("music"), QStringLiteral("deleted"), true),
             1);
    QCOMPARE(m_table.CountByDeleted(db, QStringLiteral("nowhere"), QStringLiteral("deleted"), true),
             -1);
    QCOMPARE(m_reports->count(), 1);
}

void TestCatalogTable::buildItemQuery_data()
{
    QTest::addColumn<QString>("sort");
    QTest::addColumn<bool>("deleted");
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "" << false << ""
                           << "SELECT x FROM music WHERE deleted = FALSE";
    QTest::newRow("sorted") << "artist_name ASC, title ASC" << false << ""
                            << "SELECT x FROM music WHERE deleted = FALSE ORDER BY artist_name "
                               "COLLATE LOCALE ASC, title COLLATE LOCALE ASC";
    QTest::newRow("condition in parentheses")
        << "title DESC" << true << "music.artist_id = 5 OR 1=1"
        << "SELECT x FROM music WHERE deleted = TRUE AND (music.artist_id = 5 OR 1=1) ORDER BY "
           "title COLLATE LOCALE DESC";
    QTest::newRow("table name, no direction")
        << "music.title" << false << ""
        << "SELECT x FROM music WHERE deleted = FALSE ORDER BY music.title COLLATE LOCALE";
    QTest::newRow("expression left alone")
        << "length(title) DESC" << false << ""
        << "SELECT x FROM music WHERE deleted = FALSE ORDER BY length(title) DESC";
}

void TestCatalogTable::buildItemQuery()
{
    QFETCH(QString, sort);
    QFETCH(bool, deleted);
    QFETCH(QString, condition);
    QFETCH(QString, expected);
    QCOMPARE(CatalogTable::BuildItemQuery(QStringLiteral("SELECT x FROM music"), sort, deleted,
                                          condition),
             expected);
}

void TestCatalogTable::fillListFromHeader()
{
    Database* db = m_database.get();
    const int artist =
        m_table.FindOrAddName(db, Artists, ArtistName, QStringLiteral("Ärzte"), ArtistId);
    const int second = addAlbum(artist, false, QStringLiteral("Zebra"));
    const int first = addAlbum(artist, false, QStringLiteral("apple"));
    const int orphan = addAlbum(-1, false, QStringLiteral("Orphan"));
    const QString select = QStringLiteral(
        "SELECT music.music_id, a.artist_name, music.title, music.year FROM music LEFT JOIN "
        "music_artists AS a ON music.artist_id = a.artist_id");
    PlainRowTable rows({QStringLiteral("title"), QStringLiteral("artist_name"),
                        QStringLiteral("year"), QStringLiteral("not_a_column")});
    rows.appendRow({QStringLiteral("stale")}, 77);
    QVERIFY(m_table.FillListFromHeader(db, &rows, select, QStringLiteral("music_id"),
                                       QStringLiteral("title ASC"), QString(), false));
    QCOMPARE(rows.ids, QVector<int>({first, orphan, second}));
    QCOMPARE(rows.rows[0], QStringList({"apple", "Ärzte", "", ""}));
    QCOMPARE(rows.rows[1], QStringList({"Orphan", "", "", ""}));

    PlainRowTable none;
    QVERIFY(m_table.FillListFromHeader(db, &none, select, QStringLiteral("music_id"), QString(),
                                       QStringLiteral("music.title = 'nothing'"), false));
    QVERIFY(none.rows.isEmpty());
    QVERIFY(!m_table.FillListFromHeader(db, &none, select, QStringLiteral("music_id"), QString(),
                                        QStringLiteral("no_column = 1"), false));
    QCOMPARE(m_reports->count(), 1);
}

void TestCatalogTable::fillListFromHeaderKeepsTheDeletedFilter()
{
    Database* db = m_database.get();
    addAlbum(-1, true, QStringLiteral("hidden"));
    const int shown = addAlbum(-1, false, QStringLiteral("shown"));
    PlainRowTable rows({QStringLiteral("title")});
    QVERIFY(m_table.FillListFromHeader(db, &rows, QStringLiteral("SELECT * FROM music"),
                                       QStringLiteral("music_id"), QString(),
                                       QStringLiteral("title = 'x' OR 1 = 1"), false));
    QCOMPARE(rows.ids, QVector<int>({shown}));
}

void TestCatalogTable::nameById()
{
    Database* db = m_database.get();
    const int id = m_table.FindOrAddName(db, Artists, ArtistName, QStringLiteral("Name"), ArtistId);
    QCOMPARE(m_table.GetNameById(db, id, Artists, ArtistName, ArtistId), QStringLiteral("Name"));
    QCOMPARE(m_table.GetNameById(db, id + 1, Artists, ArtistName, ArtistId), QString());
    QCOMPARE(m_table.GetNameById(db, -1, Artists, ArtistName, ArtistId), QString());
}

void TestCatalogTable::saveLookupName()
{
    Database* db = m_database.get();
    m_table.SaveLookupName(db, -1, Artists, ArtistName, ArtistId, QStringLiteral("O'Brien"));
    m_table.SaveLookupName(db, -1, Artists, ArtistName, ArtistId, QStringLiteral("O'Brien"));
    // No check for an equal name: two entries.
    QCOMPARE(m_table.CountByDeleted(db, Artists, ArtistDeleted, false), 2);
    m_table.SaveLookupName(db, 2, Artists, ArtistName, ArtistId, QStringLiteral("Sinéad O'Brien"));
    QCOMPARE(m_table.GetNameById(db, 1, Artists, ArtistName, ArtistId), QStringLiteral("O'Brien"));
    QCOMPARE(m_table.GetNameById(db, 2, Artists, ArtistName, ArtistId),
             QStringLiteral("Sinéad O'Brien"));
    // The rename is found under its new name, in any letter case.
    QCOMPARE(
        m_table.FindOrAddName(db, Artists, ArtistName, QStringLiteral("SINÉAD O'BRIEN"), ArtistId),
        2);
    QCOMPARE(m_reports->count(), 0);
}

void TestCatalogTable::noDatabaseMeansFailure()
{
    PlainNameList list;
    PlainNameTree tree;
    PlainRowTable rows;
    QCOMPARE(m_table.FindOrAddName(nullptr, Artists, ArtistName, QStringLiteral("x"), ArtistId),
             -1);
    QVERIFY(!m_table.FillNameCombo(nullptr, &list, Artists, ArtistName, ArtistId, ArtistDeleted,
                                   false));
    QVERIFY(!m_table.FillNameTree(nullptr, nullptr, &tree, 0, 0, 2, Artists, ArtistName, ArtistId,
                                  ArtistDeleted, false));
    QVERIFY(!m_table.FillLookupListView(nullptr, &rows, QStringLiteral("music"), ArtistId, Artists,
                                        ArtistName, ArtistId, ArtistDeleted, false));
    QCOMPARE(m_table.CountUses(nullptr, QStringLiteral("music"), ArtistId, 1), -1);
    QVERIFY(!m_table.DeleteRowById(nullptr, 1, Artists, ArtistId, ArtistDeleted, false));
    QCOMPARE(m_table.CountByDeleted(nullptr, Artists, ArtistDeleted, false), -1);
    QVERIFY(!m_table.FillListFromHeader(nullptr, &rows, QStringLiteral("SELECT * FROM music"),
                                        QStringLiteral("music_id"), QString(), QString(), false));
    QCOMPARE(m_table.GetNameById(nullptr, 1, Artists, ArtistName, ArtistId), QString());
    // Without a catalogue a save does nothing, and shows no second error box.
    const int reportsBefore = m_reports->count();
    m_table.SaveLookupName(nullptr, -1, Artists, ArtistName, ArtistId, QStringLiteral("x"));
    QCOMPARE(m_reports->count(), reportsBefore);
}

QTEST_GUILESS_MAIN(TestCatalogTable)
#include "TestCatalogTable.moc"
