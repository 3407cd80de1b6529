// The desktop program started as a user starts it, without the web-engine flags the rest of the
// suite sets: as root, and with a web engine that cannot show pages.
#include "app/WebEngineStart.h"
#include "support/TestCatalog.h"

#include <QProcess>
#include <QTest>
#include <unistd.h>

class TestStartUp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void flagsForRoot_data();
    void flagsForRoot();
    void windowFills_data();
    void windowFills();

private:
    TestCatalog m_files;
    QString m_catalogue;
};

void TestStartUp::initTestCase()
{
    QVERIFY(m_files.isValid());
    m_catalogue = m_files.copyOfDemo();
}

void TestStartUp::flagsForRoot_data()
{
    QTest::addColumn<QByteArray>("user");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("none") << QByteArray() << QByteArray("--no-sandbox");
    QTest::newRow("user's flags kept after it")
        << QByteArray("--disable-gpu --lang=de")
        << QByteArray("--no-sandbox --disable-gpu --lang=de");
    QTest::newRow("already off") << QByteArray("--disable-gpu --no-sandbox")
                                 << QByteArray("--disable-gpu --no-sandbox");
}

void TestStartUp::flagsForRoot()
{
    QFETCH(QByteArray, user);
    QFETCH(QByteArray, expected);
    QCOMPARE(WebEngineStart::flagsForRoot(user), expected);
}

void TestStartUp::windowFills_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("said");
    QTest::addColumn<bool>("rootOnly");
    QTest::addColumn<QByteArray>("reported");
    QTest::newRow("as root, no flags")
        << QStringList() << QStringLiteral("running as root") << true << QByteArray("filled\n");
    QTest::newRow("engine helper missing")
        << QStringList({"QTWEBENGINEPROCESS_PATH=/nonexistent/QtWebEngineProcess",
                        "QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox"})
        << QStringLiteral("The album page cannot be shown: the web engine's helper program")
        << false << QByteArray("filled without the album page\n");
    QTest::newRow("page process dies")
        << QStringList({"QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox --no-zygote "
                        "--renderer-cmd-prefix=/bin/false"})
        << QStringLiteral("The album page cannot be shown: the web engine's page process ended")
        << false << QByteArray("filled without the album page\n");
}

// The window must fill (tree, list, and a page or the pane's notice) and the program end by
// itself, whatever the engine did.
void TestStartUp::windowFills()
{
    QFETCH(QStringList, environment);
    QFETCH(QString, said);
    QFETCH(bool, rootOnly);
    QFETCH(QByteArray, reported);
    if (rootOnly && geteuid() != 0)
        QSKIP("needs to run as root");
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    variables.remove(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"));
    variables.remove(QStringLiteral("TUNVALE_QUIT_WHEN_FILLED"));
    variables.insert(QStringLiteral("XDG_CONFIG_HOME"), m_files.filePath(QStringLiteral("config")));
    variables.insert(QStringLiteral("XDG_CACHE_HOME"), m_files.filePath(QStringLiteral("cache")));
    for (const QString& setting : environment)
        variables.insert(setting.section(QLatin1Char('='), 0, 0),
                         setting.section(QLatin1Char('='), 1));
    QProcess program;
    program.setProcessEnvironment(variables);
    program.start(TestCatalog::programDirectory() + QLatin1String("/tunvale"),
                  {m_catalogue, QStringLiteral("--quit-when-filled")});
    QVERIFY(program.waitForFinished(120000));
    const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0,
             qPrintable(errors));
    QCOMPARE(program.readAllStandardOutput(), reported);
    QVERIFY2(errors.contains(said), qPrintable(errors));
}

QTEST_GUILESS_MAIN(TestStartUp)
#include "TestStartUp.moc"
