#pragma once

#include "musicbrainz/HttpFetcher.h"

#include <QString>
#include <QUrl>
#include <chrono>

// Fetches a release's front cover (the 500-pixel rendition) from the Cover Art Archive and
// keeps it in the per-user data folder as "covers/<release id>-front.jpg". A failure of any
// kind only means no cover.
class CoverArtFetcher
{
public:
    using Milliseconds = std::chrono::milliseconds;
    static constexpr const char* PublicHost = "coverartarchive.org";

    explicit CoverArtFetcher(const QUrl& server);

    // The saved file's path, or empty. `releaseId` comes from the network: anything but a
    // UUID is refused, so it cannot lead the file out of the covers folder.
    QString fetchFront(const QString& releaseId);

    // The 250-pixel rendition's JPEG bytes, kept in memory only: a look at a candidate the
    // collector may not take. Empty when there is none.
    QByteArray fetchThumbnail(const QString& releaseId);

    // Where the cover of `releaseId` is kept; empty for an ID that is no UUID.
    static QString coverPath(const QString& releaseId);

    void setRequestTimeout(Milliseconds timeout) { m_requestTimeout = timeout; }

private:
    QByteArray fetchRendition(const QString& id, const char* rendition);

    QUrl m_server;
    HttpFetcher m_fetcher;
    Milliseconds m_requestTimeout{30000};
};
