#include "freedb/CddbServer.h"

namespace
{

// Host and path go into the request line as they are, so only printable ASCII without
// blanks passes; anything else could end the line early or smuggle in a header.
bool isRequestSafe(const QString& text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u <= 0x20 || u >= 0x7f)
            return false;
    }
    return true;
}

bool isHostName(const QString& host)
{
    if (host.isEmpty() || !isRequestSafe(host))
        return false;
    for (QChar c : host) {
        if (!(c.isLetterOrNumber() || c == QLatin1Char('.') || c == QLatin1Char('-') ||
              c == QLatin1Char('_')))
            return false;
    }
    return true;
}

} // namespace

CddbServer::CddbServer(const QString& host, int port, const QString& scriptPath)
    : m_host(host), m_port(port), m_scriptPath(scriptPath)
{
}

CddbServer CddbServer::publicServer()
{
    return CddbServer(QLatin1String(PublicHost));
}

std::optional<CddbServer> CddbServer::fromSetting(const QString& text)
{
    QString rest = text.trimmed();
    if (rest.isEmpty())
        return publicServer();
    if (rest.startsWith(QLatin1String("http://"), Qt::CaseInsensitive))
        rest.remove(0, 7);

    QString path = QLatin1String(DefaultScriptPath);
    const int slash = rest.indexOf(QLatin1Char('/'));
    if (slash >= 0) {
        path = rest.mid(slash);
        rest.truncate(slash);
        if (path.size() < 2 || !isRequestSafe(path) || path.contains(QLatin1Char('?')) ||
            path.contains(QLatin1Char('#')))
            return std::nullopt;
    }

    int port = DefaultPort;
    const int colon = rest.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        const QString digits = rest.mid(colon + 1);
        bool ok = false;
        port = digits.toInt(&ok);
        if (!ok || digits.isEmpty() || !digits.at(0).isDigit() || port < 1 || port > 65535)
            return std::nullopt;
        rest.truncate(colon);
    }
    if (!isHostName(rest))
        return std::nullopt;
    return CddbServer(rest, port, path);
}

QString CddbServer::hostHeader() const
{
    if (m_port == DefaultPort)
        return m_host;
    return QStringLiteral("%1:%2").arg(m_host).arg(m_port);
}
