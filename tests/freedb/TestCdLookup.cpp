#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "db/AlbumRecord.h"
#include "editors/AlbumEditorDialog.h"
#include "editors/AutoCompleteComboBox.h"
#include "editors/CMusicGeneralPage.h"
#include "editors/CMusicTracksPage.h"
#include "freedb/CdDriveDialog.h"
#include "freedb/CddbTestServer.h"
#include "freedb/DiscImage.h"
#include "freedb/FreedbTestData.h"
#include "musicbrainz/CoverArtFetcher.h"
#include "musicbrainz/MusicBrainzTestServer.h"
#include "musicbrainz/RateGate.h"
#include "support/TestCatalog.h"
#include "support/gui/AccessibleNames.h"
#include "support/gui/EventLoopWait.h"
#include "support/gui/ModalDialogDriver.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "views/CVastryDoc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThreadPool>
#include <QTreeWidget>
#include <QtTest>

// "Get info from FreeDB" in the album editor against a CDDB server thread on 127.0.0.1 and disc
// images standing in for drives; the CD-ROM drive dialog driven from the keyboard.
class TestCdLookup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void fillsTheEditorFromTheDisc_data();
    void fillsTheEditorFromTheDisc();
    void driveChoice_data();
    void driveChoice();
    void silentServerLeavesTheWindowLive();
    void fillsFromMusicBrainzWithTheCover_data();
    void fillsFromMusicBrainzWithTheCover();
    void closingAbandonsTheLookup_data();
    void closingAbandonsTheLookup();
    void driveDialogStoresOrForgetsTheDrive_data();
    void driveDialogStoresOrForgetsTheDrive();

private:
    std::unique_ptr<AlbumEditorDialog> openEditor(const QStringList& drives);
    static QStringList generalFields(AlbumEditorDialog& editor);
    static QStringList trackRows(AlbumEditorDialog& editor);
    static void pressLookup(AlbumEditorDialog& editor);

    QTemporaryDir m_images;
    QString m_disc;
    std::unique_ptr<TestCatalog> m_files;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<CVastryDoc> m_document;
};

namespace
{

// Three tracks of 3, 4 and 0 whole seconds (start seconds 2, 5, 9; lead-out 9).
const QVector<DiscImage::Track> threeTracks{{3 * 75}, {4 * 75 + 10}, {50}};

QByteArray entry(int discLength, const QByteArray& yearLine,
                 const QList<QByteArray>& titles = {"One", "Two", "Three"})
{
    QByteArray text = "# xmcd\n# Track frame offsets:\n# 150\n# 375\n# 685\n# Disc length: " +
                      QByteArray::number(discLength) +
                      " seconds\n# Submitted via: Tester 1.0\nDISCID=04027402\n"
                      "DTITLE=Ada Vane / Low Tide\n" +
                      yearLine + "DGENRE=Sea Shanty\n";
    for (int i = 0; i < titles.size(); ++i)
        text += "TTITLE" + QByteArray::number(i) + "=" + titles[i] + "\n";
    text += "EXTD=\n";
    for (int i = 0; i < titles.size(); ++i)
        text += "EXTT" + QByteArray::number(i) + "=\n";
    return text + "PLAYORDER=\n";
}

QByteArray readReply(const QByteArray& entryText)
{
    return FreedbTestData::readReply(entryText, "folk", "04027402");
}

CddbTestServer::Handler answering(const QByteArray& readBody)
{
    return [=](const QByteArray& request) {
        if (request.contains("cmd=cddb+query+"))
            return CddbTestServer::reply("200 folk 04027402 Ada Vane / Low Tide\r\n");
        return CddbTestServer::reply(readBody);
    };
}

// Answers only after `pauseMs`, so a test can act while the lookup waits.
CddbTestServer::Handler answeringLate(int pauseMs, const QByteArray& readBody)
{
    return [=](const QByteArray& request) {
        CddbTestServer::Script script = answering(readBody)(request);
        script.steps.first().pauseMs = pauseMs;
        return script;
    };
}

// Answers the drive dialog from the keyboard: "down" picks the next drive, "clear" clears the
// box, "image" takes the file the next file dialog gives, "ok" and "cancel" close it.
void answerDriveDialog(CdDriveDialog* dialog, const QStringList& steps)
{
    for (const QString& step : steps) {
        if (step == QLatin1String("image"))
            QTest::keyClick(dialog->imageButton(), Qt::Key_Space);
        else if (step == QLatin1String("down"))
            QTest::keyClick(dialog->driveBox(), Qt::Key_Down);
        else if (step == QLatin1String("clear"))
            QTest::keyClick(dialog->alwaysBox(), Qt::Key_Space);
        else if (step == QLatin1String("ok"))
            QTest::keyClick(dialog->okButton(), Qt::Key_Space);
        else
            QTest::keyClick(dialog, Qt::Key_Escape);
    }
}

} // namespace

void TestCdLookup::initTestCase()
{
    QVERIFY(m_images.isValid());
    m_disc = DiscImage::writeCue(m_images.path(), QStringLiteral("disc"), threeTracks);
    QVERIFY(!m_disc.isEmpty());
    // The local MusicBrainz stand-in needs no second between requests.
    RateGate::musicBrainz().setInterval(std::chrono::milliseconds(10));
}

void TestCdLookup::init()
{
    m_files = std::make_unique<TestCatalog>();
    AppSettings::useFolder(m_files->filePath(QStringLiteral("settings")));
    AppPaths::setPageDirectory(m_files->filePath(QStringLiteral("pages")));
    AppPaths::setProgramDirectory(TestCatalog::programDirectory());
    MessageBox::history().clear();
    MessageBox::setAnswerForAll(QMessageBox::Ok);
    m_settings = std::make_unique<AppSettings>();
    m_settings->write(SettingsTable::DisableTips, 1);
    // CDDB alone unless a test asks for MusicBrainz: nothing here may reach the real service.
    m_settings->write(SettingsTable::MusicBrainz, 0);
    m_document = std::make_unique<CVastryDoc>(*m_settings);
    QVERIFY(m_document->openCatalog(m_files->copyOfDemo()));
}

void TestCdLookup::cleanup()
{
    // A lookup left running must not outlive the catalogue and settings folder of its test.
    QVERIFY(QThreadPool::globalInstance()->waitForDone(30000));
    QCoreApplication::processEvents();
    MessageBox::setAnswerForAll(QMessageBox::NoButton);
    m_document.reset();
    m_settings.reset();
    m_files.reset();
}

std::unique_ptr<AlbumEditorDialog> TestCdLookup::openEditor(const QStringList& drives)
{
    auto editor = std::make_unique<AlbumEditorDialog>(*m_document, -1, 0);
    editor->setCdDriveLister([drives] { return drives; });
    editor->show();
    return editor;
}

QStringList TestCdLookup::generalFields(AlbumEditorDialog& editor)
{
    CMusicGeneralPage* page = editor.generalPage();
    AlbumRecord record;
    page->saveTo(&record);
    return {record.artist, record.title,  page->yearEdit()->text(),
            record.genre,  record.length, record.freedbId};
}

QStringList TestCdLookup::trackRows(AlbumEditorDialog& editor)
{
    QStringList rows;
    QTreeWidget* list = editor.tracksPage()->list();
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        rows << list->topLevelItem(row)->text(0) + QLatin1Char('|') +
                    list->topLevelItem(row)->text(1);
    return rows;
}

void TestCdLookup::pressLookup(AlbumEditorDialog& editor)
{
    QPushButton* button = editor.generalPage()->freedbButton();
    QVERIFY(button->isEnabled());
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
}

void TestCdLookup::fillsTheEditorFromTheDisc_data()
{
    QTest::addColumn<QByteArray>("readBody");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("rows");
    const QStringList disc{"01|One - (00:03)", "02|Two - (00:04)", "03|Three"};
    QTest::newRow("62:05, decimal id")
        << entry(3725, "DYEAR=1999\n")
        << QStringList{"Ada Vane", "Low Tide", "1999", "Sea Shanty", "62:05", "67269634"} << disc;
    QTest::newRow("no year, extra titles")
        << entry(61, "", {"One", "Two", "Three", "Four", "Five"})
        << QStringList{"Ada Vane", "Low Tide", "0", "Sea Shanty", "01:01", "67269634"}
        << disc + QStringList{"04|Four", "05|Five"};
}

// The fill the user sees, twice in a row, then stored like typed input.
void TestCdLookup::fillsTheEditorFromTheDisc()
{
    QFETCH(QByteArray, readBody);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, rows);
    CddbTestServer server(answering(readReply(readBody)));
    m_settings->write(SettingsTable::CddbServer, server.setting());
    m_settings->write(SettingsTable::FreedbDrive, m_disc);
    auto editor = openEditor({});
    QLabel* status = editor->generalPage()->statusLine();

    for (int press = 1; press <= 2; ++press) {
        pressLookup(*editor);
        LOOP_VERIFY_WITH_TIMEOUT(!editor->lookupRunning(), 20000);
        QCOMPARE(status->text(), QStringLiteral("Done"));
        QCOMPARE(generalFields(*editor), fields);
        QStringList expected;
        for (int i = 0; i < press; ++i)
            expected += rows;
        QCOMPARE(trackRows(*editor), expected);
    }
    QVERIFY(MessageBox::history().isEmpty());
    QCOMPARE(server.requests().size(), 4);

    QVERIFY(editor->save());
    AlbumRecord stored;
    QVERIFY(m_document->albumTable().Load(m_document->database(), editor->albumId(), &stored));
    QCOMPARE(stored.title, QStringLiteral("Low Tide"));
    QCOMPARE(stored.artist, QStringLiteral("Ada Vane"));
    QCOMPARE(stored.genre, QStringLiteral("Sea Shanty"));
    QCOMPARE(stored.freedbId, QStringLiteral("67269634"));
}

void TestCdLookup::driveChoice_data()
{
    QTest::addColumn<QStringList>("drives");
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QStringList>("dialogSteps"); // empty: no drive dialog expected
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("status");

    const QString gone = QStringLiteral("/nowhere/gone.cue");
    // Sorted after the disc image, which the dialog then selects first.
    const QString other = QStringLiteral("/~none/other.cue");
    const QString noDrive = QStringLiteral("No available CD-ROM.");
    QTest::newRow("no drive") << QStringList() << QString() << QStringList() << noDrive
                              << QString();
    // The message's "Choose a Disc Image..." opens the dialog, where the image is picked.
    QTest::newRow("no drive, disc image instead")
        << QStringList() << QString() << QStringList{"image", "ok"} << noDrive
        << QStringLiteral("Done");
    QTest::newRow("one drive, no dialog")
        << QStringList{m_disc} << QString() << QStringList() << QString() << QStringLiteral("Done");
    QTest::newRow("two drives, first chosen")
        << QStringList{other, m_disc} << QString() << QStringList{"ok"} << QString()
        << QStringLiteral("Done");
    QTest::newRow("two drives, cancelled") << QStringList{m_disc, other} << QString()
                                           << QStringList{"cancel"} << QString() << QString();
    QTest::newRow("remembered drive gone")
        << QStringList{m_disc} << gone << QStringList()
        << QStringLiteral("Unable to get the track information, please make sure that there is "
                          "a CD in drive %1 and then try again.")
               .arg(gone)
        << QStringLiteral("Computing Disc ID");
}

void TestCdLookup::driveChoice()
{
    QFETCH(QStringList, drives);
    QFETCH(QString, remembered);
    QFETCH(QStringList, dialogSteps);
    QFETCH(QString, message);
    QFETCH(QString, status);
    CddbTestServer server(answering(readReply(entry(100, "DYEAR=1999\n"))));
    m_settings->write(SettingsTable::CddbServer, server.setting());
    m_settings->write(SettingsTable::FreedbDrive, remembered);
    auto editor = openEditor(drives);
    ReportRecorder reports;

    ModalDialogDriver driver;
    if (!dialogSteps.isEmpty()) {
        driver.onNext<CdDriveDialog>([dialogSteps](CdDriveDialog* dialog) {
            QVERIFY(unnamedControls(dialog).isEmpty());
            answerDriveDialog(dialog, dialogSteps);
        });
    }
    if (drives.isEmpty() && !dialogSteps.isEmpty()) {
        MessageBox::setNextAnswer(QMessageBox::Open); // the message's disc image button
        FileDialog::setNextFileName(m_disc);
    }
    pressLookup(*editor);
    QCOMPARE(driver.acted(), !dialogSteps.isEmpty());
    LOOP_VERIFY_WITH_TIMEOUT(!editor->lookupRunning(), 20000);
    LOOP_COMPARE(editor->generalPage()->statusLine()->text(), status);

    QStringList messages;
    for (const MessageBox::Shown& shown : MessageBox::history())
        messages << shown.text;
    for (const Report& report : reports.reports())
        messages << report.text;
    QCOMPARE(messages, message.isEmpty() ? QStringList() : QStringList{message});
    const bool filled = status == QStringLiteral("Done");
    QCOMPARE(generalFields(*editor).first(), filled ? QStringLiteral("Ada Vane") : QString());
    QCOMPARE(server.requests().size(), filled ? 2 : 0);
    QVERIFY(editor->generalPage()->freedbButton()->isEnabled());
}

void TestCdLookup::fillsFromMusicBrainzWithTheCover_data()
{
    QTest::addColumn<QString>("typedFront");
    QTest::addColumn<QString>("typedLabelNumber");
    const QString cover = QStringLiteral("(fetched cover)");
    QTest::addColumn<QStringList>("kept"); // front image, label, label number
    QTest::newRow("empty fields") << QString() << QString()
                                  << QStringList{cover, "LaserLight Digital", "14 149"};
    QTest::newRow("typed fields") << "/pictures/mine.jpg"
                                  << "X-1"
                                  << QStringList{"/pictures/mine.jpg", "LaserLight Digital", "X-1"};
}

// CDDB refuses the client; MusicBrainz knows the disc, and its cover goes where the user has
// not put one.
void TestCdLookup::fillsFromMusicBrainzWithTheCover()
{
    QFETCH(QString, typedFront);
    QFETCH(QString, typedLabelNumber);
    QFETCH(QStringList, kept);
    AppPaths::setDataDirectory(m_files->filePath(QStringLiteral("data")));
    kept.replaceInStrings(
        QStringLiteral("(fetched cover)"),
        CoverArtFetcher::coverPath(QStringLiteral("4c63d77d-6348-4ae1-9616-f25e625fa0d7")));
    const QVector<DiscImage::Track> powerClassics{{24300}, {10875}, {26775}, {5550},  {29775},
                                                  {23700}, {25875}, {44625}, {29325}, {70903}};
    const QString disc =
        DiscImage::writeCue(m_images.path(), QStringLiteral("power"), powerClassics, 37);
    CddbTestServer cddb(
        [](const QByteArray&) { return CddbTestServer::reply("500 Unknown developer email\r\n"); });
    MusicBrainzTestServer musicBrainz(MusicBrainzTestServer::releaseWithCover(
        QStringLiteral("powerclassics_va_box.discid.json")));
    m_settings->write(SettingsTable::MusicBrainz, 1);
    m_settings->write(SettingsTable::CddbServer, cddb.setting());
    m_settings->write(SettingsTable::MusicBrainzServer, musicBrainz.setting());
    m_settings->write(SettingsTable::CoverArtServer, musicBrainz.setting());
    m_settings->write(SettingsTable::FreedbDrive, disc);
    auto editor = openEditor({});
    AlbumRecord typed;
    typed.frontImage = typedFront;
    typed.labelNumber = typedLabelNumber;
    editor->generalPage()->loadFrom(typed);

    pressLookup(*editor);
    LOOP_VERIFY_WITH_TIMEOUT(!editor->lookupRunning(), 20000);
    QCOMPARE(editor->generalPage()->statusLine()->text(), QStringLiteral("Done"));
    QCOMPARE(generalFields(*editor),
             (QStringList{"Various Artists",
                          "Power Classics! Classical Music for Your Active Lifestyle, Volume 3",
                          "1994", "", "64:51", QString::number(0x8e0f310a)}));
    const QStringList rows = trackRows(*editor);
    QCOMPARE(rows.size(), 10);
    QCOMPARE(rows.first(), QStringLiteral("01|Ride of the Valkyries - (05:24)"));
    QVERIFY(MessageBox::history().isEmpty());

    QVERIFY(editor->save());
    AlbumRecord stored;
    QVERIFY(m_document->albumTable().Load(m_document->database(), editor->albumId(), &stored));
    QCOMPARE((QStringList{stored.frontImage, stored.label, stored.labelNumber}), kept);
    // The cover is asked for only when it would be used.
    QCOMPARE(QFile::exists(kept.first()), typedFront.isEmpty());
    QCOMPARE(musicBrainz.requests().size(), typedFront.isEmpty() ? 2 : 1);
}

// The server takes the connection and says nothing: the client gives up after its reply
// time-out, and all the while the interface thread runs its event loop.
void TestCdLookup::silentServerLeavesTheWindowLive()
{
    CddbTestServer server([](const QByteArray&) { return CddbTestServer::Script{{}, 4000}; });
    m_settings->write(SettingsTable::CddbServer, server.setting());
    m_settings->write(SettingsTable::FreedbDrive, m_disc);
    auto editor = openEditor({});
    const QStringList before = generalFields(*editor);

    int ticks = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, this, [&ticks] { ++ticks; });
    timer.start(50);
    pressLookup(*editor);
    QVERIFY(editor->lookupRunning());
    for (QPushButton* button : {editor->generalPage()->freedbButton(), editor->saveAndNewButton(),
                                editor->saveAndCloseButton()})
        QVERIFY(!button->isEnabled());
    LOOP_COMPARE_WITH_TIMEOUT(editor->generalPage()->statusLine()->text(),
                              QStringLiteral("Please wait, retrieving available discs..."), 10000);
    const int ticksBeforeWait = ticks;
    LOOP_VERIFY_WITH_TIMEOUT(!editor->lookupRunning(), 20000);
    QVERIFY(ticks > ticksBeforeWait);
    QCOMPARE(editor->generalPage()->statusLine()->text(), QStringLiteral("No matching discs..."));
    QCOMPARE(generalFields(*editor), before);
    QVERIFY(trackRows(*editor).isEmpty());
    QVERIFY(editor->saveAndCloseButton()->isEnabled());
}

void TestCdLookup::closingAbandonsTheLookup_data()
{
    QTest::addColumn<bool>("destroy");
    QTest::newRow("closed") << false;
    QTest::newRow("destroyed") << true;
}

void TestCdLookup::closingAbandonsTheLookup()
{
    QFETCH(bool, destroy);
    CddbTestServer server(answeringLate(500, readReply(entry(100, "DYEAR=1999\n"))));
    m_settings->write(SettingsTable::CddbServer, server.setting());
    m_settings->write(SettingsTable::FreedbDrive, m_disc);
    auto editor = openEditor({});
    const QStringList before = generalFields(*editor);

    pressLookup(*editor);
    QVERIFY(editor->lookupRunning());
    QTest::keyClick(editor.get(), Qt::Key_Escape);
    QVERIFY(!editor->isVisible());
    QVERIFY(!editor->lookupRunning());
    if (destroy)
        editor.reset();
    // The worker finishes its exchange with the server; nothing of it may reach the editor.
    LOOP_COMPARE_WITH_TIMEOUT(server.requests().size(), 2, 20000);
    QVERIFY(QThreadPool::globalInstance()->waitForDone(20000));
    // What the worker sent before it ended is delivered now.
    QCoreApplication::processEvents();
    if (editor) {
        QCOMPARE(generalFields(*editor), before);
        QVERIFY(trackRows(*editor).isEmpty());
    }
}

void TestCdLookup::driveDialogStoresOrForgetsTheDrive_data()
{
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("stored");
    const QString sr1 = QStringLiteral("/dev/sr1");
    const QString rip = QStringLiteral("/rips/low tide.cue");
    QTest::newRow("first drive") << QString() << QStringList{"ok"} << QStringLiteral("/dev/sr0");
    QTest::newRow("remembered drive comes first") << sr1 << QStringList{"ok"} << sr1;
    QTest::newRow("remembered image comes first") << rip << QStringList{"ok"} << rip;
    QTest::newRow("box cleared forgets") << sr1 << QStringList{"clear", "ok"} << QString();
    QTest::newRow("second drive") << QString() << QStringList{"down", "ok"} << sr1;
    QTest::newRow("cancelled") << rip << QStringList{"cancel"} << rip;
}

void TestCdLookup::driveDialogStoresOrForgetsTheDrive()
{
    QFETCH(QString, remembered);
    QFETCH(QStringList, steps);
    QFETCH(QString, stored);
    m_settings->write(SettingsTable::FreedbDrive, remembered);
    CdDriveDialog dialog(*m_settings, {QStringLiteral("/dev/sr1"), QStringLiteral("/dev/sr0")});
    QCOMPARE(dialog.windowTitle(), QStringLiteral("CD-ROM drive"));
    QVERIFY(unnamedControls(&dialog).isEmpty());
    QVERIFY(dialog.alwaysBox()->isChecked());

    ModalDialogDriver driver;
    driver.onNext<CdDriveDialog>(
        [steps](CdDriveDialog* shown) { answerDriveDialog(shown, steps); });
    dialog.exec();
    QVERIFY(driver.acted());
    QCOMPARE(m_settings->read(SettingsTable::FreedbDrive), stored);
    QCOMPARE(dialog.result() == QDialog::Accepted, steps.last() == QLatin1String("ok"));
}

QTEST_MAIN(TestCdLookup)
#include "TestCdLookup.moc"
