#pragma once

#include <QList>
#include <QUrl>

// Every address the program hands to the desktop (the album page's links, the Internet menu)
// goes through here: only web and mail addresses leave the program, and a test can see which
// one would have been opened without a browser starting.
class UrlOpener
{
public:
    // Opens `url` with the desktop's handler; false, with nothing opened, for any scheme but
    // http, https and mailto.
    static bool open(const QUrl& url);

    // From now on addresses are recorded in the history only, not handed to the desktop.
    static void setRecordOnly(bool recordOnly);
    // The addresses opened (or recorded) so far; tests read and clear it.
    static QList<QUrl>& history();
};
