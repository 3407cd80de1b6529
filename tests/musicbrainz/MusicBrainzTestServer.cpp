#include "musicbrainz/MusicBrainzTestServer.h"

#include <QFile>
#include <QHash>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>

namespace
{

QByteArray statusLine(int status)
{
    static const QHash<int, QByteArray> reasons{{200, "OK"},
                                                {307, "Temporary Redirect"},
                                                {404, "Not Found"},
                                                {500, "Internal Server Error"},
                                                {503, "Service Unavailable"}};
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasons.value(status, "Status") +
           "\r\n";
}

QByteArray headerValue(const QByteArray& request, const QByteArray& name)
{
    for (const QByteArray& line : request.split('\n')) {
        const int colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == name.toLower())
            return line.mid(colon + 1).trimmed();
    }
    return QByteArray();
}

} // namespace

MusicBrainzTestServer::MusicBrainzTestServer(Handler handler) : m_handler(std::move(handler))
{
    start();
    m_listening.acquire();
}

MusicBrainzTestServer::~MusicBrainzTestServer()
{
    quit();
    wait();
}

QList<MusicBrainzTestServer::Request> MusicBrainzTestServer::requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

QByteArray MusicBrainzTestServer::testData(const QString& name)
{
    QFile file(QLatin1String(TUNVALE_MUSICBRAINZ_TESTDATA) + QLatin1Char('/') + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

MusicBrainzTestServer::Answer MusicBrainzTestServer::json(const QByteArray& body, int status)
{
    Answer answer;
    answer.status = status;
    answer.body = body;
    return answer;
}

MusicBrainzTestServer::Handler MusicBrainzTestServer::releaseWithCover(const QString& dataFile)
{
    const QByteArray release = testData(dataFile);
    return [release](const QByteArray& target) {
        static const QByteArray jpeg = QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(100, 'x');
        return json(target.startsWith("/release/") ? jpeg : release);
    };
}

MusicBrainzTestServer::Handler MusicBrainzTestServer::discogsReleases(const QString& releaseFile,
                                                                      const QByteArrayList& unknown)
{
    const Handler release = releaseWithCover(releaseFile);
    const QByteArray linked =
        testData(QStringLiteral("search/mb_url_discogs_release_12620800.json"));
    const QByteArray notFound = testData(QStringLiteral("search/mb_url_example_com_404.json"));
    return [=](const QByteArray& target) {
        if (!target.startsWith("/ws/2/url?"))
            return release(target);
        for (const QByteArray& id : unknown)
            if (target.contains("%2Frelease%2F" + id + '&'))
                return json(notFound, 404);
        return json(linked);
    };
}

void MusicBrainzTestServer::run()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    m_port = server.serverPort();
    QObject::connect(&server, &QTcpServer::newConnection, &server, [this, &server] {
        while (QTcpSocket* socket = server.nextPendingConnection()) {
            auto pending = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, pending] {
                *pending += socket->readAll();
                if (pending->contains("\r\n\r\n") && !socket->property("answered").toBool()) {
                    socket->setProperty("answered", true);
                    answer(socket, *pending);
                }
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    m_listening.release();
    exec();
}

void MusicBrainzTestServer::answer(QTcpSocket* socket, const QByteArray& request)
{
    const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
    const QByteArray target = requestLine.value(1);
    {
        QMutexLocker lock(&m_mutex);
        m_requests.append(
            {target, headerValue(request, "User-Agent"), std::chrono::steady_clock::now()});
    }
    const Answer reply = m_handler(target);
    if (reply.delivery == Delivery::Silent)
        return;
    QByteArray head = statusLine(reply.status) + "Content-Type: " + reply.contentType +
                      "\r\nConnection: close\r\n" + reply.extraHeaders;
    QByteArray body = reply.body;
    if (reply.delivery == Delivery::Whole)
        head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    else if (reply.delivery == Delivery::Truncated)
        head += "Content-Length: " + QByteArray::number(body.size() * 2 + 2) + "\r\n";
    socket->write(head + "\r\n");
    socket->write(body);
    socket->disconnectFromHost();
}
