#include "freedb/TcpConnection.h"

#include "freedb/FreedbError.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

int winsockCode(int errnoValue)
{
    switch (errnoValue) {
    case ECONNREFUSED:
        return FreedbError::ConnectionRefused;
    case ETIMEDOUT:
        return FreedbError::TimedOut;
    case ENETUNREACH:
        return FreedbError::NetworkUnreachable;
    case EHOSTUNREACH:
        return FreedbError::HostUnreachable;
    case ECONNRESET:
    case EPIPE:
        return FreedbError::ConnectionReset;
    case ECONNABORTED:
        return FreedbError::ConnectionAborted;
    default:
        return FreedbError::NetworkDown;
    }
}

int millisecondsUntil(TcpConnection::Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - TcpConnection::Clock::now());
    return int(std::clamp<long long>(left.count(), 0, 60 * 60 * 1000));
}

bool resolveIpv4(const QString& host, in_addr& address)
{
    const QByteArray name = host.toLatin1();
    if (inet_pton(AF_INET, name.constData(), &address) == 1)
        return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.constData(), nullptr, &hints, &found) != 0 || !found)
        return false;
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

} // namespace

TcpConnection::~TcpConnection()
{
    close();
}

void TcpConnection::close()
{
    if (m_socket >= 0) {
        ::close(m_socket);
        m_socket = -1;
    }
}

void TcpConnection::failWithErrno(int errnoValue)
{
    m_error = winsockCode(errnoValue);
}

bool TcpConnection::waitFor(short events, Clock::time_point deadline)
{
    for (;;) {
        pollfd entry{m_socket, events, 0};
        const int ready = ::poll(&entry, 1, millisecondsUntil(deadline));
        if (ready > 0)
            return true;
        if (ready == 0) {
            m_error = FreedbError::TimedOut;
            return false;
        }
        if (errno != EINTR) {
            failWithErrno(errno);
            return false;
        }
    }
}

bool TcpConnection::connectTo(const QString& host, int port, Clock::time_point deadline)
{
    close();
    m_error = FreedbError::None;
    // Name resolution goes through the system resolver, which has time-outs of its own.
    in_addr address{};
    if (host.isEmpty() || !resolveIpv4(host, address)) {
        m_error = FreedbError::InvalidArgument;
        return false;
    }

    m_socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_socket < 0) {
        failWithErrno(errno);
        return false;
    }
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<uint16_t>(port));
    target.sin_addr = address;
    if (::connect(m_socket, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0)
        return true;
    if (errno != EINPROGRESS) {
        failWithErrno(errno);
        close();
        return false;
    }
    // A non-blocking connect, so an address that swallows the handshake costs the request's
    // deadline rather than the system's two-minute retry.
    if (!waitFor(POLLOUT, deadline)) {
        close();
        return false;
    }
    int socketError = 0;
    socklen_t length = sizeof socketError;
    if (::getsockopt(m_socket, SOL_SOCKET, SO_ERROR, &socketError, &length) != 0)
        socketError = errno;
    if (socketError != 0) {
        failWithErrno(socketError);
        close();
        return false;
    }
    return true;
}

bool TcpConnection::sendAll(const QByteArray& data, Clock::time_point deadline)
{
    qsizetype sent = 0;
    while (sent < data.size()) {
        const ssize_t n =
            ::send(m_socket, data.constData() + sent, size_t(data.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!waitFor(POLLOUT, deadline))
                return false;
            continue;
        }
        failWithErrno(n < 0 ? errno : EPIPE);
        return false;
    }
    return true;
}

TcpConnection::ReadResult TcpConnection::read(char* buffer, int capacity,
                                              std::chrono::milliseconds wait, int& received)
{
    received = 0;
    pollfd entry{m_socket, POLLIN, 0};
    const int ready = ::poll(&entry, 1, int(std::max<long long>(0, wait.count())));
    if (ready == 0 || (ready < 0 && errno == EINTR))
        return ReadResult::Idle;
    if (ready < 0) {
        failWithErrno(errno);
        return ReadResult::Failed;
    }
    const ssize_t n = ::recv(m_socket, buffer, size_t(capacity), 0);
    if (n > 0) {
        received = int(n);
        return ReadResult::Data;
    }
    if (n == 0)
        return ReadResult::Closed;
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
        return ReadResult::Idle;
    failWithErrno(errno);
    return ReadResult::Failed;
}
