#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The CDDB test data of tests/freedb/data and the ways a server wraps it.
namespace FreedbTestData
{

inline QString path(const QString& relative)
{
    return QStringLiteral(TUNVALE_FREEDB_TESTDATA "/") + relative;
}

inline QByteArray read(const QString& relative)
{
    QFile file(path(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Line ends as a CDDB server sends them: every "\n" preceded by "\r".
inline QByteArray crlf(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size() + text.size() / 16);
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == '\n' && (i == 0 || text.at(i - 1) != '\r'))
            out.append('\r');
        out.append(text.at(i));
    }
    return out;
}

// The body of a read reply, as the client hands it to the parser: status line and entry,
// without the terminating "." line.
inline QByteArray readBody(const QByteArray& entry, const QByteArray& category = "misc",
                           const QByteArray& discId = "00000000")
{
    return "210 " + category + ' ' + discId +
           " CD database entry follows (until terminating `.')\r\n" + crlf(entry);
}

// The whole read reply body on the wire: the entry, a line end if it lacks one, and ".".
inline QByteArray readReply(const QByteArray& entry, const QByteArray& category = "misc",
                            const QByteArray& discId = "00000000")
{
    QByteArray body = readBody(entry, category, discId);
    if (!body.endsWith("\r\n"))
        body += "\r\n";
    return body + ".\r\n";
}

} // namespace FreedbTestData
