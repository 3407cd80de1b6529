#include "db/DatabaseEx.h"
#include "db/OleDate.h"
#include "db/TransactionScope.h"
#include "support/TestCatalog.h"

#include <QtTest>
#include <atomic>
#include <chrono>
#include <thread>

// The engine layer over a real catalogue file: recordset navigation, typed values, the text
// rules, adding, changing and deleting rows, transactions and the error box.
class TestDatabase : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void recordCount_data();
    void recordCount();
    void navigationReadsRowsInOrder();
    void fieldsAreTypedByDeclaredType();
    void textRules_data();
    void textRules();
    void integerRules_data();
    void integerRules();
    void dateRules();
    void newRowExposesItsKeyBeforeItIsStored();
    void keysOfDeletedRowsAreNotReused();
    void editChangesTheRowAndTheCursor();
    void deleteCurrentRowRemovesIt();
    void writesNeedASingleTableWithItsKey();
    void badSqlShowsTheErrorBox();
    void errorMessageFormat();
    void transactionRollsBackUnlessCommitted();
    void cursorSurvivesWritesWhileOpen();
    void opensWhileAnotherConnectionWrites();

private:
    int addAlbum(const QString& title, const QVariant& value = QVariant());

    TestCatalog m_files;
    DatabaseEx m_layer;
    DatabaseHandle m_database;
    std::unique_ptr<ReportRecorder> m_reports;
};

void TestDatabase::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(m_files.isValid());
}

void TestDatabase::init()
{
    m_reports = std::make_unique<ReportRecorder>();
    QVERIFY(m_layer.OpenDatabase(&m_database, m_files.copyOfTemplate(),
                                 DatabaseEx::catalogConnectString()));
    QCOMPARE(m_reports->count(), 0);
}

void TestDatabase::cleanup()
{
    m_layer.CloseDatabase(&m_database);
    QVERIFY(!m_database);
    m_reports.reset();
}

int TestDatabase::addAlbum(const QString& title, const QVariant& value)
{
    RecordsetHandle recordset;
    if (!m_layer.OpenRecordset(&recordset, m_database.get(), QStringLiteral("SELECT * FROM music")))
        return -1;
    if (!recordset->addNew() || !recordset->setField(QStringLiteral("title"), title) ||
        !recordset->setField(QStringLiteral("value"), value))
        return -1;
    const int id = m_layer.GetFieldInt(recordset.get(), QStringLiteral("music_id"));
    return recordset->update() ? id : -1;
}

void TestDatabase::recordCount_data()
{
    QTest::addColumn<int>("rows");
    QTest::newRow("empty") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("three") << 3;
}

void TestDatabase::recordCount()
{
    QFETCH(int, rows);
    for (int i = 0; i < rows; ++i)
        QVERIFY(addAlbum(QStringLiteral("Album %1").arg(i)) > 0);
    RecordsetHandle recordset;
    QVERIFY(m_layer.OpenRecordset(&recordset, m_database.get(),
                                  QStringLiteral("SELECT * FROM music ORDER BY title")));
    QCOMPARE(m_layer.GetRecordCount(recordset.get()), rows);
    if (rows == 0) {
        QVERIFY(recordset->isEOF() && recordset->isBOF());
    } else {
        // Counting leaves the cursor on the first row.
        QCOMPARE(recordset->absolutePosition(), 0);
        QCOMPARE(m_layer.GetFieldText(recordset.get(), QStringLiteral("title")),
                 QStringLiteral("Album 0"));
    }
    QVERIFY(m_layer.CloseRecordset(&recordset));
    QVERIFY(!recordset);
    QCOMPARE(m_reports->count(), 0);
}

void TestDatabase::navigationReadsRowsInOrder()
{
    for (const char* title : {"B", "C", "A"})
        QVERIFY(addAlbum(QLatin1String(title)) > 0);
    RecordsetHandle recordset;
    QVERIFY(m_layer.OpenRecordset(&recordset, m_database.get(),
                                  QStringLiteral("SELECT title FROM music ORDER BY title")));
    QStringList seen;
    while (!recordset->isEOF()) {
        seen << m_layer.GetFieldText(recordset.get(), QStringLiteral("TITLE"));
        QVERIFY(recordset->moveNext());
    }
    QCOMPARE(seen, QStringList({"A", "B", "C"}));
    QVERIFY(!recordset->moveNext()); // past the end
    QCOMPARE(m_layer.GetFieldText(recordset.get(), QStringLiteral("title")), QString());

    QVERIFY(recordset->moveLast());
    QCOMPARE(recordset->absolutePosition(), 2);
    QCOMPARE(m_layer.GetFieldText(recordset.get(), QStringLiteral("title")), QStringLiteral("C"));
    QVERIFY(recordset->moveFirst());
    QCOMPARE(m_layer.GetFieldText(recordset.get(), QStringLiteral("title")), QStringLiteral("A"));
    QVERIFY(recordset->moveLast());
    QVERIFY(recordset->moveNext());
    QVERIFY(recordset->isEOF() && !recordset->isBOF());
    QCOMPARE(recordset->absolutePosition(), -1);
}

void TestDatabase::fieldsAreTypedByDeclaredType()
{
    RecordsetHandle recordset;
    QVERIFY(
        m_layer.OpenRecordset(&recordset, m_database.get(), QStringLiteral("SELECT * FROM music")));
    QVERIFY(recordset->addNew());
    const QDateTime purchased(QDate(2001, 5, 3), QTime(14, 30), Qt::UTC);
    QVERIFY(recordset->setField(QStringLiteral("year"), 1977));
    QVERIFY(recordset->setField(QStringLiteral("value"), 12.5));
    QVERIFY(recordset->setField(QStringLiteral("purchasedate"), purchased));
    QVERIFY(recordset->setField(QStringLiteral("incollection"), true));
    QVERIFY(recordset->setField(QStringLiteral("title"), QStringLiteral("Ümlaut & 'quotes'\n")));
    QVERIFY(!recordset->setField(QStringLiteral("no_such_column"), 1));
    QVERIFY(recordset->update());
    QVERIFY(
        m_layer.OpenRecordset(&recordset, m_database.get(), QStringLiteral("SELECT * FROM music")));

    QVariant value;
    QVERIFY(recordset->field(QStringLiteral("year"), &value));
    QCOMPARE(value.typeId(), int(QMetaType::Int));
    QVERIFY(recordset->field(QStringLiteral("value"), &value));
    QCOMPARE(value.typeId(), int(QMetaType::Double));
    QVERIFY(recordset->field(QStringLiteral("purchasedate"), &value));
    QCOMPARE(value.toDateTime(), purchased);
    QVERIFY(recordset->field(QStringLiteral("incollection"), &value));
    QCOMPARE(value.typeId(), int(QMetaType::Bool));
    QVERIFY(recordset->field(QStringLiteral("title"), &value));
    QCOMPARE(value.toString(), QStringLiteral("Ümlaut & 'quotes'\n"));
    QVERIFY(recordset->field(QStringLiteral("number"), &value));
    QVERIFY(!value.isValid()); // never set: null
    QVERIFY(recordset->field(QStringLiteral("deleted"), &value));
    QCOMPARE(value, QVariant(false)); // the column's default
}

void TestDatabase::textRules_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("null") << QVariant() << "";
    QTest::newRow("integer") << QVariant(-42) << "-42";
    QTest::newRow("twelve and a half") << QVariant(12.5) << "12.50";
    QTest::newRow("rounding") << QVariant(2.005e3) << "2005.00";
    QTest::newRow("true") << QVariant(true) << "Yes";
    QTest::newRow("false") << QVariant(false) << "No";
    QTest::newRow("text") << QVariant(QStringLiteral("Sigur & <Rós>")) << "Sigur & <Rós>";
    QTest::newRow("date, time dropped")
        << QVariant(QDateTime(QDate(2001, 5, 3), QTime(23, 59), Qt::UTC)) << "5/3/01";
    QTest::newRow("blob") << QVariant(QByteArray("\x01\x02")) << "";
}

void TestDatabase::textRules()
{
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    QCOMPARE(m_layer.VariantToText(value), text);
}

void TestDatabase::integerRules_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("integer") << "year" << QVariant(1999) << 1999;
    QTest::newRow("negative reference") << "artist_id" << QVariant(-1) << -1;
    QTest::newRow("null integer") << "year" << QVariant() << -1;
    QTest::newRow("true boolean") << "incollection" << QVariant(true) << 1;
    QTest::newRow("false boolean") << "incollection" << QVariant(false) << 0;
    QTest::newRow("real") << "value" << QVariant(3.0) << -1;
    QTest::newRow("text") << "title" << QVariant(QStringLiteral("7")) << -1;
    QTest::newRow("missing column") << "no_such_column" << QVariant() << -1;
}

void TestDatabase::integerRules()
{
    QFETCH(QString, column);
    QFETCH(QVariant, stored);
    QFETCH(int, expected);
    RecordsetHandle recordset;
    QVERIFY(
        m_layer.OpenRecordset(&recordset, m_database.get(), QStringLiteral("SELECT * FROM music")));
    QVERIFY(recordset->addNew());
    if (column != QLatin1String("no_such_column"))
        QVERIFY(recordset->setField(column, stored));
    QVERIFY(recordset->update());
    QVERIFY(
        m_layer.OpenRecordset(&recordset, m_database.get(), QStringLiteral("SELECT * FROM music")));
    QCOMPARE(m_layer.GetFieldInt(recordset.get(), column), expected);
    QCOMPARE(m_reports->count(), 0);
}

void TestDatabase::dateRules()
{
    RecordsetHandle recordset;
    QVERIFY(
        m_layer.OpenRecordset(&recordset, m_database.get(), QStringLiteral("SELECT * FROM music")));
    QVERIFY(recordset->addNew());
    QVERIFY(recordset->setField(QStringLiteral("loandate"),
                                QDateTime(QDate(1965, 7, 25), QTime(20, 15), Qt::UTC)));
    QVERIFY(recordset->update());
    QVERIFY(
        m_layer.OpenRecordset(&recordset, m_database.get(), QStringLiteral("SELECT * FROM music")));
    QCOMPARE(m_layer.GetFieldDate(recordset.get(), QStringLiteral("loandate")),
             QDateTime(QDate(1965, 7, 25), QTime(20, 15), Qt::UTC));
    // Null, not a date, missing: the zero date, valid.
    for (const char* column : {"returndate", "title", "no_such_column"}) {
        const QDateTime date = m_layer.GetFieldDate(recordset.get(), QLatin1String(column));
        QVERIFY(date.isValid());
        QCOMPARE(date, QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC));
    }
}

void TestDatabase::newRowExposesItsKeyBeforeItIsStored()
{
    RecordsetHandle recordset;
    QVERIFY(m_layer.OpenRecordset(&recordset, m_database.get(),
                                  QStringLiteral("SELECT * FROM music_artists")));
    QVERIFY(recordset->addNew());
    QVERIFY(recordset->setField(QStringLiteral("artist_name"), QStringLiteral("First")));
    const int key = m_layer.GetFieldInt(recordset.get(), QStringLiteral("artist_id"));
    QCOMPARE(key, 1);
    QVERIFY(recordset->update());
    QVERIFY(
        m_layer.OpenRecordset(&recordset, m_database.get(),
                              QStringLiteral("SELECT * FROM music_artists WHERE artist_id = 1")));
    QCOMPARE(m_layer.GetRecordCount(recordset.get()), 1);
    QCOMPARE(m_layer.GetFieldText(recordset.get(), QStringLiteral("artist_name")),
             QStringLiteral("First"));
    QCOMPARE(m_layer.GetFieldInt(recordset.get(), QStringLiteral("artist_deleted")), 0);
}

void TestDatabase::keysOfDeletedRowsAreNotReused()
{
    const int first = addAlbum(QStringLiteral("one"));
    const int second = addAlbum(QStringLiteral("two"));
    QCOMPARE(second, first + 1);
    RecordsetHandle recordset;
    QVERIFY(m_layer.OpenRecordset(
        &recordset, m_database.get(),
        QStringLiteral("SELECT * FROM music WHERE music_id = %1").arg(second)));
    QVERIFY(m_layer.DeleteCurrentRow(recordset.get()));
    m_layer.CloseRecordset(&recordset);
    QCOMPARE(addAlbum(QStringLiteral("three")), second + 1);
}

void TestDatabase::editChangesTheRowAndTheCursor()
{
    const int id = addAlbum(QStringLiteral("Before"), 1.0);
    RecordsetHandle recordset;
    QVERIFY(
        m_layer.OpenRecordset(&recordset, m_database.get(),
                              QStringLiteral("SELECT * FROM music WHERE music_id = %1").arg(id)));
    QVERIFY(recordset->edit());
    QVERIFY(recordset->setField(QStringLiteral("title"), QStringLiteral("After")));
    QVERIFY(recordset->setField(QStringLiteral("deleted"), true));
    QVERIFY(recordset->update());
    QCOMPARE(m_layer.GetFieldText(recordset.get(), QStringLiteral("title")),
             QStringLiteral("After"));
    QVERIFY(!recordset->update()); // nothing pending any more
    m_layer.CloseRecordset(&recordset);

    QVERIFY(m_layer.OpenRecordset(&recordset, m_database.get(),
                                  QStringLiteral("SELECT * FROM music WHERE deleted = TRUE")));
    QCOMPARE(m_layer.GetRecordCount(recordset.get()), 1);
    QCOMPARE(m_layer.GetFieldText(recordset.get(), QStringLiteral("title")),
             QStringLiteral("After"));
    QCOMPARE(m_layer.GetFieldText(recordset.get(), QStringLiteral("value")),
             QStringLiteral("1.00"));
}

void TestDatabase::deleteCurrentRowRemovesIt()
{
    addAlbum(QStringLiteral("keep"));
    const int gone = addAlbum(QStringLiteral("gone"));
    RecordsetHandle recordset;
    QVERIFY(
        m_layer.OpenRecordset(&recordset, m_database.get(),
                              QStringLiteral("SELECT * FROM music WHERE music_id = %1").arg(gone)));
    QVERIFY(m_layer.DeleteCurrentRow(recordset.get()));
    QCOMPARE(m_layer.GetFieldText(recordset.get(), QStringLiteral("title")), QString());
    QVERIFY(!m_layer.DeleteCurrentRow(recordset.get())); // already gone: the error box
    QCOMPARE(m_reports->count(), 1);
    QVERIFY(
        m_layer.OpenRecordset(&recordset, m_database.get(), QStringLiteral("SELECT * FROM music")));
    QCOMPARE(m_layer.GetRecordCount(recordset.get()), 1);
    QCOMPARE(m_layer.GetFieldText(recordset.get(), QStringLiteral("title")),
             QStringLiteral("keep"));
}

void TestDatabase::writesNeedASingleTableWithItsKey()
{
    addAlbum(QStringLiteral("x"));
    RecordsetHandle recordset;
    QVERIFY(m_layer.OpenRecordset(
        &recordset, m_database.get(),
        QStringLiteral("SELECT music.title, a.artist_name FROM music LEFT JOIN music_artists AS "
                       "a ON music.artist_id = a.artist_id")));
    QVERIFY(!recordset->edit());
    QVERIFY(!recordset->addNew());
    QVERIFY(m_layer.OpenRecordset(&recordset, m_database.get(),
                                  QStringLiteral("SELECT title FROM music")));
    QVERIFY(!recordset->edit()); // no key to find the row by
    QVERIFY(!recordset->setField(QStringLiteral("title"), QStringLiteral("y")));
}

void TestDatabase::badSqlShowsTheErrorBox()
{
    RecordsetHandle recordset;
    QVERIFY(!m_layer.OpenRecordset(&recordset, m_database.get(),
                                   QStringLiteral("SELECT * FROM nowhere")));
    QVERIFY(!recordset);
    QCOMPARE(m_reports->count(), 1);
    const Report report = m_reports->reports().first();
    QCOMPARE(report.caption, QStringLiteral("Vastry"));
    QCOMPARE(report.icon, ReportIcon::Stop);
    QVERIFY(report.text.startsWith(QStringLiteral("no such table: nowhere\r\n\r\n")));
    QVERIFY(!m_layer.OpenRecordset(&recordset, nullptr, QStringLiteral("SELECT 1")));
    QVERIFY(!m_layer.OpenRecordset(nullptr, m_database.get(), QStringLiteral("SELECT 1")));
}

void TestDatabase::errorMessageFormat()
{
    const QString longText(300, QLatin1Char('x'));
    const QString text =
        DatabaseEx::formatDbError(DbError{longText, 1}, 42, "/build/src/core/db/DatabaseEx.cpp");
    // Where the program was built is none of its user's business.
    QCOMPARE(text, QString(255, QLatin1Char('x')) + QStringLiteral("\r\n\r\n") +
                       QString(68, QLatin1Char('-')) +
                       QStringLiteral("\r\nLine: 42\r\nFile: DatabaseEx.cpp"));
}

void TestDatabase::transactionRollsBackUnlessCommitted()
{
    {
        TransactionScope scope(m_database.get());
        QVERIFY(scope.isActive());
        QVERIFY(addAlbum(QStringLiteral("undone")) > 0);
    }
    {
        TransactionScope scope(m_database.get());
        QVERIFY(addAlbum(QStringLiteral("kept")) > 0);
        {
            TransactionScope inner(m_database.get()); // joins the outer one
            QVERIFY(addAlbum(QStringLiteral("inner")) > 0);
            QVERIFY(inner.commit());
        }
        QVERIFY(scope.commit());
    }
    // Reopen the file to see what really reached it.
    const QString path = m_database->name();
    m_layer.CloseDatabase(&m_database);
    QVERIFY(m_layer.OpenDatabase(&m_database, path, DatabaseEx::catalogConnectString()));
    RecordsetHandle recordset;
    QVERIFY(m_layer.OpenRecordset(&recordset, m_database.get(),
                                  QStringLiteral("SELECT title FROM music ORDER BY music_id")));
    QCOMPARE(m_layer.GetRecordCount(recordset.get()), 2);
    QCOMPARE(m_layer.GetFieldText(recordset.get(), QStringLiteral("title")),
             QStringLiteral("kept"));
}

void TestDatabase::cursorSurvivesWritesWhileOpen()
{
    for (int i = 0; i < 5; ++i)
        addAlbum(QStringLiteral("t%1").arg(i));
    RecordsetHandle recordset;
    QVERIFY(
        m_layer.OpenRecordset(&recordset, m_database.get(), QStringLiteral("SELECT * FROM music")));
    QVERIFY(recordset->moveNext());
    QVERIFY(recordset->addNew());
    QVERIFY(recordset->setField(QStringLiteral("title"), QStringLiteral("added")));
    QVERIFY(recordset->update());
    QCOMPARE(m_layer.GetFieldText(recordset.get(), QStringLiteral("title")), QStringLiteral("t1"));
    m_layer.CloseRecordset(&recordset);
    QCOMPARE(addAlbum(QStringLiteral("next")), 7);
}

// Another program writing in short transactions (a script adding albums) makes opening wait a
// moment; it neither fails nor takes the locked file for a foreign one.
void TestDatabase::opensWhileAnotherConnectionWrites()
{
    const QString path = m_database->name();
    std::atomic<bool> stop{false};
    std::atomic<int> transactions{0};
    std::thread writer([&] {
        Database other;
        if (!other.open(path, DatabaseEx::catalogConnectString()))
            return;
        while (!stop) {
            if (other.execute("BEGIN EXCLUSIVE")) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                other.execute("COMMIT");
                ++transactions;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    int opened = 0;
    for (int i = 0; i < 40; ++i) {
        DatabaseHandle database;
        opened += m_layer.OpenDatabase(&database, path, DatabaseEx::catalogConnectString());
        m_layer.CloseDatabase(&database);
    }
    stop = true;
    writer.join();
    QVERIFY(transactions > 0);
    QVERIFY2(m_reports->count() == 0, qPrintable(m_reports->lastText()));
    QCOMPARE(opened, 40);
}

QTEST_GUILESS_MAIN(TestDatabase)
#include "TestDatabase.moc"
