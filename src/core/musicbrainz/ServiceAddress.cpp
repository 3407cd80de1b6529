#include "musicbrainz/ServiceAddress.h"

namespace
{

bool hasOnlyAddressCharacters(const QString& text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u <= 0x20 || u >= 0x7f || c == QLatin1Char('?') || c == QLatin1Char('#') ||
            c == QLatin1Char('@') || c == QLatin1Char('\\'))
            return false;
    }
    return true;
}

} // namespace

std::optional<QUrl> ServiceAddress::fromSetting(const QString& text, const QString& defaultHost)
{
    QString rest = text.trimmed();
    if (rest.isEmpty())
        rest = defaultHost;
    QString scheme = QStringLiteral("https");
    for (const QString& prefix : {QStringLiteral("http"), QStringLiteral("https")}) {
        if (rest.startsWith(prefix + QLatin1String("://"), Qt::CaseInsensitive)) {
            scheme = prefix;
            rest.remove(0, prefix.size() + 3);
        }
    }
    if (rest.isEmpty() || !hasOnlyAddressCharacters(rest))
        return std::nullopt;
    QUrl url(scheme + QLatin1String("://") + rest, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || url.port() == 0)
        return std::nullopt;
    QString path = url.path();
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    url.setPath(path);
    return url;
}
