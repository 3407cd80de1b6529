#pragma once

#include <QUrl>
#include <optional>

// Where a web service answers, from a setting "host[:port][/path]". HTTPS unless the text
// starts with "http://" (a local mirror or a test server); "https://" may be written too.
class ServiceAddress
{
public:
    // Blank text gives `defaultHost` over HTTPS; text that is no usable address (bad port,
    // blanks, a query, user names) gives nothing. The URL has no trailing slash.
    static std::optional<QUrl> fromSetting(const QString& text, const QString& defaultHost);
};
