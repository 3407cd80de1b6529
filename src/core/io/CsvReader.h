#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QIODevice;

// Reads comma-separated records (RFC 4180) from a device a piece at a time, so a file of any
// length is read in bounded memory. The text must be UTF-8; a leading byte-order mark is
// skipped; records end with CRLF, LF or CR alone.
//
// Two kinds of trouble: a record that cannot be read as fields (text after a closing quote)
// is given back as `Malformed` and reading goes on with the next line; a file that is no UTF-8
// text, holds a NUL byte, has a record beyond the size cap or ends inside quotes stops the
// reading with `Failed`. Either way errorText() says what, with the line number.
class CsvReader
{
public:
    enum class Status { Record, Malformed, End, Failed };

    // The longest record accepted, in bytes of the file: far beyond any real row, small enough
    // that a hostile file cannot make the reader hold it.
    static constexpr qint64 DefaultMaxRecordBytes = 1024 * 1024;

    explicit CsvReader(QIODevice* device, qint64 maxRecordBytes = DefaultMaxRecordBytes);

    Status readRecord(QStringList* fields);

    // The line (1-based) on which the record last returned begins.
    qint64 recordLine() const { return m_recordLine; }
    // The bytes consumed so far, for progress.
    qint64 bytesRead() const { return m_consumed; }
    // "line 12: …": what stopped the reading or made the last record malformed.
    QString errorText() const;
    qint64 errorLine() const { return m_errorLine; }
    QString errorReason() const { return m_error; }

    // Whether `bytes` is well-formed UTF-8 (no overlong forms, surrogates or values beyond
    // U+10FFFF).
    static bool isUtf8(const char* bytes, qsizetype size);

private:
    enum class State { FieldStart, Unquoted, Quoted, QuoteInQuoted };

    bool fillBuffer();
    bool peekByte(char* byte);
    void takeByte();
    bool takePlainRun(qint64 limit);
    bool finishField(QStringList* fields);
    Status fail(qint64 line, const QString& what);
    Status malformed(QStringList* fields);
    void skipBom();

    QIODevice* m_device;
    qint64 m_maxRecordBytes;
    QByteArray m_buffer;
    qsizetype m_position = 0;
    qint64 m_consumed = 0;
    qint64 m_line = 1;
    qint64 m_recordLine = 1;
    bool m_atStart = true;
    bool m_failed = false;
    QByteArray m_field;
    QString m_error;
    qint64 m_errorLine = 0;
};
