// The Find Online dialog from a search to its filled candidate list, with a real answer of the
// service (100 candidates, 665 KB) served on 127.0.0.1, against its floor: the same answer
// fetched alone. The difference is what the collector waits for once the answer has arrived.
#include "editors/FindOnlineDialog.h"
#include "musicbrainz/HttpFetcher.h"
#include "musicbrainz/RateGate.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThreadPool>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <memory>

namespace
{

// Answers every request with the search answer, then closes the connection.
class AnswerServer
{
public:
    AnswerServer()
    {
        QFile file(QStringLiteral(TUNVALE_SEARCH_ANSWER));
        if (file.open(QIODevice::ReadOnly))
            m_answer = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
                       QByteArray::number(file.size()) + "\r\nConnection: close\r\n\r\n" +
                       file.readAll();
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                serve(socket);
        });
    }
    QUrl address() const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()));
    }

private:
    void serve(QTcpSocket* socket)
    {
        auto request = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
            *request += socket->readAll();
            if (!request->contains("\r\n\r\n"))
                return;
            socket->write(m_answer);
            socket->disconnectFromHost();
        });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    QTcpServer m_server;
    QByteArray m_answer;
};

AnswerServer& server()
{
    static AnswerServer instance;
    return instance;
}

LookupSettings localSettings()
{
    LookupSettings settings;
    settings.musicBrainzServer = server().address();
    settings.fetchCovers = false; // the thumbnails would only add requests to the measure
    return settings;
}

void SearchToCandidateList(benchmark::State& state)
{
    FindOnlineDialog dialog(localSettings(), QStringLiteral("Fleetwood Mac - Rumours"), false);
    dialog.show();
    for (auto _ : state) {
        QEventLoop loop;
        QObject::connect(&dialog, &FindOnlineDialog::searchFinished, &loop, &QEventLoop::quit);
        dialog.search();
        loop.exec();
        if (dialog.candidateList()->topLevelItemCount() != 100)
            state.SkipWithError("the candidates were not listed");
    }
}

// The answer fetched on a worker, as the dialog's search does, and nothing else.
void SearchAnswerFetchFloor(benchmark::State& state)
{
    HttpFetcher fetcher;
    const QUrl url = server().address().resolved(QUrl(QStringLiteral("/ws/2/release?query=x")));
    for (auto _ : state) {
        QEventLoop loop;
        HttpFetcher::Reply reply;
        QThreadPool::globalInstance()->start([&] {
            reply = fetcher.get(url, HttpFetcher::Clock::now() + std::chrono::seconds(10));
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
        loop.exec();
        if (!reply.received || reply.body.size() < 600000)
            state.SkipWithError("the answer did not arrive");
    }
}

} // namespace

BENCHMARK(SearchToCandidateList)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SearchAnswerFetchFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    // A local stand-in: no second between requests.
    RateGate::musicBrainz().setInterval(std::chrono::milliseconds(0));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
