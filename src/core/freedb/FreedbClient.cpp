#include "freedb/FreedbClient.h"

#include "app/AppSettings.h"
#include "db/AlbumRecord.h"
#include "db/TrackRecord.h"
#include "freedb/CddbReply.h"
#include "freedb/DiscToc.h"
#include "freedb/FreedbError.h"
#include "freedb/LookupProgress.h"
#include "freedb/ReplyBuffer.h"
#include "freedb/TcpConnection.h"

#include <QStringDecoder>
#include <algorithm>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace
{

using Clock = std::chrono::steady_clock;

const QByteArray replyTerminator = QByteArrayLiteral("\r\n.\r\n");

QByteArray userNameFromSystem()
{
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_name && *entry->pw_name)
        return entry->pw_name;
    return qgetenv("USER");
}

QByteArray hostNameFromSystem()
{
    char name[260] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return QByteArray();
    return name;
}

QByteArray discIdText(std::uint32_t discId)
{
    return QByteArray::number(discId, 16).rightJustified(8, '0');
}

// The category comes from the server's own match line; in the read request it is one word of
// the query string, so anything but the usual letters is percent-encoded.
QByteArray categoryText(const QByteArray& category)
{
    return category.toPercentEncoding(QByteArray(), QByteArray(), '%');
}

// Entries are bytes in the server's character set: UTF-8 at protocol level 6, ISO-8859-1 below
// it. Text that is valid UTF-8 is taken as such (Latin-1 names almost never are); anything else
// is read as Latin-1, which maps every byte to a character.
QString displayText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

QString minutesAndSeconds(int seconds)
{
    return QString::asprintf("%02d:%02d", seconds / 60, seconds % 60);
}

void showProgress(LookupProgress* progress, const char* text)
{
    if (progress)
        progress->setProgressText(QString::fromLatin1(text));
}

} // namespace

FreedbClient::FreedbClient()
    : m_userName(helloName(userNameFromSystem().constData())),
      m_hostName(helloName(hostNameFromSystem().constData()))
{
}

FreedbClient::~FreedbClient() = default;

QByteArray FreedbClient::helloName(const char* obtained)
{
    if (!obtained || !*obtained)
        return QByteArrayLiteral("Unknown");
    QByteArray name(obtained);
    for (char& c : name) {
        const bool letterOrDigit =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!letterOrDigit)
            c = '_';
    }
    return name;
}

QByteArray FreedbClient::HelloString() const
{
    return "hello=" + m_userName + '+' + m_hostName + '+' + m_clientName + '+' + m_clientVersion +
           "&proto=" + QByteArray::number(m_protocolLevel);
}

QByteArray FreedbClient::queryRequest(const CddbServer& server, std::uint32_t discId,
                                      const DiscToc& toc) const
{
    const int tracks = toc.trackCount();
    QByteArray offsets;
    for (int i = 0; i < tracks; ++i) {
        if (i > 0)
            offsets += '+';
        offsets += QByteArray::number(toc.trackStart(i).frameOffset());
    }
    const QByteArray totalSeconds = QByteArray::number(toc.leadOut().wholeSeconds());
    // HTTP/1.0 needs no Host header, but a server that shares its address with other sites
    // finds the CGI only through it.
    return "GET " + server.scriptPath().toLatin1() + "?cmd=cddb+query+" + discIdText(discId) + '+' +
           QByteArray::number(tracks) + '+' + offsets + '+' + totalSeconds + '&' + HelloString() +
           " HTTP/1.0\r\nHost: " + server.hostHeader().toLatin1() + "\r\n\r\n";
}

QByteArray FreedbClient::readRequest(const CddbServer& server, std::uint32_t discId,
                                     const QByteArray& category) const
{
    return "GET " + server.scriptPath().toLatin1() + "?cmd=cddb+read+" + categoryText(category) +
           '+' + discIdText(discId) + '&' + HelloString() +
           " HTTP/1.0\r\nHost: " + server.hostHeader().toLatin1() + "\r\n\r\n";
}

bool FreedbClient::Query(const CddbServer& server, std::uint32_t discId, const DiscToc& toc,
                         CddbMatchList& matches)
{
    matches.clear();
    m_lastError = FreedbError::None;
    if (toc.trackCount() < 1) {
        m_lastError = FreedbError::InvalidArgument;
        return false;
    }
    QByteArray reply;
    if (!exchange(server, queryRequest(server, discId, toc), true, reply))
        return false;
    QByteArray body;
    if (!CddbReply::httpBody(reply, body)) {
        m_lastError = FreedbError::ProtocolNotSupported;
        return false;
    }
    switch (CddbReply::parseQuery(body, matches)) {
    case CddbReply::QueryResult::Matches:
        return true;
    case CddbReply::QueryResult::NoMatch:
        return false;
    case CddbReply::QueryResult::ProtocolError:
        break;
    }
    m_lastError = FreedbError::ProtocolNotSupported;
    return false;
}

bool FreedbClient::Read(const CddbServer& server, std::uint32_t discId, const QByteArray& category,
                        XmcdEntry& entry)
{
    m_lastError = FreedbError::None;
    QByteArray reply;
    if (!exchange(server, readRequest(server, discId, category), false, reply))
        return false;
    QByteArray body;
    if (!CddbReply::httpBody(reply, body) || !entry.Parse(body)) {
        m_lastError = FreedbError::ProtocolNotSupported;
        return false;
    }
    entry.discId = discId;
    return true;
}

bool FreedbClient::exchange(const CddbServer& server, const QByteArray& request, bool queryMode,
                            QByteArray& reply)
{
    const Clock::time_point deadline = Clock::now() + m_requestTimeout;
    TcpConnection connection;
    if (!connection.connectTo(server.host(), server.port(), deadline) ||
        !connection.sendAll(request, deadline)) {
        m_lastError = connection.error();
        return false;
    }
    return ReceiveReply(connection, replyTerminator, ReplyChunkSize, queryMode, deadline, reply);
}

bool FreedbClient::ReceiveReply(TcpConnection& connection, const QByteArray& terminator,
                                int chunkSize, bool queryMode, Clock::time_point deadline,
                                QByteArray& text)
{
    ReplyBuffer buffer(terminator, queryMode, m_maxReplySize);
    QByteArray chunk(chunkSize, Qt::Uninitialized);
    Clock::time_point lastProgress = Clock::now();
    for (;;) {
        const Clock::time_point now = Clock::now();
        const auto idle = std::chrono::duration_cast<Milliseconds>(now - lastProgress);
        if (idle > m_replyTimeout || now >= deadline) {
            m_lastError = FreedbError::TimedOut;
            return false;
        }
        // Wait at most one poll interval, and never past either limit (the idle one by a
        // millisecond, so its "more than" is reached without spinning).
        const auto toDeadline = std::chrono::duration_cast<Milliseconds>(deadline - now);
        const Milliseconds wait = std::max(
            Milliseconds(0), std::min({m_pollInterval, m_replyTimeout - idle + Milliseconds(1),
                                       toDeadline + Milliseconds(1)}));
        int received = 0;
        switch (connection.read(chunk.data(), chunkSize, wait, received)) {
        case TcpConnection::ReadResult::Idle:
            continue;
        case TcpConnection::ReadResult::Closed:
            // A one-line query reply may end with the connection; anything else, a read's
            // error line included, is cut short.
            if (buffer.finish() == ReplyBuffer::State::Complete) {
                text = buffer.text();
                return true;
            }
            m_lastError = FreedbError::Disconnected;
            return false;
        case TcpConnection::ReadResult::Failed:
            m_lastError = connection.error();
            return false;
        case TcpConnection::ReadResult::Data:
            break;
        }
        lastProgress = Clock::now();
        switch (buffer.append(chunk.constData(), received)) {
        case ReplyBuffer::State::NeedMore:
            continue;
        case ReplyBuffer::State::TooLarge:
            m_lastError = FreedbError::MessageTooLong;
            return false;
        case ReplyBuffer::State::Complete:
            text = buffer.text();
            return true;
        }
    }
}

bool FreedbClient::Lookup(const QString& drive, AlbumRecord& album,
                          std::vector<std::unique_ptr<TrackRecord>>& newTracks,
                          LookupProgress* progress)
{
    return Lookup(drive, CddbServer::fromSetting(AppSettings().read(SettingsTable::CddbServer)),
                  album, newTracks, progress);
}

QString FreedbClient::serverText(const QByteArray& bytes)
{
    return displayText(bytes);
}

bool FreedbClient::Lookup(const QString& drive, const std::optional<CddbServer>& server,
                          AlbumRecord& album, std::vector<std::unique_ptr<TrackRecord>>& newTracks,
                          LookupProgress* progress)
{
    // POSIX sockets need no start-up call, and every send passes MSG_NOSIGNAL, so a server that
    // hangs up early cannot raise SIGPIPE.
    m_lastError = FreedbError::None;
    m_entry.Reset();
    DiscToc toc;

    showProgress(progress, "Computing Disc ID");
    std::uint32_t discId = 0;
    if (!ReadDiscId(drive, toc, discId))
        return false;
    return LookupDisc(toc, server, album, newTracks, progress);
}

bool FreedbClient::LookupDisc(const DiscToc& toc, const std::optional<CddbServer>& server,
                              AlbumRecord& album,
                              std::vector<std::unique_ptr<TrackRecord>>& newTracks,
                              LookupProgress* progress)
{
    m_lastError = FreedbError::None;
    m_entry.Reset();
    const std::uint32_t discId = toc.DiscId();
    showProgress(progress, "Please wait, retrieving available discs...");
    CddbMatchList matches;
    if (!server) {
        m_lastError = FreedbError::InvalidArgument;
        showProgress(progress, "No matching discs...");
        return false;
    }
    if (!Query(*server, discId, toc, matches) || matches.isEmpty()) {
        showProgress(progress, "No matching discs...");
        return false;
    }

    // The first match is taken; the program offers no choice among several.
    const CddbMatch& match = matches.first();
    if (!Read(*server, match.discId, match.category, m_entry)) {
        showProgress(progress, "Unable to get the disc info...");
        return false;
    }

    album.title = displayText(m_entry.title);
    album.artist = displayText(m_entry.artist);
    album.genre = displayText(m_entry.genre);
    album.freedbId = QString::number(m_entry.discId);
    album.length = minutesAndSeconds(m_entry.discLength);
    album.year = m_entry.year;

    const int discTracks = toc.trackCount();
    for (int e = 0; e < m_entry.trackTitles.size(); ++e) {
        auto track = std::make_unique<TrackRecord>();
        track->trackNumber = e + 1;
        if (e < discTracks) {
            const int seconds =
                toc.trackStart(e + 1).wholeSeconds() - toc.trackStart(e).wholeSeconds();
            if (seconds > 0)
                track->length = minutesAndSeconds(seconds);
        }
        track->title = displayText(m_entry.trackTitles.at(e));
        newTracks.push_back(std::move(track));
    }

    showProgress(progress, "Done");
    return true;
}
