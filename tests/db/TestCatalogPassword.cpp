#include "db/CatalogPassword.h"
#include "db/CatalogProbe.h"
#include "db/DatabaseEx.h"
#include "support/TestCatalog.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>
#include <sqlcipher/sqlite3.h>

// A collector's own password: set, changed and removed on a real catalogue, what a password may
// be, and how a file is told apart before anyone types a password for it.
class TestCatalogPassword : public QObject
{
    Q_OBJECT

private slots:
    void setChangeAndRemoveKeepEveryAlbum();
    void newPasswordRules_data();
    void newPasswordRules();
    void readOnlyCatalogueKeepsItsKey();
    void filesAreToldApartWithoutBeingWritten_data();
    void filesAreToldApartWithoutBeingWritten();
    void theEngineShellCannotReadItWithTheBuiltInKey();

private:
    static bool changeAndReopen(Database* database, const QString& password);
    static QString crashedWhileWriting(const QString& path, const QString& password);
};

// The file and its journal as a kill in the middle of a large write leaves them: pages
// already changed in the file, their old content in a journal that must be played back.
QString TestCatalogPassword::crashedWhileWriting(const QString& path, const QString& password)
{
    const QByteArray key = password.toUtf8();
    sqlite3* connection = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &connection);
    sqlite3_key(connection, key.constData(), key.size());
    sqlite3_exec(connection,
                 "PRAGMA cache_size = 1; BEGIN; CREATE TABLE filler(x);"
                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000)"
                 " INSERT INTO filler SELECT randomblob(100) FROM n;",
                 nullptr, nullptr, nullptr);
    const QString crashed = path + QLatin1String(".crashed.muf");
    QFile::copy(path, crashed);
    QFile::copy(path + QLatin1String("-journal"), crashed + QLatin1String("-journal"));
    sqlite3_close_v2(connection);
    return QFileInfo::exists(crashed + QLatin1String("-journal")) ? crashed : QString();
}

bool TestCatalogPassword::changeAndReopen(Database* database, const QString& password)
{
    QString error;
    if (!CatalogPassword::change(database, password, &error)) {
        qWarning("%s", qPrintable(error));
        return false;
    }
    const QString path = database->name();
    database->close();
    return database->open(path, CatalogPassword::connectString(password));
}

void TestCatalogPassword::setChangeAndRemoveKeepEveryAlbum()
{
    ReportRecorder reports;
    TestCatalog files;
    const QString path = files.copyOfDemo();
    const QString builtIn = DatabaseEx::catalogConnectString();
    const int albums = TestCatalog::albumCount(path, builtIn);
    QVERIFY(albums > 0);
    // A ';' would end the key if the connect string were split at it.
    const QString first = QStringLiteral("één;PWD=twee");
    const QString second = QString(CatalogPassword::MaxLength, QChar(0x97F3)); // 音

    Database database;
    QVERIFY(database.open(path, builtIn));
    QVERIFY(!CatalogPassword::hasOwnPassword(database));
    QVERIFY(changeAndReopen(&database, first));
    QVERIFY(CatalogPassword::hasOwnPassword(database));
    QVERIFY(CatalogPassword::isCurrent(database, first));
    QCOMPARE(TestCatalog::albumCount(path, CatalogPassword::connectString(first)), albums);
    QCOMPARE(TestCatalog::albumCount(path, builtIn), -1);
    QCOMPARE(TestCatalog::albumCount(path, CatalogPassword::connectString(QStringLiteral("één"))),
             -1);
    QCOMPARE(CatalogProbe::kind(path), CatalogProbe::Kind::NeedsPassword);

    QVERIFY(changeAndReopen(&database, second));
    QCOMPARE(TestCatalog::albumCount(path, CatalogPassword::connectString(second)), albums);
    QCOMPARE(TestCatalog::albumCount(path, CatalogPassword::connectString(first)), -1);

    QVERIFY(changeAndReopen(&database, QString()));
    QVERIFY(!CatalogPassword::hasOwnPassword(database));
    QCOMPARE(TestCatalog::albumCount(path, builtIn), albums);
    QCOMPARE(CatalogProbe::kind(path), CatalogProbe::Kind::BuiltInKey);
    QCOMPARE(QDir(files.folder()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("demo.muf")});
    QCOMPARE(reports.count(), 0);
}

void TestCatalogPassword::newPasswordRules_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("refusal"); // a word of the message; empty: accepted
    const QString astral = QString::fromUcs4(U"\U0001D11E"); // two UTF-16 units, one character
    QTest::newRow("one character") << QStringLiteral("x") << QString();
    QTest::newRow("empty: back to the built-in key") << QString() << QString();
    QTest::newRow("1000 Cyrillic letters") << QString(1000, QChar(0x0416)) << QString();
    QTest::newRow("1000 characters outside the basic plane") << astral.repeated(1000) << QString();
    QTest::newRow("1001 characters") << QString(1001, QLatin1Char('a')) << QStringLiteral("1000");
    QTest::newRow("NUL inside") << QStringLiteral("ab") + QChar(0) + QStringLiteral("c")
                                << QStringLiteral("NUL");
    QTest::newRow("the built-in key")
        << QString::fromLatin1(DatabaseEx::CatalogPassword) << QStringLiteral("built-in");
}

void TestCatalogPassword::newPasswordRules()
{
    QFETCH(QString, password);
    QFETCH(QString, refusal);
    const QString problem = CatalogPassword::problem(password);
    if (refusal.isEmpty()) {
        QCOMPARE(problem, QString());
        return;
    }
    QVERIFY2(problem.contains(refusal), qPrintable(problem));
    // A refused password never reaches the file.
    ReportRecorder reports;
    TestCatalog files;
    const QString path = files.copyOfDemo();
    const QByteArray before = TestCatalog::readBytes(path);
    Database database;
    QVERIFY(database.open(path, DatabaseEx::catalogConnectString()));
    QString error;
    QVERIFY(!CatalogPassword::change(&database, password, &error));
    QCOMPARE(error, problem);
    database.close();
    QCOMPARE(TestCatalog::readBytes(path), before);
}

void TestCatalogPassword::readOnlyCatalogueKeepsItsKey()
{
    ReportRecorder reports;
    TestCatalog files;
    const QString path = files.copyOfDemo();
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    Database database;
    QVERIFY(database.open(path, DatabaseEx::catalogConnectString()));
    QString error;
    QVERIFY(!CatalogPassword::change(&database, QStringLiteral("secret"), &error));
    QVERIFY2(error.contains(QStringLiteral("read-only")), qPrintable(error));
    database.close();
    QCOMPARE(CatalogProbe::kind(path), CatalogProbe::Kind::BuiltInKey);
}

void TestCatalogPassword::filesAreToldApartWithoutBeingWritten_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("expected");
    using Kind = CatalogProbe::Kind;
    QTest::newRow("built-in key") << "demo" << int(Kind::BuiltInKey);
    QTest::newRow("own password") << "password" << int(Kind::NeedsPassword);
    QTest::newRow("unencrypted database") << "plain" << int(Kind::NotCatalog);
    QTest::newRow("text of whole pages") << "text" << int(Kind::NotCatalog);
    QTest::newRow("zeros") << "zeros" << int(Kind::NotCatalog);
    // An empty file is an empty database to the engine: it opens, and is refused later as a
    // file without the catalogue's tables.
    QTest::newRow("empty") << "empty" << int(Kind::BuiltInKey);
    QTest::newRow("built-in key, killed while writing") << "demo crashed" << int(Kind::BuiltInKey);
    QTest::newRow("own password, killed while writing")
        << "password crashed" << int(Kind::NeedsPassword);
    QTest::newRow("truncated own-password catalogue") << "truncated" << int(Kind::NotCatalog);
    QTest::newRow("missing") << "missing" << int(Kind::NotCatalog);
    QTest::newRow("folder") << "folder" << int(Kind::NotCatalog);
}

void TestCatalogPassword::filesAreToldApartWithoutBeingWritten()
{
    QFETCH(QString, kind);
    QFETCH(int, expected);
    ReportRecorder reports;
    TestCatalog files;
    QString path = files.copyOfDemo();
    if (kind.startsWith(QLatin1String("password")) || kind == QLatin1String("truncated")) {
        Database database;
        QVERIFY(database.open(path, DatabaseEx::catalogConnectString()));
        QVERIFY(changeAndReopen(&database, QStringLiteral("mine")));
        database.close();
        if (kind == QLatin1String("truncated"))
            QVERIFY(QFile::resize(path, 1000));
    } else if (kind == QLatin1String("plain")) {
        path = files.filePath(QStringLiteral("plain.muf"));
        sqlite3* connection = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &connection), SQLITE_OK);
        QCOMPARE(
            sqlite3_exec(connection, "CREATE TABLE music(id INTEGER)", nullptr, nullptr, nullptr),
            SQLITE_OK);
        sqlite3_close(connection);
    } else if (!kind.startsWith(QLatin1String("demo"))) {
        path = files.filePath(kind + QLatin1String(".muf"));
        QByteArray bytes;
        if (kind == QLatin1String("text"))
            bytes = QByteArray("A list of my records, not a catalogue at all.\n").repeated(90);
        else if (kind == QLatin1String("zeros"))
            bytes = QByteArray(4096, '\0');
        if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkdir(path));
        } else if (kind != QLatin1String("missing")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes.left(bytes.size() - bytes.size() % 512));
        }
    }
    if (kind.endsWith(QLatin1String("crashed")))
        path = crashedWhileWriting(path, kind.startsWith(QLatin1String("password"))
                                             ? QStringLiteral("mine")
                                             : QLatin1String(DatabaseEx::CatalogPassword));
    QVERIFY(!path.isEmpty());
    const QByteArray before = TestCatalog::readBytes(path);
    const QStringList filesBefore = QDir(files.folder()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(int(CatalogProbe::kind(path)), expected);
    if (kind.endsWith(QLatin1String("crashed"))) {
        // Played back: the file opens with its key and holds what it held before the write.
        const QString key = kind.startsWith(QLatin1String("password"))
                                ? CatalogPassword::connectString(QStringLiteral("mine"))
                                : DatabaseEx::catalogConnectString();
        QVERIFY2(TestCatalog::albumCount(path, key) > 0, qPrintable(reports.lastText()));
        return;
    }
    QCOMPARE(TestCatalog::readBytes(path), before);
    QCOMPARE(QDir(files.folder()).entryList(QDir::Files | QDir::Hidden), filesBefore);
}

// The engine's own shell, given the built-in key, reads a catalogue on the built-in key and
// nothing of one with a password; given the password, it reads that one.
void TestCatalogPassword::theEngineShellCannotReadItWithTheBuiltInKey()
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
    if (shell.isEmpty())
        QSKIP("the sqlcipher shell is not installed");
    ReportRecorder reports;
    TestCatalog files;
    const QString path = files.copyOfDemo();
    const auto countWithKey = [&](const QString& key) {
        QProcess process;
        process.start(shell, {path});
        process.write(QStringLiteral("PRAGMA key = '%1';\nSELECT count(*) FROM music;\n")
                          .arg(QString(key).replace(QLatin1Char('\''), QLatin1String("''")))
                          .toUtf8());
        process.closeWriteChannel();
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    };
    const QString builtIn = QLatin1String(DatabaseEx::CatalogPassword);
    const QString albums = countWithKey(builtIn);
    QVERIFY(albums.toInt() > 0);

    const QString password = QStringLiteral("Ŝlosilo 'mine'");
    Database database;
    QVERIFY(database.open(path, DatabaseEx::catalogConnectString()));
    QVERIFY(changeAndReopen(&database, password));
    database.close();
    QCOMPARE(countWithKey(builtIn), QString());
    QCOMPARE(countWithKey(password), albums);
}

QTEST_GUILESS_MAIN(TestCatalogPassword)
#include "TestCatalogPassword.moc"
