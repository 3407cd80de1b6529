#include "views/PageLinks.h"

#include <QDir>

bool PageLinks::isWebOrMail(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                             scheme == QLatin1String("mailto"));
}

QString PageLinks::linkTarget(const QString& address)
{
    const QUrl url(address);
    if (!isWebOrMail(url))
        return QString();
    return url.toString(QUrl::FullyEncoded);
}

QString PageLinks::imageSource(const QString& path)
{
    // "//host/x" and "/\host/x" name a network share to some browsers: the path is cleaned and
    // every character that could be read as more than a path is percent-encoded.
    if (!path.startsWith(QLatin1Char('/')))
        return QString();
    return QUrl::fromLocalFile(QDir::cleanPath(path)).toString(QUrl::FullyEncoded);
}
