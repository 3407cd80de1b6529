#include "cli/AlbumJson.h"
#include "db/AlbumField.h"
#include "db/AlbumIdsTable.h"
#include "db/AlbumInserter.h"
#include "db/AlbumTable.h"
#include "db/LookupList.h"
#include "db/RowTable.h"
#include "io/CollectionImport.h"
#include "io/CsvExport.h"
#include "support/EveryField.h"
#include "support/TestCatalog.h"
#include "views/AlbumColumns.h"

#include <QtTest>

// Each album field on every way an album travels: saved and loaded, added by an import, exported
// to CSV and imported again, written as JSON and read back. One row per field of the table, so
// a field that one of the ways misses fails by its name.
class TestAlbumFields : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyFieldTakesEveryPath_data();
    void everyFieldTakesEveryPath();
    void albumQueryReadsNothingElse();
    void csvExportImportsToTheSameList();

private:
    bool open(const QString& path);
    QVariantMap storedRow(int albumId);
    QString nameInList(const LookupList& list, const QVariant& id);
    QVector<QStringList> allRows();
    bool exportAndImport(AlbumRecord* imported);

    std::unique_ptr<TestCatalog> m_files;
    std::unique_ptr<ReportRecorder> m_reports;
    AlbumTable m_albums;
    DatabaseHandle m_database;
    AlbumRecord m_saved;
    AlbumRecord m_inserted;
    AlbumRecord m_imported;
    AlbumRecord m_fromJson;
    QVariantMap m_savedRow;
    QVariantMap m_insertedRow;
    QMap<QString, QString> m_savedNames; // by reference column: the name its id stands for
    QVector<QStringList> m_exportedRows;
};

namespace
{

// Rows as the list shows every column, in a fixed order.
class CollectedRows : public RowTable
{
public:
    void removeAllRows() override { rows.clear(); }
    QStringList headerFields() const override
    {
        QStringList fields;
        for (const AlbumColumns::Column& column : AlbumColumns::defaults())
            fields << column.field;
        return fields;
    }
    void appendRow(const QStringList& cells, int) override { rows.append(cells); }
    QVector<QStringList> rows;
};

// The field's value in the record, whatever its kind.
QVariant valueOf(const AlbumField& field, const AlbumRecord& record)
{
    if (field.text)
        return record.*field.text;
    if (field.whole)
        return record.*field.whole;
    return record.*field.date;
}

} // namespace

bool TestAlbumFields::open(const QString& path)
{
    m_albums.CloseDatabase(&m_database);
    return m_albums.OpenDatabase(&m_database, path, DatabaseEx::catalogConnectString());
}

// The album's own row and its row of ids, by column.
QVariantMap TestAlbumFields::storedRow(int albumId)
{
    QVariantMap row;
    const QString sql = QStringLiteral("SELECT * FROM music, %1 WHERE music_id = %2 AND %3 = %2")
                            .arg(QLatin1String(AlbumIdsTable::Table), QString::number(albumId),
                                 QLatin1String(AlbumIdsTable::KeyColumn));
    RecordsetHandle rs;
    if (!m_albums.OpenRecordset(&rs, m_database.get(), sql) || rs->isEOF())
        return row;
    for (int column = 0; column < rs->columnCount(); ++column) {
        QVariant value;
        rs->field(column, &value);
        row.insert(rs->columnName(column), value);
    }
    row.remove(QStringLiteral("music_id"));
    row.remove(QLatin1String(AlbumIdsTable::KeyColumn));
    return row;
}

QString TestAlbumFields::nameInList(const LookupList& list, const QVariant& id)
{
    RecordsetHandle rs;
    const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 = %4")
                            .arg(list.nameColumn, list.table, list.idColumn, id.toString());
    if (!m_albums.OpenRecordset(&rs, m_database.get(), sql) || rs->isEOF())
        return QString();
    return m_albums.GetFieldText(rs.get(), list.nameColumn);
}

QVector<QStringList> TestAlbumFields::allRows()
{
    CollectedRows rows;
    m_albums.FillList(m_database.get(), &rows, QStringLiteral("music.music_id"), false, QString());
    return rows.rows;
}

// Exports every album with every list column, then imports the file into an empty catalogue,
// which is left open; `imported` is the last album as the import stored it.
bool TestAlbumFields::exportAndImport(AlbumRecord* imported)
{
    QVector<ColumnInfo> columns;
    for (const AlbumColumns::Column& column : AlbumColumns::defaults())
        columns << column.info();
    const QString csv = m_files->filePath(QStringLiteral("albums.csv"));
    QString error;
    m_exportedRows = allRows();
    if (!CsvExport::write(m_database.get(), columns, csv, QStringLiteral("music.music_id"),
                          QString(), &error) ||
        !open(m_files->copyOfTemplate(QStringLiteral("imported.muf"))))
        return false;
    const ImportSummary summary =
        CollectionImport(m_database.get()).run(csv, CollectionImport::Format::Csv, false);
    if (summary.outcome != ImportSummary::Outcome::Stored || summary.badRowCount != 0)
        return false;
    // The test album was added last.
    RecordsetHandle rs;
    return m_albums.OpenRecordset(
               &rs, m_database.get(),
               QStringLiteral("SELECT music_id FROM music ORDER BY music_id DESC LIMIT 1")) &&
           m_albums.Load(m_database.get(),
                         m_albums.GetFieldInt(rs.get(), QStringLiteral("music_id")), imported);
}

void TestAlbumFields::initTestCase()
{
    m_files = std::make_unique<TestCatalog>();
    m_reports = std::make_unique<ReportRecorder>();
    QVERIFY(open(m_files->copyOfDemo()));
    const AlbumRecord album = EveryField::album();

    const int savedId = m_albums.Add(m_database.get(), album);
    QVERIFY(m_albums.Load(m_database.get(), savedId, &m_saved));
    const int insertedId = AlbumInserter(m_database.get()).add(album);
    QVERIFY(m_albums.Load(m_database.get(), insertedId, &m_inserted));
    m_savedRow = storedRow(savedId);
    m_insertedRow = storedRow(insertedId);
    for (const AlbumField& field : AlbumField::all())
        if (field.list)
            m_savedNames.insert(QLatin1String(field.column),
                                nameInList(*field.list, m_savedRow.value(field.column)));

    QVector<TrackRecord> tracks;
    QString error;
    QVERIFY2(
        AlbumJson::fromJson(AlbumJson::toJson(album, savedId, {}), &m_fromJson, &tracks, &error),
        qPrintable(error));

    QVERIFY(exportAndImport(&m_imported));
    QCOMPARE(m_reports->count(), 0);
}

void TestAlbumFields::cleanupTestCase()
{
    m_albums.CloseDatabase(&m_database);
    m_reports.reset();
}

void TestAlbumFields::everyFieldTakesEveryPath_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < AlbumField::all().size(); ++i)
        QTest::newRow(AlbumField::all()[i].queryColumn.constData()) << i;
}

void TestAlbumFields::everyFieldTakesEveryPath()
{
    QFETCH(int, index);
    const AlbumField& field = AlbumField::all()[index];
    const QVariant given = valueOf(field, EveryField::album());
    QVERIFY2(given != valueOf(field, AlbumRecord()), "the test album leaves it at its default");

    QVERIFY2(m_savedRow.contains(field.column), "not a column of the albums or their ids");
    QCOMPARE(valueOf(field, m_saved), given);
    QCOMPARE(valueOf(field, m_inserted), given);
    QCOMPARE(m_insertedRow.value(field.column), m_savedRow.value(field.column));
    if (field.list)
        QCOMPARE(m_savedNames.value(QLatin1String(field.column)), given.toString());
    QCOMPARE(valueOf(field, m_fromJson), given);

    // A caption heads the field's list column, which is also its CSV column.
    const QVector<AlbumColumns::Column>& list = AlbumColumns::defaults();
    const bool listed = std::any_of(list.begin(), list.end(), [&field](const auto& column) {
        return column.field == QLatin1String(field.queryColumn);
    });
    QCOMPARE(listed, field.caption != nullptr);
    QCOMPARE(valueOf(field, m_imported), listed ? given : valueOf(field, AlbumRecord()));
}

// Every column of the album query is a field or the album's id.
void TestAlbumFields::albumQueryReadsNothingElse()
{
    RecordsetHandle rs;
    QVERIFY(m_albums.OpenRecordset(&rs, m_database.get(), m_albums.baseSelect(m_database.get())));
    QStringList columns;
    for (int column = 0; column < rs->columnCount(); ++column)
        columns << rs->columnName(column);
    QStringList fields{QStringLiteral("music_id")};
    for (const AlbumField& field : AlbumField::all())
        fields << QLatin1String(field.queryColumn);
    columns.sort();
    fields.sort();
    QCOMPARE(columns, fields);
}

// The whole list, the demonstration albums' included, comes back from its CSV export.
void TestAlbumFields::csvExportImportsToTheSameList()
{
    QVERIFY(m_exportedRows.size() > 2);
    QCOMPARE(allRows(), m_exportedRows);
}

QTEST_GUILESS_MAIN(TestAlbumFields)
#include "TestAlbumFields.moc"
