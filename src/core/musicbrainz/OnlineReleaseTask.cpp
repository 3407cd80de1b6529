#include "musicbrainz/OnlineReleaseTask.h"

#include "musicbrainz/CoverArtFetcher.h"
#include "musicbrainz/ReleaseLookup.h"
#include "musicbrainz/ReleaseSearchQuery.h"

#include <QThreadPool>
#include <utility>

namespace
{

const QString NoServer = QStringLiteral("The MusicBrainz server setting is no usable address.");

} // namespace

std::shared_ptr<OnlineReleaseTask> OnlineReleaseTask::create(Work work)
{
    // The last holder may be the worker: the deletion goes back to the owning thread.
    return std::shared_ptr<OnlineReleaseTask>(new OnlineReleaseTask(std::move(work)),
                                              [](OnlineReleaseTask* task) { task->deleteLater(); });
}

OnlineReleaseTask::OnlineReleaseTask(Work work) : m_work(std::move(work)) {}

std::shared_ptr<OnlineReleaseTask> OnlineReleaseTask::search(const ReleaseSearchQuery& query,
                                                             const LookupSettings& settings)
{
    return create([query, server = settings.musicBrainzServer](Result& result) {
        if (!server) {
            result.error = NoServer;
            return;
        }
        MusicBrainzClient client(*server);
        result.answer = client.searchReleases(query, result.candidates);
        result.error = client.lastError();
    });
}

std::shared_ptr<OnlineReleaseTask>
OnlineReleaseTask::lookUp(const QString& releaseId, const LookupSettings& settings, bool wantCover)
{
    return create([releaseId, settings, wantCover](Result& result) {
        result.answer =
            ReleaseLookup::lookUp(releaseId, settings, wantCover, result.release, &result.error);
    });
}

std::shared_ptr<OnlineReleaseTask> OnlineReleaseTask::thumbnail(const QString& releaseId,
                                                                const LookupSettings& settings)
{
    return create([releaseId, server = settings.coverArtServer,
                   wanted = settings.fetchCovers](Result& result) {
        if (!wanted || !server)
            return;
        result.thumbnail = CoverArtFetcher(*server).fetchThumbnail(releaseId);
        result.answer = result.thumbnail.isEmpty() ? MusicBrainzClient::Answer::NotFound
                                                   : MusicBrainzClient::Answer::Found;
    });
}

void OnlineReleaseTask::start()
{
    QThreadPool::globalInstance()->start([self = shared_from_this()] { self->run(); });
}

OnlineReleaseTask::Result OnlineReleaseTask::takeResult()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::exchange(m_result, Result{});
}

void OnlineReleaseTask::run()
{
    Result result;
    m_work(result);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_result = std::move(result);
    }
    emit finished();
}
