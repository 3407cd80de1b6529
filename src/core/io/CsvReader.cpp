#include "io/CsvReader.h"

#include <QIODevice>
#include <algorithm>

namespace
{

constexpr qint64 ChunkBytes = 64 * 1024;

// The offset of the first byte that does not belong to well-formed UTF-8, or -1.
qsizetype firstInvalidUtf8(const char* bytes, qsizetype size)
{
    const auto* text = reinterpret_cast<const unsigned char*>(bytes);
    qsizetype at = 0;
    while (at < size) {
        const unsigned char lead = text[at];
        if (lead < 0x80) {
            ++at;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0; // overlong below
            else if (lead == 0xED)
                high = 0x9F; // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F; // beyond U+10FFFF
        } else {
            return at;
        }
        if (at + length > size)
            return at;
        if (text[at + 1] < low || text[at + 1] > high)
            return at;
        for (int i = 2; i < length; ++i)
            if (text[at + i] < 0x80 || text[at + i] > 0xBF)
                return at;
        at += length;
    }
    return -1;
}

// Line breaks in `bytes`: CRLF, LF and CR alone each end one line.
qint64 lineBreaks(const QByteArray& bytes)
{
    return bytes.count('\n') + bytes.count('\r') - bytes.count("\r\n");
}

} // namespace

CsvReader::CsvReader(QIODevice* device, qint64 maxRecordBytes)
    : m_device(device), m_maxRecordBytes(maxRecordBytes)
{
}

bool CsvReader::isUtf8(const char* bytes, qsizetype size)
{
    return firstInvalidUtf8(bytes, size) < 0;
}

bool CsvReader::fillBuffer()
{
    if (m_position < m_buffer.size())
        return true;
    m_buffer = m_device ? m_device->read(ChunkBytes) : QByteArray();
    m_position = 0;
    return !m_buffer.isEmpty();
}

bool CsvReader::peekByte(char* byte)
{
    if (!fillBuffer())
        return false;
    *byte = m_buffer.at(m_position);
    return true;
}

void CsvReader::takeByte()
{
    ++m_position;
    ++m_consumed;
}

// Moves the bytes up to the next one that means something to the reader into the field at
// once: most of a file is plain text, and byte-by-byte steps would dominate the reading.
bool CsvReader::takePlainRun(qint64 limit)
{
    const char* data = m_buffer.constData() + m_position;
    const qsizetype available = std::min<qint64>(m_buffer.size() - m_position, limit);
    qsizetype run = 0;
    while (run < available) {
        const char c = data[run];
        if (c == ',' || c == '"' || c == '\n' || c == '\r' || c == '\0')
            break;
        ++run;
    }
    if (run == 0)
        return false;
    m_field.append(data, run);
    m_position += run;
    m_consumed += run;
    return true;
}

void CsvReader::skipBom()
{
    m_atStart = false;
    static const char Bom[] = "\xEF\xBB\xBF";
    // The mark is read byte by byte: the first read may, in principle, stop inside it.
    if (!fillBuffer() || !m_buffer.startsWith(QByteArray(Bom, 3)))
        return;
    m_position += 3;
    m_consumed += 3;
}

CsvReader::Status CsvReader::fail(qint64 line, const QString& what)
{
    m_failed = true;
    m_errorLine = line;
    m_error = what;
    return Status::Failed;
}

QString CsvReader::errorText() const
{
    return QStringLiteral("line %1: %2").arg(m_errorLine).arg(m_error);
}

// Decodes the collected bytes as one field; the text must be UTF-8, or nothing of it is used.
bool CsvReader::finishField(QStringList* fields)
{
    const qsizetype bad = firstInvalidUtf8(m_field.constData(), m_field.size());
    if (bad >= 0) {
        // The line of the bad byte: the field may span several lines.
        const qint64 linesAfter = lineBreaks(m_field.mid(bad));
        fail(m_line - linesAfter, QStringLiteral("the text is not UTF-8 (save the file as UTF-8 "
                                                 "and import it again)"));
        return false;
    }
    fields->append(QString::fromUtf8(m_field));
    m_field.clear();
    return true;
}

// Skips the rest of the line of a record whose quotes do not close its field.
CsvReader::Status CsvReader::malformed(QStringList* fields)
{
    char c = 0;
    while (peekByte(&c)) {
        if (c == '\0')
            return fail(m_line, QStringLiteral("the file holds a NUL byte; it is no text file"));
        takeByte();
        if (c == '\n' || c == '\r') {
            char next = 0;
            if (c == '\r' && peekByte(&next) && next == '\n')
                takeByte();
            ++m_line;
            break;
        }
    }
    fields->clear();
    m_field.clear();
    m_errorLine = m_recordLine;
    m_error = QStringLiteral("text follows the closing quote of a field");
    return Status::Malformed;
}

CsvReader::Status CsvReader::readRecord(QStringList* fields)
{
    fields->clear();
    m_field.clear();
    if (m_failed)
        return Status::Failed;
    if (m_atStart)
        skipBom();
    char c = 0;
    if (!peekByte(&c))
        return Status::End;
    m_recordLine = m_line;
    m_error.clear();
    const qint64 recordStart = m_consumed;
    State state = State::FieldStart;
    for (;;) {
        if (!peekByte(&c)) {
            if (state == State::Quoted)
                return fail(m_recordLine,
                            QStringLiteral("a quoted field that begins here is not closed at the "
                                           "end of the file"));
            // The last record may lack its line break.
            return finishField(fields) ? Status::Record : Status::Failed;
        }
        if (c == '\0')
            return fail(m_line, QStringLiteral("the file holds a NUL byte; it is no text file"));
        if ((state == State::Unquoted || state == State::Quoted) &&
            takePlainRun(m_maxRecordBytes - (m_consumed - recordStart)))
            continue;
        if (m_consumed - recordStart >= m_maxRecordBytes)
            return fail(m_recordLine,
                        QStringLiteral("a record is longer than %1 bytes").arg(m_maxRecordBytes));
        takeByte();
        // CRLF, LF or CR alone (as older Mac programs write) ends the line.
        const bool lineEnd = c == '\n' || (c == '\r' && state != State::Quoted);
        char next = 0;
        const bool crlf = c == '\r' && peekByte(&next) && next == '\n';
        if (lineEnd && crlf)
            takeByte();
        switch (state) {
        case State::FieldStart:
        case State::Unquoted:
        case State::QuoteInQuoted:
            if (lineEnd) {
                if (!finishField(fields))
                    return Status::Failed;
                ++m_line;
                return Status::Record;
            }
            if (c == ',') {
                if (!finishField(fields))
                    return Status::Failed;
                state = State::FieldStart;
            } else if (c == '"' && state == State::FieldStart) {
                state = State::Quoted;
            } else if (c == '"' && state == State::QuoteInQuoted) {
                m_field += '"';
                state = State::Quoted;
            } else if (state == State::QuoteInQuoted) {
                return malformed(fields);
            } else {
                // A quote inside an unquoted field is kept as a character, as most readers do.
                m_field += c;
                state = State::Unquoted;
            }
            break;
        case State::Quoted:
            if (c == '"') {
                state = State::QuoteInQuoted;
            } else {
                if (c == '\n' || (c == '\r' && !crlf))
                    ++m_line;
                m_field += c;
            }
            break;
        }
    }
}
