#pragma once

#include "db/LoadedNames.h"
#include "musicbrainz/MusicBrainzRelease.h"

#include <QDialog>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>

class CMusicGeneralPage;
class CMusicPersonalPage;
class CMusicTracksPage;
class CNotesPage;
class CVastryDoc;
class FreedbLookupTask;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
struct AlbumRecord;
struct TrackRecord;

// Creates or edits one album ("Music item") on four pages: General, Personal, Tracks and
// Notes. Nothing is written until a save, which stores the album and all its tracks as one
// change; a save that fails leaves the dialog open with everything the user typed.
class AlbumEditorDialog : public QDialog
{
    Q_OBJECT

public:
    // `albumId` -1 for a new album. The tree's selection kind is kept for the caller's sake.
    AlbumEditorDialog(CVastryDoc& document, int albumId, int treeSelectionType,
                      QWidget* parent = nullptr);
    ~AlbumEditorDialog() override;

    int albumId() const { return m_albumId; }
    int treeSelectionType() const { return m_treeSelectionType; }
    // The album stored last while the dialog was open (-1: none), and whether any was: after
    // "Save and New" and then "Close" the result is Cancel, yet albums were stored.
    int lastSavedAlbumId() const { return m_lastSavedAlbumId; }
    bool savedAny() const { return m_lastSavedAlbumId != -1; }

    // Stores the pages' values; false (nothing stored) when artist or title is missing, a
    // date names no day, or the catalogue refused the change.
    bool save();

    CMusicGeneralPage* generalPage() const { return m_general; }
    CMusicPersonalPage* personalPage() const { return m_personal; }
    CMusicTracksPage* tracksPage() const { return m_tracks; }
    CNotesPage* notesPage() const { return m_notes; }
    QListWidget* pageList() const { return m_pageList; }
    QWidget* shownPage() const;
    QString quickNotes() const;
    QPushButton* saveAndNewButton() const { return m_saveAndNew; }
    QPushButton* saveAndCloseButton() const { return m_saveAndClose; }
    QPushButton* closeButton() const { return m_close; }

    // "Find Online...": a release found at MusicBrainz fills the album; the collector is asked
    // before anything typed gives way.
    void findOnline();

    // Where "Get info from FreeDB" finds the machine's CD-ROM drives (the system's by default).
    void setCdDriveLister(std::function<QStringList()> lister);
    // The disc lookup that "Get info from FreeDB" started is still running.
    bool lookupRunning() const { return m_lookup != nullptr; }
    // Closing abandons a running lookup: its result is never applied.
    void done(int result) override;

protected:
    bool event(QEvent* event) override;

private:
    void buildPages();
    QLayout* buildButtons();
    void showPage(int index);
    void load();
    bool readPages(AlbumRecord* record);
    void pointAt(QWidget* page, QWidget* field);
    bool chooseAlbumToStore(int* id, QVector<TrackRecord>* tracks);
    void saveAndClose();
    void saveAndNew();
    void emptyForNextAlbum();
    void fillFromDisc();
    QString chooseLookupDrive();
    void startLookup(const QString& drive);
    void finishLookup(bool filled);
    void abandonLookup();
    void showLookupRunning(bool running);
    QString onlineSearchText() const;
    void useRelease(MusicBrainzRelease::Fill release);
    void appendTracks(std::vector<std::unique_ptr<TrackRecord>>& tracks);

    CVastryDoc& m_document;
    int m_albumId;
    int m_treeSelectionType;
    int m_lastSavedAlbumId = -1;
    // The album's names as loaded, with their entries: names left alone keep them on save.
    LoadedNames m_loadedNames;
    // The album's release ids as loaded: no page shows them, and a save keeps them.
    QString m_musicBrainzReleaseId;
    QString m_discogsReleaseId;
    QListWidget* m_pageList = nullptr;
    QStackedWidget* m_pageFrame = nullptr;
    QPlainTextEdit* m_quickNotes = nullptr;
    CMusicGeneralPage* m_general = nullptr;
    CMusicPersonalPage* m_personal = nullptr;
    CMusicTracksPage* m_tracks = nullptr;
    CNotesPage* m_notes = nullptr;
    QPushButton* m_saveAndNew = nullptr;
    QPushButton* m_saveAndClose = nullptr;
    QPushButton* m_close = nullptr;
    std::function<QStringList()> m_listCdDrives;
    std::shared_ptr<FreedbLookupTask> m_lookup;
};
