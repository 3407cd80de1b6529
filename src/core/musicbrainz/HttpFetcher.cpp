#include "musicbrainz/HttpFetcher.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <memory>

namespace
{

int retryAfterSeconds(const QNetworkReply& reply)
{
    const QByteArray value = reply.rawHeader("Retry-After").trimmed();
    bool ok = false;
    const int seconds = value.toInt(&ok);
    return ok && seconds >= 0 ? seconds : -1;
}

// An error status (404, 503, ...) is still an answer with a body; a transport failure (refused,
// reset, cut short, too many redirects) is none.
bool isHttpAnswer(QNetworkReply::NetworkError error)
{
    const bool contentStatus =
        error >= QNetworkReply::ContentAccessDenied && error <= QNetworkReply::UnknownContentError;
    const bool serverStatus =
        error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError;
    return error == QNetworkReply::NoError || contentStatus || serverStatus;
}

} // namespace

HttpFetcher::Reply HttpFetcher::get(const QUrl& url, Clock::time_point deadline) const
{
    Reply result;
    const auto remaining =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (remaining.count() <= 0 || !url.isValid()) {
        result.failure = remaining.count() <= 0 ? Failure::TimedOut : Failure::Unreachable;
        return result;
    }

    // A manager of its own: it belongs to the calling thread and goes with this request.
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, m_userAgent);
    request.setRawHeader("Accept", m_accept);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    const std::unique_ptr<QNetworkReply> reply(manager.get(request));

    bool cutShort = false;
    QByteArray body;
    auto cut = [&](Failure why) {
        cutShort = true;
        result.failure = why;
        reply->abort();
    };
    auto takeAvailable = [&] {
        body += reply->read(m_maxBodySize + 1 - body.size());
        if (body.size() > m_maxBodySize)
            cut(Failure::TooLarge);
    };
    QEventLoop loop;
    QTimer deadlineTimer;
    deadlineTimer.setSingleShot(true);
    QObject::connect(&deadlineTimer, &QTimer::timeout, reply.get(),
                     [&] { cut(Failure::TimedOut); });
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, reply.get(), [&] {
        // A length announced beyond the cap is refused before a byte of it is read.
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > m_maxBodySize)
            cut(Failure::TooLarge);
    });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, reply.get(), takeAvailable);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadlineTimer.start(remaining);
    if (!reply->isFinished())
        loop.exec();
    if (cutShort)
        return result;
    takeAvailable();
    if (cutShort)
        return result;

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        return result;
    // A status line came, the rest of the answer did not.
    if (!isHttpAnswer(reply->error())) {
        result.failure = Failure::BrokeOff;
        return result;
    }
    result.received = true;
    result.failure = Failure::None;
    result.status = status.toInt();
    result.body = body;
    result.retryAfterSeconds = retryAfterSeconds(*reply);
    return result;
}
