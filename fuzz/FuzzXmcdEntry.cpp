// The body of a read reply, as a server could send it, through the xmcd parser.
#include "freedb/XmcdEntry.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray body(reinterpret_cast<const char*>(data), int(size));
    XmcdEntry entry;
    if (!entry.Parse(body))
        return 0;
    // What the lookup relies on in an accepted entry.
    if (entry.trackTitles.size() > XmcdEntry::MaxTrackNumber + 1 ||
        entry.extendedTrackData.size() != entry.trackTitles.size() || entry.frameOffsets.isEmpty())
        std::abort();
    // Every byte of a title came from the body.
    qsizetype titleBytes = entry.artist.size();
    for (const QByteArray& title : entry.trackTitles)
        titleBytes += title.size();
    if (titleBytes > body.size())
        std::abort();
    return 0;
}
