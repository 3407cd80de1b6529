#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/CMainFrame.h"
#include "app/CVastryApp.h"
#include "app/CommandIds.h"
#include "app/PrivateMessages.h"
#include "db/Recordset.h"
#include "db/TrackTable.h"
#include "editors/AlbumEditorDialog.h"
#include "editors/AutoCompleteComboBox.h"
#include "editors/CMusicGeneralPage.h"
#include "editors/CMusicPersonalPage.h"
#include "editors/CMusicTracksPage.h"
#include "editors/CNotesPage.h"
#include "editors/CTrackGeneralPage.h"
#include "editors/CTrackPersonalPage.h"
#include "editors/DateBoxes.h"
#include "editors/TrackEditorDialog.h"
#include "support/EveryField.h"
#include "support/TestCatalog.h"
#include "support/gui/AccessibleNames.h"
#include "support/gui/DesktopTestRun.h"
#include "support/gui/EventLoopWait.h"
#include "support/gui/ModalDialogDriver.h"
#include "ui/MessageBox.h"
#include "views/AlbumListCtrl.h"
#include "views/AlbumListModel.h"
#include "views/CBottomView.h"
#include "views/CLeftView.h"
#include "views/CTopView.h"
#include "views/CVastryDoc.h"
#include "views/CatalogReadTask.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

using Row = QMap<QString, QVariant>;

// The album and track editors on real catalogue copies, driven from the keyboard where a user
// would use it.
class TestAlbumEditor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void everyFieldRoundTrips();
    void saveAndNewTwiceThenClose();
    void requiredFields_data();
    void requiredFields();
    void impossibleDatesAreNotStored_data();
    void impossibleDatesAreNotStored();
    void failedSaveKeepsEverything();
    void albumDeletedElsewhere_data();
    void albumDeletedElsewhere();
    void loadShowsWhatTheListsAllow();
    void adCodes_data();
    void adCodes();
    void newAlbumGradeAndLoan();
    void tracksKeepTheirNumbers();
    void trackEditorLoadsAndCancels();
    void namesTypedForANewTrackSurviveEditing();
    void typingCompletesNames_data();
    void typingCompletesNames();
    void everyControlHasAName();
    void keyboardOnlyFromTheAlbumList();
    void listAndPageFollowTheEditor();

private:
    void openCatalogue(const QString& path);
    Database* database() const { return m_document->database(); }
    QVector<Row> rows(const QString& sql) const;
    int albumCount() const { return m_document->albumTable().Count(database(), false); }
    int storeAlbum(AlbumRecord record, QVector<TrackRecord> tracks = {});
    static bool holdsFocus(QWidget* field);
    void runTrackEditor(CMusicTracksPage* page, int key,
                        std::function<void(TrackEditorDialog*)> act);

    std::unique_ptr<TestCatalog> m_files;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<CVastryDoc> m_document;
};

void TestAlbumEditor::init()
{
    m_files = std::make_unique<TestCatalog>();
    useDesktopTestFolders(*m_files);
    MessageBox::history().clear();
    MessageBox::setAnswerForAll(QMessageBox::Ok);
    m_settings = std::make_unique<AppSettings>();
    m_document = std::make_unique<CVastryDoc>(*m_settings);
    openCatalogue(m_files->copyOfDemo());
}

void TestAlbumEditor::cleanup()
{
    CatalogReadTask::setBackgroundFrom(CatalogReadTask::BackgroundFrom);
    MessageBox::setAnswerForAll(QMessageBox::NoButton);
    m_document.reset();
    m_settings.reset();
    m_files.reset();
}

void TestAlbumEditor::openCatalogue(const QString& path)
{
    QVERIFY(m_document->openCatalog(path));
}

QVector<Row> TestAlbumEditor::rows(const QString& sql) const
{
    QVector<Row> result;
    Recordset recordset(*database());
    if (!recordset.open(sql))
        return result;
    for (; !recordset.isEOF(); recordset.moveNext()) {
        Row row;
        for (int column = 0; column < recordset.columnCount(); ++column) {
            QVariant value;
            recordset.field(column, &value);
            row.insert(recordset.columnName(column), value);
        }
        result << row;
    }
    return result;
}

int TestAlbumEditor::storeAlbum(AlbumRecord record, QVector<TrackRecord> tracks)
{
    return m_document->albumTable().saveWithTracks(database(), record, -1, &tracks);
}

bool TestAlbumEditor::holdsFocus(QWidget* field)
{
    QWidget* focus = QApplication::focusWidget();
    return focus && (focus == field || field->isAncestorOf(focus));
}

// Presses `key` in the track list (Insert adds, Enter edits the current row) and lets `act`
// fill the track editor that opens, then closes it with Enter.
void TestAlbumEditor::runTrackEditor(CMusicTracksPage* page, int key,
                                     std::function<void(TrackEditorDialog*)> act)
{
    ModalDialogDriver driver;
    driver.onNext<TrackEditorDialog>([act](TrackEditorDialog* dialog) {
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        act(dialog);
        QTest::keyClick(dialog->generalPage()->titleEdit(), Qt::Key_Return);
    });
    page->list()->setFocus();
    QTest::keyClick(page->list(), Qt::Key(key));
    QVERIFY(driver.acted());
}

void TestAlbumEditor::everyFieldRoundTrips()
{
    const int id = storeAlbum(EveryField::album(), {EveryField::track(1), EveryField::track(5)});
    QVERIFY(id > 0);
    const QString albumSql = QStringLiteral("SELECT * FROM music WHERE music_id = %1").arg(id);
    const QString tracksSql =
        QStringLiteral("SELECT * FROM tracks WHERE music_id = %1 ORDER BY track_id").arg(id);
    const QVector<Row> album = rows(albumSql);
    const QVector<Row> tracks = rows(tracksSql);
    QCOMPARE(album.size(), 1);
    QCOMPARE(tracks.size(), 2);

    const QString idsSql = QStringLiteral("SELECT * FROM album_ids WHERE album_id = %1").arg(id);
    QVector<Row> ids = rows(idsSql);
    QCOMPARE(ids.size(), 1);

    AlbumEditorDialog editor(*m_document, id, 0);
    QCOMPARE(editor.quickNotes(), EveryField::album().notes);
    QCOMPARE(editor.tracksPage()->list()->topLevelItem(1)->text(0), QStringLiteral("05"));
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    // The barcode as a scanner gives it: its mnemonic reaches the field, and the Enter after
    // the digits moves on rather than saving.
    editor.pageList()->setCurrentRow(1);
    QTest::keyClick(&editor, Qt::Key_B, Qt::AltModifier);
    QLineEdit* barcode = editor.personalPage()->barcodeEdit();
    QVERIFY(holdsFocus(barcode));
    QCOMPARE(barcode->text(), EveryField::album().barcode);
    barcode->clear();
    QTest::keyClicks(barcode, QStringLiteral(" 5012345678900"));
    QTest::keyClick(barcode, Qt::Key_Return);
    QVERIFY(editor.isVisible());
    QVERIFY(!holdsFocus(barcode));
    editor.saveAndCloseButton()->click();
    QCOMPARE(editor.result(), int(QDialog::Accepted));
    QVERIFY(MessageBox::history().isEmpty());
    QCOMPARE(rows(albumSql), album);
    QCOMPARE(rows(tracksSql), tracks);
    ids[0][QStringLiteral("barcode")] = QStringLiteral("5012345678900");
    QCOMPARE(rows(idsSql), ids);
}

void TestAlbumEditor::saveAndNewTwiceThenClose()
{
    const int before = albumCount();
    AlbumEditorDialog editor(*m_document, -1, 0);
    ModalDialogDriver driver;
    driver.onNext<AlbumEditorDialog>([](AlbumEditorDialog* dialog) {
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        for (const char* title : {"First", "Second"}) {
            QTest::keyClicks(dialog->focusWidget(), QStringLiteral("Zed Quartet"));
            QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
            QTest::keyClicks(dialog->focusWidget(), QLatin1String(title));
            QTest::keyClick(dialog, Qt::Key_N, Qt::AltModifier);
            // A mnemonic clicks its button a moment later, as a click shows.
            LOOP_VERIFY(dialog->generalPage()->titleEdit()->text().isEmpty());
        }
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QCOMPARE(editor.exec(), int(QDialog::Rejected));
    QVERIFY(driver.acted());
    QCOMPARE(albumCount(), before + 2);
    QVERIFY(editor.savedAny());
    const QVector<Row> stored =
        rows(QStringLiteral("SELECT title FROM music WHERE music_id > %1 ORDER BY music_id")
                 .arg(editor.lastSavedAlbumId() - 2));
    QCOMPARE(stored.size(), 2);
    QCOMPARE(stored[0][QStringLiteral("title")].toString(), QStringLiteral("First"));
    QCOMPARE(stored[1][QStringLiteral("title")].toString(), QStringLiteral("Second"));
    // Emptied for the next album.
    QCOMPARE(editor.generalPage()->artistBox()->currentText(), QString());
    QCOMPARE(editor.generalPage()->yearEdit()->text(), QStringLiteral("1900"));
}

void TestAlbumEditor::requiredFields_data()
{
    QTest::addColumn<QString>("artist");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("focused");
    QTest::newRow("no artist") << ""
                               << "Title" << false << "artist";
    QTest::newRow("no title") << "Artist"
                              << "" << false << "title";
    QTest::newRow("an artist of one blank") << " "
                                            << "Title" << true << "";
}

// A refused save shows the General page with the missing field focused, from any page.
void TestAlbumEditor::requiredFields()
{
    QFETCH(QString, artist);
    QFETCH(QString, title);
    QFETCH(bool, stored);
    QFETCH(QString, focused);
    const int before = albumCount();
    AlbumEditorDialog editor(*m_document, -1, 0);
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.generalPage()->artistBox()->setEditText(artist);
    editor.generalPage()->titleEdit()->setText(title);
    editor.pageList()->setCurrentRow(3);
    QCOMPARE(editor.save(), stored);
    QCOMPARE(albumCount(), before + (stored ? 1 : 0));
    if (!stored) {
        QCOMPARE(MessageBox::history().size(), 1);
        QCOMPARE(MessageBox::history().first().text,
                 QStringLiteral("Artist and Title are required fields, please make sure that "
                                "they are completed."));
        QCOMPARE(MessageBox::history().first().caption, QStringLiteral("Tunvale"));
        QCOMPARE(editor.shownPage(), static_cast<QWidget*>(editor.generalPage()));
        QVERIFY(holdsFocus(focused == QLatin1String("artist")
                               ? static_cast<QWidget*>(editor.generalPage()->artistBox())
                               : editor.generalPage()->titleEdit()));
    }
}

void TestAlbumEditor::impossibleDatesAreNotStored_data()
{
    QTest::addColumn<bool>("recording");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("focused");
    QTest::newRow("31 February, recorded") << true << "1999"
                                           << "02"
                                           << "31"
                                           << "day";
    QTest::newRow("month 13, bought") << false << "1999"
                                      << "13"
                                      << "01"
                                      << "month";
    QTest::newRow("day 40, bought") << false << "1999"
                                    << "01"
                                    << "40"
                                    << "day";
    QTest::newRow("year 10000, recorded") << true << "10000"
                                          << "01"
                                          << "02"
                                          << "year";
}

// Nothing is stored, and the page with the date is shown with the wrong box focused.
void TestAlbumEditor::impossibleDatesAreNotStored()
{
    QFETCH(bool, recording);
    QFETCH(QString, year);
    QFETCH(QString, month);
    QFETCH(QString, day);
    QFETCH(QString, focused);
    const int before = albumCount();
    AlbumEditorDialog editor(*m_document, -1, 0);
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.generalPage()->artistBox()->setEditText(QStringLiteral("Artist"));
    editor.generalPage()->titleEdit()->setText(QStringLiteral("Title"));
    DateBoxes* date =
        recording ? editor.generalPage()->recordingDate() : editor.personalPage()->purchaseDate();
    date->yearBox()->setEditText(year);
    date->monthEdit()->setText(month);
    date->dayEdit()->setText(day);
    editor.pageList()->setCurrentRow(recording ? 3 : 0);
    QVERIFY(!editor.save());
    QCOMPARE(albumCount(), before);
    QCOMPARE(MessageBox::history().size(), 1);
    QVERIFY(MessageBox::history().first().text.contains(recording ? "recording date"
                                                                  : "purchase date"));
    QCOMPARE(date->dayEdit()->text(), day);
    QCOMPARE(editor.shownPage(),
             recording ? static_cast<QWidget*>(editor.generalPage()) : editor.personalPage());
    const QMap<QString, QWidget*> boxes = {{QStringLiteral("year"), date->yearBox()},
                                           {QStringLiteral("month"), date->monthEdit()},
                                           {QStringLiteral("day"), date->dayEdit()}};
    QVERIFY(holdsFocus(boxes.value(focused)));
}

void TestAlbumEditor::failedSaveKeepsEverything()
{
    const QString path = m_files->copyOfDemo(QStringLiteral("locked.muf"));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    openCatalogue(path);
    const int albums = albumCount();
    const int trackRows = rows(QStringLiteral("SELECT track_id FROM tracks")).size();
    const int artists = rows(QStringLiteral("SELECT artist_id FROM music_artists")).size();
    ReportRecorder reports;

    AlbumEditorDialog editor(*m_document, -1, 0);
    editor.generalPage()->artistBox()->setEditText(QStringLiteral("Brand New Artist"));
    editor.generalPage()->titleEdit()->setText(QStringLiteral("Unsaved"));
    editor.notesPage()->setText(QStringLiteral("typed notes"));
    TrackRecord track = EveryField::track(1);
    editor.tracksPage()->appendTrack(QStringLiteral("01"), track.title,
                                     std::make_unique<TrackRecord>(track));
    editor.show();
    editor.saveAndCloseButton()->click();
    QVERIFY(editor.isVisible());
    QCOMPARE(reports.count(), 1); // the catalogue's own error
    QCOMPARE(albumCount(), albums);
    QCOMPARE(rows(QStringLiteral("SELECT track_id FROM tracks")).size(), trackRows);
    QCOMPARE(rows(QStringLiteral("SELECT artist_id FROM music_artists")).size(), artists);
    QCOMPARE(editor.generalPage()->artistBox()->currentText(), QStringLiteral("Brand New Artist"));
    QCOMPARE(editor.generalPage()->titleEdit()->text(), QStringLiteral("Unsaved"));
    QCOMPARE(editor.notesPage()->text(), QStringLiteral("typed notes"));
    QCOMPARE(editor.tracksPage()->tracks().size(), 1);
    QCOMPARE(editor.tracksPage()->tracks().first().trackId, -1);
    QCOMPARE(editor.albumId(), -1);
}

void TestAlbumEditor::albumDeletedElsewhere_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("saved as a new album") << int(QMessageBox::Yes);
    QTest::newRow("kept in the editor") << int(QMessageBox::No);
}

// Another program deletes the album while it is open here: saving asks, and never writes into
// the deleted album's hidden row or moves its tracks.
void TestAlbumEditor::albumDeletedElsewhere()
{
    QFETCH(int, answer);
    const int id = storeAlbum(EveryField::album(), {EveryField::track(1), EveryField::track(2)});
    const QString deletedSql =
        QStringLiteral("SELECT m.title, t.track_id FROM music m LEFT JOIN tracks t ON "
                       "t.music_id = m.music_id WHERE m.music_id = %1")
            .arg(id);
    AlbumEditorDialog editor(*m_document, id, 0);
    QVERIFY(m_document->albumTable().Delete(database(), id, false));
    const QVector<Row> deleted = rows(deletedSql);
    const int before = albumCount();
    editor.generalPage()->titleEdit()->setText(QStringLiteral("Typed after the delete"));

    MessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
    const bool asNew = answer == QMessageBox::Yes;
    QCOMPARE(editor.save(), asNew);
    QCOMPARE(MessageBox::history().size(), 1);
    QVERIFY(MessageBox::history().first().text.contains(QStringLiteral("new album")));
    QCOMPARE(rows(deletedSql), deleted);
    QCOMPARE(albumCount(), before + (asNew ? 1 : 0));
    if (!asNew) {
        QCOMPARE(editor.albumId(), id);
        return;
    }
    QVERIFY(editor.albumId() != id);
    AlbumRecord copy;
    QVERIFY(m_document->albumTable().Load(database(), editor.albumId(), &copy));
    QCOMPARE(copy.title, QStringLiteral("Typed after the delete"));
    QCOMPARE(
        rows(
            QStringLiteral("SELECT track_id FROM tracks WHERE music_id = %1").arg(editor.albumId()))
            .size(),
        2);
}

void TestAlbumEditor::loadShowsWhatTheListsAllow()
{
    AlbumRecord album = EveryField::album();
    album.recordingDate = QDateTime(QDate(1935, 1, 1), QTime(0, 0), Qt::UTC);
    album.purchaseDate = QDateTime(QDate(1900, 3, 9), QTime(0, 0), Qt::UTC);
    album.onLoanTo.clear();
    const int id = storeAlbum(album);
    // Deleted in their list editors: the artist (a required field) and the genre.
    QVERIFY(database()->execute("UPDATE music_categories SET cat_deleted = 1 WHERE cat_name = "
                                "'Ska & <Reggae>'"));
    QVERIFY(database()->execute("UPDATE music_artists SET artist_deleted = 1"));
    const QVector<Row> lookups =
        rows(QStringLiteral("SELECT artist_id, cat_id FROM music WHERE music_id = %1").arg(id));
    const int genres = rows(QStringLiteral("SELECT cat_id FROM music_categories")).size();

    AlbumEditorDialog editor(*m_document, id, 0);
    CMusicGeneralPage* general = editor.generalPage();
    // A year off the list joins it; 1 January leaves month and day as they were.
    QCOMPARE(general->recordingDate()->yearBox()->currentText(), QStringLiteral("1935"));
    QCOMPARE(general->recordingDate()->yearBox()->itemText(0), QStringLiteral("1935"));
    QCOMPARE(general->recordingDate()->monthEdit()->text(), QString());
    // A date in 1900 keeps the year box at 2002.
    DateBoxes* purchase = editor.personalPage()->purchaseDate();
    QCOMPARE(purchase->yearBox()->currentText(), QStringLiteral("2002"));
    QCOMPARE(purchase->monthEdit()->text(), QStringLiteral("03"));
    // A deleted name still names its album.
    QCOMPARE(general->genreBox()->currentText(), album.genre);
    QCOMPARE(general->artistBox()->currentText(), album.artist);
    // Not on loan: the loan controls are off, yet they show the stored dates.
    CMusicPersonalPage* personal = editor.personalPage();
    QVERIFY(!personal->onLoanBox()->isChecked());
    QVERIFY(!personal->onLoanToBox()->isEnabled());
    QVERIFY(!personal->loanDateEdit()->isEnabled());
    QCOMPARE(personal->loanDateEdit()->dateTime(), album.loanDate);

    QVERIFY(editor.save());
    QVERIFY(MessageBox::history().isEmpty());
    AlbumRecord saved;
    QVERIFY(m_document->albumTable().Load(database(), id, &saved));
    QCOMPARE(saved.genre, album.genre);
    QCOMPARE(
        rows(QStringLiteral("SELECT artist_id, cat_id FROM music WHERE music_id = %1").arg(id)),
        lookups);
    QCOMPARE(rows(QStringLiteral("SELECT cat_id FROM music_categories")).size(), genres);
    QCOMPARE(saved.recordingDate, album.recordingDate);
    QCOMPARE(saved.purchaseDate.date(), QDate(2002, 3, 9));
}

void TestAlbumEditor::adCodes_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("ad");
    QTest::newRow("N/A") << 0 << 0;
    QTest::newRow("ADD") << 2 << 2;
    QTest::newRow("DAD") << 3 << 3;
    QTest::newRow("DDD") << 4 << 4;
}

void TestAlbumEditor::adCodes()
{
    QFETCH(int, button);
    QFETCH(int, ad);
    AlbumEditorDialog editor(*m_document, -1, 0);
    editor.show();
    editor.generalPage()->artistBox()->setEditText(QStringLiteral("Artist"));
    editor.generalPage()->titleEdit()->setText(QStringLiteral("Title"));
    QTest::mouseClick(editor.generalPage()->adButton(button), Qt::LeftButton);
    QVERIFY(editor.save());
    AlbumRecord saved;
    QVERIFY(m_document->albumTable().Load(database(), editor.albumId(), &saved));
    QCOMPARE(saved.ad, ad);
}

void TestAlbumEditor::newAlbumGradeAndLoan()
{
    AlbumEditorDialog editor(*m_document, -1, 0);
    CMusicPersonalPage* personal = editor.personalPage();
    editor.generalPage()->artistBox()->setEditText(QStringLiteral("Artist"));
    editor.generalPage()->titleEdit()->setText(QStringLiteral("Title"));
    QCOMPARE(editor.generalPage()->yearEdit()->text(), QStringLiteral("2002"));
    // Named but not on loan: the name is not stored.
    personal->onLoanToBox()->setEditText(QStringLiteral("Borrower"));
    const QDateTime typedLoan(QDate(2001, 2, 3), QTime(4, 5), Qt::UTC);
    personal->loanDateEdit()->setDateTime(typedLoan);
    QVERIFY(editor.save());
    AlbumRecord saved;
    QVERIFY(m_document->albumTable().Load(database(), editor.albumId(), &saved));
    QCOMPARE(saved.grade, 0);
    QCOMPARE(saved.number, 0);
    QCOMPARE(saved.onLoanTo, QString());
    QVERIFY(saved.loanDate != typedLoan);

    personal->onLoanBox()->click();
    QVERIFY(personal->onLoanToBox()->isEnabled());
    QVERIFY(editor.save());
    QVERIFY(m_document->albumTable().Load(database(), editor.albumId(), &saved));
    QCOMPARE(saved.onLoanTo, QStringLiteral("Borrower"));
    QCOMPARE(saved.loanDate, typedLoan);
}

void TestAlbumEditor::tracksKeepTheirNumbers()
{
    MessageBox::setAnswerForAll(QMessageBox::Yes);
    AlbumEditorDialog editor(*m_document, -1, 0);
    CMusicTracksPage* page = editor.tracksPage();
    editor.show();
    editor.pageList()->setCurrentRow(2);
    const auto addTrack = [this, page](const QString& title) {
        runTrackEditor(page, Qt::Key_Insert, [title](TrackEditorDialog* dialog) {
            QTest::keyClicks(dialog->focusWidget(), title);
        });
    };
    for (const char* title : {"One", "Two", "Three"})
        addTrack(QLatin1String(title));
    const auto numbers = [page] {
        QStringList shown;
        for (int row = 0; row < page->list()->topLevelItemCount(); ++row)
            shown << page->list()->topLevelItem(row)->text(0);
        return shown;
    };
    QCOMPARE(numbers(), (QStringList{"01", "02", "03"}));
    QCOMPARE(page->tracks().first().year, 0);  // no year typed
    QCOMPARE(page->tracks().first().grade, 1); // slider left alone

    // Stored, then track 02 deleted: it leaves the catalogue at once and numbers stay; a new
    // track comes after the highest.
    editor.generalPage()->artistBox()->setEditText(QStringLiteral("Artist"));
    editor.generalPage()->titleEdit()->setText(QStringLiteral("Title"));
    QVERIFY(editor.save());
    const QString tracksSql =
        QStringLiteral("SELECT tracknumber FROM tracks WHERE music_id = %1").arg(editor.albumId());
    QCOMPARE(rows(tracksSql).size(), 3);
    page->list()->setCurrentItem(page->list()->topLevelItem(1));
    QTest::keyClick(page->list(), Qt::Key_Delete);
    QCOMPARE(rows(tracksSql).size(), 2);
    addTrack(QStringLiteral("Four"));
    QCOMPARE(numbers(), (QStringList{"01", "03", "04"}));
    // A track never stored only leaves the list.
    page->list()->setCurrentItem(page->list()->topLevelItem(2));
    QTest::keyClick(page->list(), Qt::Key_Delete);
    QCOMPARE(numbers(), (QStringList{"01", "03"}));
    QCOMPARE(rows(tracksSql).size(), 2);
}

void TestAlbumEditor::trackEditorLoadsAndCancels()
{
    TrackRecord track = EveryField::track(7);
    track.title = QStringLiteral("Intro");
    track.artist = QStringLiteral("Nobody Listed");
    track.studio = QStringLiteral("Unlisted Studio");
    const TrackRecord original = track;
    {
        TrackEditorDialog editor(&track, *m_document, false);
        QCOMPARE(editor.windowTitle(), QStringLiteral("Edit Track 7: Intro"));
        QCOMPARE(editor.generalPage()->artistBox()->currentText(), QStringLiteral("Nobody Listed"));
        QVERIFY(
            editor.generalPage()->artistBox()->names().contains(QStringLiteral("Nobody Listed")));
        // Every field changed, then Cancel: the record is as it was.
        editor.generalPage()->titleEdit()->setText(QStringLiteral("Changed"));
        editor.generalPage()->yearEdit()->setText(QStringLiteral("2020"));
        editor.personalPage()->gradeSlider()->setValue(2);
        ModalDialogDriver driver;
        driver.onNext<TrackEditorDialog>(
            [](TrackEditorDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
        QCOMPARE(editor.exec(), int(QDialog::Rejected));
    }
    QCOMPARE(track.title, original.title);
    QCOMPARE(track.year, original.year);
    QCOMPARE(track.grade, original.grade);
    {
        // OK writes in place; a studio missing from the list is shown and kept.
        TrackEditorDialog editor(&track, *m_document, false);
        editor.accept();
    }
    QCOMPARE(track.studio, original.studio);
    QCOMPARE(track.artist, original.artist);
    QCOMPARE(track.lyrics, original.lyrics);
    QCOMPARE(track.trackNumber, 7);
    TrackRecord fresh;
    TrackEditorDialog adding(&fresh, *m_document, true);
    QCOMPARE(adding.windowTitle(), QStringLiteral("Add Track"));
}

// Names typed for a track not stored yet are its names when it is opened again, in every name
// box, and are stored with the album (songwriters have no list editor to add them first).
void TestAlbumEditor::namesTypedForANewTrackSurviveEditing()
{
    AlbumEditorDialog editor(*m_document, -1, 0);
    CMusicTracksPage* page = editor.tracksPage();
    editor.show();
    editor.pageList()->setCurrentRow(2);
    QStringList typed;
    runTrackEditor(page, Qt::Key_Insert, [&typed](TrackEditorDialog* dialog) {
        QTest::keyClicks(dialog->generalPage()->titleEdit(), QStringLiteral("Named"));
        const auto boxes = dialog->findChildren<AutoCompleteComboBox*>();
        for (AutoCompleteComboBox* box : boxes) {
            typed << QStringLiteral("Qx Typed %1").arg(typed.size() + 10);
            QTest::keyClicks(box->lineEdit(), typed.last());
        }
    });
    QCOMPARE(typed.size(), 12);
    QStringList shown;
    runTrackEditor(page, Qt::Key_Return, [&shown](TrackEditorDialog* dialog) {
        for (AutoCompleteComboBox* box : dialog->findChildren<AutoCompleteComboBox*>())
            shown << box->currentText();
    });
    QCOMPARE(shown, typed);

    editor.generalPage()->artistBox()->setEditText(QStringLiteral("Artist"));
    editor.generalPage()->titleEdit()->setText(QStringLiteral("Title"));
    QVERIFY(editor.save());
    QVector<TrackRecord> tracks;
    QVERIFY(TrackTable().loadForPage(database(), editor.albumId(), &tracks));
    QCOMPARE(tracks.size(), 1);
    const TrackRecord& track = tracks.first();
    QStringList stored = {track.artist,   track.genre,      track.subCategory, track.language,
                          track.country,  track.label,      track.studio,      track.producer,
                          track.engineer, track.songwriter, track.conductor,   track.orchestra};
    stored.sort();
    typed.sort();
    QCOMPARE(stored, typed);
}

void TestAlbumEditor::typingCompletesNames_data()
{
    QTest::addColumn<bool>("readAhead");
    QTest::addColumn<bool>("waitForTheWorker");
    QTest::newRow("names read at the first key") << false << false;
    QTest::newRow("names read ahead on a worker") << true << true;
    QTest::newRow("a key before the worker's names") << true << false;
}

void TestAlbumEditor::typingCompletesNames()
{
    QFETCH(bool, readAhead);
    QFETCH(bool, waitForTheWorker);
    CatalogReadTask::setBackgroundFrom(readAhead ? 0 : CatalogReadTask::BackgroundFrom);
    AlbumEditorDialog editor(*m_document, -1, 0);
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    AutoCompleteComboBox* genre = editor.generalPage()->genreBox();
    QLineEdit* edit = genre->lineEdit();
    // The names are read at the first key, which still replaces the selected text, unless
    // the worker brought them first.
    if (waitForTheWorker)
        LOOP_VERIFY(genre->namesRead());
    else
        QVERIFY(!genre->namesRead());
    genre->setEditText(QStringLiteral("Jazz"));
    genre->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("ro"));
    QVERIFY(genre->namesRead());
    if (readAhead)
        QTest::qWait(200); // the worker's names, had they been taken late, would be in now
    QCOMPARE(edit->text(), QStringLiteral("Rock"));
    QCOMPARE(edit->selectedText(), QStringLiteral("ck"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QStringLiteral("Ro"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QStringLiteral("R"));
    // The next letter completes again.
    QTest::keyClicks(edit, QStringLiteral("o"));
    QCOMPARE(edit->text(), QStringLiteral("Rock"));
    QCOMPARE(edit->selectedText(), QStringLiteral("ck"));
    // A beginning no name has stays as typed.
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("zzq"));
    QCOMPARE(edit->text(), QStringLiteral("zzq"));
}

void TestAlbumEditor::everyControlHasAName()
{
    AlbumEditorDialog editor(*m_document, 1, 0);
    editor.show();
    for (int page = 0; page < editor.pageList()->count(); ++page) {
        editor.pageList()->setCurrentRow(page);
        QVERIFY2(unnamedControls(&editor).isEmpty(),
                 qPrintable(unnamedControls(&editor).join(QLatin1Char(' '))));
    }
    QCOMPARE(editor.shownPage(), static_cast<QWidget*>(editor.notesPage()));
    TrackRecord track;
    TrackEditorDialog trackEditor(&track, *m_document, true);
    trackEditor.show();
    for (int page = 0; page < trackEditor.tabs()->count(); ++page) {
        trackEditor.tabs()->setCurrentIndex(page);
        QVERIFY2(unnamedControls(&trackEditor).isEmpty(),
                 qPrintable(unnamedControls(&trackEditor).join(QLatin1Char(' '))));
    }
}

// Ins in the main window, an album with one track typed in, Enter: the list shows the new
// album selected and counted, and the tree has its new artist.
void TestAlbumEditor::keyboardOnlyFromTheAlbumList()
{
    m_document.reset();
    CVastryApp app;
    QVERIFY(startFilled(app, m_files->copyOfDemo("app.muf")));
    CMainFrame* frame = app.mainFrame();
    const int before = frame->listPane()->model()->rowCount();

    ModalDialogDriver editorDriver;
    ModalDialogDriver trackDriver;
    editorDriver.onNext<AlbumEditorDialog>([&trackDriver](AlbumEditorDialog* editor) {
        QVERIFY(QTest::qWaitForWindowActive(editor));
        QTest::keyClicks(editor->focusWidget(), QStringLiteral("Keyboard Newcomers"));
        QTest::keyClick(editor->focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(editor->focusWidget(), QStringLiteral("Typed Only"));
        editor->pageList()->setFocus();
        QTest::keyClick(editor->pageList(), Qt::Key_Down);
        QTest::keyClick(editor->pageList(), Qt::Key_Down);
        QCOMPARE(editor->shownPage(), static_cast<QWidget*>(editor->tracksPage()));
        trackDriver.onNext<TrackEditorDialog>([editor](TrackEditorDialog* tracks) {
            QVERIFY(QTest::qWaitForWindowActive(tracks));
            QTest::keyClicks(tracks->focusWidget(), QStringLiteral("Opening"));
            QTest::keyClick(tracks->focusWidget(), Qt::Key_Return);
            // Back in the album editor once the track editor has closed.
            QTimer::singleShot(0, editor, [editor] {
                editor->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(editor));
                QTest::keyClick(editor, Qt::Key_S, Qt::AltModifier);
            });
        });
        // Into the track list, where Insert adds a track.
        QTest::keyClick(editor->pageList(), Qt::Key_Tab);
        QTest::keyClick(editor->focusWidget(), Qt::Key_Insert);
    });
    QTest::keyClick(frame->listPane()->list(), Qt::Key_Insert);
    QVERIFY(editorDriver.acted());
    LOOP_VERIFY(trackDriver.acted());
    LOOP_COMPARE(frame->listPane()->model()->rowCount(), before + 1);
    const int selected = frame->listPane()->selectedAlbumId();
    AlbumRecord album;
    QVERIFY(app.document()->albumTable().Load(app.document()->database(), selected, &album));
    QCOMPARE(album.title, QStringLiteral("Typed Only"));
    QVector<TrackRecord> tracks;
    TrackTable().loadForPage(app.document()->database(), selected, &tracks);
    QCOMPARE(tracks.size(), 1);
    QCOMPARE(tracks.first().title, QStringLiteral("Opening"));
    QCOMPARE(frame->statusPaneText(2), QStringLiteral("Total Posts: %1").arg(before + 1));
    QVERIFY(!frame->treePane()
                 ->findItems(QStringLiteral("Keyboard Newcomers"),
                             Qt::MatchExactly | Qt::MatchRecursive)
                 .isEmpty());
    app.shutDown();
}

// The list and the page show what the editor left, whatever its result: an album stored with
// "Save and New" before Esc (the result is Cancel), a track deleted before Esc.
void TestAlbumEditor::listAndPageFollowTheEditor()
{
    m_document.reset();
    CVastryApp app;
    QVERIFY(startFilled(app, m_files->copyOfDemo("app.muf")));
    CMainFrame* frame = app.mainFrame();
    const int before = frame->listPane()->model()->rowCount();
    ModalDialogDriver driver;
    driver.onNext<AlbumEditorDialog>([](AlbumEditorDialog* editor) {
        editor->generalPage()->artistBox()->setEditText(QStringLiteral("Before Close"));
        editor->generalPage()->titleEdit()->setText(QStringLiteral("Kept"));
        editor->saveAndNewButton()->click();
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    QVERIFY(frame->runCommand(CommandIds::NewPost));
    QVERIFY(driver.acted());
    QCOMPARE(frame->listPane()->model()->rowCount(), before + 1);
    AlbumRecord album;
    QVERIFY(app.document()->albumTable().Load(app.document()->database(),
                                              frame->listPane()->selectedAlbumId(), &album));
    QCOMPARE(album.title, QStringLiteral("Kept"));

    const auto page = [frame] {
        QFile file(frame->pagePane()->shownPath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    const QString firstTrack = QStringLiteral("Song Morning"); // of the demo's album 1
    frame->listPane()->list()->selectRow(frame->listPane()->model()->rowOfAlbum(1));
    SendPaneMessage(frame->listPane(), UWM_SHOW_ALBUM);
    QVERIFY(page().contains(firstTrack));
    driver.onNext<AlbumEditorDialog>([](AlbumEditorDialog* editor) {
        CMusicTracksPage* tracks = editor->tracksPage();
        tracks->list()->setCurrentItem(tracks->list()->topLevelItem(0));
        MessageBox::setNextAnswer(QMessageBox::Yes);
        tracks->deleteTrack();
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    QVERIFY(frame->runCommand(CommandIds::EditPost));
    QVERIFY(driver.acted());
    QVERIFY(!page().isEmpty());
    QVERIFY(!page().contains(firstTrack));
    app.shutDown();
}

QTEST_MAIN(TestAlbumEditor)
#include "TestAlbumEditor.moc"
