#include "ui/ChmLayout.h"

#include <QVector>
#include <cstring>
#include <strings.h>

namespace
{

constexpr quint64 FileHeaderLength = 0x60;
constexpr quint64 DirectoryHeaderLength = 0x54;
constexpr quint32 ListingHeaderLength = 0x14;
constexpr quint32 IndexHeaderLength = 0x08;
constexpr quint32 LargestChunk = 1 << 20;
// The reader copies names into a buffer of this size.
constexpr quint64 LongestName = 512;
// Every help file's reset table counts in LZX frames of 32 KB; the reader's buffer for one
// compressed frame is this much larger, for frames that did not shrink.
constexpr quint64 FrameLength = 0x8000;
constexpr quint64 CompressedFrameRoom = FrameLength + 6144;
constexpr quint64 ResetTableHeaderLength = 0x28;
constexpr quint64 ControlDataLength = 0x18;
constexpr quint64 ControlDataRoom = 256; // the reader refuses longer control data itself
// The LZX decompressor knows windows of 2^15 to 2^21 bytes; any other leaves it unmade.
constexpr int SmallestWindowBits = 15;
constexpr int LargestWindowBits = 21;

const char ResetTablePath[] = "::DataSpace/Storage/MSCompressed/Transform/"
                              "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";
const char ContentPath[] = "::DataSpace/Storage/MSCompressed/Content";
const char ControlDataPath[] = "::DataSpace/Storage/MSCompressed/ControlData";

struct Entry {
    QByteArray name;
    quint64 space = 0; // 0 stored as it is, 1 compressed
    quint64 start = 0; // for an index chunk's entry: the chunk it leads to
    quint64 length = 0;
};

struct Chunk {
    enum Kind { Other, Listing, Index };
    Kind kind = Other;
    QVector<Entry> entries;
};

// The file's little-endian numbers, read only where the file reaches.
class FileBytes
{
public:
    explicit FileBytes(const QByteArray& file) : m_file(file) {}

    quint64 size() const { return quint64(m_file.size()); }
    const char* at(quint64 offset) const { return m_file.constData() + offset; }
    bool holds(quint64 offset, quint64 length) const
    {
        return offset <= size() && length <= size() - offset;
    }
    // `offset` plus `more`, when both lie in the file.
    bool advance(quint64 offset, quint64 more, quint64* result) const
    {
        if (!holds(offset, more))
            return false;
        *result = offset + more;
        return true;
    }
    bool number(quint64 offset, int bytes, quint64* value) const
    {
        if (!holds(offset, quint64(bytes)))
            return false;
        *value = 0;
        for (int i = bytes - 1; i >= 0; --i)
            *value = (*value << 8) | quint8(m_file[int(offset) + i]);
        return true;
    }
    bool hasText(quint64 offset, const char* text) const
    {
        const quint64 length = std::strlen(text);
        return holds(offset, length) && std::memcmp(at(offset), text, length) == 0;
    }

private:
    const QByteArray& m_file;
};

// Walks one directory chunk as the reader does: entries run while they start before the
// chunk's free space, but an entry may run on into it, never past the chunk.
class ChunkReader
{
public:
    ChunkReader(const char* data, quint32 size, quint32 start)
        : m_data(data), m_size(size), m_pos(start)
    {
    }

    quint32 position() const { return m_pos; }

    // Seven bits a byte, most significant first; the last byte has its high bit clear.
    bool compressedNumber(quint64* value)
    {
        *value = 0;
        for (;;) {
            if (m_pos >= m_size)
                return false;
            const quint8 byte = quint8(m_data[m_pos++]);
            *value = (*value << 7) + (byte & 0x7f);
            if (byte < 0x80)
                return true;
        }
    }

    bool name(QByteArray* name)
    {
        quint64 length = 0;
        if (!compressedNumber(&length) || length > LongestName || length > m_size - m_pos)
            return false;
        *name = QByteArray(m_data + m_pos, int(length));
        m_pos += quint32(length);
        return true;
    }

private:
    const char* m_data;
    quint32 m_size;
    quint32 m_pos;
};

quint32 littleEndian32(const char* data)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | quint8(data[i]);
    return value;
}

bool readChunk(const char* data, quint32 size, quint64 chunkCount, Chunk* chunk)
{
    const bool listing = std::memcmp(data, "PMGL", 4) == 0;
    if (!listing && std::memcmp(data, "PMGI", 4) != 0)
        return true; // the reader gives up on such a chunk by itself
    chunk->kind = listing ? Chunk::Listing : Chunk::Index;
    const quint32 header = listing ? ListingHeaderLength : IndexHeaderLength;
    const quint32 freeSpace = littleEndian32(data + 4);
    if (freeSpace > size - header)
        return false;
    ChunkReader reader(data, size, header);
    while (reader.position() < size - freeSpace) {
        Entry entry;
        if (!reader.name(&entry.name))
            return false;
        if (listing) {
            if (!reader.compressedNumber(&entry.space) || entry.space > 1 ||
                !reader.compressedNumber(&entry.start) || !reader.compressedNumber(&entry.length))
                return false;
        } else if (!reader.compressedNumber(&entry.start) || entry.start >= chunkCount) {
            return false;
        }
        chunk->entries << entry;
    }
    return true;
}

class Directory
{
public:
    bool read(const FileBytes& bytes, quint64 offset, quint64 length);
    // The entry the reader finds for `path`, by the reader's own walk from the root chunk.
    bool find(const char* path, Entry* found) const;
    const QVector<Chunk>& chunks() const { return m_chunks; }

private:
    bool indexHasNoLoop() const;

    QVector<Chunk> m_chunks;
    int m_root = -1;
};

bool Directory::read(const FileBytes& bytes, quint64 offset, quint64 length)
{
    quint64 version = 0, headerLength = 0, chunkSize = 0, root = 0, first = 0;
    if (length < DirectoryHeaderLength || !bytes.hasText(offset, "ITSP") ||
        !bytes.number(offset + 4, 4, &version) || version != 1 ||
        !bytes.number(offset + 8, 4, &headerLength) || headerLength != DirectoryHeaderLength ||
        !bytes.number(offset + 0x10, 4, &chunkSize) || !bytes.number(offset + 0x1c, 4, &root) ||
        !bytes.number(offset + 0x20, 4, &first))
        return false;
    if (chunkSize <= ListingHeaderLength || chunkSize > LargestChunk)
        return false;
    // A negative root means the directory is one listing chunk, the first.
    m_root = qint32(root) <= -1 ? qint32(first) : qint32(root);
    const quint64 chunkCount = (length - DirectoryHeaderLength) / chunkSize;
    if (m_root < 0 || quint64(m_root) >= chunkCount)
        return false;
    m_chunks.resize(int(chunkCount));
    for (quint64 i = 0; i < chunkCount; ++i) {
        const char* data = bytes.at(offset + DirectoryHeaderLength + i * chunkSize);
        if (!readChunk(data, quint32(chunkSize), chunkCount, &m_chunks[int(i)]))
            return false;
    }
    return indexHasNoLoop();
}

// The reader follows index chunks without counting its steps: a loop would hold it forever.
bool Directory::indexHasNoLoop() const
{
    enum State { Unseen, Open, Done };
    QVector<State> state(m_chunks.size(), Unseen);
    QVector<QPair<int, int>> path{{m_root, 0}}; // chunk, next entry to follow
    state[m_root] = Open;
    while (!path.isEmpty()) {
        auto& [chunk, next] = path.last();
        const Chunk& current = m_chunks[chunk];
        if (current.kind != Chunk::Index || next >= current.entries.size()) {
            state[chunk] = Done;
            path.removeLast();
            continue;
        }
        const int child = int(current.entries[next++].start);
        if (state[child] == Open)
            return false;
        if (state[child] == Unseen) {
            state[child] = Open;
            path.append({child, 0});
        }
    }
    return true;
}

bool Directory::find(const char* path, Entry* found) const
{
    int chunk = m_root;
    while (chunk != -1) {
        const Chunk& current = m_chunks[chunk];
        if (current.kind == Chunk::Listing) {
            for (const Entry& entry : current.entries)
                if (strcasecmp(entry.name.constData(), path) == 0) {
                    *found = entry;
                    return true;
                }
            return false;
        }
        if (current.kind != Chunk::Index)
            return false;
        int next = -1;
        for (const Entry& entry : current.entries) {
            if (strcasecmp(entry.name.constData(), path) > 0)
                break;
            next = int(entry.start);
        }
        chunk = next;
    }
    return false;
}

// The LZX settings: a window the decompressor knows, and resets at a whole number of frames.
bool controlDataIsSound(const FileBytes& bytes, quint64 offset, quint64 length)
{
    if (length < ControlDataLength || length > ControlDataRoom || !bytes.holds(offset, length) ||
        !bytes.hasText(offset + 4, "LZXC"))
        return false;
    quint64 version = 0, resetInterval = 0, windowSize = 0, windowsPerReset = 0;
    bytes.number(offset + 8, 4, &version);
    bytes.number(offset + 12, 4, &resetInterval);
    bytes.number(offset + 16, 4, &windowSize);
    bytes.number(offset + 20, 4, &windowsPerReset);
    // The reader's own arithmetic, in its 32 bits.
    quint32 interval = quint32(resetInterval);
    quint32 window = quint32(windowSize);
    if (version == 2) {
        interval *= 0x8000;
        window *= 0x8000;
    }
    if (interval == 0 || window <= 1 || interval % (window / 2) != 0)
        return false;
    const int windowBits = ffs(int(window)) - 1;
    if (windowBits < SmallestWindowBits || windowBits > LargestWindowBits)
        return false;
    return interval / (window / 2) * quint32(windowsPerReset) != 0;
}

// Where each compressed frame starts: inside the content, in order, and none longer than the
// reader's buffer for it.
bool resetTableIsSound(const FileBytes& bytes, quint64 offset, quint64 length,
                       quint64 contentOffset, quint64 contentLength, quint64* uncompressedLength)
{
    quint64 frameCount = 0, tableOffset = 0, compressedLength = 0, frameLength = 0;
    bytes.number(offset + 4, 4, &frameCount);
    bytes.number(offset + 12, 4, &tableOffset);
    bytes.number(offset + 16, 8, uncompressedLength);
    bytes.number(offset + 24, 8, &compressedLength);
    bytes.number(offset + 32, 8, &frameLength);
    if (frameLength != FrameLength || frameCount == 0 || tableOffset > length ||
        frameCount * 8 > length - tableOffset || !bytes.holds(offset + tableOffset, frameCount * 8))
        return false;
    if (*uncompressedLength > frameCount * FrameLength || compressedLength > contentLength ||
        !bytes.holds(contentOffset, compressedLength))
        return false;
    quint64 start = 0;
    bytes.number(offset + tableOffset, 8, &start);
    for (quint64 frame = 1; frame <= frameCount; ++frame) {
        quint64 end = compressedLength;
        if (frame < frameCount)
            bytes.number(offset + tableOffset + frame * 8, 8, &end);
        if (end < start || end - start > CompressedFrameRoom)
            return false;
        start = end;
    }
    return true;
}

} // namespace

bool ChmLayout::isSound(const QByteArray& file)
{
    const FileBytes bytes(file);
    quint64 version = 0, headerLength = 0, directoryOffset = 0, directoryLength = 0;
    if (!bytes.hasText(0, "ITSF") || !bytes.holds(0, FileHeaderLength))
        return false;
    bytes.number(4, 4, &version);
    bytes.number(8, 4, &headerLength);
    bytes.number(0x48, 8, &directoryOffset);
    bytes.number(0x50, 8, &directoryLength);
    if ((version != 2 && version != 3) || qint32(headerLength) < (version == 2 ? 0x58 : 0x60))
        return false;
    quint64 dataOffset = 0;
    if (!bytes.advance(directoryOffset, directoryLength, &dataOffset))
        return false;
    if (version == 3)
        bytes.number(0x58, 8, &dataOffset);
    Directory directory;
    if (dataOffset > bytes.size() || !directory.read(bytes, directoryOffset, directoryLength))
        return false;

    // Compression is on when its three objects are found stored as they are and the reset
    // table's header reads; then the reader trusts its control data and table completely.
    Entry resetTable, content, controlData;
    const auto place = [&](const Entry& entry, quint64* offset) {
        return entry.space == 0 && bytes.advance(dataOffset, entry.start, offset);
    };
    quint64 resetTableAt = 0, contentAt = 0, controlDataAt = 0, tableVersion = 0;
    const bool compressed =
        directory.find(ResetTablePath, &resetTable) && directory.find(ContentPath, &content) &&
        directory.find(ControlDataPath, &controlData) && place(resetTable, &resetTableAt) &&
        place(content, &contentAt) && place(controlData, &controlDataAt) &&
        resetTable.length >= ResetTableHeaderLength &&
        bytes.holds(resetTableAt, ResetTableHeaderLength) &&
        bytes.number(resetTableAt, 4, &tableVersion) && tableVersion == 2;
    quint64 uncompressedLength = 0;
    if (compressed && (!controlDataIsSound(bytes, controlDataAt, controlData.length) ||
                       !resetTableIsSound(bytes, resetTableAt, resetTable.length, contentAt,
                                          content.length, &uncompressedLength)))
        return false;

    for (const Chunk& chunk : directory.chunks()) {
        if (chunk.kind != Chunk::Listing)
            continue;
        for (const Entry& entry : chunk.entries) {
            quint64 at = 0;
            const bool placed =
                entry.space == 0
                    ? bytes.advance(dataOffset, entry.start, &at) && bytes.holds(at, entry.length)
                    : !compressed || (entry.length <= uncompressedLength &&
                                      entry.start <= uncompressedLength - entry.length);
            if (!placed)
                return false;
        }
    }
    return true;
}
