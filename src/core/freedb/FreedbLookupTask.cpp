#include "freedb/FreedbLookupTask.h"

#include "freedb/FreedbClient.h"
#include "freedb/LookupProgress.h"

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
    // The object belongs to the creating thread; the last holder may be the worker, so the
    // deletion is handed back to the owning thread rather than done where the count drops.
    return std::shared_ptr<FreedbLookupTask>(new FreedbLookupTask(drive, server),
                                             [](FreedbLookupTask* task) { task->deleteLater(); });
}

FreedbLookupTask::FreedbLookupTask(const QString& drive, const std::optional<CddbServer>& server)
    : m_drive(drive), m_server(server)
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
    FreedbClient client;
    SignalledProgress progress(*this);
    const bool filled = client.Lookup(m_drive, m_server, result.album, result.tracks, &progress);
    result.filled = filled;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_result = std::move(result);
    }
    emit finished(filled);
}
