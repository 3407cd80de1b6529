#include "musicbrainz/RateGate.h"

#include <algorithm>
#include <thread>

RateGate& RateGate::musicBrainz()
{
    static RateGate gate(MusicBrainzInterval);
    return gate;
}

void RateGate::setInterval(std::chrono::milliseconds interval)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_interval = interval;
    m_nextTurn = std::min(m_nextTurn, Clock::now() + interval);
}

bool RateGate::waitTurn(Clock::time_point deadline)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_nextTurn > deadline)
        return false;
    // The lock is held through the wait, so callers in other threads queue behind this one.
    std::this_thread::sleep_until(m_nextTurn);
    // Until the request ends, a caller of another thread waits as long as if it just had.
    m_nextTurn = Clock::now() + m_interval;
    return true;
}

void RateGate::requestEnded()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_nextTurn = std::max(m_nextTurn, Clock::now() + m_interval);
}
