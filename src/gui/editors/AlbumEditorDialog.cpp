#include "editors/AlbumEditorDialog.h"

#include "app/AppSettings.h"
#include "app/PrivateMessages.h"
#include "app/SettingsTable.h"
#include "db/AlbumRecord.h"
#include "db/AlbumTable.h"
#include "editors/AutoCompleteComboBox.h"
#include "editors/CMusicGeneralPage.h"
#include "editors/CMusicPersonalPage.h"
#include "editors/CMusicTracksPage.h"
#include "editors/CNotesPage.h"
#include "editors/DateBoxes.h"
#include "editors/FindOnlineDialog.h"
#include "freedb/CdDriveDialog.h"
#include "freedb/CdDrives.h"
#include "freedb/FreedbLookupTask.h"
#include "ui/DialogFont.h"
#include "ui/FlatButton.h"
#include "ui/ListLook.h"
#include "ui/MessageBox.h"
#include "views/CVastryDoc.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

AlbumEditorDialog::AlbumEditorDialog(CVastryDoc& document, int albumId, int treeSelectionType,
                                     QWidget* parent)
    : QDialog(parent), m_document(document), m_albumId(albumId),
      m_treeSelectionType(treeSelectionType), m_listCdDrives(EnumerateCdDrives)
{
    setObjectName(QStringLiteral("AlbumEditorDialog"));
    setWindowTitle(QStringLiteral("Music item"));
    setSizeGripEnabled(true);
    // The font comes first: given later it would make every name box measure its whole list
    // again.
    DialogFont::apply(this);
    buildPages();
    if (m_albumId != -1)
        load();
    setMinimumSize(700, 500);
    resize(780, 540);
    m_general->artistBox()->setFocus();
}

AlbumEditorDialog::~AlbumEditorDialog()
{
    abandonLookup();
}

void AlbumEditorDialog::buildPages()
{
    m_pageList = new QListWidget(this);
    m_pageList->setAccessibleName(QStringLiteral("Pages"));
    m_pageList->setFixedWidth(110);
    // Four page names need no grid lines.
    ListLook::apply(m_pageList, m_document.settings(), ListLook::Grid::Never);
    m_pageFrame = new QStackedWidget(this);
    m_general = new CMusicGeneralPage(m_document, m_pageFrame);
    m_personal = new CMusicPersonalPage(m_document, m_pageFrame);
    m_tracks = new CMusicTracksPage(m_document, m_pageFrame);
    m_personal->enableLoanControls();
    m_notes = new CNotesPage(m_pageFrame);
    const std::pair<QWidget*, const char*> pages[] = {
        {m_general, "General"}, {m_personal, "Personal"}, {m_tracks, "Tracks"}, {m_notes, "Notes"}};
    for (const auto& [page, caption] : pages) {
        m_pageFrame->addWidget(page);
        m_pageList->addItem(QLatin1String(caption));
    }
    m_pageList->setCurrentRow(0);
    connect(m_pageList, &QListWidget::currentRowChanged, this, &AlbumEditorDialog::showPage);
    connect(m_general->findOnlineButton(), &QPushButton::clicked, this,
            &AlbumEditorDialog::findOnline);

    auto* notesBox = new QGroupBox(QStringLiteral("Quick Notes"), this);
    m_quickNotes = new QPlainTextEdit(notesBox);
    m_quickNotes->setReadOnly(true);
    m_quickNotes->setFrameShape(QFrame::NoFrame);
    m_quickNotes->setFocusPolicy(Qt::NoFocus);
    m_quickNotes->setAccessibleName(QStringLiteral("Quick Notes"));
    m_quickNotes->viewport()->setAutoFillBackground(false);
    auto* notesLayout = new QVBoxLayout(notesBox);
    notesLayout->addWidget(m_quickNotes);
    notesBox->setFixedWidth(110);

    auto* left = new QVBoxLayout;
    left->addWidget(m_pageList);
    left->addWidget(notesBox, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(m_pageFrame, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buildButtons());
}

QLayout* AlbumEditorDialog::buildButtons()
{
    m_saveAndNew = new QPushButton(QStringLiteral("Save and &New"), this);
    m_saveAndClose = new QPushButton(QStringLiteral("&Save and Close"), this);
    m_close = new QPushButton(QStringLiteral("&Close"), this);
    m_saveAndClose->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {m_saveAndNew, m_saveAndClose, m_close}) {
        MakeButtonFlat(this, button);
        buttons->addWidget(button);
    }
    connect(m_saveAndNew, &QPushButton::clicked, this, &AlbumEditorDialog::saveAndNew);
    connect(m_saveAndClose, &QPushButton::clicked, this, &AlbumEditorDialog::saveAndClose);
    connect(m_close, &QPushButton::clicked, this, &AlbumEditorDialog::reject);
    return buttons;
}

QWidget* AlbumEditorDialog::shownPage() const
{
    return m_pageFrame->currentWidget();
}

QString AlbumEditorDialog::quickNotes() const
{
    return m_quickNotes->toPlainText();
}

void AlbumEditorDialog::showPage(int index)
{
    if (index < 0 || index >= m_pageFrame->count())
        return;
    m_pageFrame->setCurrentIndex(index);
}

bool AlbumEditorDialog::event(QEvent* event)
{
    if (int(event->type()) == UWM_FREEDB_FILL) {
        event->accept();
        fillFromDisc();
        return true;
    }
    return QDialog::event(event);
}

// An album that cannot be read leaves the pages as for a new album, keeping the id.
void AlbumEditorDialog::load()
{
    AlbumRecord record;
    if (!m_document.albumTable().Load(m_document.database(), m_albumId, &record))
        return;
    m_loadedNames = record.loadedNames;
    m_musicBrainzReleaseId = record.musicBrainzReleaseId;
    m_discogsReleaseId = record.discogsReleaseId;
    m_general->loadFrom(record);
    m_personal->loadFrom(record);
    m_tracks->listAlbumTracks(m_albumId);
    m_notes->setText(record.notes);
    m_quickNotes->setPlainText(record.notes);
}

bool AlbumEditorDialog::readPages(AlbumRecord* record)
{
    const bool recordingDate = m_general->saveTo(record);
    const bool purchaseDate = m_personal->saveTo(record);
    record->notes = m_notes->text();
    if (record->artist.isEmpty() || record->title.isEmpty()) {
        MessageBox::show(this, QStringLiteral("Tunvale"),
                         QStringLiteral("Artist and Title are required fields, please make sure "
                                        "that they are completed."),
                         QMessageBox::Information);
        pointAt(m_general, record->artist.isEmpty() ? static_cast<QWidget*>(m_general->artistBox())
                                                    : m_general->titleEdit());
        return false;
    }
    // A day that does not exist is not stored as some other day.
    if (!recordingDate || !purchaseDate) {
        MessageBox::show(this, QStringLiteral("Tunvale"),
                         QStringLiteral("The %1 is not a valid date, please correct its year, "
                                        "month and day.")
                             .arg(recordingDate ? QStringLiteral("purchase date")
                                                : QStringLiteral("recording date")),
                         QMessageBox::Information);
        if (recordingDate)
            pointAt(m_personal, m_personal->purchaseDate()->wrongBox());
        else
            pointAt(m_general, m_general->recordingDate()->wrongBox());
        return false;
    }
    return true;
}

// After a refused save: the page with the field to correct is shown, the field focused.
void AlbumEditorDialog::pointAt(QWidget* page, QWidget* field)
{
    m_pageList->setCurrentRow(m_pageFrame->indexOf(page));
    field->setFocus(Qt::OtherFocusReason);
}

// An album another program deleted while it was open here is not written back into its hidden
// row: the user may store it afresh as a new album (`*id` -1), tracks included, or keep editing.
bool AlbumEditorDialog::chooseAlbumToStore(int* id, QVector<TrackRecord>* tracks)
{
    *id = m_albumId;
    if (m_albumId == -1)
        return true;
    switch (m_document.albumTable().albumState(m_document.database(), m_albumId)) {
    case AlbumTable::AlbumState::Stored:
        return true;
    case AlbumTable::AlbumState::Unreadable:
        return false;
    case AlbumTable::AlbumState::Deleted:
        break;
    }
    if (MessageBox::question(this, QStringLiteral("Tunvale"),
                             QStringLiteral("This album was deleted by another program while you "
                                            "were editing it.\n\nDo you want to save it as a "
                                            "new album?")) != QMessageBox::Yes)
        return false;
    *id = -1;
    for (TrackRecord& track : *tracks)
        track.trackId = -1;
    return true;
}

bool AlbumEditorDialog::save()
{
    AlbumRecord record;
    if (!readPages(&record))
        return false;
    record.loadedNames = m_loadedNames;
    record.musicBrainzReleaseId = m_musicBrainzReleaseId;
    record.discogsReleaseId = m_discogsReleaseId;
    QVector<TrackRecord> tracks = m_tracks->tracks();
    int storeAs = -1;
    if (!chooseAlbumToStore(&storeAs, &tracks))
        return false;
    // The catalogue reports its own errors; the pages stay as they are for another try.
    const int id =
        m_document.albumTable().saveWithTracks(m_document.database(), record, storeAs, &tracks);
    if (id == -1)
        return false;
    m_albumId = id;
    m_lastSavedAlbumId = id;
    m_tracks->setStoredTracks(tracks);
    return true;
}

void AlbumEditorDialog::saveAndClose()
{
    if (save())
        accept();
}

void AlbumEditorDialog::saveAndNew()
{
    if (!save())
        return;
    emptyForNextAlbum();
    m_albumId = -1;
}

void AlbumEditorDialog::emptyForNextAlbum()
{
    m_loadedNames.clear();
    m_musicBrainzReleaseId.clear();
    m_discogsReleaseId.clear();
    m_general->clearForNextAlbum();
    m_personal->clearForNextAlbum();
    m_tracks->clearTracks();
    m_notes->setText(QString());
    m_quickNotes->clear();
    m_pageList->setCurrentRow(0);
    m_general->artistBox()->setFocus();
}

void AlbumEditorDialog::setCdDriveLister(std::function<QStringList()> lister)
{
    m_listCdDrives = std::move(lister);
}

void AlbumEditorDialog::done(int result)
{
    abandonLookup();
    QDialog::done(result);
}

// Looks the disc up while the editor stays live; the pages are filled when the answer comes.
void AlbumEditorDialog::fillFromDisc()
{
    if (m_lookup)
        return;
    const QString drive = chooseLookupDrive();
    if (!drive.isEmpty())
        startLookup(drive);
}

// A remembered drive is taken as it is: when it has gone, the disc read says so by its name.
QString AlbumEditorDialog::chooseLookupDrive()
{
    const QStringList drives = m_listCdDrives();
    AppSettings settings;
    const QString remembered = settings.read(SettingsTable::FreedbDrive);
    if (!remembered.isEmpty())
        return remembered;
    // Without a drive the dialog is still the way to a disc image.
    if (drives.isEmpty() && !CdDriveDialog::offerDiscImage(this))
        return QString();
    if (drives.size() == 1)
        return drives.first();
    CdDriveDialog dialog(settings, drives, this);
    return dialog.exec() == QDialog::Accepted ? dialog.drive() : QString();
}

void AlbumEditorDialog::startLookup(const QString& drive)
{
    // The setting is read here, on the interface thread, rather than by the worker.
    LookupSettings settings = LookupSettings::read(AppSettings());
    // A cover would not be used where the album has one, so none is asked for.
    settings.fetchCovers = settings.fetchCovers && !m_general->hasFrontImage();
    m_lookup = FreedbLookupTask::create(drive, settings);
    connect(m_lookup.get(), &FreedbLookupTask::progressChanged, m_general->statusLine(),
            &QLabel::setText);
    connect(m_lookup.get(), &FreedbLookupTask::finished, this, &AlbumEditorDialog::finishLookup);
    showLookupRunning(true);
    m_lookup->start();
}

void AlbumEditorDialog::finishLookup(bool filled)
{
    if (!m_lookup)
        return;
    FreedbLookupTask::Result result = m_lookup->takeResult();
    m_lookup.reset();
    showLookupRunning(false);
    if (!filled)
        return;
    m_general->fillFromDisc(result.album);
    // The rows come after those the list already has, so pressing twice lists the disc twice.
    appendTracks(result.tracks);
}

void AlbumEditorDialog::appendTracks(std::vector<std::unique_ptr<TrackRecord>>& tracks)
{
    for (std::unique_ptr<TrackRecord>& track : tracks) {
        const QString number =
            QStringLiteral("%1").arg(track->trackNumber, 2, 10, QLatin1Char('0'));
        const QString text = track->length.isEmpty()
                                 ? track->title
                                 : QStringLiteral("%1 - (%2)").arg(track->title, track->length);
        m_tracks->appendTrack(number, text, std::move(track));
    }
}

// The worker runs on until its client gives up; nothing it sends reaches this editor again.
void AlbumEditorDialog::abandonLookup()
{
    if (!m_lookup)
        return;
    m_lookup->disconnect(this);
    m_lookup->disconnect(m_general->statusLine());
    m_lookup.reset();
    showLookupRunning(false);
}

void AlbumEditorDialog::showLookupRunning(bool running)
{
    for (QPushButton* button :
         {m_saveAndNew, m_saveAndClose, m_general->freedbButton(), m_general->findOnlineButton()})
        button->setEnabled(!running);
}

void AlbumEditorDialog::findOnline()
{
    if (m_lookup)
        return;
    LookupSettings settings = LookupSettings::read(AppSettings());
    FindOnlineDialog dialog(settings, onlineSearchText(), !m_general->hasFrontImage(), this);
    if (dialog.exec() == QDialog::Accepted)
        useRelease(dialog.takeRelease());
}

// What the album already says about itself starts the search: its barcode, else its artist
// and title.
QString AlbumEditorDialog::onlineSearchText() const
{
    const QString barcode = m_personal->barcodeEdit()->text().trimmed();
    if (!barcode.isEmpty())
        return barcode;
    AlbumRecord record;
    m_general->saveTo(&record);
    if (record.artist.isEmpty() || record.title.isEmpty())
        return record.title;
    return record.artist + QLatin1String(" - ") + record.title;
}

// Tracks come only into an empty track list: replacing tracks would delete them from the
// catalogue at once, before the album is saved or its editor cancelled.
void AlbumEditorDialog::useRelease(MusicBrainzRelease::Fill release)
{
    QStringList typed = m_general->typedFieldsDifferingFrom(release.album);
    QLineEdit* barcode = m_personal->barcodeEdit();
    const QString typedBarcode = barcode->text().trimmed();
    if (!typedBarcode.isEmpty() && !release.barcode.isEmpty() && typedBarcode != release.barcode)
        typed << QStringLiteral("Barcode");
    const bool replace =
        !typed.isEmpty() &&
        MessageBox::question(this, QStringLiteral("Find Online"),
                             QStringLiteral("The release has other values for %1. Replace what "
                                            "the album has there?")
                                 .arg(typed.join(QLatin1String(", ")))) == QMessageBox::Yes;
    m_general->fillFromRelease(release.album, replace);
    if (!release.barcode.isEmpty() && (typedBarcode.isEmpty() || replace))
        barcode->setText(release.barcode);
    // The collector picked this release: the album is that release from now on.
    m_musicBrainzReleaseId = release.releaseId;
    const bool hadTracks = !m_tracks->tracks().isEmpty();
    if (!hadTracks)
        appendTracks(release.tracks);
    m_general->statusLine()->setText(
        hadTracks && !release.tracks.empty()
            ? QStringLiteral("Filled from MusicBrainz; the album's own tracks were kept.")
            : QStringLiteral("Filled from MusicBrainz."));
}
