#include "ui/UrlOpener.h"

#include "views/PageLinks.h"

#include <QDesktopServices>

namespace
{

bool recordOnly = false;

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
    // A page written from catalogue and network data may point anywhere; only addresses a
    // browser or mail program handles are passed on, never local files or program handlers.
    if (!PageLinks::isWebOrMail(url))
        return false;
    history().append(url);
    return recordOnly || QDesktopServices::openUrl(url);
}
