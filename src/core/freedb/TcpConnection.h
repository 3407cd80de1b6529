#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>

// One blocking-style TCP connection over POSIX sockets, each wait bounded by a deadline so a
// dead or slow server cannot hold the caller longer than it allows. Closed when destroyed.
// Failures leave a Winsock-style error number (see FreedbClient) in error().
class TcpConnection
{
public:
    using Clock = std::chrono::steady_clock;

    enum class ReadResult { Data, Idle, Closed, Failed };

    TcpConnection() = default;
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // IPv4, as the service has always been reached; a dotted address is used as it is, a name
    // is resolved and its first address taken.
    bool connectTo(const QString& host, int port, Clock::time_point deadline);
    bool sendAll(const QByteArray& data, Clock::time_point deadline);
    // Waits up to `wait` for bytes and reads at most `capacity` of them into `buffer`.
    ReadResult read(char* buffer, int capacity, std::chrono::milliseconds wait, int& received);
    void close();

    int error() const { return m_error; }

private:
    bool waitFor(short events, Clock::time_point deadline);
    void failWithErrno(int errnoValue);

    int m_socket = -1;
    int m_error = 0;
};
