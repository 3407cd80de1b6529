#pragma once

#include "db/TrackList.h"

#include <QVector>
#include <QWidget>
#include <vector>

class CVastryDoc;
class QPushButton;
class QTreeWidget;

// The album's tracks, held in memory until the album editor stores them with the album:
// added, edited and deleted through the track editor. Numbers are given once, when a track
// is added (the one after the highest), and never rewritten.
class CMusicTracksPage : public QWidget, public TrackList
{
    Q_OBJECT

public:
    CMusicTracksPage(CVastryDoc& document, QWidget* parent = nullptr);

    // The album's stored tracks, in track-number order.
    bool listAlbumTracks(int albumId);
    void appendTrack(const QString& number, const QString& text,
                     std::unique_ptr<TrackRecord> record) override;
    void clearTracks();
    // The rows' records, first to last.
    QVector<TrackRecord> tracks() const;
    // After the album was stored: the rows' records as stored (with their ids).
    void setStoredTracks(const QVector<TrackRecord>& tracks);

    QTreeWidget* list() const { return m_list; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* editButton() const { return m_edit; }
    QPushButton* deleteButton() const { return m_delete; }

    void addTrack();
    void editTrack();
    void deleteTrack();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateButtons();
    void relabel(int row);
    int nextTrackNumber() const;

    CVastryDoc& m_document;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    // One record per row, in row order (the list never sorts).
    std::vector<std::unique_ptr<TrackRecord>> m_records;
};
