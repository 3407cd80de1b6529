// A query reply as a server could send it (with or without its HTTP header), each of its lines
// as a match line, and the same bytes as the CddbServer setting a user could type.
#include "freedb/CddbReply.h"
#include "freedb/CddbServer.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

namespace
{

void checkRequestSafe(const QString& text)
{
    // Host and path go into the request line unchanged.
    for (QChar c : text) {
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7f)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray reply(reinterpret_cast<const char*>(data), int(size));

    CddbMatchList matches;
    const CddbReply::QueryResult direct = CddbReply::parseQuery(reply, matches);
    if ((direct == CddbReply::QueryResult::Matches) == matches.isEmpty())
        std::abort();

    QByteArray body;
    if (CddbReply::httpBody(reply, body)) {
        CddbReply::parseQuery(body, matches);
        if (body.size() > reply.size() - 4)
            std::abort();
    }

    for (const QByteArray& line : CddbReply::splitLines(reply)) {
        if (line.contains('\n'))
            std::abort();
        CddbMatch match;
        if (CddbReply::parseMatchLine(line, match) && match.category.contains(' '))
            std::abort();
    }

    const std::optional<CddbServer> server = CddbServer::fromSetting(QString::fromUtf8(reply));
    if (server) {
        checkRequestSafe(server->host());
        checkRequestSafe(server->scriptPath());
        if (server->host().isEmpty() || server->port() < 1 || server->port() > 65535 ||
            !server->scriptPath().startsWith(QLatin1Char('/')))
            std::abort();
    }
    return 0;
}
