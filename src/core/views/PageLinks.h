#pragma once

#include <QString>
#include <QUrl>

// What a page the program writes or shows may point at. A page is written from catalogue,
// import and network data and may be opened by any browser: its links lead only to web and
// mail addresses, and its pictures come only from local files.
class PageLinks
{
public:
    // http, https and mailto addresses; never local files, scripts or program handlers.
    static bool isWebOrMail(const QUrl& url);
    // The address a link is written with: `address` re-encoded, so that the browser sees the
    // scheme that was checked; empty when it is no web or mail address.
    static QString linkTarget(const QString& address);
    // The address a picture is written with: an absolute local path as an encoded file URL;
    // empty for anything else (a remote address, a relative path, another scheme).
    static QString imageSource(const QString& path);
};
