#pragma once

#include "musicbrainz/LookupSettings.h"
#include "musicbrainz/MusicBrainzClient.h"

#include <QObject>
#include <QVector>
#include <functional>
#include <memory>
#include <mutex>

class ReleaseSearchQuery;

// One question to MusicBrainz or the Cover Art Archive on a pool thread, so the dialog that
// asked stays live through the network's waits: a release search, a whole release, or a
// candidate's thumbnail. The answer arrives as a queued signal; a receiver that stopped
// listening simply gets nothing, and the task lives until the worker is done with it.
class OnlineReleaseTask : public QObject, public std::enable_shared_from_this<OnlineReleaseTask>
{
    Q_OBJECT

public:
    struct Result {
        MusicBrainzClient::Answer answer = MusicBrainzClient::Answer::Failed;
        QString error; // one line for the collector when the answer is not Found
        QVector<ReleaseCandidate> candidates;
        MusicBrainzRelease::Fill release;
        QByteArray thumbnail; // JPEG bytes
    };

    // Connect to finished() before start().
    static std::shared_ptr<OnlineReleaseTask> search(const ReleaseSearchQuery& query,
                                                     const LookupSettings& settings);
    // The release with its front cover when `wantCover` and the settings fetch covers.
    static std::shared_ptr<OnlineReleaseTask>
    lookUp(const QString& releaseId, const LookupSettings& settings, bool wantCover);
    static std::shared_ptr<OnlineReleaseTask> thumbnail(const QString& releaseId,
                                                        const LookupSettings& settings);

    void start();
    // Once finished() came; empty before, and after a take.
    Result takeResult();

signals:
    void finished();

private:
    using Work = std::function<void(Result&)>;
    static std::shared_ptr<OnlineReleaseTask> create(Work work);
    explicit OnlineReleaseTask(Work work);
    void run();

    const Work m_work;
    std::mutex m_mutex;
    Result m_result;
};
