#include "ui/UrlOpener.h"

#include <QDesktopServices>

namespace
{

bool recordOnly = false;

// A page written from catalogue and network data may point anywhere; only addresses a browser
// or mail program handles are passed on, never local files or program handlers.
bool isWebOrMail(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                             scheme == QLatin1String("mailto"));
}

} // namespace

QList<QUrl>& UrlOpener::history()
{
    static QList<QUrl> opened;
    return opened;
}

void UrlOpener::setRecordOnly(bool only)
{
    recordOnly = only;
}

bool UrlOpener::open(const QUrl& url)
{
    if (!isWebOrMail(url))
        return false;
    history().append(url);
    return recordOnly || QDesktopServices::openUrl(url);
}
