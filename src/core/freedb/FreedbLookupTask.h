#pragma once

#include "db/AlbumRecord.h"
#include "db/TrackRecord.h"
#include "freedb/CddbServer.h"
#include "musicbrainz/LookupSettings.h"

#include <QObject>
#include <QString>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

// One disc lookup on a pool thread, so the window that asked for it keeps repainting during
// the disc read and the network waits. The stage texts and the end arrive as queued signals in
// the receiver's thread; a receiver that is gone by then simply gets nothing. The task lives as
// long as its last holder: the worker keeps it until the client gives up, however early the
// window that started it closes.
class FreedbLookupTask : public QObject, public std::enable_shared_from_this<FreedbLookupTask>
{
    Q_OBJECT

public:
    struct Result {
        bool filled = false;
        AlbumRecord album;
        std::vector<std::unique_ptr<TrackRecord>> tracks;
    };

    // Connect to the signals before start(). `server` none fails after the disc was read.
    static std::shared_ptr<FreedbLookupTask> create(const QString& drive,
                                                    const std::optional<CddbServer>& server);
    // The services and their order as `settings` give them.
    static std::shared_ptr<FreedbLookupTask> create(const QString& drive,
                                                    const LookupSettings& settings);
    void start();
    // The filled album and new tracks once finished() came; empty before, and after a take.
    Result takeResult();

signals:
    void progressChanged(const QString& text);
    void finished(bool filled);

private:
    FreedbLookupTask(const QString& drive, const LookupSettings& settings);
    void run();

    const QString m_drive;
    const LookupSettings m_settings;
    std::mutex m_mutex;
    Result m_result;
};
