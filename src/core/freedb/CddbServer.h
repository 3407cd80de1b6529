#pragma once

#include <QString>
#include <optional>

// Where a CDDB server answers HTTP requests: host, port and the path of its CGI script.
class CddbServer
{
public:
    static constexpr int DefaultPort = 80;
    static constexpr const char* DefaultScriptPath = "/~cddb/cddb.cgi";
    // gnudb took over the database of the public freedb service when freedb closed.
    static constexpr const char* PublicHost = "gnudb.gnudb.org";

    CddbServer() = default;
    explicit CddbServer(const QString& host, int port = DefaultPort,
                        const QString& scriptPath = QLatin1String(DefaultScriptPath));

    // The public server.
    static CddbServer publicServer();
    // Reads the CddbServer setting, "host[:port][/path]" (an "http://" in front is allowed).
    // A null or blank text means the public server; text that is no usable server (a bad
    // port, blanks or control characters that would break the request line, https) gives
    // nothing.
    static std::optional<CddbServer> fromSetting(const QString& text);

    const QString& host() const { return m_host; }
    int port() const { return m_port; }
    const QString& scriptPath() const { return m_scriptPath; }
    // "host" or "host:port" as an HTTP Host header names it.
    QString hostHeader() const;

private:
    QString m_host;
    int m_port = DefaultPort;
    QString m_scriptPath = QLatin1String(DefaultScriptPath);
};
