#include "db/CatalogPassword.h"
#include "db/CatalogProbe.h"
#include "db/DatabaseEx.h"
#include "support/TestCatalog.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

// Catalogue passwords from the command line: the password file option and variable of every
// command, and passwd with files, on a terminal, and killed half-way.
class TestCliPassword : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void passwordSources_data();
    void passwordSources();
    void passwdSetsChangesAndRemoves();
    void passwdRefusesBadNewPasswords_data();
    void passwdRefusesBadNewPasswords();
    void passwdAsksOnTheTerminalWithoutEcho_data();
    void passwdAsksOnTheTerminalWithoutEcho();
    void killedPasswdLeavesOneKeyWorking();

private:
    struct Result {
        int exitCode;
        QString out;
        QString err;
    };
    Result run(const QStringList& arguments, const QString& passwordFileVariable = QString());
    QString passwordFile(const QString& name, const QByteArray& firstLine);
    int albumCount(const QString& path, const QString& password);
    void setPassword(const QString& password);
    static QString program();

    std::unique_ptr<TestCatalog> m_files;
    QString m_catalogue;
};

QString TestCliPassword::program()
{
    return TestCatalog::programDirectory() + QLatin1String("/tunvale-cli");
}

void TestCliPassword::init()
{
    m_files = std::make_unique<TestCatalog>();
    m_catalogue = m_files->copyOfDemo();
}

TestCliPassword::Result TestCliPassword::run(const QStringList& arguments,
                                             const QString& passwordFileVariable)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_files->filePath(QStringLiteral("c")));
    environment.remove(QStringLiteral("TUNVALE_PASSWORD_FILE"));
    if (!passwordFileVariable.isEmpty())
        environment.insert(QStringLiteral("TUNVALE_PASSWORD_FILE"), passwordFileVariable);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program(), arguments);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        return {-1, QString(), QStringLiteral("timed out")};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString TestCliPassword::passwordFile(const QString& name, const QByteArray& firstLine)
{
    const QString path = m_files->filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(firstLine + "\nthe second line is not part of it\n");
    return path;
}

int TestCliPassword::albumCount(const QString& path, const QString& password)
{
    ReportRecorder reports;
    Database database;
    if (!database.open(path, CatalogPassword::connectString(password)))
        return -1;
    RecordsetHandle albums;
    DatabaseEx layer;
    if (!layer.OpenRecordset(&albums, &database, QStringLiteral("SELECT * FROM music")))
        return -1;
    return layer.GetRecordCount(albums.get());
}

void TestCliPassword::setPassword(const QString& password)
{
    ReportRecorder reports;
    Database database;
    QString error;
    QVERIFY(database.open(m_catalogue, DatabaseEx::catalogConnectString()));
    QVERIFY2(CatalogPassword::change(&database, password, &error), qPrintable(error));
}

void TestCliPassword::passwordSources_data()
{
    QTest::addColumn<bool>("hasPassword");
    QTest::addColumn<QByteArray>("option");   // first line of --password-file; "-": none
    QTest::addColumn<QByteArray>("variable"); // first line of the variable's file; "-": none
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("built-in key, nothing given")
        << false << QByteArray("-") << QByteArray("-") << 0 << QString();
    QTest::newRow("built-in key, some password given")
        << false << QByteArray("whatever") << QByteArray("-") << 0 << QString();
    QTest::newRow("password, nothing given") << true << QByteArray("-") << QByteArray("-") << 1
                                             << QStringLiteral("is protected by a password");
    QTest::newRow("password in the option's file")
        << true << QByteArray("Пароль 1") << QByteArray("-") << 0 << QString();
    QTest::newRow("password in the variable's file")
        << true << QByteArray("-") << QByteArray("Пароль 1") << 0 << QString();
    QTest::newRow("the option wins over the variable")
        << true << QByteArray("Пароль 1") << QByteArray("wrong") << 0 << QString();
    QTest::newRow("wrong password")
        << true << QByteArray("пароль 1") << QByteArray("-") << 1 << QStringLiteral("password of");
    QTest::newRow("CR LF line end")
        << true << QByteArray("Пароль 1\r") << QByteArray("-") << 0 << QString();
    QTest::newRow("not UTF-8") << true << QByteArray("\xff\xfe") << QByteArray("-") << 1
                               << QStringLiteral("UTF-8");
    QTest::newRow("missing file") << true << QByteArray() << QByteArray("-") << 1
                                  << QStringLiteral("cannot read the password file");
}

void TestCliPassword::passwordSources()
{
    QFETCH(bool, hasPassword);
    QFETCH(QByteArray, option);
    QFETCH(QByteArray, variable);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    if (hasPassword)
        setPassword(QStringLiteral("Пароль 1"));
    QStringList arguments{QStringLiteral("count"), m_catalogue};
    if (option.isEmpty())
        arguments << QStringLiteral("--password-file") << m_files->filePath(QStringLiteral("no"));
    else if (option != "-")
        arguments << QStringLiteral("--password-file")
                  << passwordFile(QStringLiteral("option.txt"), option);
    const QString variableFile =
        variable == "-" ? QString() : passwordFile(QStringLiteral("variable.txt"), variable);
    const QByteArray before = TestCatalog::readBytes(m_catalogue);

    const Result result = run(arguments, variableFile);
    QCOMPARE(result.exitCode, exitCode);
    if (exitCode == 0) {
        QCOMPARE(result.out, run({QStringLiteral("count"), m_files->copyOfDemo("d.muf")}).out);
    } else {
        QVERIFY2(result.err.contains(message), qPrintable(result.err));
        QCOMPARE(result.err.count(QLatin1Char('\n')), 1);
    }
    QCOMPARE(TestCatalog::readBytes(m_catalogue), before);
}

void TestCliPassword::passwdSetsChangesAndRemoves()
{
    const int albums = albumCount(m_catalogue, QString());
    const QString first = passwordFile(QStringLiteral("1.txt"), "x");
    const QString second = passwordFile(QStringLiteral("2.txt"), QByteArray(1000, 'z'));
    const QString none = passwordFile(QStringLiteral("0.txt"), QByteArray());

    Result result = run({"passwd", m_catalogue, "--new-password-file", first});
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.out.contains(QStringLiteral("set")));
    QCOMPARE(albumCount(m_catalogue, QStringLiteral("x")), albums);
    QCOMPARE(albumCount(m_catalogue, QString()), -1);

    // The old password is needed to change it.
    result = run({"passwd", m_catalogue, "--new-password-file", second});
    QCOMPARE(result.exitCode, 1);
    result = run({"passwd", m_catalogue, "--password-file", first, "--new-password-file", second});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(albumCount(m_catalogue, QString(1000, QLatin1Char('z'))), albums);
    QCOMPARE(albumCount(m_catalogue, QStringLiteral("x")), -1);

    result = run({"passwd", m_catalogue, "--new-password-file", none}, second);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(albumCount(m_catalogue, QString()), albums);
    QCOMPARE(run({"count", m_catalogue}).exitCode, 0);
    QCOMPARE(QDir(m_files->folder()).entryList({"*.muf*", ".*.muf*"}, QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("demo.muf")});
}

void TestCliPassword::passwdRefusesBadNewPasswords_data()
{
    QTest::addColumn<QByteArray>("newPassword");
    QTest::addColumn<QString>("message");
    QTest::newRow("NUL") << QByteArray("ab\0cd", 5) << QStringLiteral("NUL");
    QTest::newRow("1001 characters") << QByteArray(1001, 'a') << QStringLiteral("1000");
    QTest::newRow("the built-in key")
        << QByteArray(DatabaseEx::CatalogPassword) << QStringLiteral("built-in");
}

void TestCliPassword::passwdRefusesBadNewPasswords()
{
    QFETCH(QByteArray, newPassword);
    QFETCH(QString, message);
    const QByteArray before = TestCatalog::readBytes(m_catalogue);
    const Result result = run({"passwd", m_catalogue, "--new-password-file",
                               passwordFile(QStringLiteral("new.txt"), newPassword)});
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QCOMPARE(TestCatalog::readBytes(m_catalogue), before);
}

void TestCliPassword::passwdAsksOnTheTerminalWithoutEcho_data()
{
    QTest::addColumn<bool>("hasPassword");
    QTest::addColumn<QByteArrayList>("typed");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("works"); // the password the file opens with afterwards
    QTest::newRow("set") << false << QByteArrayList{"ñandú 7", "ñandú 7"} << 0
                         << QStringLiteral("ñandú 7");
    QTest::newRow("typed differently")
        << false << QByteArrayList{"ñandú 7", "ñandu 7"} << 1 << QString();
    QTest::newRow("change: old, new, new")
        << true << QByteArrayList{"old one", "ñandú 7", "ñandú 7"} << 0
        << QStringLiteral("ñandú 7");
    QTest::newRow("wrong old password")
        << true << QByteArrayList{"old 1"} << 1 << QStringLiteral("old one");
}

void TestCliPassword::passwdAsksOnTheTerminalWithoutEcho()
{
    QFETCH(bool, hasPassword);
    QFETCH(QByteArrayList, typed);
    QFETCH(int, exitCode);
    QFETCH(QString, works);
    if (hasPassword)
        setPassword(QStringLiteral("old one"));
    const QByteArray path = QFile::encodeName(m_catalogue);
    const QByteArray executable = QFile::encodeName(program());
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    QVERIFY(child >= 0);
    if (child == 0) {
        unsetenv("TUNVALE_PASSWORD_FILE");
        execl(executable.constData(), "tunvale-cli", "passwd", path.constData(), nullptr);
        _exit(127);
    }
    // Each answer is typed once its prompt (ending in ':') has appeared in full.
    QByteArray screen;
    QByteArray sinceAnswer;
    int answered = 0;
    char buffer[256];
    pollfd output{terminal, POLLIN, 0};
    while (poll(&output, 1, 20000) > 0) {
        const ssize_t got = read(terminal, buffer, sizeof buffer);
        if (got <= 0)
            break;
        screen.append(buffer, int(got));
        sinceAnswer.append(buffer, int(got));
        if (sinceAnswer.trimmed().endsWith(':') && answered < typed.size()) {
            const QByteArray line = typed[answered++] + '\n';
            QCOMPARE(write(terminal, line.constData(), size_t(line.size())), line.size());
            sinceAnswer.clear();
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    close(terminal);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), exitCode);
    for (const QByteArray& password : qAsConst(typed))
        QVERIFY2(!screen.contains(password), screen.constData());
    const QString opensWith = works.isEmpty() && !hasPassword ? QString() : works;
    QVERIFY(albumCount(m_catalogue, opensWith) > 0);
}

// Killed at random moments, passwd leaves a catalogue that opens with one of the two keys and
// holds every album. The catalogue is made large enough that the copy takes a while.
void TestCliPassword::killedPasswdLeavesOneKeyWorking()
{
    {
        ReportRecorder reports;
        Database database;
        QVERIFY(database.open(m_catalogue, DatabaseEx::catalogConnectString()));
        QVERIFY(database.execute(
            "CREATE TABLE filler(x); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
            "FROM n WHERE i < 20000) INSERT INTO filler SELECT randomblob(200) FROM n"));
    }
    const int albums = albumCount(m_catalogue, QString());
    const QString keys[] = {QStringLiteral("first key"), QStringLiteral("second key")};
    const QString files[] = {passwordFile(QStringLiteral("a.txt"), keys[0].toUtf8()),
                             passwordFile(QStringLiteral("b.txt"), keys[1].toUtf8())};
    QCOMPARE(run({"passwd", m_catalogue, "--new-password-file", files[0]}).exitCode, 0);

    QElapsedTimer clock;
    clock.start();
    QCOMPARE(
        run({"passwd", m_catalogue, "--password-file", files[0], "--new-password-file", files[1]})
            .exitCode,
        0);
    const int fullRun = int(clock.elapsed()) + 1;
    int current = 1;
    for (int kill = 0; kill < 6; ++kill) {
        QProcess process;
        process.start(program(), {"passwd", m_catalogue, "--password-file", files[current],
                                  "--new-password-file", files[1 - current]});
        QVERIFY(process.waitForStarted());
        QThread::msleep(QRandomGenerator::global()->bounded(fullRun));
        process.kill();
        process.waitForFinished();
        const bool oldWorks = albumCount(m_catalogue, keys[current]) == albums;
        const bool newWorks = albumCount(m_catalogue, keys[1 - current]) == albums;
        QVERIFY2(oldWorks != newWorks, qPrintable(QStringLiteral("kill %1").arg(kill)));
        if (newWorks)
            current = 1 - current;
    }
    // What the kills left beside the catalogue goes once it is old enough to be abandoned.
    const QDateTime longAgo = QDateTime::currentDateTime().addDays(-1);
    for (const QString& name :
         QDir(m_files->folder()).entryList({".demo.muf.part-*"}, QDir::Files | QDir::Hidden)) {
        QFile leftover(m_files->filePath(name));
        QVERIFY(leftover.open(QIODevice::ReadWrite));
        QVERIFY(leftover.setFileTime(longAgo, QFileDevice::FileModificationTime));
    }
    QCOMPARE(run({"passwd", m_catalogue, "--password-file", files[current], "--new-password-file",
                  files[1 - current]})
                 .exitCode,
             0);
    QCOMPARE(QDir(m_files->folder()).entryList({".demo.muf.part-*"}, QDir::Files | QDir::Hidden),
             QStringList());
}

QTEST_GUILESS_MAIN(TestCliPassword)
#include "TestCliPassword.moc"
