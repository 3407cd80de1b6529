// Any file through the CSV reader, and the records it accepts through the writer and back and
// through the Discogs row mappings (collection and wantlist).
#include "db/AlbumRecord.h"
#include "io/CsvReader.h"
#include "io/CsvWriter.h"
#include "io/DiscogsCollection.h"
#include "io/DiscogsWantlist.h"

#include <QBuffer>
#include <cstdint>
#include <cstdlib>

namespace
{

// Small, so that inputs of a few kilobytes reach the record cap.
constexpr qint64 MaxRecordBytes = 4096;

// What the writer makes of a record, the reader must read back unchanged.
void checkRoundTrip(const QStringList& fields)
{
    QBuffer written;
    written.open(QIODevice::WriteOnly);
    CsvWriter writer(&written);
    if (!writer.writeRecord(fields))
        std::abort();
    written.close();
    written.open(QIODevice::ReadOnly);
    CsvReader reader(&written, 16 * MaxRecordBytes);
    QStringList readBack;
    if (reader.readRecord(&readBack) != CsvReader::Status::Record)
        std::abort();
    // A record of one empty field is written as an empty line, which reads back the same.
    if (readBack != fields)
        std::abort();
    if (reader.readRecord(&readBack) != CsvReader::Status::End)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QBuffer input;
    input.setData(reinterpret_cast<const char*>(data), int(size));
    input.open(QIODevice::ReadOnly);
    CsvReader reader(&input, MaxRecordBytes);
    QStringList header;
    QStringList fields;
    qint64 lastLine = 0;
    CsvReader::Status status = CsvReader::Status::Record;
    for (;;) {
        status = reader.readRecord(&fields);
        if (status == CsvReader::Status::End || status == CsvReader::Status::Failed)
            break;
        // Records come in file order, each from bytes of the input.
        if (reader.recordLine() <= lastLine || reader.bytesRead() > qint64(size))
            std::abort();
        lastLine = reader.recordLine();
        if (status == CsvReader::Status::Malformed)
            continue;
        checkRoundTrip(fields);
        if (header.isEmpty()) {
            header = fields;
            continue;
        }
        AlbumRecord album;
        QString error;
        if (DiscogsCollection::isCollectionHeader(header) &&
            !DiscogsCollection::toAlbum(header, fields, &album, &error) && error.isEmpty())
            std::abort();
        if (DiscogsWantlist::isWantlistHeader(header) &&
            !DiscogsWantlist::toAlbum(header, fields, &album, &error) && error.isEmpty())
            std::abort();
    }
    // The end stays the end and a failed reader stays failed.
    if (reader.readRecord(&fields) != status)
        std::abort();
    return 0;
}
