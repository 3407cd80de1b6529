#pragma once

#include "musicbrainz/HttpFetcher.h"
#include "musicbrainz/MusicBrainzRelease.h"
#include "musicbrainz/ReleaseCandidate.h"

#include <QUrl>
#include <chrono>

class DiscToc;
class LookupProgress;
class ReleaseSearchQuery;

// Asks the MusicBrainz web service for the releases that hold a disc: by disc ID first and,
// when the service does not know that ID, by the table of contents (its fuzzy lookup). Also
// searches releases by barcode, catalogue number or artist and title, looks a release up by its
// id, and finds the release a Discogs release is. Keeps the service's rules: a User-Agent naming
// the program, its version and a contact; one request a second across the process; a bounded
// number of retries after a 503. Every request is capped in size, and each lookup or search
// ends at its deadline.
class MusicBrainzClient
{
public:
    using Milliseconds = std::chrono::milliseconds;
    static constexpr const char* PublicHost = "musicbrainz.org";
    // Candidates one search asks for: a page the collector can still look through.
    static constexpr int SearchLimit = 25;

    enum class Answer { Found, NotFound, Failed };

    explicit MusicBrainzClient(const QUrl& server);

    // "Asking MusicBrainz...", then "Done" with `fill` filled, or "No matching discs...".
    bool lookup(const DiscToc& toc, MusicBrainzRelease::Fill& fill, LookupProgress* progress);

    // The candidates, best first. NotFound when the service knows none; a refused query sends
    // no request and fails.
    Answer searchReleases(const ReleaseSearchQuery& query, QVector<ReleaseCandidate>& candidates);
    // The whole release `releaseId` (a MusicBrainz id) as the carrier and new tracks.
    Answer lookupRelease(const QString& releaseId, MusicBrainzRelease::Fill& fill);
    // The MusicBrainz release that Discogs release `discogsId` is; NotFound when MusicBrainz
    // has none linked to it.
    Answer releaseOfDiscogs(qint64 discogsId, QString& releaseId);
    // Why the last search, lookup or Discogs question found nothing or failed: one line for
    // the collector.
    const QString& lastError() const { return m_lastError; }

    // "Tunvale/1.00 ( contact )".
    static QByteArray userAgent();

    QUrl discIdUrl(const QString& discId) const;
    QUrl tocUrl(const DiscToc& toc) const;
    QUrl searchUrl(const ReleaseSearchQuery& query) const;
    QUrl releaseUrl(const QString& releaseId) const;
    QUrl discogsUrl(qint64 discogsId) const;

    void setRequestTimeout(Milliseconds timeout) { m_requestTimeout = timeout; }
    void setMaxReplySize(qint64 bytes) { m_fetcher.setMaxBodySize(bytes); }

private:
    // A failure says why in m_lastError.
    Answer fetch(const QUrl& url, HttpFetcher::Clock::time_point deadline, QByteArray& body);
    Answer failed(const QString& why);
    QUrl serviceUrl(const QString& path, const QByteArray& encodedQuery) const;
    bool lookupWithin(const DiscToc& toc, HttpFetcher::Clock::time_point deadline,
                      MusicBrainzRelease::Fill& fill);

    QUrl m_server;
    HttpFetcher m_fetcher;
    Milliseconds m_requestTimeout{30000};
    static constexpr int MaxRetries = 2;
    QString m_lastError;
};
