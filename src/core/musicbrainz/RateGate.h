#pragma once

#include <chrono>
#include <mutex>

// Keeps the requests to one service at least an interval apart across the whole process,
// whichever thread or lookup makes them. The interval counts from the end of the previous
// request, so the service sees the gap however long a request took in transit.
class RateGate
{
public:
    using Clock = std::chrono::steady_clock;

    // MusicBrainz asks for one request a second.
    static constexpr std::chrono::milliseconds MusicBrainzInterval{1000};

    explicit RateGate(std::chrono::milliseconds interval) : m_interval(interval) {}

    // The gate of the MusicBrainz web service, MusicBrainzInterval apart.
    static RateGate& musicBrainz();
    // Tests against a local server shorten the wait; the program never changes it.
    void setInterval(std::chrono::milliseconds interval);

    // Waits for the turn; false, without waiting, when the turn comes after `deadline`.
    bool waitTurn(Clock::time_point deadline);
    // The request that waited has ended.
    void requestEnded();

private:
    std::chrono::milliseconds m_interval;
    std::mutex m_mutex;
    Clock::time_point m_nextTurn{};
};
