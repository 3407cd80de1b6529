#pragma once

#include "views/AlbumListFillWorker.h"

#include <QObject>
#include <QThread>
#include <memory>

// Fills of the album list on a thread of their own, for catalogues so large that a fill or a
// sort would stop the window: the window goes on painting and taking input meanwhile. A new
// fill interrupts the one still running, whose rows are never delivered.
class AlbumListFiller : public QObject
{
    Q_OBJECT

public:
    explicit AlbumListFiller(QObject* parent = nullptr);
    ~AlbumListFiller() override;

    void start(AlbumListRequest request);
    // No fill started so far is delivered.
    void cancel();
    bool isFilling() const { return m_filling; }

signals:
    // The newest fill is done (or failed: see AlbumListRows::ok).
    void filled(const std::shared_ptr<AlbumListRows>& rows);
    // Carries a request to the worker's thread.
    void requested(const AlbumListRequest& request);

private:
    void receive(const std::shared_ptr<AlbumListRows>& rows);

    QThread m_thread;
    std::shared_ptr<AlbumListFillControl> m_control;
    int m_latest = 0;
    bool m_filling = false;
};
