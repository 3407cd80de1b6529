#pragma once

#include <QStringList>

class QIODevice;

// Writes comma-separated records (RFC 4180): CRLF after each record, a field quoted when it
// holds a comma, a quote, a line break or blanks at either end, its quotes doubled. The text is
// UTF-8 and begins with a byte-order mark, by which spreadsheet programs know the encoding.
class CsvWriter
{
public:
    explicit CsvWriter(QIODevice* device);

    // False once any write has failed; later records are not attempted.
    bool writeRecord(const QStringList& fields);
    bool isOk() const { return m_ok; }

    static QByteArray encodedField(const QString& field);

private:
    QIODevice* m_device;
    bool m_ok = true;
    bool m_bomWritten = false;
};
