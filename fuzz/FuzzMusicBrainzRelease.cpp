// A MusicBrainz disc ID answer, as the service (or anything posing as it) could send it,
// through the mapping to the album carrier. The first byte picks the disc: one of the tables
// the seeds belong to, or a made-up table of that many tracks.
#include "freedb/DiscToc.h"
#include "musicbrainz/MusicBrainzDiscId.h"
#include "musicbrainz/MusicBrainzRelease.h"

#include <cstdint>
#include <cstdlib>

namespace
{

DiscToc discFor(std::uint8_t choice)
{
    switch (choice % 8) {
    case 0:
        return DiscToc::fromFrameOffsets({150}, 10001);
    case 1:
        return DiscToc::fromFrameOffsets(
            {187, 24487, 35362, 62137, 67687, 97462, 121162, 147037, 191662, 220987}, 291890);
    case 2:
        return DiscToc::fromFrameOffsets({150, 15239, 29625, 45763, 61420, 75862, 91642, 108918,
                                          123698, 139895, 153589, 169239, 188495},
                                         205050);
    default:
        break;
    }
    QVector<int> starts;
    const int tracks = 1 + choice % 99;
    for (int i = 0; i < tracks; ++i)
        starts << 150 + i * 15000;
    return DiscToc::fromFrameOffsets(starts, 150 + tracks * 15000);
}

bool hasControlCharacter(const QString& text)
{
    for (QChar c : text)
        if (c.category() == QChar::Other_Control)
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const DiscToc toc = discFor(data[0]);
    const QByteArray json(reinterpret_cast<const char*>(data + 1), int(size - 1));
    MusicBrainzRelease::Fill fill;
    if (!MusicBrainzRelease::fromReply(json, toc, MusicBrainzDiscId::fromToc(toc), fill))
        return 0;
    // One new track per track of the disc, numbered in order, no control characters anywhere.
    if (int(fill.tracks.size()) != toc.trackCount())
        std::abort();
    for (std::size_t i = 0; i < fill.tracks.size(); ++i) {
        const TrackRecord& track = *fill.tracks[i];
        if (track.trackNumber != int(i) + 1 || hasControlCharacter(track.title) ||
            hasControlCharacter(track.artist))
            std::abort();
    }
    if (hasControlCharacter(fill.album.artist) || hasControlCharacter(fill.album.title))
        std::abort();
    return 0;
}
