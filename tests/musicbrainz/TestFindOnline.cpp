#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "db/AlbumRecord.h"
#include "db/AlbumTable.h"
#include "db/TrackTable.h"
#include "editors/AlbumEditorDialog.h"
#include "editors/AutoCompleteComboBox.h"
#include "editors/CMusicGeneralPage.h"
#include "editors/CMusicTracksPage.h"
#include "editors/FindOnlineDialog.h"
#include "musicbrainz/CoverArtFetcher.h"
#include "musicbrainz/MusicBrainzTestServer.h"
#include "musicbrainz/RateGate.h"
#include "support/TestCatalog.h"
#include "support/gui/AccessibleNames.h"
#include "support/gui/EventLoopWait.h"
#include "support/gui/ModalDialogDriver.h"
#include "ui/MessageBox.h"
#include "views/CVastryDoc.h"

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThreadPool>
#include <QTreeWidget>
#include <QtTest>

// "Find Online..." in the album editor against a stand-in for MusicBrainz and the Cover Art
// Archive on 127.0.0.1: a barcode typed as a scanner types it, the pressing picked from the
// keyboard, the album filled and saved.
class TestFindOnline : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void barcodeToSavedAlbum();
    void usingAsksBeforeReplacingTypedValues_data();
    void usingAsksBeforeReplacingTypedValues();
    void failuresSayWhyAndChangeNothing_data();
    void failuresSayWhyAndChangeNothing();

private:
    std::unique_ptr<AlbumEditorDialog> openEditor(const AlbumRecord& typed);
    void useServer(const MusicBrainzTestServer& server);
    // Opens the dialog from the editor, types `text` and Enter, waits for the answer and runs
    // `then` on the dialog while it is still open.
    static bool searchInDialog(AlbumEditorDialog& editor, const QString& text,
                               const std::function<void(FindOnlineDialog*)>& then);
    static QStringList generalFields(AlbumEditorDialog& editor);

    std::unique_ptr<TestCatalog> m_files;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<CVastryDoc> m_document;
};

namespace
{

const QString FiveId = QStringLiteral("f1223d63-f359-457d-b935-fc27eb24a6de");

QByteArray coverJpeg()
{
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 40));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return buffer.data();
}

// The barcode search finds one release, whose lookup and covers the server also answers.
MusicBrainzTestServer::Answer fiveRelease(const QByteArray& target)
{
    if (target.startsWith("/release/")) {
        MusicBrainzTestServer::Answer cover;
        cover.body = coverJpeg();
        cover.contentType = "image/jpeg";
        return cover;
    }
    if (target.startsWith("/ws/2/release?"))
        return MusicBrainzTestServer::json(MusicBrainzTestServer::testData(
            QStringLiteral("search/mb_search_barcode_4582515778491.json")));
    return MusicBrainzTestServer::json(MusicBrainzTestServer::testData(
        QStringLiteral("search/mb_release_f1223d63_five_cd_bluray.json")));
}

} // namespace

void TestFindOnline::initTestCase()
{
    // The local stand-in needs no second between requests.
    RateGate::musicBrainz().setInterval(std::chrono::milliseconds(10));
}

void TestFindOnline::init()
{
    m_files = std::make_unique<TestCatalog>();
    AppSettings::useFolder(m_files->filePath(QStringLiteral("settings")));
    AppPaths::setPageDirectory(m_files->filePath(QStringLiteral("pages")));
    AppPaths::setDataDirectory(m_files->filePath(QStringLiteral("data")));
    MessageBox::history().clear();
    // A box no test expects is answered rather than left blocking the run.
    MessageBox::setAnswerForAll(QMessageBox::Ok);
    m_settings = std::make_unique<AppSettings>();
    m_document = std::make_unique<CVastryDoc>(*m_settings);
    QVERIFY(m_document->openCatalog(m_files->copyOfDemo()));
}

void TestFindOnline::cleanup()
{
    // A question left running must not outlive the catalogue and settings of its test.
    QVERIFY(QThreadPool::globalInstance()->waitForDone(30000));
    QCoreApplication::processEvents();
    MessageBox::setAnswerForAll(QMessageBox::NoButton);
    m_document.reset();
    m_settings.reset();
    m_files.reset();
}

void TestFindOnline::useServer(const MusicBrainzTestServer& server)
{
    m_settings->write(SettingsTable::MusicBrainzServer, server.setting());
    m_settings->write(SettingsTable::CoverArtServer, server.setting());
}

std::unique_ptr<AlbumEditorDialog> TestFindOnline::openEditor(const AlbumRecord& typed)
{
    auto editor = std::make_unique<AlbumEditorDialog>(*m_document, -1, 0);
    editor->generalPage()->loadFrom(typed);
    editor->show();
    return editor;
}

bool TestFindOnline::searchInDialog(AlbumEditorDialog& editor, const QString& text,
                                    const std::function<void(FindOnlineDialog*)>& then)
{
    ModalDialogDriver driver;
    driver.onNext<FindOnlineDialog>([&text, &then](FindOnlineDialog* dialog) {
        // A scanner's digits land in the search box: it has the focus once the dialog shows
        // (offscreen, the activation arrives a moment late).
        QVERIFY(waitInEventLoop(
            [dialog] { return QApplication::focusWidget() == dialog->searchEdit(); }));
        QVERIFY(unnamedControls(dialog).isEmpty());
        QSignalSpy answered(dialog, &FindOnlineDialog::searchFinished);
        dialog->searchEdit()->clear();
        QTest::keyClicks(dialog->searchEdit(), text);
        QTest::keyClick(dialog->searchEdit(), Qt::Key_Return);
        QVERIFY(!answered.isEmpty() || answered.wait(20000));
        then(dialog);
    });
    editor.activateWindow();
    if (!QTest::qWaitForWindowActive(&editor))
        return false;
    // The mnemonic clicks the button a moment later, as a visible press.
    QTest::keyClick(&editor, Qt::Key_O, Qt::AltModifier);
    return waitInEventLoop([&driver] { return driver.acted(); }, 30000);
}

QStringList TestFindOnline::generalFields(AlbumEditorDialog& editor)
{
    AlbumRecord record;
    editor.generalPage()->saveTo(&record);
    return {record.artist, record.title, QString::number(record.year), record.label,
            record.labelNumber};
}

// As a collector with a scanner does it: digits, Enter, the pressing picked, Use, Save.
void TestFindOnline::barcodeToSavedAlbum()
{
    MusicBrainzTestServer server(fiveRelease);
    useServer(server);
    auto editor = openEditor(AlbumRecord());
    QVERIFY(searchInDialog(*editor, QStringLiteral("4582515778491"), [](FindOnlineDialog* dialog) {
        QTreeWidget* list = dialog->candidateList();
        QCOMPARE(list->topLevelItemCount(), 1);
        const QTreeWidgetItem* row = list->topLevelItem(0);
        QCOMPARE(row->text(0), QStringLiteral("Five"));
        QCOMPARE(row->text(4), QStringLiteral("CD + Blu-ray"));
        QCOMPARE(row->text(7), QStringLiteral("4582515778491"));
        // The thumbnail arrives on its own while the list can already be used.
        QVERIFY(
            waitInEventLoop([dialog] { return !dialog->coverLabel()->pixmap().isNull(); }, 20000));
        QTest::keyClick(dialog, Qt::Key_U, Qt::AltModifier);
        QVERIFY(waitInEventLoop([dialog] { return !dialog->isVisible(); }, 20000));
    }));
    QCOMPARE(generalFields(*editor),
             (QStringList{"嵐", "Five", "2026", "Storm Labels", "LCNC-0097"}));
    const QVector<TrackRecord> tracks = editor->tracksPage()->tracks();
    QCOMPARE(tracks.size(), 3);
    QCOMPARE(tracks.first().title, QStringLiteral("Five"));
    QVERIFY(tracks.first().length.isEmpty()); // the release knows no lengths; none are made up
    QVERIFY(MessageBox::history().isEmpty());

    QVERIFY(editor->save());
    AlbumRecord stored;
    QVERIFY(m_document->albumTable().Load(m_document->database(), editor->albumId(), &stored));
    QCOMPARE(stored.frontImage, CoverArtFetcher::coverPath(FiveId));
    QCOMPARE(stored.barcode, QStringLiteral("4582515778491"));
    QCOMPARE(stored.musicBrainzReleaseId, FiveId);
    QVERIFY(QFile::exists(stored.frontImage));
    QVector<TrackRecord> storedTracks;
    QVERIFY(TrackTable().loadForPage(m_document->database(), editor->albumId(), &storedTracks));
    QCOMPARE(storedTracks.size(), 3);
}

void TestFindOnline::usingAsksBeforeReplacingTypedValues_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("replace") << int(QMessageBox::Yes)
                             << QStringList{"嵐", "Five", "2026", "Storm Labels", "LCNC-0097"};
    QTest::newRow("keep what was typed")
        << int(QMessageBox::No) << QStringList{"嵐", "Typed Title", "1999", "Storm Labels", "X-1"};
}

// Only the fields where the collector typed something else count; empty ones fill unasked.
void TestFindOnline::usingAsksBeforeReplacingTypedValues()
{
    QFETCH(int, answer);
    QFETCH(QStringList, fields);
    MusicBrainzTestServer server(fiveRelease);
    useServer(server);
    AlbumRecord typed;
    typed.title = QStringLiteral("Typed Title");
    typed.year = 1999;
    typed.labelNumber = QStringLiteral("X-1");
    auto editor = openEditor(typed);
    MessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
    QVERIFY(searchInDialog(*editor, QStringLiteral("LCNC-0097"), [](FindOnlineDialog* dialog) {
        QVERIFY(dialog->useButton()->isEnabled());
        QTest::keyClick(dialog->candidateList(), Qt::Key_Return); // Enter on a row uses it
        QVERIFY(waitInEventLoop([dialog] { return !dialog->isVisible(); }, 20000));
    }));
    QCOMPARE(MessageBox::history().size(), 1);
    QVERIFY(MessageBox::history().first().text.contains(
        QStringLiteral("Title, Recordingyear, Label Number")));
    QCOMPARE(generalFields(*editor), fields);
}

void TestFindOnline::failuresSayWhyAndChangeNothing_data()
{
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("requests");
    QTest::newRow("nothing found")
        << "0000000000000" << 200 << QByteArray(R"({"count":0,"offset":0,"releases":[]})") << 1;
    QTest::newRow("service unavailable") << "4582515778491" << 503 << QByteArray("busy") << 3;
    QTest::newRow("a web page instead")
        << "4582515778491" << 200 << QByteArray("<html><body>Moved</body></html>") << 1;
    QTest::newRow("empty search, no request") << "   " << 200 << QByteArray() << 0;
}

void TestFindOnline::failuresSayWhyAndChangeNothing()
{
    QFETCH(QString, searchText);
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(int, requests);
    MusicBrainzTestServer server(
        [status, body](const QByteArray&) { return MusicBrainzTestServer::json(body, status); });
    useServer(server);
    auto editor = openEditor(AlbumRecord());
    const QStringList before = generalFields(*editor);
    QVERIFY(searchInDialog(*editor, searchText, [](FindOnlineDialog* dialog) {
        QCOMPARE(dialog->candidateList()->topLevelItemCount(), 0);
        QVERIFY(!dialog->statusLine()->text().isEmpty());
        QVERIFY(!dialog->useButton()->isEnabled());
        QTest::keyClick(dialog, Qt::Key_Escape);
    }));
    QCOMPARE(generalFields(*editor), before);
    QVERIFY(editor->tracksPage()->tracks().isEmpty());
    QCOMPARE(server.requests().size(), requests);
}

QTEST_MAIN(TestFindOnline)
#include "TestFindOnline.moc"
