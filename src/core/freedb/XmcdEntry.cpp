#include "freedb/XmcdEntry.h"

#include "freedb/CddbReply.h"
#include "freedb/TextNumbers.h"

namespace
{

// What the lines of one entry have shown so far.
struct ParseState {
    bool signatureSeen = false;
    bool inOffsetsBlock = false;
    bool discLengthSeen = false;
    bool submitterSeen = false;
    bool discIdSeen = false;
    bool discTitleSeen = false;
    QByteArray discTitle;
    QByteArray playOrder;
};

// Backslash-n, backslash-t and two backslashes, decoded once each from left to right; a
// backslash before anything else stays.
QByteArray unescape(const QByteArray& value)
{
    if (!value.contains('\\'))
        return value;
    QByteArray out;
    out.reserve(value.size());
    for (int i = 0; i < value.size(); ++i) {
        const char c = value.at(i);
        if (c == '\\' && i + 1 < value.size()) {
            const char next = value.at(i + 1);
            if (next == 'n' || next == 't' || next == '\\') {
                out.append(next == 'n' ? '\n' : next == 't' ? '\t' : '\\');
                ++i;
                continue;
            }
        }
        out.append(c);
    }
    return out;
}

// Blank-separated words; runs of blanks separate like one.
QVector<QByteArray> words(const QByteArray& text)
{
    QVector<QByteArray> result;
    int i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text.at(i) == ' ' || text.at(i) == '\t'))
            ++i;
        const int start = i;
        while (i < text.size() && text.at(i) != ' ' && text.at(i) != '\t')
            ++i;
        if (i > start)
            result.append(text.mid(start, i - start));
    }
    return result;
}

// The text of a comment line: what follows "#", trimmed, when that is more than one character.
QByteArray commentText(const QByteArray& line)
{
    const QByteArray rest = line.mid(1);
    return rest.size() > 1 ? rest.trimmed() : QByteArray();
}

// A continued keyword appends to the entry of its number, after the list is cut or padded to
// end there.
bool appendNumbered(QVector<QByteArray>& list, const QByteArray& numberText,
                    const QByteArray& value)
{
    const int number = TextNumbers::leadingInt(numberText);
    if (number < 0 || number > XmcdEntry::MaxTrackNumber)
        return false;
    list.resize(number + 1);
    list[number].append(value);
    return true;
}

} // namespace

void XmcdEntry::Reset()
{
    *this = XmcdEntry();
}

bool XmcdEntry::Parse(const QByteArray& body)
{
    if (!CddbReply::isMultiLineStatus(CddbReply::statusCode(body)))
        return false;
    const QVector<QByteArray> lines = CddbReply::splitLines(body);
    if (lines.size() < 2)
        return false;

    Reset();
    ParseState state;
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines.at(i);
        if (line.startsWith('#')) {
            const QByteArray text = commentText(line);
            if (text.startsWith("xmcd")) {
                state.signatureSeen = true;
            } else if (text.contains("Track frame offsets:")) {
                state.inOffsetsBlock = true;
            } else if (text.startsWith("Disc length:")) {
                state.inOffsetsBlock = false;
                state.discLengthSeen = true;
                discLength = TextNumbers::leadingInt(text.mid(13));
            } else if (text.startsWith("Revision:")) {
                revision = TextNumbers::leadingInt(text.mid(9));
            } else if (text.startsWith("Submitted via:")) {
                const QVector<QByteArray> parts = words(text.mid(14));
                if (parts.size() < 2)
                    return false;
                submitterClient = parts.at(0);
                submitterVersion = parts.at(1);
                submitterComment = parts.value(2);
                state.submitterSeen = true;
            } else if (state.inOffsetsBlock && !text.isEmpty()) {
                frameOffsets.append(TextNumbers::leadingInt(text));
            }
            continue;
        }

        const int equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray keyword = line.left(equals);
        const QByteArray value = unescape(line.mid(equals + 1));
        if (keyword == "DISCID") {
            if (value.size() >= 8) {
                discId = TextNumbers::leadingHex(value);
                state.discIdSeen = true;
            }
        } else if (keyword == "DTITLE") {
            state.discTitle.append(value);
            state.discTitleSeen = true;
        } else if (keyword == "DYEAR") {
            year = TextNumbers::leadingInt(value);
        } else if (keyword == "DGENRE") {
            genre.append(value);
        } else if (keyword.startsWith("TTITLE")) {
            if (!appendNumbered(trackTitles, keyword.mid(6), value))
                return false;
        } else if (keyword == "EXTD") {
            extendedDiscData.append(value);
        } else if (keyword.startsWith("EXTT")) {
            if (!appendNumbered(extendedTrackData, keyword.mid(4), value))
                return false;
        } else if (keyword == "PLAYORDER") {
            state.playOrder.append(value);
        }
    }

    if (!state.signatureSeen || frameOffsets.isEmpty() || !state.discLengthSeen ||
        !state.submitterSeen || !state.discIdSeen || !state.discTitleSeen ||
        extendedTrackData.size() != trackTitles.size())
        return false;

    const int separator = state.discTitle.indexOf(" / ");
    if (separator < 0) {
        artist = state.discTitle;
        title = state.discTitle;
    } else {
        artist = state.discTitle.left(separator);
        title = state.discTitle.mid(separator + 3);
    }

    const QList<QByteArray> pieces = state.playOrder.split(',');
    for (int i = 0; i < pieces.size(); ++i) {
        if (i == pieces.size() - 1 && pieces.at(i).isEmpty())
            break;
        playOrder.append(TextNumbers::leadingInt(pieces.at(i)));
    }
    return true;
}
