#pragma once

#include "musicbrainz/LookupSettings.h"
#include "musicbrainz/OnlineReleaseTask.h"

#include <QDialog>
#include <QHash>
#include <QPixmap>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// Finds a record at MusicBrainz by barcode, catalogue number or "artist - title" and lets the
// collector pick the pressing. Every question runs on a worker, so the dialog stays live;
// closing it abandons what is running, and an answer to an earlier question is dropped.
class FindOnlineDialog : public QDialog
{
    Q_OBJECT

public:
    // `wantCover`: the chosen release brings its front cover (the album has none yet).
    FindOnlineDialog(const LookupSettings& settings, const QString& searchText, bool wantCover,
                     QWidget* parent = nullptr);
    ~FindOnlineDialog() override;

    // The chosen release, whole, once the dialog was accepted.
    MusicBrainzRelease::Fill takeRelease() { return std::move(m_release); }

    QLineEdit* searchEdit() const { return m_search; }
    QTreeWidget* candidateList() const { return m_candidates; }
    QLabel* statusLine() const { return m_status; }
    QLabel* coverLabel() const { return m_cover; }
    QPushButton* useButton() const { return m_use; }
    bool busy() const { return m_searchTask || m_lookupTask; }

    void search();
    void useSelected();

    void done(int result) override;

signals:
    // The candidates of the last search are in the list (or the status line says why not).
    void searchFinished();

private:
    void buildLayout();
    void showCandidates(OnlineReleaseTask::Result result);
    void finishLookup(OnlineReleaseTask::Result result);
    void showCoverOfCurrent();
    void showThumbnail(const QString& releaseId, const QByteArray& jpeg);
    QString currentReleaseId() const;
    void updateButtons();
    // Runs `task` and hands its result to `finish` unless `slot` was given to another task
    // (or cleared) in the meantime.
    using Finish = std::function<void(FindOnlineDialog*, OnlineReleaseTask::Result)>;
    void run(std::shared_ptr<OnlineReleaseTask>& slot, std::shared_ptr<OnlineReleaseTask> task,
             Finish finish);
    void abandon(std::shared_ptr<OnlineReleaseTask>& slot);

    const LookupSettings m_settings;
    const bool m_wantCover;
    QLineEdit* m_search = nullptr;
    QPushButton* m_find = nullptr;
    QTreeWidget* m_candidates = nullptr;
    QLabel* m_cover = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_use = nullptr;
    std::shared_ptr<OnlineReleaseTask> m_searchTask;
    std::shared_ptr<OnlineReleaseTask> m_lookupTask;
    std::shared_ptr<OnlineReleaseTask> m_thumbnailTask;
    QString m_thumbnailId;
    QHash<QString, QPixmap> m_thumbnails;
    MusicBrainzRelease::Fill m_release;
};
