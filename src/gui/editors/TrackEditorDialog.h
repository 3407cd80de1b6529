#pragma once

#include <QDialog>

class CTrackDetailsPage;
class CTrackGeneralPage;
class CTrackLyricsPage;
class CTrackNotesPage;
class CTrackPersonalPage;
class CVastryDoc;
class QTabWidget;
struct TrackRecord;

// One track of an album on five tabbed pages. It edits the caller's record in place: OK
// writes every field into it, Cancel leaves it untouched. The catalogue is only read (for
// the name lists); the album editor stores the track with its album.
class TrackEditorDialog : public QDialog
{
    Q_OBJECT

public:
    TrackEditorDialog(TrackRecord* record, CVastryDoc& document, bool addMode,
                      QWidget* parent = nullptr);

    QTabWidget* tabs() const { return m_tabs; }
    CTrackGeneralPage* generalPage() const { return m_general; }
    CTrackPersonalPage* personalPage() const { return m_personal; }

    void accept() override;

private:
    void load();

    TrackRecord* m_record;
    bool m_addMode;
    QTabWidget* m_tabs = nullptr;
    CTrackGeneralPage* m_general = nullptr;
    CTrackDetailsPage* m_details = nullptr;
    CTrackPersonalPage* m_personal = nullptr;
    CTrackLyricsPage* m_lyrics = nullptr;
    CTrackNotesPage* m_notes = nullptr;
};
