#pragma once

#include "freedb/CddbMatch.h"
#include "freedb/CddbServer.h"
#include "freedb/XmcdEntry.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

class DiscToc;
class LookupProgress;
class TcpConnection;
struct AlbumRecord;
struct TrackRecord;

// Talks to a CDDB server over HTTP/1.0: a query lists the discs that match a table of
// contents, a read fetches one disc's xmcd entry. Every request is one GET on a fresh
// connection, closed on every path. Calls block until the reply is whole or a limit ends it;
// failures leave a number from FreedbError in lastError().
class FreedbClient
{
public:
    using Milliseconds = std::chrono::milliseconds;

    static constexpr int ReplyChunkSize = 4096;

    FreedbClient();
    ~FreedbClient();
    FreedbClient(const FreedbClient&) = delete;
    FreedbClient& operator=(const FreedbClient&) = delete;

    // "hello=user+host+client+version&proto=level".
    QByteArray HelloString() const;
    // True when the reply listed at least one match; `matches` is emptied first.
    bool Query(const CddbServer& server, std::uint32_t discId, const DiscToc& toc,
               CddbMatchList& matches);
    // True when the reply held a complete entry; its disc ID is then the one asked for.
    bool Read(const CddbServer& server, std::uint32_t discId, const QByteArray& category,
              XmcdEntry& entry);

    // The whole lookup of the disc in `drive`: table of contents, disc ID, query at the server
    // the settings name (the public one when none), read of the first match. On success fills
    // the album's title, artist, genre, length, year and FreeDB ID and appends one new track
    // per track title. Reports a disc that cannot be read; every other failure only shows in
    // the progress text. `progress` may be null.
    bool Lookup(const QString& drive, AlbumRecord& album,
                std::vector<std::unique_ptr<TrackRecord>>& newTracks, LookupProgress* progress);
    // The same at a server of the caller's choosing; none (an unusable setting) fails the
    // lookup after the disc was read.
    bool Lookup(const QString& drive, const std::optional<CddbServer>& server, AlbumRecord& album,
                std::vector<std::unique_ptr<TrackRecord>>& newTracks, LookupProgress* progress);

    // The lookup after the disc was read: query and read for the table `toc`.
    bool LookupDisc(const DiscToc& toc, const std::optional<CddbServer>& server, AlbumRecord& album,
                    std::vector<std::unique_ptr<TrackRecord>>& newTracks, LookupProgress* progress);

    // Entry text as the user sees it: UTF-8 when the bytes are valid UTF-8, else Latin-1.
    static QString serverText(const QByteArray& bytes);

    const XmcdEntry& entry() const { return m_entry; }
    int lastError() const { return m_lastError; }

    // The request texts, exactly as they go on the wire.
    QByteArray queryRequest(const CddbServer& server, std::uint32_t discId,
                            const DiscToc& toc) const;
    QByteArray readRequest(const CddbServer& server, std::uint32_t discId,
                           const QByteArray& category) const;

    // A name for the hello: every character but ASCII letters and digits becomes "_";
    // a name that could not be obtained (null or empty) is "Unknown".
    static QByteArray helloName(const char* obtained);

    // Identity, obtained from the system at construction.
    void setUserName(const char* obtained) { m_userName = helloName(obtained); }
    void setHostName(const char* obtained) { m_hostName = helloName(obtained); }
    void setClientName(const QByteArray& name) { m_clientName = name; }
    void setClientVersion(const QByteArray& version) { m_clientVersion = version; }
    void setProtocolLevel(int level) { m_protocolLevel = level; }
    int protocolLevel() const { return m_protocolLevel; }

    // Limits. The reply time-out is the longest wait without a byte; the request time-out
    // caps connect, send and receive together; replies beyond the size cap are refused.
    void setReplyTimeout(Milliseconds timeout) { m_replyTimeout = timeout; }
    Milliseconds replyTimeout() const { return m_replyTimeout; }
    void setRequestTimeout(Milliseconds timeout) { m_requestTimeout = timeout; }
    Milliseconds requestTimeout() const { return m_requestTimeout; }
    void setPollInterval(Milliseconds interval) { m_pollInterval = interval; }
    Milliseconds pollInterval() const { return m_pollInterval; }
    void setMaxReplySize(qsizetype bytes) { m_maxReplySize = bytes; }
    qsizetype maxReplySize() const { return m_maxReplySize; }

private:
    bool exchange(const CddbServer& server, const QByteArray& request, bool queryMode,
                  QByteArray& reply);
    bool ReceiveReply(TcpConnection& connection, const QByteArray& terminator, int chunkSize,
                      bool queryMode, std::chrono::steady_clock::time_point deadline,
                      QByteArray& text);

    QByteArray m_userName;
    QByteArray m_hostName;
    QByteArray m_clientName = "Arkivo";
    QByteArray m_clientVersion = "5.00";
    int m_protocolLevel = 5;
    Milliseconds m_replyTimeout{2000};
    Milliseconds m_requestTimeout{20000};
    Milliseconds m_pollInterval{250};
    qsizetype m_maxReplySize = 1024 * 1024;
    XmcdEntry m_entry;
    int m_lastError = 0;
};
