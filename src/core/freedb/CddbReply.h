#pragma once

#include "freedb/CddbMatch.h"

#include <QByteArray>

// The parts of a CDDB reply that need no socket: finding the body of an HTTP reply, its
// status code and the matches of a query. Pure functions over the received bytes, so they
// are tested and fuzzed on their own.
class CddbReply
{
public:
    enum class QueryResult {
        Matches,       // at least one match was listed
        NoMatch,       // 202, or a match list of which no line parses
        ProtocolError, // any other status, or a 200 without a match line
    };

    // The text after the first "\r\n\r\n"; false when the header has no end.
    static bool httpBody(const QByteArray& reply, QByteArray& body);
    // The first three characters as a decimal number; -1 for a shorter text.
    static int statusCode(const char* begin, const char* end);
    static int statusCode(const QByteArray& body)
    {
        return statusCode(body.constData(), body.constData() + body.size());
    }
    static bool isMultiLineStatus(int code) { return code >= 210 && code <= 219; }

    // "category discid artist / title"; false when the line lacks a part.
    static bool parseMatchLine(const QByteArray& line, CddbMatch& match);
    // The body of a query reply; `matches` is emptied first.
    static QueryResult parseQuery(const QByteArray& body, CddbMatchList& matches);

    // The lines of a text: each ends with "\n", a "\r" before it is dropped; the last line may
    // have no end. A final line end does not start another (empty) line.
    static QVector<QByteArray> splitLines(const QByteArray& text);
};
