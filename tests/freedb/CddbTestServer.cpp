#include "freedb/CddbTestServer.h"

#include <arpa/inet.h>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

int bindLoopback()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int boundPort(int fd)
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

} // namespace

CddbTestServer::CddbTestServer(Handler handler) : m_handler(std::move(handler))
{
    if (::pipe2(m_wakePipe, O_CLOEXEC) != 0)
        return;
    m_listener = bindLoopback();
    if (m_listener < 0 || ::listen(m_listener, 8) != 0) {
        if (m_listener >= 0)
            ::close(m_listener);
        m_listener = -1;
        return;
    }
    m_port = boundPort(m_listener);
    m_thread = std::thread([this] { run(); });
}

CddbTestServer::~CddbTestServer()
{
    m_stopping = true;
    if (m_wakePipe[1] >= 0) {
        const char byte = 'x';
        [[maybe_unused]] const ssize_t written = ::write(m_wakePipe[1], &byte, 1);
    }
    if (m_thread.joinable())
        m_thread.join();
    if (m_listener >= 0)
        ::close(m_listener);
    for (int fd : m_wakePipe) {
        if (fd >= 0)
            ::close(fd);
    }
}

QList<QByteArray> CddbTestServer::requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

QByteArray CddbTestServer::requestLine(const QByteArray& request)
{
    const int end = request.indexOf("\r\n");
    return end < 0 ? request : request.left(end);
}

QByteArray CddbTestServer::httpReply(const QByteArray& body)
{
    return "HTTP/1.0 200 OK\r\nServer: Apache\r\nContent-Type: text/plain; charset=ISO-8859-1\r\n"
           "\r\n" +
           body;
}

int CddbTestServer::closedPort()
{
    const int fd = bindLoopback();
    if (fd < 0)
        return 0;
    const int port = boundPort(fd);
    ::close(fd);
    return port;
}

bool CddbTestServer::pause(int connection, int ms)
{
    // Ends early when the test stops the server or the client hangs up, so a client that gave
    // up never leaves the next request waiting behind a long pause.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        if (m_stopping)
            return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return true;
        pollfd entries[2] = {{connection, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
        if (::poll(entries, 2, int(left.count())) < 0 || (entries[1].revents & POLLIN))
            return false;
        if (entries[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            char buffer[256];
            if (::recv(connection, buffer, sizeof buffer, 0) <= 0)
                return false;
        }
    }
}

void CddbTestServer::run()
{
    while (!m_stopping) {
        pollfd entries[2] = {{m_listener, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
        if (::poll(entries, 2, -1) < 0 || m_stopping || (entries[1].revents & POLLIN))
            break;
        if (!(entries[0].revents & POLLIN))
            continue;
        const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        serve(connection);
        ::close(connection);
    }
}

void CddbTestServer::serve(int connection)
{
    // The request ends with its blank line; the client sends nothing after it.
    QByteArray request;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!request.contains("\r\n\r\n") && request.size() < 65536) {
        if (std::chrono::steady_clock::now() > giveUp || m_stopping)
            return;
        pollfd entries[2] = {{connection, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
        if (::poll(entries, 2, 100) < 0 || (entries[1].revents & POLLIN))
            return;
        if (!(entries[0].revents & (POLLIN | POLLHUP)))
            continue;
        char buffer[4096];
        const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0)
            return;
        request.append(buffer, int(n));
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.append(request);
    }
    const Script script = m_handler(request);
    for (const Step& step : script.steps) {
        if (!pause(connection, step.pauseMs))
            return;
        qsizetype sent = 0;
        while (sent < step.bytes.size()) {
            const ssize_t n = ::send(connection, step.bytes.constData() + sent,
                                     size_t(step.bytes.size() - sent), MSG_NOSIGNAL);
            if (n <= 0)
                return;
            sent += n;
        }
    }
    pause(connection, script.holdOpenMs);
}
