#include "app/AppSettings.h"
#include "db/AlbumTable.h"
#include "support/TestCatalog.h"
#include "support/gui/DesktopTestRun.h"
#include "support/gui/EventLoopWait.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "views/CVastryDoc.h"
#include "views/PublishWithProgress.h"

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#include <QtTest>

namespace
{

// An artist whose name would fetch from outside the folder if it ever became markup.
const char* const LeakyArtist = "Leaky <img src=\"http://127.0.0.1:9/name.png\">";

class RequestLog : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override { urls << info.requestUrl(); }
    QList<QUrl> urls;
};

// The page's complaints, content-policy violations among them.
class RecordingPage : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;
    QStringList messages;

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                  const QString&) override
    {
        messages << message;
    }
};

} // namespace

// A site published from the File menu, opened from the disk in the web engine as a browser
// opens it: the list fills, typing narrows it, the columns sort, an album page opens, and not
// one request leaves the folder.
class TestPublishedSite : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void refusedFolderIsSaid();
    void siteWorksFromTheFolderAlone();

private:
    bool publishInto(const QString& folder);
    QVariant evaluate(const QString& script);
    bool waitForLoad(const QString& fileName);

    std::unique_ptr<TestCatalog> m_files;
    QString m_catalogue;
    QString m_site;
    int m_albumCount = 0;
    std::unique_ptr<QWebEngineProfile> m_profile;
    RequestLog* m_requests = nullptr;
    QWebEngineView* m_view = nullptr;
    QSignalSpy* m_loads = nullptr;
};

void TestPublishedSite::initTestCase()
{
    m_files = std::make_unique<TestCatalog>();
    useDesktopTestFolders(*m_files);
    m_catalogue = m_files->copyOfDemo();
    {
        AlbumTable albums;
        DatabaseHandle database;
        QVERIFY(albums.OpenDatabase(&database, m_catalogue, DatabaseEx::catalogConnectString()));
        QImage cover(800, 800, QImage::Format_RGB32);
        cover.fill(Qt::darkGreen);
        QVERIFY(cover.save(m_files->filePath("cover.png")));
        AlbumRecord record;
        record.artist = QLatin1String(LeakyArtist);
        record.title = QStringLiteral("Zzyzx");
        record.notes = QStringLiteral("<script src=\"http://127.0.0.1:9/notes.js\"></script>");
        record.frontImage = m_files->filePath("cover.png");
        QVector<TrackRecord> tracks(1);
        tracks[0].trackNumber = 1;
        tracks[0].title = QStringLiteral("<iframe src=\"http://127.0.0.1:9/\"></iframe>");
        QVERIFY(albums.saveWithTracks(database.get(), record, -1, &tracks) > 0);
        m_albumCount = albums.Count(database.get(), false);
        albums.CloseDatabase(&database);
    }
    m_site = m_files->filePath("phone");
    QVERIFY(publishInto(m_site));
    QCOMPARE(MessageBox::history().size(), 1);
    QVERIFY2(MessageBox::history().first().text.startsWith(
                 QStringLiteral("%1 albums and 1 covers were published").arg(m_albumCount)),
             qPrintable(MessageBox::history().first().text));

    m_profile = std::make_unique<QWebEngineProfile>();
    m_requests = new RequestLog(m_profile.get());
    m_profile->setUrlRequestInterceptor(m_requests);
    m_view = new QWebEngineView;
    m_view->setPage(new RecordingPage(m_profile.get(), m_view));
    // A phone's width: the narrow layout is the one that has to work.
    m_view->resize(360, 640);
    m_view->show();
    m_loads = new QSignalSpy(m_view, &QWebEngineView::loadFinished);
}

void TestPublishedSite::cleanupTestCase()
{
    delete m_loads;
    delete m_view;
    m_profile.reset();
}

QVariant TestPublishedSite::evaluate(const QString& script)
{
    QVariant result;
    bool done = false;
    m_view->page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    waitInEventLoop([&] { return done; }, 10000);
    return result;
}

// File > Export as > Web Site with `folder` chosen and the closing message answered.
bool TestPublishedSite::publishInto(const QString& folder)
{
    AppSettings settings;
    CVastryDoc document(settings);
    if (!document.openCatalog(m_catalogue))
        return false;
    FileDialog::setNextFileName(folder);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    MessageBox::history().clear();
    return PublishWithProgress::run(document, nullptr);
}

bool TestPublishedSite::waitForLoad(const QString& fileName)
{
    return waitInEventLoop(
        [&] {
            return m_view->url().fileName() == fileName && !m_loads->isEmpty() &&
                   m_loads->last().at(0).toBool();
        },
        20000);
}

void TestPublishedSite::refusedFolderIsSaid()
{
    const QString folder = m_files->filePath("documents");
    QVERIFY(QDir().mkpath(folder + QLatin1String("/letters")));
    QVERIFY(!publishInto(folder));
    QCOMPARE(MessageBox::history().size(), 1);
    QCOMPARE(MessageBox::history().first().icon, QMessageBox::Warning);
    QVERIFY(MessageBox::history().first().text.contains(QLatin1String("not a web site")));
    QVERIFY(QDir(folder).exists(QLatin1String("letters")));
}

void TestPublishedSite::siteWorksFromTheFolderAlone()
{
    const QString total = QStringLiteral("%1 albums").arg(m_albumCount);
    m_view->load(QUrl::fromLocalFile(QDir(m_site).filePath("index.html")));
    QVERIFY(waitForLoad(QStringLiteral("index.html")));
    LOOP_COMPARE(evaluate("document.getElementById('count').textContent").toString(), total);
    QVERIFY(evaluate("document.querySelectorAll('#rows .row').length").toInt() > 0);

    // Typed as a user types: the list narrows to the one album, its name shown as text.
    evaluate("document.getElementById('search').focus()");
    QTest::keyClicks(m_view->focusProxy(), QStringLiteral("leaky"));
    LOOP_COMPARE(evaluate("document.getElementById('count').textContent").toString(),
                 QStringLiteral("1 of ") + total);
    QCOMPARE(evaluate("document.querySelectorAll('#rows .row').length").toInt(), 1);
    QCOMPARE(evaluate("document.querySelector('#rows .artist').textContent").toString(),
             QLatin1String(LeakyArtist));
    QCOMPARE(evaluate("document.querySelectorAll('#rows img').length").toInt(), 0);

    // A label number is found without its dash, as it is often typed.
    evaluate("var s = document.getElementById('search'); s.value = 'co1021';"
             "s.dispatchEvent(new Event('input'));");
    LOOP_COMPARE(evaluate("document.getElementById('count').textContent").toString(),
                 QStringLiteral("1 of ") + total);
    QCOMPARE(evaluate("document.querySelector('#rows .title').textContent").toString(),
             QStringLiteral("Reels & Rashers"));

    // Sorted by year, each way (each run of the script clicks the button once more).
    const QString years =
        QStringLiteral("s.value = ''; s.dispatchEvent(new Event('input'));"
                       "document.querySelector('button[data-sort=year]').click();"
                       "Array.from(document.querySelectorAll('#rows .row')).sort(function (a, b) {"
                       "  return parseFloat(a.style.top) - parseFloat(b.style.top); })"
                       ".map(function (row) { return row.querySelector('.year').textContent; })"
                       ".filter(Boolean).map(Number)");
    for (bool descending : {false, true}) {
        QVariantList shown = evaluate(years).toList();
        QVERIFY(shown.size() > 5);
        for (int i = 1; i < shown.size(); ++i)
            QVERIFY2(descending ? shown[i - 1].toInt() >= shown[i].toInt()
                                : shown[i - 1].toInt() <= shown[i].toInt(),
                     qPrintable(QStringLiteral("row %1 of %2")
                                    .arg(i)
                                    .arg(QVariant(shown).toStringList().join(' '))));
        QCOMPARE(
            evaluate("document.querySelector('button[data-sort=year]').dataset.dir").toString(),
            QLatin1String(descending ? "descending" : "ascending"));
    }

    // The album page: its text as text, its cover and style sheet loaded under the policy.
    m_loads->clear();
    evaluate("s.value = 'zzyzx'; s.dispatchEvent(new Event('input'));"
             "document.querySelector('#rows .row').click()");
    QVERIFY(waitInEventLoop([&] { return !m_loads->isEmpty(); }, 20000));
    QVERIFY(m_loads->last().at(0).toBool());
    QVERIFY(m_view->url().path().contains(QLatin1String("/albums/")));
    const QString pageText = evaluate("document.body.textContent").toString();
    QVERIFY(
        pageText.contains(QStringLiteral("<script src=\"http://127.0.0.1:9/notes.js\"></script>")));
    LOOP_VERIFY(evaluate("document.querySelector('.covers img').naturalWidth").toInt() == 600);
    QVERIFY(evaluate("getComputedStyle(document.body).fontFamily")
                .toString()
                .contains(QLatin1String("system-ui")));
    QCOMPARE(evaluate("document.querySelectorAll('iframe, script').length").toInt(), 0);

    const QString folder = QUrl::fromLocalFile(m_site).toString() + QLatin1Char('/');
    QStringList seen;
    for (const QUrl& url : m_requests->urls)
        seen << url.toString();
    QVERIFY2(seen.contains(folder + QLatin1String("data.js")), qPrintable(seen.join(' ')));
    for (const QString& url : seen)
        QVERIFY2(url.startsWith(folder), qPrintable(url));
    const QStringList complaints = static_cast<RecordingPage*>(m_view->page())->messages;
    QVERIFY2(complaints.isEmpty(), qPrintable(complaints.join('\n')));
}

QTEST_MAIN(TestPublishedSite)
#include "TestPublishedSite.moc"
