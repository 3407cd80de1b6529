#include "musicbrainz/CoverArtFetcher.h"

#include "app/AppPaths.h"
#include "musicbrainz/MusicBrainzClient.h"
#include "musicbrainz/MusicBrainzJson.h"

#include <QDir>
#include <QSaveFile>

namespace
{

// The archive serves JPEG renditions; anything else (an error page sent with 200) is no cover.
bool isJpeg(const QByteArray& bytes)
{
    return bytes.startsWith("\xFF\xD8\xFF");
}

} // namespace

CoverArtFetcher::CoverArtFetcher(const QUrl& server) : m_server(server)
{
    m_fetcher.setUserAgent(MusicBrainzClient::userAgent());
    m_fetcher.setAccept("image/jpeg");
    m_fetcher.setMaxBodySize(8 * 1024 * 1024);
}

QString CoverArtFetcher::coverPath(const QString& releaseId)
{
    const QString id = MusicBrainzJson::canonicalId(releaseId);
    if (id.isEmpty())
        return QString();
    return AppPaths::dataDirectory() + QLatin1String("covers/") + id + QLatin1String("-front.jpg");
}

QByteArray CoverArtFetcher::fetchRendition(const QString& id, const char* rendition)
{
    QUrl url = m_server;
    url.setPath(m_server.path() + QLatin1String("/release/") + id + QLatin1Char('/') +
                QLatin1String(rendition));
    const HttpFetcher::Reply reply =
        m_fetcher.get(url, HttpFetcher::Clock::now() + m_requestTimeout);
    if (!reply.received || reply.status != 200 || !isJpeg(reply.body))
        return QByteArray();
    return reply.body;
}

QString CoverArtFetcher::fetchFront(const QString& releaseId)
{
    const QString id = MusicBrainzJson::canonicalId(releaseId);
    if (id.isEmpty())
        return QString();
    const QByteArray jpeg = fetchRendition(id, "front-500");
    if (jpeg.isEmpty())
        return QString();

    const QString path = coverPath(id);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QString();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size() || !file.commit())
        return QString();
    return path;
}

QByteArray CoverArtFetcher::fetchThumbnail(const QString& releaseId)
{
    const QString id = MusicBrainzJson::canonicalId(releaseId);
    return id.isEmpty() ? QByteArray() : fetchRendition(id, "front-250");
}
