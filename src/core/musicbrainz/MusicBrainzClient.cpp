#include "musicbrainz/MusicBrainzClient.h"

#include "app/TunvaleVersion.h"
#include "freedb/DiscToc.h"
#include "freedb/LookupProgress.h"
#include "musicbrainz/MusicBrainzDiscId.h"
#include "musicbrainz/MusicBrainzJson.h"
#include "musicbrainz/RateGate.h"
#include "musicbrainz/ReleaseSearchQuery.h"

#include <QJsonArray>
#include <algorithm>
#include <thread>

#ifndef TUNVALE_CONTACT
#define TUNVALE_CONTACT "unknown contact"
#endif

namespace
{

using Clock = HttpFetcher::Clock;

const char* const discIdIncludes = "artist-credits+recordings+labels";
const char* const releaseIncludes = "artist-credits+labels+recordings+release-groups";

// The first release a URL's relations lead to.
QString relatedRelease(const QByteArray& json)
{
    QJsonObject url;
    if (!MusicBrainzJson::object(json, &url))
        return QString();
    for (const QJsonValue& relation : url.value(QLatin1String("relations")).toArray()) {
        const QString id = MusicBrainzJson::canonicalId(relation.toObject()
                                                            .value(QLatin1String("release"))
                                                            .toObject()
                                                            .value(QLatin1String("id"))
                                                            .toString());
        if (!id.isEmpty())
            return id;
    }
    return QString();
}

QString failureText(HttpFetcher::Failure failure, qint64 maxBodySize)
{
    switch (failure) {
    case HttpFetcher::Failure::TimedOut:
        return QStringLiteral("MusicBrainz did not answer in time.");
    case HttpFetcher::Failure::TooLarge:
        return QStringLiteral("MusicBrainz's answer was larger than %1 MB and was not read.")
            .arg(maxBodySize / (1024 * 1024));
    case HttpFetcher::Failure::BrokeOff:
        return QStringLiteral("MusicBrainz's answer broke off: try again.");
    default:
        return QStringLiteral("MusicBrainz could not be reached: check the network and the "
                              "MusicBrainz server setting.");
    }
}

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

QUrl MusicBrainzClient::serviceUrl(const QString& path, const QByteArray& encodedQuery) const
{
    QUrl url = m_server;
    url.setPath(m_server.path() + QLatin1String("/ws/2/") + path);
    // Already percent-encoded: a "+" or "&" in the collector's text must reach the service as
    // such, not as a blank or a new parameter.
    url.setQuery(QString::fromLatin1(encodedQuery), QUrl::StrictMode);
    return url;
}

QUrl MusicBrainzClient::discIdUrl(const QString& discId) const
{
    return serviceUrl(QLatin1String("discid/") + discId,
                      QByteArray("inc=") + discIdIncludes + "&fmt=json");
}

QUrl MusicBrainzClient::searchUrl(const ReleaseSearchQuery& query) const
{
    return serviceUrl(QStringLiteral("release"),
                      "query=" + QUrl::toPercentEncoding(query.lucene()) +
                          "&fmt=json&limit=" + QByteArray::number(SearchLimit));
}

QUrl MusicBrainzClient::releaseUrl(const QString& releaseId) const
{
    return serviceUrl(QLatin1String("release/") + releaseId,
                      QByteArray("inc=") + releaseIncludes + "&fmt=json");
}

QUrl MusicBrainzClient::discogsUrl(qint64 discogsId) const
{
    const QByteArray resource = "https://www.discogs.com/release/" + QByteArray::number(discogsId);
    return serviceUrl(QStringLiteral("url"), "resource=" + QUrl::toPercentEncoding(resource) +
                                                 "&inc=release-rels&fmt=json");
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

MusicBrainzClient::Answer MusicBrainzClient::searchReleases(const ReleaseSearchQuery& query,
                                                            QVector<ReleaseCandidate>& candidates)
{
    if (!query.isValid())
        return failed(query.error());
    QByteArray body;
    const Answer answer = fetch(searchUrl(query), Clock::now() + m_requestTimeout, body);
    if (answer == Answer::NotFound)
        return failed(QStringLiteral("MusicBrainz answered the search with \"not found\"."));
    if (answer != Answer::Found)
        return answer;
    QVector<ReleaseCandidate> found;
    if (!ReleaseCandidate::fromSearchAnswer(body, &found))
        return failed(QStringLiteral("MusicBrainz sent something that is not a search result."));
    if (found.isEmpty()) {
        m_lastError = QStringLiteral("MusicBrainz knows no release for %1.").arg(query.lucene());
        return Answer::NotFound;
    }
    candidates = std::move(found);
    return Answer::Found;
}

MusicBrainzClient::Answer MusicBrainzClient::lookupRelease(const QString& releaseId,
                                                           MusicBrainzRelease::Fill& fill)
{
    const QString id = MusicBrainzJson::canonicalId(releaseId);
    if (id.isEmpty())
        return failed(QStringLiteral("'%1' is not a MusicBrainz release id.").arg(releaseId));
    QByteArray body;
    const Answer answer = fetch(releaseUrl(id), Clock::now() + m_requestTimeout, body);
    if (answer == Answer::NotFound)
        m_lastError = QStringLiteral("MusicBrainz has no release %1.").arg(id);
    if (answer != Answer::Found)
        return answer;
    QString error;
    if (!MusicBrainzRelease::fromRelease(body, fill, &error))
        return failed(error);
    return Answer::Found;
}

MusicBrainzClient::Answer MusicBrainzClient::releaseOfDiscogs(qint64 discogsId, QString& releaseId)
{
    if (discogsId <= 0)
        return failed(
            QStringLiteral("%1 is not a Discogs release id.").arg(QString::number(discogsId)));
    QByteArray body;
    Answer answer = fetch(discogsUrl(discogsId), Clock::now() + m_requestTimeout, body);
    QString id;
    if (answer == Answer::Found) {
        id = relatedRelease(body);
        if (id.isEmpty())
            answer = Answer::NotFound;
    }
    if (answer == Answer::NotFound)
        m_lastError = QStringLiteral("Discogs release %1 is not on MusicBrainz.").arg(discogsId);
    if (answer == Answer::Found)
        releaseId = id;
    return answer;
}

MusicBrainzClient::Answer MusicBrainzClient::failed(const QString& why)
{
    m_lastError = why;
    return Answer::Failed;
}

MusicBrainzClient::Answer MusicBrainzClient::fetch(const QUrl& url, Clock::time_point deadline,
                                                   QByteArray& body)
{
    m_lastError.clear();
    RateGate& gate = RateGate::musicBrainz();
    for (int attempt = 0; attempt <= MaxRetries; ++attempt) {
        if (!gate.waitTurn(deadline))
            return failed(failureText(HttpFetcher::Failure::TimedOut, 0));
        const HttpFetcher::Reply reply = m_fetcher.get(url, deadline);
        gate.requestEnded();
        if (!reply.received)
            return failed(failureText(reply.failure, m_fetcher.maxBodySize()));
        if (reply.status == 200) {
            body = reply.body;
            return Answer::Found;
        }
        if (reply.status == 404)
            return Answer::NotFound;
        // 503 is the service's "slow down"; anything else will not change on a retry.
        if (reply.status != 503)
            return failed(
                QStringLiteral("MusicBrainz answered with an error (HTTP %1).").arg(reply.status));
        waitBeforeRetry(reply.retryAfterSeconds, deadline);
    }
    return failed(QStringLiteral("MusicBrainz is busy (HTTP 503): try again in a minute."));
}
