#include "freedb/CddbServer.h"

#include <QtTest>

class TestCddbServer : public QObject
{
    Q_OBJECT

private slots:
    void publicServerByDefault();
    void setting_data();
    void setting();
    void hostHeader();
};

void TestCddbServer::publicServerByDefault()
{
    for (const QString& text : {QString(), QStringLiteral(""), QStringLiteral("   ")}) {
        const std::optional<CddbServer> server = CddbServer::fromSetting(text);
        QVERIFY(server);
        QCOMPARE(server->host(), QStringLiteral("gnudb.gnudb.org"));
        QCOMPARE(server->port(), 80);
        QCOMPARE(server->scriptPath(), QStringLiteral("/~cddb/cddb.cgi"));
    }
}

void TestCddbServer::setting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("path");
    const QString cgi = QStringLiteral("/~cddb/cddb.cgi");
    QTest::newRow("host") << "cddb.example.org" << true << "cddb.example.org" << 80 << cgi;
    QTest::newRow("host and port") << "127.0.0.1:8080" << true << "127.0.0.1" << 8080 << cgi;
    QTest::newRow("host, port and path") << "cddb.example.org:8880/cgi-bin/cddb.cgi" << true
                                         << "cddb.example.org" << 8880 << "/cgi-bin/cddb.cgi";
    QTest::newRow("host and path")
        << "gnudb.gnudb.org/~cddb/cddb.cgi" << true << "gnudb.gnudb.org" << 80 << cgi;
    QTest::newRow("pasted URL") << "http://gnudb.gnudb.org/~cddb/cddb.cgi" << true
                                << "gnudb.gnudb.org" << 80 << cgi;
    QTest::newRow("blanks around") << "  localhost:81  " << true << "localhost" << 81 << cgi;
    QTest::newRow("https") << "https://gnudb.gnudb.org/~cddb/cddb.cgi" << false << "" << 0 << "";
    QTest::newRow("port 0") << "host:0" << false << "" << 0 << "";
    QTest::newRow("port 65536") << "host:65536" << false << "" << 0 << "";
    QTest::newRow("port with a sign") << "host:+80" << false << "" << 0 << "";
    QTest::newRow("port not a number") << "host:http" << false << "" << 0 << "";
    QTest::newRow("empty port") << "host:" << false << "" << 0 << "";
    QTest::newRow("no host") << ":80/x" << false << "" << 0 << "";
    QTest::newRow("blank inside the host") << "cddb example.org" << false << "" << 0 << "";
    QTest::newRow("path with a blank") << "host/~cddb/cd db.cgi" << false << "" << 0 << "";
    QTest::newRow("line break in the path (header smuggling)")
        << "host/x\r\nX-Evil: 1" << false << "" << 0 << "";
    QTest::newRow("path with a query") << "host/cddb.cgi?cmd=x" << false << "" << 0 << "";
    QTest::newRow("path of a slash only") << "host/" << false << "" << 0 << "";
    QTest::newRow("non-ASCII host")
        << QStringLiteral("cddb.ex\u00e4mple.org") << false << "" << 0 << "";
    QTest::newRow("user in front") << "user@host" << false << "" << 0 << "";
}

void TestCddbServer::setting()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const std::optional<CddbServer> server = CddbServer::fromSetting(text);
    QCOMPARE(bool(server), valid);
    if (!valid)
        return;
    QTEST(server->host(), "host");
    QTEST(server->port(), "port");
    QTEST(server->scriptPath(), "path");
}

void TestCddbServer::hostHeader()
{
    QCOMPARE(CddbServer(QStringLiteral("gnudb.gnudb.org")).hostHeader(),
             QStringLiteral("gnudb.gnudb.org"));
    QCOMPARE(CddbServer(QStringLiteral("127.0.0.1"), 8880).hostHeader(),
             QStringLiteral("127.0.0.1:8880"));
}

QTEST_GUILESS_MAIN(TestCddbServer)
#include "TestCddbServer.moc"
