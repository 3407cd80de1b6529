#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QSemaphore>
#include <QString>
#include <QThread>
#include <chrono>
#include <functional>

class QTcpSocket;

// A small HTTP/1.1 server on 127.0.0.1 in a thread of its own, standing in for the MusicBrainz
// web service and the Cover Art Archive: the test's handler picks the answer for each request
// target. Every request is recorded with its User-Agent and the time the server's own clock
// saw it whole.
class MusicBrainzTestServer : public QThread
{
public:
    enum class Delivery {
        Whole,     // status, headers with Content-Length, body
        NoLength,  // no Content-Length: the body ends when the connection closes
        Truncated, // Content-Length promises twice the body, then the connection closes
        Silent,    // reads the request and never answers
    };
    struct Answer {
        int status = 200;
        QByteArray body;
        QByteArray contentType = "application/json; charset=utf-8";
        QByteArray extraHeaders; // whole lines, each ending in "\r\n"
        Delivery delivery = Delivery::Whole;
    };
    struct Request {
        QByteArray target; // path and query, as sent
        QByteArray userAgent;
        std::chrono::steady_clock::time_point seen;
    };
    using Handler = std::function<Answer(const QByteArray& target)>;

    explicit MusicBrainzTestServer(Handler handler);
    ~MusicBrainzTestServer() override;

    int port() const { return m_port; }
    // The MusicBrainzServer / CoverArtServer setting that leads here.
    QString setting() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port); }
    QList<Request> requests() const;

    // A body from tests/musicbrainz/data.
    static QByteArray testData(const QString& name);
    static Answer json(const QByteArray& body, int status = 200);
    // Both services for one disc: the answer in tests/musicbrainz/data for every lookup and a
    // small JPEG for every cover.
    static Handler releaseWithCover(const QString& dataFile);
    // Both services for albums brought in from Discogs: every Discogs release is the release
    // of the shared Discogs answer, except those of `unknown` (the service's 404); every release
    // lookup answers `releaseFile`, every cover a small JPEG.
    static Handler discogsReleases(const QString& releaseFile, const QByteArrayList& unknown);

protected:
    void run() override;

private:
    void answer(QTcpSocket* socket, const QByteArray& request);

    Handler m_handler;
    int m_port = 0;
    QSemaphore m_listening;
    mutable QMutex m_mutex;
    QList<Request> m_requests;
};
