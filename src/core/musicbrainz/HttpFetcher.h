#pragma once

#include <QByteArray>
#include <QUrl>
#include <chrono>

// One HTTP GET, waited for on the calling thread (a worker thread in the program, so no
// window freezes): the body is capped, the whole exchange ends at a deadline, redirects are
// followed a bounded number of times and never from HTTPS to plain HTTP.
class HttpFetcher
{
public:
    using Clock = std::chrono::steady_clock;

    // Why no answer came, for a message that tells the user what to do about it.
    enum class Failure { None, Unreachable, TimedOut, TooLarge, BrokeOff };

    struct Reply {
        bool received = false;                  // a whole answer with a status arrived
        Failure failure = Failure::Unreachable; // None when received
        int status = 0;
        QByteArray body;
        int retryAfterSeconds = -1; // the Retry-After header in seconds, -1 when absent
    };

    void setUserAgent(const QByteArray& agent) { m_userAgent = agent; }
    void setAccept(const QByteArray& accept) { m_accept = accept; }
    void setMaxBodySize(qint64 bytes) { m_maxBodySize = bytes; }
    qint64 maxBodySize() const { return m_maxBodySize; }

    Reply get(const QUrl& url, Clock::time_point deadline) const;

private:
    QByteArray m_userAgent;
    QByteArray m_accept = QByteArrayLiteral("*/*");
    qint64 m_maxBodySize = 4 * 1024 * 1024;
    static constexpr int MaxRedirects = 5;
};
