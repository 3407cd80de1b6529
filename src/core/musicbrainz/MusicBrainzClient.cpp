#include "musicbrainz/MusicBrainzClient.h"

#include "app/TunvaleVersion.h"
#include "freedb/DiscToc.h"
#include "freedb/LookupProgress.h"
#include "musicbrainz/MusicBrainzDiscId.h"
#include "musicbrainz/RateGate.h"

#include <algorithm>
#include <thread>

#ifndef TUNVALE_CONTACT
#define TUNVALE_CONTACT "unknown contact"
#endif

namespace
{

using Clock = HttpFetcher::Clock;

const char* const discIdIncludes = "artist-credits+recordings+labels";

void showProgress(LookupProgress* progress, const char* text)
{
    if (progress)
        progress->setProgressText(QString::fromLatin1(text));
}

// How long a 503 asks us to wait, within what the deadline leaves; the gate adds its second.
void waitBeforeRetry(int retryAfterSeconds, Clock::time_point deadline)
{
    const auto wanted = std::chrono::seconds(std::clamp(retryAfterSeconds, 0, 10));
    std::this_thread::sleep_until(std::min(Clock::now() + wanted, deadline));
}

} // namespace

MusicBrainzClient::MusicBrainzClient(const QUrl& server) : m_server(server)
{
    m_fetcher.setUserAgent(userAgent());
    m_fetcher.setAccept("application/json");
}

QByteArray MusicBrainzClient::userAgent()
{
    return QByteArray("Tunvale/") + TunvaleVersion + " ( " TUNVALE_CONTACT " )";
}

QUrl MusicBrainzClient::discIdUrl(const QString& discId) const
{
    QUrl url = m_server;
    url.setPath(m_server.path() + QLatin1String("/ws/2/discid/") + discId);
    url.setQuery(QLatin1String("inc=") + QLatin1String(discIdIncludes) +
                 QLatin1String("&fmt=json"));
    return url;
}

QUrl MusicBrainzClient::tocUrl(const DiscToc& toc) const
{
    QUrl url = discIdUrl(QStringLiteral("-"));
    url.setQuery(QLatin1String("toc=") + MusicBrainzDiscId::tocText(toc) + QLatin1String("&inc=") +
                 QLatin1String(discIdIncludes) + QLatin1String("&fmt=json"));
    return url;
}

bool MusicBrainzClient::lookup(const DiscToc& toc, MusicBrainzRelease::Fill& fill,
                               LookupProgress* progress)
{
    showProgress(progress, "Asking MusicBrainz...");
    if (lookupWithin(toc, Clock::now() + m_requestTimeout, fill)) {
        showProgress(progress, "Done");
        return true;
    }
    showProgress(progress, "No matching discs...");
    return false;
}

bool MusicBrainzClient::lookupWithin(const DiscToc& toc, Clock::time_point deadline,
                                     MusicBrainzRelease::Fill& fill)
{
    const QString discId = MusicBrainzDiscId::fromToc(toc);
    if (discId.isEmpty())
        return false;
    QByteArray body;
    Answer answer = fetch(discIdUrl(discId), deadline, body);
    // An ID nobody submitted yet may still be a known release under a slightly different
    // table (another pressing, a drive's offset): the service's fuzzy lookup finds those.
    if (answer == Answer::NotFound)
        answer = fetch(tocUrl(toc), deadline, body);
    return answer == Answer::Found && MusicBrainzRelease::fromReply(body, toc, discId, fill);
}

MusicBrainzClient::Answer MusicBrainzClient::fetch(const QUrl& url, Clock::time_point deadline,
                                                   QByteArray& body)
{
    RateGate& gate = RateGate::musicBrainz();
    for (int attempt = 0; attempt <= m_maxRetries; ++attempt) {
        if (!gate.waitTurn(deadline))
            return Answer::Failed;
        const HttpFetcher::Reply reply = m_fetcher.get(url, deadline);
        gate.requestEnded();
        if (!reply.received)
            return Answer::Failed;
        if (reply.status == 200) {
            body = reply.body;
            return Answer::Found;
        }
        if (reply.status == 404)
            return Answer::NotFound;
        // 503 is the service's "slow down"; anything else will not change on a retry.
        if (reply.status != 503)
            return Answer::Failed;
        waitBeforeRetry(reply.retryAfterSeconds, deadline);
    }
    return Answer::Failed;
}
