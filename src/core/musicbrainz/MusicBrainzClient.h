#pragma once

#include "musicbrainz/HttpFetcher.h"
#include "musicbrainz/MusicBrainzRelease.h"

#include <QUrl>
#include <chrono>

class DiscToc;
class LookupProgress;

// Asks the MusicBrainz web service for the releases that hold a disc: by disc ID first and,
// when the service does not know that ID, by the table of contents (its fuzzy lookup). Keeps
// the service's rules: a User-Agent naming the program, its version and a contact; one
// request a second across the process; a bounded number of retries after a 503. Every
// request is capped in size, and the whole lookup ends at its deadline.
class MusicBrainzClient
{
public:
    using Milliseconds = std::chrono::milliseconds;
    static constexpr const char* PublicHost = "musicbrainz.org";

    explicit MusicBrainzClient(const QUrl& server);

    // "Asking MusicBrainz...", then "Done" with `fill` filled, or "No matching discs...".
    bool lookup(const DiscToc& toc, MusicBrainzRelease::Fill& fill, LookupProgress* progress);

    // "Tunvale/1.00 ( contact )".
    static QByteArray userAgent();

    QUrl discIdUrl(const QString& discId) const;
    QUrl tocUrl(const DiscToc& toc) const;

    void setRequestTimeout(Milliseconds timeout) { m_requestTimeout = timeout; }
    void setMaxReplySize(qint64 bytes) { m_fetcher.setMaxBodySize(bytes); }
    void setMaxRetries(int retries) { m_maxRetries = retries; }

private:
    enum class Answer { Found, NotFound, Failed };
    Answer fetch(const QUrl& url, HttpFetcher::Clock::time_point deadline, QByteArray& body);
    bool lookupWithin(const DiscToc& toc, HttpFetcher::Clock::time_point deadline,
                      MusicBrainzRelease::Fill& fill);

    QUrl m_server;
    HttpFetcher m_fetcher;
    Milliseconds m_requestTimeout{30000};
    int m_maxRetries = 2;
};
