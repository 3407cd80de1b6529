#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVector>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

// A CDDB server on 127.0.0.1 for tests: a thread that accepts one connection at a time, reads
// the request up to its blank line, asks the test's handler what to do and plays that script:
// pauses and bytes, then it closes the connection (or keeps it open until the script's end).
class CddbTestServer
{
public:
    struct Step {
        int pauseMs = 0; // waited before the bytes are sent
        QByteArray bytes;
    };
    struct Script {
        QVector<Step> steps;
        int holdOpenMs = 0; // kept open this long after the last step, then closed
    };
    using Handler = std::function<Script(const QByteArray& request)>;

    explicit CddbTestServer(Handler handler);
    ~CddbTestServer();
    CddbTestServer(const CddbTestServer&) = delete;
    CddbTestServer& operator=(const CddbTestServer&) = delete;

    bool isListening() const { return m_listener >= 0; }
    int port() const { return m_port; }
    // The CddbServer setting that leads here.
    QString setting() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    QList<QByteArray> requests() const;
    // The request line of a request ("GET ... HTTP/1.0").
    static QByteArray requestLine(const QByteArray& request);

    // An HTTP/1.0 reply around a body, as cddb.cgi sends it.
    static QByteArray httpReply(const QByteArray& body);
    static Script reply(const QByteArray& body) { return Script{{Step{0, httpReply(body)}}, 0}; }
    // A port on 127.0.0.1 where nothing listens.
    static int closedPort();

private:
    void run();
    void serve(int connection);
    // Waits up to `ms`; false when the server is being stopped or the client has gone.
    bool pause(int connection, int ms);

    Handler m_handler;
    int m_listener = -1;
    int m_port = 0;
    int m_wakePipe[2] = {-1, -1};
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_mutex;
    QList<QByteArray> m_requests;
    std::thread m_thread;
};
