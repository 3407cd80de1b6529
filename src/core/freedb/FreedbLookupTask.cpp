#include "freedb/FreedbLookupTask.h"

#include "freedb/LookupProgress.h"
#include "musicbrainz/DiscLookup.h"

#include <QThreadPool>
#include <utility>

namespace
{

class SignalledProgress : public LookupProgress
{
public:
    explicit SignalledProgress(FreedbLookupTask& task) : m_task(task) {}
    void setProgressText(const QString& text) override { emit m_task.progressChanged(text); }

private:
    FreedbLookupTask& m_task;
};

} // namespace

std::shared_ptr<FreedbLookupTask> FreedbLookupTask::create(const QString& drive,
                                                           const std::optional<CddbServer>& server)
{
    return create(drive, LookupSettings::cddbOnly(server));
}

std::shared_ptr<FreedbLookupTask> FreedbLookupTask::create(const QString& drive,
                                                           const LookupSettings& settings)
{
    // The object belongs to the creating thread; the last holder may be the worker, so the
    // deletion is handed back to the owning thread rather than done where the count drops.
    return std::shared_ptr<FreedbLookupTask>(new FreedbLookupTask(drive, settings),
                                             [](FreedbLookupTask* task) { task->deleteLater(); });
}

FreedbLookupTask::FreedbLookupTask(const QString& drive, const LookupSettings& settings)
    : m_drive(drive), m_settings(settings)
{
}

void FreedbLookupTask::start()
{
    QThreadPool::globalInstance()->start([self = shared_from_this()] { self->run(); });
}

FreedbLookupTask::Result FreedbLookupTask::takeResult()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::exchange(m_result, Result{});
}

void FreedbLookupTask::run()
{
    Result result;
    SignalledProgress progress(*this);
    const bool filled =
        DiscLookup::Lookup(m_drive, m_settings, result.album, result.tracks, &progress);
    result.filled = filled;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_result = std::move(result);
    }
    emit finished(filled);
}
