#include "freedb/CddbReply.h"

#include "freedb/TextNumbers.h"

namespace
{

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

bool CddbReply::httpBody(const QByteArray& reply, QByteArray& body)
{
    const int end = reply.indexOf("\r\n\r\n");
    if (end < 0)
        return false;
    body = reply.mid(end + 4);
    return true;
}

int CddbReply::statusCode(const char* begin, const char* end)
{
    if (end - begin < 3)
        return -1;
    return TextNumbers::leadingInt(begin, begin + 3);
}

QVector<QByteArray> CddbReply::splitLines(const QByteArray& text)
{
    QVector<QByteArray> lines;
    int start = 0;
    while (start < text.size()) {
        int end = text.indexOf('\n', start);
        const int next = end < 0 ? int(text.size()) : end + 1;
        if (end < 0)
            end = int(text.size());
        int lineEnd = end;
        if (lineEnd > start && text.at(lineEnd - 1) == '\r' && end < text.size())
            --lineEnd;
        lines.append(text.mid(start, lineEnd - start));
        start = next;
    }
    return lines;
}

bool CddbReply::parseMatchLine(const QByteArray& line, CddbMatch& match)
{
    const char* p = line.constData();
    const char* const end = p + line.size();

    const char* categoryEnd = p;
    while (categoryEnd < end && !isBlank(*categoryEnd))
        ++categoryEnd;
    if (categoryEnd == end)
        return false;

    const char* idBegin = categoryEnd;
    while (idBegin < end && isBlank(*idBegin))
        ++idBegin;
    const char* idEnd = idBegin;
    while (idEnd < end && !isBlank(*idEnd))
        ++idEnd;
    if (idEnd == end)
        return false;

    const char* titleBegin = idEnd;
    while (titleBegin < end && isBlank(*titleBegin))
        ++titleBegin;
    if (titleBegin == end)
        return false;
    QByteArray text(titleBegin, int(end - titleBegin));
    const int lineEnd = text.indexOf('\n');
    if (lineEnd >= 0)
        text.truncate(lineEnd > 0 && text.at(lineEnd - 1) == '\r' ? lineEnd - 1 : lineEnd);

    CddbMatch parsed;
    parsed.category = QByteArray(p, int(categoryEnd - p));
    parsed.discId = TextNumbers::leadingHex(idBegin, idEnd);
    const int slash = text.indexOf('/');
    if (slash >= 0) {
        parsed.artist = text.left(slash).trimmed();
        parsed.title = text.mid(slash + 1).trimmed();
    } else {
        parsed.title = text;
    }
    match = parsed;
    return true;
}

CddbReply::QueryResult CddbReply::parseQuery(const QByteArray& body, CddbMatchList& matches)
{
    matches.clear();
    const int code = statusCode(body);
    if (isMultiLineStatus(code)) {
        const QVector<QByteArray> lines = splitLines(body);
        for (int i = 1; i < lines.size(); ++i) {
            CddbMatch match;
            if (parseMatchLine(lines.at(i), match))
                matches.append(match);
        }
        return matches.isEmpty() ? QueryResult::NoMatch : QueryResult::Matches;
    }
    if (code == 200) {
        if (body.size() <= 5)
            return QueryResult::ProtocolError;
        CddbMatch match;
        if (!parseMatchLine(body.mid(4), match))
            return QueryResult::NoMatch;
        matches.append(match);
        return QueryResult::Matches;
    }
    if (code == 202)
        return QueryResult::NoMatch;
    return QueryResult::ProtocolError;
}
