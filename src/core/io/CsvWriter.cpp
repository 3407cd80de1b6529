#include "io/CsvWriter.h"

#include <QIODevice>

CsvWriter::CsvWriter(QIODevice* device) : m_device(device) {}

QByteArray CsvWriter::encodedField(const QString& field)
{
    QByteArray bytes = field.toUtf8();
    const bool needsQuotes = bytes.contains(',') || bytes.contains('"') || bytes.contains('\n') ||
                             bytes.contains('\r') || bytes.startsWith(' ') || bytes.endsWith(' ');
    if (!needsQuotes)
        return bytes;
    bytes.replace('"', QByteArrayLiteral("\"\""));
    return '"' + bytes + '"';
}

bool CsvWriter::writeRecord(const QStringList& fields)
{
    if (!m_ok || !m_device)
        return m_ok = false;
    QByteArray line;
    if (!m_bomWritten) {
        line += QByteArrayLiteral("\xEF\xBB\xBF");
        m_bomWritten = true;
    }
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        line += encodedField(fields[i]);
    }
    line += QByteArrayLiteral("\r\n");
    m_ok = m_device->write(line) == line.size();
    return m_ok;
}
