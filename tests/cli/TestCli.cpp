#include "db/DatabaseEx.h"
#include "support/TestCatalog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

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
    void addStopsReadingBeyondTheCap();
    void deleteMarksTheAlbum();
    void pageAndExport();
    void pageLinksOnlyToTheWeb();
    void namesAndRename();
    void newCatalogue();
    void parallelWritersAllSucceed();
    void parallelPagesKeepTheirOwnContent();
    void nonRegularCatalogueIsRefused_data();
    void nonRegularCatalogueIsRefused();
    void targetsThatAreNoPlainFileAreKept_data();
    void targetsThatAreNoPlainFileAreKept();
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void listOptionsAreOneReadOnlyExpression_data();
    void listOptionsAreOneReadOnlyExpression();
    void messagesNameTheRealCause_data();
    void messagesNameTheRealCause();
    void importPrintsTheSummary();
    void wantlistNeedsItsOwnFormat_data();
    void wantlistNeedsItsOwnFormat();
    void importReadsPipesAndCrLineEnds_data();
    void importReadsPipesAndCrLineEnds();
    void csvExportImportsIntoAnEmptyCatalogue();
    void killedImportLeavesNothing();
    void statsAsJsonAndText();
    void loansLongestOutFirst();
    void duplicatesOfAnAlbumAddedTwice();
    void checkFindsDamage_data();
    void checkFindsDamage();

private:
    struct Result {
        int exitCode;
        QString out;
        QString err;
    };
    Result run(const QStringList& arguments, const QByteArray& input = QByteArray(),
               qint64 fileSizeLimit = -1);
    QProcessEnvironment environment() const;
    bool execute(const QString& catalogue, const QByteArray& sql);

    std::unique_ptr<TestCatalog> m_files;
    QString m_demo;
};

void TestCli::init()
{
    m_files = std::make_unique<TestCatalog>();
    m_demo = m_files->copyOfDemo();
}

QProcessEnvironment TestCli::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       m_files->filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"),
                       m_files->filePath(QStringLiteral("cache")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_files->filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    return environment;
}

// Changes a catalogue behind the program's back, as another tool could.
bool TestCli::execute(const QString& catalogue, const QByteArray& sql)
{
    DatabaseEx layer;
    DatabaseHandle database;
    const bool done =
        layer.OpenDatabase(&database, catalogue, DatabaseEx::catalogConnectString()) &&
        database->execute(sql);
    layer.CloseDatabase(&database);
    return done;
}

// A limit on the size of files the program writes stands in for a full disk.
TestCli::Result TestCli::run(const QStringList& arguments, const QByteArray& input,
                             qint64 fileSizeLimit)
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.setWorkingDirectory(m_files->folder());
    if (fileSizeLimit >= 0) {
        process.setChildProcessModifier([fileSizeLimit] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    }
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
    QTest::newRow("column too wide")
        << QStringList{"export", "demo.muf", "l.html", "--columns", "Title:2147483647"}
        << "'Title:2147483647' is not a caption with a width (0 to 4000 pixels).";
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
    // In the language's order "Åsa" sorts among the A's, before "Dmitri".
    QCOMPARE(lines[1], QStringLiteral("Åsa Lindqvist\tLjusets hamn\t2012"));
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
    QTest::newRow("array") << QByteArray("[1,2]")
                           << "-: not a JSON object (the top level is an array).";
    QTest::newRow("NUL in a name") << QByteArray("{\"artist_name\": \"a\\u0000b\"}")
                                   << "album: 'artist_name' must be text without NUL characters.";
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
    // What the album editor would not store.
    const QString required = QStringLiteral("album: 'artist_name' and 'title' are required.");
    QTest::newRow("no artist") << QByteArray("{\"title\": \"x\"}") << required;
    QTest::newRow("empty title") << QByteArray("{\"artist_name\": \"a\", \"title\": \"\"}")
                                 << required;
    const QByteArray named = "{\"artist_name\": \"a\", \"title\": \"t\", ";
    for (const char* amount : {"abc", "nan", "inf", "1e400", "12.5x"})
        QTest::newRow(qPrintable(QStringLiteral("value %1").arg(QLatin1String(amount))))
            << named + "\"value\": \"" + amount + "\"}"
            << QStringLiteral("album: 'value' must be a number such as \"12.50\", not '%1'.")
                   .arg(QLatin1String(amount));
    QTest::newRow("purchase price")
        << named + "\"purchaseprice\": \"-Infinity\"}"
        << "album: 'purchaseprice' must be a number such as \"12.50\", not '-Infinity'.";
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

// An endless input is refused once it passes the cap, not read into memory to the end.
void TestCli::addStopsReadingBeyondTheCap()
{
    const QByteArray before = TestCatalog::readBytes(m_demo);
    const Result result = run({QStringLiteral("add"), m_demo, QStringLiteral("/dev/zero")});
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.err, QStringLiteral("tunvale-cli: /dev/zero: the album JSON is larger than "
                                        "64 MB; nothing was added.\n"));
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

// Whatever the catalogue holds, the page links only to web and mail addresses and shows only
// local pictures.
void TestCli::pageLinksOnlyToTheWeb()
{
    QVERIFY(execute(m_demo, "UPDATE music SET url = 'javascript:alert(1)', frontimage = "
                            "'http://tracker.example/p.png', backimage = 'file:///etc/passwd' "
                            "WHERE music_id = 1"));
    const QString page = m_files->filePath(QStringLiteral("album.html"));
    QCOMPARE(run({QStringLiteral("page"), m_demo, QStringLiteral("1"), page}).exitCode, 0);
    const QString html = QString::fromUtf8(TestCatalog::readBytes(page));
    QVERIFY(html.contains(QStringLiteral("javascript:alert(1)</TD>")));
    QVERIFY(!html.contains(QStringLiteral("<A "), Qt::CaseInsensitive));
    QVERIFY(!html.contains(QStringLiteral("<IMG"), Qt::CaseInsensitive));
}

void TestCli::namesAndRename()
{
    const Result names = run({QStringLiteral("names"), m_demo, QStringLiteral("On Loan To")});
    QCOMPARE(names.out,
             QStringLiteral("Hélène Dupré\t1\t1\nIngrid Sørensen\t1\t3\nTom O'Brien\t1\t2\n"));
    QCOMPARE(run({QStringLiteral("rename"), m_demo, QStringLiteral("persons"), QStringLiteral("3"),
                  QStringLiteral("Ingrid O'Neill")})
                 .exitCode,
             0);
    QVERIFY(run({QStringLiteral("names"), m_demo, QStringLiteral("PERSONS")})
                .out.contains(QStringLiteral("Ingrid O'Neill\t1\t3\n")));
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

// Scripts add albums while others do: each waits its turn, none fails.
void TestCli::parallelWritersAllSucceed()
{
    const QString album = m_files->filePath(QStringLiteral("album.json"));
    QFile json(album);
    QVERIFY(json.open(QIODevice::WriteOnly));
    json.write(R"({"artist_name": "Quartet", "title": "Parallel",
                   "tracks": [{"title": "One"}, {"title": "Two"}]})");
    json.close();
    const QString loop =
        QStringLiteral("for i in $(seq 25); do \"$0\" add \"$1\" \"$2\" >/dev/null "
                       "|| echo failed; done");
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int w = 0; w < 4; ++w) {
        auto writer = std::make_unique<QProcess>();
        writer->setProcessEnvironment(environment());
        writer->start(QStringLiteral("/bin/sh"),
                      {QStringLiteral("-c"), loop,
                       TestCatalog::programDirectory() + QLatin1String("/tunvale-cli"), m_demo,
                       album});
        writers.push_back(std::move(writer));
    }
    for (auto& writer : writers) {
        QVERIFY(writer->waitForFinished(240000));
        const QByteArray errors = writer->readAllStandardError() + writer->readAllStandardOutput();
        QVERIFY2(errors.isEmpty(), errors.constData());
    }
    QCOMPARE(run({QStringLiteral("count"), m_demo}).out, QStringLiteral("126\n"));
}

void TestCli::parallelPagesKeepTheirOwnContent()
{
    const Result titles =
        run({QStringLiteral("list"), m_demo, QStringLiteral("--columns"), QStringLiteral("Title"),
             QStringLiteral("--order"), QStringLiteral("music.music_id")});
    const QStringList lines = titles.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(lines.size() > 12);
    for (int round = 0; round < 3; ++round) {
        std::vector<std::unique_ptr<QProcess>> pages;
        for (int id = 1; id <= 12; ++id) {
            auto page = std::make_unique<QProcess>();
            page->setProcessEnvironment(environment());
            page->start(TestCatalog::programDirectory() + QLatin1String("/tunvale-cli"),
                        {QStringLiteral("page"), m_demo, QString::number(id),
                         m_files->filePath(QStringLiteral("page-%1.html").arg(id))});
            pages.push_back(std::move(page));
        }
        for (auto& page : pages)
            QVERIFY(page->waitForFinished(60000) && page->exitCode() == 0);
        for (int id = 1; id <= 12; ++id) {
            const QString html = QString::fromUtf8(
                TestCatalog::readBytes(m_files->filePath(QStringLiteral("page-%1.html").arg(id))));
            QVERIFY2(html.contains(QLatin1String("> - ") +
                                   lines[id].toHtmlEscaped().replace(QLatin1String("&#39;"),
                                                                     QLatin1String("'")) +
                                   QLatin1String("</SPAN>")) &&
                         html.endsWith(QLatin1String("</HTML>")),
                     qPrintable(QStringLiteral("album %1").arg(id)));
        }
    }
}

void TestCli::nonRegularCatalogueIsRefused_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("path");
    QTest::newRow("count a pipe") << "count"
                                  << "pipe";
    QTest::newRow("list a pipe") << "list"
                                 << "pipe";
    QTest::newRow("count a device") << "count"
                                    << "/dev/zero";
}

void TestCli::nonRegularCatalogueIsRefused()
{
    QFETCH(QString, command);
    QFETCH(QString, path);
    QVERIFY(mkfifo(QFile::encodeName(m_files->filePath(QStringLiteral("pipe"))).constData(),
                   0600) == 0);
    const Result result = run({command, path});
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.err, QStringLiteral("tunvale-cli: '%1' is not a regular file.\n").arg(path));
}

void TestCli::targetsThatAreNoPlainFileAreKept_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason");
    for (const char* command : {"page", "export"}) {
        QTest::addRow("%s over a pipe", command) << command << "pipe"
                                                 << "is not a regular file";
        QTest::addRow("%s over a link", command) << command << "link"
                                                 << "is not a regular file";
        QTest::addRow("%s over the catalogue", command) << command << "demo.muf"
                                                        << "is the open catalogue";
        QTest::addRow("%s over a hard link to the catalogue", command) << command << "same.muf"
                                                                       << "is the open catalogue";
    }
}

void TestCli::targetsThatAreNoPlainFileAreKept()
{
    QFETCH(QString, command);
    QFETCH(QString, target);
    QFETCH(QString, reason);
    QVERIFY(mkfifo(QFile::encodeName(m_files->filePath(QStringLiteral("pipe"))).constData(),
                   0600) == 0);
    QVERIFY(QFile::link(m_demo, m_files->filePath(QStringLiteral("link"))));
    QVERIFY(::link(QFile::encodeName(m_demo).constData(),
                   QFile::encodeName(m_files->filePath(QStringLiteral("same.muf"))).constData()) ==
            0);
    const QByteArray before = TestCatalog::readBytes(m_demo);
    const QStringList arguments = command == QLatin1String("page")
                                      ? QStringList{command, m_demo, QStringLiteral("1"), target}
                                      : QStringList{command, m_demo, target};
    const Result result = run(arguments);
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.err,
             QStringLiteral("tunvale-cli: '%1' %2; it was left as it is.\n").arg(target, reason));
    QCOMPARE(TestCatalog::readBytes(m_demo), before);
    QVERIFY(QFileInfo(m_files->filePath(QStringLiteral("link"))).isSymLink());
    struct stat pipe {
    };
    QVERIFY(::stat(QFile::encodeName(m_files->filePath(QStringLiteral("pipe"))).constData(),
                   &pipe) == 0 &&
            S_ISFIFO(pipe.st_mode));
}

void TestCli::failedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("page") << QStringList{"page", "demo.muf", "1", "out.html"};
    QTest::newRow("export") << QStringList{"export", "demo.muf", "out.html"};
    const QString manyColumns = QStringLiteral(
        "Artist,Title,Notes,Label,Genre,Url,Location,Media Type,Purchase Date,Country");
    QTest::newRow("csv export") << QStringList{"export", "demo.muf",  "out.html", "--format",
                                               "csv",    "--columns", manyColumns};
}

// Every kind of output says the same when the disk fills up.
void TestCli::failedWriteKeepsTheOldFile()
{
    QFETCH(QStringList, arguments);
    const QString target = m_files->filePath(QStringLiteral("out.html"));
    QFile old(target);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("the old page");
    old.close();
    const Result result = run(arguments, QByteArray(), 2048);
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.err, QStringLiteral("tunvale-cli: cannot write 'out.html': not all of it was "
                                        "written (is the disk full?)\n"));
    QCOMPARE(TestCatalog::readBytes(target), QByteArray("the old page"));
    QCOMPARE(QDir(m_files->folder()).entryList(QDir::Files).size(), 2); // no temporary left
}

void TestCli::listOptionsAreOneReadOnlyExpression_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("condition leaving its parentheses") << "list"
                                                       << "--where"
                                                       << "1=1) OR (1=1"
                                                       << "is not one expression";
    QTest::newRow("second statement") << "list"
                                      << "--where"
                                      << "1=1; DELETE FROM music"
                                      << "is not one expression";
    QTest::newRow("comment hiding the rest") << "export"
                                             << "--where"
                                             << "1=1 --"
                                             << "is not one expression";
    QTest::newRow("incomplete condition") << "list"
                                          << "--where"
                                          << "nonsense ="
                                          << "is not a read-only expression: near";
    QTest::newRow("function that writes elsewhere")
        << "export"
        << "--where"
        << "sqlcipher_export('main') IS NULL"
        << "is not a read-only expression: not authorized";
    QTest::newRow("order with a statement") << "list"
                                            << "--order"
                                            << "year; DROP TABLE music"
                                            << "is not a list of column names";
    QTest::newRow("order by an expression") << "export"
                                            << "--order"
                                            << "(SELECT 1)"
                                            << "is not a list of column names";
}

void TestCli::listOptionsAreOneReadOnlyExpression()
{
    QFETCH(QString, command);
    QFETCH(QString, option);
    QFETCH(QString, value);
    QFETCH(QString, message);
    const QByteArray before = TestCatalog::readBytes(m_demo);
    QStringList arguments{command, m_demo};
    if (command == QLatin1String("export"))
        arguments << m_files->filePath(QStringLiteral("list.html"));
    const Result result = run(arguments << option << value);
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QCOMPARE(result.out, QString());
    QCOMPARE(TestCatalog::readBytes(m_demo), before);
    QVERIFY(!QFileInfo::exists(m_files->filePath(QStringLiteral("list.html"))));
    // Sound options still work.
    QCOMPARE(run({QStringLiteral("list"), m_demo, QStringLiteral("--order"),
                  QStringLiteral("music.year DESC, title"), QStringLiteral("--where"),
                  QStringLiteral("(year < 1990) AND title <> 'a;b)'")})
                 .exitCode,
             0);
}

void TestCli::messagesNameTheRealCause_data()
{
    QTest::addColumn<QByteArray>("change");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("message");
    QTest::newRow("delete from a read-only catalogue")
        << QByteArray() << QStringList{"delete", "demo.muf", "1"} << QString()
        << "'demo.muf' is read-only; nothing was changed.";
    QTest::newRow("ids used up")
        << QByteArray("INSERT INTO music (music_id, title) VALUES (2147483647, 'last')")
        << QStringList{"add", "demo.muf", "-"} << QString()
        << "The id 2147483648 for a new row of 'music' is out of range (the largest id is "
           "2147483647).";
    QTest::newRow("NUL stored by another tool")
        << QByteArray("UPDATE music SET title = 'a' || char(0) || 'b' WHERE music_id = 1")
        << QStringList{"list", "demo.muf", "--columns", "Title", "--where", "music.music_id = 1"}
        << "Title\na\\0b\n"
        << QString();
}

void TestCli::messagesNameTheRealCause()
{
    QFETCH(QByteArray, change);
    QFETCH(QStringList, arguments);
    QFETCH(QString, output);
    QFETCH(QString, message);
    if (change.isEmpty())
        QVERIFY(QFile::setPermissions(m_demo, QFile::ReadOwner));
    else
        QVERIFY(execute(m_demo, change));
    const Result result = run(arguments, QByteArray(R"({"artist_name": "a", "title": "x"})"));
    QCOMPARE(result.out, output);
    QCOMPARE(result.err,
             message.isEmpty() ? QString() : QLatin1String("tunvale-cli: ") + message + '\n');
    QCOMPARE(result.exitCode, message.isEmpty() ? 0 : 1);
}

void TestCli::importPrintsTheSummary()
{
    const QString empty = m_files->copyOfTemplate();
    const QString collection = QStringLiteral(TUNVALE_IO_TESTDATA "/gustw-vinyl-collection.csv");
    const Result first = run({QStringLiteral("import"), empty, collection});
    QCOMPARE(first.err, QString());
    QCOMPARE(first.out, QStringLiteral("Imported: 315\nSkipped (already imported): 1\n"
                                       "Refused rows: 0\n"));
    const Result again =
        run({QStringLiteral("import"), empty, collection, QStringLiteral("--dry-run"),
             QStringLiteral("--format"), QStringLiteral("discogs")});
    QCOMPARE(again.out, QStringLiteral("Dry run: nothing was stored.\nImported: 0\n"
                                       "Skipped (already imported): 316\nRefused rows: 0\n"));
    const QString wantlist =
        QStringLiteral(TUNVALE_IO_TESTDATA "/mouse-reeve-record-catalogue.wantlist.csv");
    const Result refused = run({QStringLiteral("import"), empty, wantlist});
    QCOMPARE(refused.exitCode, 1);
    QCOMPARE(refused.err, QStringLiteral("tunvale-cli: %1: This file looks like a Discogs "
                                         "wantlist: neither a Discogs collection export nor a "
                                         "list of album columns. Its albums are wanted, not "
                                         "owned: import it with --format discogs-wantlist. "
                                         "Nothing was imported.\n")
                              .arg(wantlist));
    QCOMPARE(run({QStringLiteral("count"), empty}).out, QStringLiteral("315\n"));
}

void TestCli::wantlistNeedsItsOwnFormat_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // the last line of the output or of the error
    const QString wantlist =
        QStringLiteral(TUNVALE_IO_TESTDATA "/mouse-reeve-record-catalogue.wantlist.csv");
    const QString inventory = QStringLiteral("listing_id,artist,title,label,catno,format,"
                                             "release_id,status\r\n1,a,b,c,d,e,2,For Sale\r\n");
    QTest::newRow("as a wantlist") << wantlist << "discogs-wantlist" << 0 << "Refused rows: 0";
    QTest::newRow("as a collection")
        << wantlist << "discogs" << 1
        << "This file looks like a Discogs wantlist, not a Discogs collection export. Its albums "
           "are wanted, not owned: import it with --format discogs-wantlist. Nothing was "
           "imported.";
    QTest::newRow("inventory as a wantlist")
        << inventory << "discogs-wantlist" << 1
        << "This file looks like a Discogs marketplace inventory, not a Discogs wantlist. Nothing "
           "was imported.";
    QTest::newRow("unknown format")
        << wantlist << "wantlist" << 2
        << "tunvale-cli: --format 'wantlist' is not discogs, discogs-wantlist or csv.";
}

// Only the wantlist format imports a wantlist, and then as albums not in the collection.
void TestCli::wantlistNeedsItsOwnFormat()
{
    QFETCH(QString, file);
    QFETCH(QString, format);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    if (!file.startsWith(QLatin1Char('/'))) {
        const QString written = m_files->filePath(QStringLiteral("input.csv"));
        QFile input(written);
        QVERIFY(input.open(QIODevice::WriteOnly));
        input.write(file.toUtf8());
        file = written;
    }
    const QString empty = m_files->copyOfTemplate();
    const Result result =
        run({QStringLiteral("import"), empty, file, QStringLiteral("--format"), format});
    QCOMPARE(result.exitCode, exitCode);
    const QString text = exitCode == 0 ? result.out : result.err;
    QVERIFY2(text.endsWith(message + QLatin1Char('\n')), qPrintable(text));
    // Everything the catalogue then holds is wanted.
    const QString count = exitCode == 0 ? QStringLiteral("29\n") : QStringLiteral("0\n");
    QCOMPARE(run({QStringLiteral("count"), empty}).out, count);
    const Result owned =
        run({QStringLiteral("list"), empty, QStringLiteral("--columns"), QStringLiteral("Title"),
             QStringLiteral("--where"), QStringLiteral("incollection = TRUE")});
    QCOMPARE(owned.out, QStringLiteral("Title\n"));
}

void TestCli::csvExportImportsIntoAnEmptyCatalogue()
{
    const QString csv = m_files->filePath(QStringLiteral("list.csv"));
    const QString columns = QStringLiteral("Artist,Title,Record Year,Purchase Date,Notes");
    QCOMPARE(run({QStringLiteral("export"), m_demo, csv, QStringLiteral("--format"),
                  QStringLiteral("csv"), QStringLiteral("--columns"), columns})
                 .exitCode,
             0);
    const QByteArray bytes = TestCatalog::readBytes(csv);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"
                             "Artist,Title,Record Year,Purchase Date,Notes\r\n"));
    QVERIFY(bytes.contains("\"Signed copy.\nBought at the release concert in Lyon.\""));
    const QString empty = m_files->copyOfTemplate();
    QCOMPARE(run({QStringLiteral("import"), empty, csv}).exitCode, 0);
    const QStringList list{QStringLiteral("list"), QStringLiteral("--columns"), columns,
                           QStringLiteral("--order"), QStringLiteral("title")};
    const Result imported = run(QStringList{list[0], empty} + list.mid(1));
    QVERIFY(imported.out.count('\n') > 10);
    QCOMPARE(imported.out, run(QStringList{list[0], m_demo} + list.mid(1)).out);
}

void TestCli::importReadsPipesAndCrLineEnds_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("file") << "file";
    QTest::newRow("standard input") << "/dev/stdin";
    QTest::newRow("process substitution") << "<(cat FILE)";
}

// Lines ending in CR alone, as older Mac programs write them, read as lines; a pipe cannot
// change while it is read, so it is read like a file.
void TestCli::importReadsPipesAndCrLineEnds()
{
    QFETCH(QString, source);
    const QByteArray rows = "Artist,Title,Record Year\rAda,First,1990\r\"Bo\rBerg\",Second,1991\r";
    const QString csv = m_files->filePath(QStringLiteral("mac.csv"));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(rows);
    file.close();
    Result result;
    if (source == QLatin1String("file")) {
        result = run({QStringLiteral("import"), m_demo, csv});
    } else if (source == QLatin1String("/dev/stdin")) {
        result = run({QStringLiteral("import"), m_demo, source}, rows);
    } else {
        QProcess shell;
        shell.setProcessEnvironment(environment());
        shell.start(QStringLiteral("bash"),
                    {QStringLiteral("-c"),
                     QStringLiteral("exec \"$0\" import \"$1\" <(cat \"$2\")"),
                     TestCatalog::programDirectory() + QLatin1String("/tunvale-cli"), m_demo, csv});
        QVERIFY(shell.waitForFinished(60000));
        result = {shell.exitCode(), QString::fromUtf8(shell.readAllStandardOutput()),
                  QString::fromUtf8(shell.readAllStandardError())};
    }
    QCOMPARE(result.err, QString());
    QCOMPARE(result.out,
             QStringLiteral("Imported: 2\nSkipped (already imported): 0\nRefused rows: 0\n"));
    QCOMPARE(result.exitCode, 0);
    const Result list =
        run({QStringLiteral("list"), m_demo, QStringLiteral("--columns"), QStringLiteral("Artist"),
             QStringLiteral("--where"),
             QStringLiteral("year IN (1990, 1991) AND title IN ('First', 'Second')"),
             QStringLiteral("--order"), QStringLiteral("year")});
    QCOMPARE(list.out, QStringLiteral("Artist\nAda\nBo\\rBerg\n"));
}

// Whenever the program is killed, the catalogue holds all of an import or none of it.
void TestCli::killedImportLeavesNothing()
{
    QByteArray rows = "Catalog#,Artist,Title,Label,Format,Rating,Released,release_id,"
                      "CollectionFolder,Date Added\r\n";
    for (int i = 1; i <= 50000; ++i)
        rows += "X,Artist " + QByteArray::number(i % 500) + ",Title,Label,LP,,2001," +
                QByteArray::number(i) + ",Uncategorized,2020-01-02 03:04:05\r\n";
    const QString csv = m_files->filePath(QStringLiteral("big.csv"));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(rows);
    file.close();
    const QString empty = m_files->copyOfTemplate();
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(TestCatalog::programDirectory() + QLatin1String("/tunvale-cli"),
                  {QStringLiteral("import"), empty, csv});
    QVERIFY(process.waitForStarted());
    // The journal appears once the import has begun writing.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(empty + QLatin1String("-journal")) ||
                                 process.state() == QProcess::NotRunning,
                             60000);
    process.kill();
    process.waitForFinished();
    const QString count = run({QStringLiteral("count"), empty}).out;
    QVERIFY2(count == QLatin1String("0\n") || count == QLatin1String("50000\n"), qPrintable(count));
}

void TestCli::statsAsJsonAndText()
{
    const Result all = run({QStringLiteral("stats"), m_demo, QStringLiteral("--json")});
    QCOMPARE(all.exitCode, 0);
    const QJsonObject figures = QJsonDocument::fromJson(all.out.toUtf8()).object();
    for (const char* key :
         {"albums", "tracks", "playing_time_seconds", "unknown_lengths", "by_decade", "by_year",
          "by_genre", "by_media_type", "by_label", "by_country", "by_language", "by_location",
          "by_grade", "purchases_by_year", "total_value", "total_price", "in_collection",
          "on_loan"})
        QVERIFY2(figures.contains(QLatin1String(key)), key);
    // The demo's 27 albums less the deleted one; one was sold on, three are lent out.
    QCOMPARE(figures.value(QStringLiteral("albums")).toInt(), 26);
    QCOMPARE(figures.value(QStringLiteral("in_collection")).toInt(), 25);
    QCOMPARE(figures.value(QStringLiteral("on_loan")).toInt(), 3);
    QCOMPARE(figures.value(QStringLiteral("by_decade")).toObject().value(QStringLiteral("1980")),
             QJsonValue(3));
    QVERIFY(figures.value(QStringLiteral("purchases_by_year"))
                .toObject()
                .value(QStringLiteral("2001"))
                .toObject()
                .contains(QStringLiteral("spent")));

    const auto albumsOf = [this](const QStringList& options) {
        const Result result =
            run(QStringList{QStringLiteral("stats"), m_demo, QStringLiteral("--json")} + options);
        return QJsonDocument::fromJson(result.out.toUtf8())
            .object()
            .value(QStringLiteral("albums"));
    };
    QCOMPARE(albumsOf({QStringLiteral("--artist"), QStringLiteral("Harbour Lights")}),
             QJsonValue(2));
    QCOMPARE(albumsOf({QStringLiteral("--where"), QStringLiteral("music.year < 1990"),
                       QStringLiteral("--artist"), QStringLiteral("Harbour Lights")}),
             QJsonValue(1));

    const Result text = run({QStringLiteral("stats"), m_demo});
    QCOMPARE(text.exitCode, 0);
    QVERIFY2(text.out.contains(QRegularExpression(QStringLiteral("\\nOn loan +3\\n"))),
             qPrintable(text.out));
    QVERIFY(text.out.contains(QRegularExpression(QStringLiteral("\\nTotal value +806\\.03\\n"))));
    QCOMPARE(run({QStringLiteral("stats"), m_demo, QStringLiteral("--where"),
                  QStringLiteral("1); DELETE FROM music; (1")})
                 .exitCode,
             2);
}

void TestCli::loansLongestOutFirst()
{
    const Result all = run({QStringLiteral("loans"), m_demo, QStringLiteral("--json")});
    QCOMPARE(all.exitCode, 0);
    const QJsonArray loans = QJsonDocument::fromJson(all.out.toUtf8()).array();
    QCOMPARE(loans.size(), 3);
    const QJsonObject longest = loans.first().toObject();
    QCOMPARE(longest.value(QStringLiteral("music_id")).toInt(), 9);
    QCOMPARE(longest.value(QStringLiteral("person")).toString(), QStringLiteral("Ingrid Sørensen"));
    QCOMPARE(longest.value(QStringLiteral("loandate")).toString(), QStringLiteral("2026-06-15"));
    QCOMPARE(longest.value(QStringLiteral("days")).toInt(),
             QDate(2026, 6, 15).daysTo(QDate::currentDate()));

    const Result lines = run({QStringLiteral("loans"), m_demo});
    QCOMPARE(lines.out.count(QLatin1Char('\n')), 3);
    QVERIFY(lines.out.startsWith(QStringLiteral("9\tDmitri Volkov Quartet\tNight Train to Vyborg\t"
                                                "Ingrid Sørensen\t")));
    QCOMPARE(run({QStringLiteral("loans"), m_demo, QStringLiteral("--overdue"),
                  QStringLiteral("100000")})
                 .out,
             QString());
    QCOMPARE(
        run({QStringLiteral("loans"), m_demo, QStringLiteral("--overdue"), QStringLiteral("-1")})
            .exitCode,
        2);
}

void TestCli::duplicatesOfAnAlbumAddedTwice()
{
    const Result none = run({QStringLiteral("duplicates"), m_demo});
    QCOMPARE(none.exitCode, 0);
    QCOMPARE(none.out, QStringLiteral("No duplicates found.\n"));
    QCOMPARE(run({QStringLiteral("duplicates"), m_demo, QStringLiteral("--json")}).out.trimmed(),
             QStringLiteral("[\n]"));

    const Result shown = run({QStringLiteral("show"), m_demo, QStringLiteral("9")});
    const int copy = run({QStringLiteral("add"), m_demo, QStringLiteral("-")}, shown.out.toUtf8())
                         .out.trimmed()
                         .toInt();
    QVERIFY(copy > 27);
    const Result json = run({QStringLiteral("duplicates"), m_demo, QStringLiteral("--json")});
    QCOMPARE(json.exitCode, 0);
    const QJsonArray groups = QJsonDocument::fromJson(json.out.toUtf8()).array();
    QCOMPARE(groups.size(), 1);
    const QJsonArray albums = groups.first().toArray();
    QCOMPARE(albums.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const QJsonObject album = albums[i].toObject();
        QCOMPARE(album.value(QStringLiteral("music_id")).toInt(), i == 0 ? 9 : copy);
        QCOMPARE(album.value(QStringLiteral("artist")).toString(),
                 QStringLiteral("Dmitri Volkov Quartet"));
        QCOMPARE(album.value(QStringLiteral("title")).toString(),
                 QStringLiteral("Night Train to Vyborg"));
        QCOMPARE(album.value(QStringLiteral("reasons")).toArray(),
                 QJsonArray{QStringLiteral("artist_title")});
        QVERIFY(!album.value(QStringLiteral("reason")).toString().isEmpty());
    }
    const Result text = run({QStringLiteral("duplicates"), m_demo});
    QCOMPARE(text.out.count(QLatin1Char('\n')), 3);
    QVERIFY2(
        text.out.contains(QStringLiteral("\t9\tDmitri Volkov Quartet\tNight Train to Vyborg\t")),
        qPrintable(text.out));
}

void TestCli::checkFindsDamage_data()
{
    QTest::addColumn<int>("damage"); // 0 none, 1 a page inside, 2 the first page
    QTest::addColumn<int>("exitCode");
    QTest::newRow("sound") << 0 << 0;
    QTest::newRow("a page inside") << 1 << 1;
    QTest::newRow("the first page") << 2 << 1;
}

void TestCli::checkFindsDamage()
{
    QFETCH(int, damage);
    QFETCH(int, exitCode);
    if (damage > 0)
        QVERIFY(TestCatalog::damagePage(m_demo, damage == 2));
    const QByteArray before = TestCatalog::readBytes(m_demo);
    const Result result = run({QStringLiteral("check"), m_demo});
    QCOMPARE(result.exitCode, exitCode);
    if (damage == 0)
        QCOMPARE(result.out, QStringLiteral("ok\n"));
    else
        QVERIFY(!(result.out + result.err).trimmed().isEmpty() && result.out != "ok\n");
    QCOMPARE(TestCatalog::readBytes(m_demo), before);
}

QTEST_GUILESS_MAIN(TestCli)
#include "TestCli.moc"
