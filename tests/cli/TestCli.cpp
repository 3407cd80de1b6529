#include "support/TestCatalog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

// The command-line companion run as a process on real catalogue files.
class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void helpAndVersion();
    void usageErrors_data();
    void usageErrors();
    void failuresGiveOneLine_data();
    void failuresGiveOneLine();
    void countAndList();
    void listEscapesAndFilters();
    void addThenShowRoundTrips();
    void addRejectsBadJson_data();
    void addRejectsBadJson();
    void deleteMarksTheAlbum();
    void pageAndExport();
    void namesAndRename();
    void newCatalogue();

private:
    struct Result {
        int exitCode;
        QString out;
        QString err;
    };
    Result run(const QStringList& arguments, const QByteArray& input = QByteArray());

    std::unique_ptr<TestCatalog> m_files;
    QString m_demo;
};

void TestCli::init()
{
    m_files = std::make_unique<TestCatalog>();
    m_demo = m_files->copyOfDemo();
}

TestCli::Result TestCli::run(const QStringList& arguments, const QByteArray& input)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       m_files->filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"),
                       m_files->filePath(QStringLiteral("cache")));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(m_files->folder());
    process.start(TestCatalog::programDirectory() + QLatin1String("/tunvale-cli"), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        return {-1, QString(), QStringLiteral("timed out")};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

void TestCli::helpAndVersion()
{
    const Result version = run({QStringLiteral("--version")});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QStringLiteral("tunvale-cli 1.00\n"));
    const Result help = run({QStringLiteral("--help")});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.contains(QStringLiteral("Tunvale.conf")));
}

void TestCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("nothing") << QStringList();
    QTest::newRow("unknown command") << QStringList{"frob"};
    QTest::newRow("missing argument") << QStringList{"show", "x.muf"};
    QTest::newRow("extra argument") << QStringList{"count", "a.muf", "b.muf"};
    QTest::newRow("unknown option") << QStringList{"list", "a.muf", "--colour", "red"};
    QTest::newRow("option without value") << QStringList{"list", "a.muf", "--order"};
    QTest::newRow("id not a number") << QStringList{"show", "a.muf", "seven"};
}

void TestCli::usageErrors()
{
    QFETCH(QStringList, arguments);
    const Result result = run(arguments);
    QCOMPARE(result.exitCode, 2);
    QVERIFY(result.err.contains(QStringLiteral("Usage: tunvale-cli")));
}

void TestCli::failuresGiveOneLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << QStringList{"count", "gone.muf"}
                                  << "Could not find file 'gone.muf'.";
    QTest::newRow("foreign file") << QStringList{"count", "notes.txt"}
                                  << "file is encrypted or is not a database";
    QTest::newRow("unknown album")
        << QStringList{"show", "demo.muf", "999"} << "no album with id 999.";
    QTest::newRow("unknown caption")
        << QStringList{"list", "demo.muf", "--columns", "Artist,Colour"}
        << "unknown column caption 'Colour'.";
    QTest::newRow("unknown list") << QStringList{"names", "demo.muf", "Planets"}
                                  << "unknown list 'Planets'.";
    QTest::newRow("unknown artist")
        << QStringList{"list", "demo.muf", "--artist", "Nobody"} << "no artist named 'Nobody'.";
    QTest::newRow("bad condition")
        << QStringList{"list", "demo.muf", "--where", "nonsense ="} << "near \")\": syntax error";
    QTest::newRow("page of a deleted album")
        << QStringList{"page", "demo.muf", "27", "p.html"} << "no page for album 27.";
    QTest::newRow("rename unknown entry") << QStringList{"rename", "demo.muf", "Genre", "99", "x"}
                                          << "no entry 99 in the list 'music_categories'.";
}

void TestCli::failuresGiveOneLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    {
        QFile notes(m_files->filePath(QStringLiteral("notes.txt")));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("not a catalogue\n");
    }
    const QByteArray before = TestCatalog::readBytes(m_demo);
    const Result result = run(arguments);
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.err.count(QLatin1Char('\n')), 1);
    QCOMPARE(result.err, QStringLiteral("tunvale-cli: ") + message + QLatin1Char('\n'));
    QCOMPARE(TestCatalog::readBytes(m_demo), before);
    QVERIFY(!QFileInfo::exists(m_files->filePath(QStringLiteral("gone.muf"))));
}

void TestCli::countAndList()
{
    QCOMPARE(run({QStringLiteral("count"), m_demo}).out, QStringLiteral("26\n"));
    const Result list = run({QStringLiteral("list"), m_demo});
    QCOMPARE(list.exitCode, 0);
    const QStringList lines = list.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 27);
    QCOMPARE(lines[0], QStringLiteral("Artist\tTitle\tRecord Year"));
    QCOMPARE(lines[1], QStringLiteral("Dmitri Volkov Quartet\tNight Train to Vyborg\t1989"));
    const Result ordered = run({QStringLiteral("list"), m_demo, QStringLiteral("--columns"),
                                QStringLiteral("Record Year,In Collection,Current Value"),
                                QStringLiteral("--order"), QStringLiteral("year DESC")});
    QCOMPARE(ordered.out.section(QLatin1Char('\n'), 0, 1),
             QStringLiteral("Record Year\tIn Collection\tCurrent Value\n2019\tYes\t43.53"));
}

void TestCli::listEscapesAndFilters()
{
    const Result notes = run({QStringLiteral("list"), m_demo, QStringLiteral("--columns"),
                              QStringLiteral("Title,Notes"), QStringLiteral("--where"),
                              QStringLiteral("music.music_id = 1")});
    QCOMPARE(
        notes.out,
        QStringLiteral(
            "Title\tNotes\nNuit d'été\tSigned copy.\\nBought at the release concert in Lyon.\n"));
    const Result artist = run({QStringLiteral("list"), m_demo, QStringLiteral("--artist"),
                               QStringLiteral("ÅSA LINDQVIST"), QStringLiteral("--where"),
                               QStringLiteral("year > 2010 OR 1 = 1")});
    QCOMPARE(artist.out.count(QLatin1Char('\n')), 3); // captions and her two albums only
}

void TestCli::addThenShowRoundTrips()
{
    const QJsonObject album{
        {QStringLiteral("artist_name"), QStringLiteral("Guns N' Roses <Tribute>")},
        {QStringLiteral("title"), QStringLiteral("Tab\there & \"quotes\"")},
        {QStringLiteral("year"), 1999},
        {QStringLiteral("value"), QStringLiteral("12.5")},
        {QStringLiteral("purchasedate"), QStringLiteral("2001-05-03T00:00:00")},
        {QStringLiteral("tracks"),
         QJsonArray{QJsonObject{{QStringLiteral("title"), QStringLiteral("One")}},
                    QJsonObject{{QStringLiteral("title"), QStringLiteral("Two")},
                                {QStringLiteral("songwriter_name"), QStringLiteral("Björk")}}}}};
    const Result added =
        run({QStringLiteral("add"), m_demo, QStringLiteral("-")}, QJsonDocument(album).toJson());
    QCOMPARE(added.exitCode, 0);
    const int id = added.out.trimmed().toInt();
    QVERIFY(id > 27);
    const Result shown = run({QStringLiteral("show"), m_demo, QString::number(id)});
    QCOMPARE(shown.exitCode, 0);
    const QJsonObject back = QJsonDocument::fromJson(shown.out.toUtf8()).object();
    QCOMPARE(back.value(QStringLiteral("music_id")).toInt(), id);
    QCOMPARE(back.value(QStringLiteral("artist_name")).toString(),
             QStringLiteral("Guns N' Roses <Tribute>"));
    QCOMPARE(back.value(QStringLiteral("title")).toString(),
             QStringLiteral("Tab\there & \"quotes\""));
    QCOMPARE(back.value(QStringLiteral("value")).toString(), QStringLiteral("12.50"));
    QCOMPARE(back.value(QStringLiteral("purchasedate")).toString(),
             QStringLiteral("2001-05-03T00:00:00"));
    QCOMPARE(back.value(QStringLiteral("grade")).toInt(), 1); // a default
    const QJsonArray tracks = back.value(QStringLiteral("tracks")).toArray();
    QCOMPARE(tracks.size(), 2);
    QCOMPARE(tracks[1].toObject().value(QStringLiteral("tracknumber")).toInt(), 2);
    QCOMPARE(tracks[1].toObject().value(QStringLiteral("songwriter_name")).toString(),
             QStringLiteral("Björk"));

    // What show prints can be added again as a new album with new tracks.
    QFile copy(m_files->filePath(QStringLiteral("copy.json")));
    QVERIFY(copy.open(QIODevice::WriteOnly));
    copy.write(shown.out.toUtf8());
    copy.close();
    const Result again = run({QStringLiteral("add"), m_demo, copy.fileName()});
    QCOMPARE(again.exitCode, 0);
    QCOMPARE(run({QStringLiteral("show"), m_demo, QString::number(id)}).out, shown.out);
    QCOMPARE(run({QStringLiteral("count"), m_demo}).out, QStringLiteral("28\n"));
}

void TestCli::addRejectsBadJson_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");
    QTest::newRow("not JSON") << QByteArray("{title:") << "-: not a JSON object";
    QTest::newRow("array") << QByteArray("[1,2]") << "-: not a JSON object";
    QTest::newRow("unknown key") << QByteArray("{\"titel\": \"x\"}")
                                 << "album: unknown key 'titel'.";
    QTest::newRow("number as text")
        << QByteArray("{\"year\": \"1999\"}") << "album: 'year' must be a whole number.";
    QTest::newRow("fraction") << QByteArray("{\"year\": 1999.5}")
                              << "album: 'year' must be a whole number.";
    QTest::newRow("bad date") << QByteArray("{\"loandate\": \"yesterday\"}")
                              << "album: 'loandate' must be a date";
    QTest::newRow("bad track") << QByteArray("{\"tracks\": [{\"title\": 5}]}")
                               << "track 1: 'title' must be text.";
}

void TestCli::addRejectsBadJson()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    const QByteArray before = TestCatalog::readBytes(m_demo);
    const Result result = run({QStringLiteral("add"), m_demo, QStringLiteral("-")}, json);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.startsWith(QStringLiteral("tunvale-cli: ") + message),
             qPrintable(result.err));
    QCOMPARE(TestCatalog::readBytes(m_demo), before);
}

void TestCli::deleteMarksTheAlbum()
{
    QCOMPARE(run({QStringLiteral("delete"), m_demo, QStringLiteral("5")}).exitCode, 0);
    QCOMPARE(run({QStringLiteral("count"), m_demo}).out, QStringLiteral("25\n"));
    QCOMPARE(run({QStringLiteral("show"), m_demo, QStringLiteral("5")}).exitCode, 0); // still loads
    QCOMPARE(run({QStringLiteral("delete"), m_demo, QStringLiteral("500")}).exitCode, 1);
}

void TestCli::pageAndExport()
{
    const QString page = m_files->filePath(QStringLiteral("album.html"));
    QCOMPARE(run({QStringLiteral("page"), m_demo, QStringLiteral("1"), page}).exitCode, 0);
    const QString html = QString::fromUtf8(TestCatalog::readBytes(page));
    QVERIFY(html.contains(QStringLiteral("<SPAN class=\"title\">Les Étoiles Filantes</SPAN>")));
    const QString list = m_files->filePath(QStringLiteral("list.html"));
    QCOMPARE(run({QStringLiteral("export"), m_demo, list, QStringLiteral("--columns"),
                  QStringLiteral("Artist:150,Title:200"), QStringLiteral("--grid"),
                  QStringLiteral("--where"), QStringLiteral("music.music_id = 9")})
                 .exitCode,
             0);
    const QString document = QString::fromUtf8(TestCatalog::readBytes(list));
    QVERIFY(document.contains(QStringLiteral("<TABLE width=\"350px\" border=\"1\"")));
    QVERIFY(document.contains(QStringLiteral("<TD width=\"150\">Dmitri Volkov Quartet</TD><TD "
                                             "width=\"200\">Night Train to Vyborg</TD>")));
    QCOMPARE(run({QStringLiteral("export"), m_demo,
                  m_files->filePath(QStringLiteral("no/such/folder.html"))})
                 .exitCode,
             1);
}

void TestCli::namesAndRename()
{
    const Result names = run({QStringLiteral("names"), m_demo, QStringLiteral("On Loan To")});
    QCOMPARE(names.out,
             QStringLiteral("Hélène Dupré\t1\t1\nIngrid Sørensen\t0\t3\nTom O'Brien\t1\t2\n"));
    QCOMPARE(run({QStringLiteral("rename"), m_demo, QStringLiteral("persons"), QStringLiteral("3"),
                  QStringLiteral("Ingrid O'Neill")})
                 .exitCode,
             0);
    QVERIFY(run({QStringLiteral("names"), m_demo, QStringLiteral("PERSONS")})
                .out.contains(QStringLiteral("Ingrid O'Neill\t0\t3\n")));
}

void TestCli::newCatalogue()
{
    const QString fresh = m_files->filePath(QStringLiteral("fresh.muf"));
    QCOMPARE(run({QStringLiteral("new"), fresh}).exitCode, 0);
    QCOMPARE(run({QStringLiteral("count"), fresh}).out, QStringLiteral("0\n"));
    QCOMPARE(run({QStringLiteral("list"), fresh}).out,
             QStringLiteral("Artist\tTitle\tRecord Year\n"));
    const QByteArray before = TestCatalog::readBytes(m_demo);
    QCOMPARE(run({QStringLiteral("new"), m_demo}).exitCode, 1); // never over an existing file
    QCOMPARE(TestCatalog::readBytes(m_demo), before);
}

QTEST_GUILESS_MAIN(TestCli)
#include "TestCli.moc"
