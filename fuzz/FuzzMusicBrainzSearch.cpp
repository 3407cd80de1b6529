// A MusicBrainz search answer or release lookup answer, as the service (or anything posing as
// it) could send it. The first byte picks the reading: even, the candidate list of a search;
// odd, the release mapped onto an album and its tracks.
#include "musicbrainz/MusicBrainzRelease.h"
#include "musicbrainz/ReleaseCandidate.h"

#include <cstdint>
#include <cstdlib>

namespace
{

bool hasControlCharacter(const QString& text)
{
    for (QChar c : text)
        if (c.category() == QChar::Other_Control)
            return true;
    return false;
}

void checkCandidates(const QByteArray& json)
{
    QVector<ReleaseCandidate> candidates;
    if (!ReleaseCandidate::fromSearchAnswer(json, &candidates))
        return;
    // Best first, every one with an id, no text that would split a line of a list.
    for (int i = 0; i < candidates.size(); ++i) {
        const ReleaseCandidate& candidate = candidates[i];
        if (candidate.id.isEmpty() || candidate.trackCount < 0 ||
            (i > 0 && candidates[i - 1].score < candidate.score))
            std::abort();
        for (const QString* text : {&candidate.title, &candidate.artist, &candidate.label,
                                    &candidate.catalogNumber, &candidate.formats})
            if (hasControlCharacter(*text))
                std::abort();
    }
}

void checkRelease(const QByteArray& json)
{
    MusicBrainzRelease::Fill fill;
    QString error;
    if (!MusicBrainzRelease::fromRelease(json, fill, &error)) {
        if (error.isEmpty() || !fill.tracks.empty())
            std::abort();
        return;
    }
    // Tracks numbered 1 to n, never more than an album takes, no control characters.
    if (fill.tracks.empty() || int(fill.tracks.size()) > MusicBrainzRelease::MaxTracks)
        std::abort();
    for (std::size_t i = 0; i < fill.tracks.size(); ++i) {
        const TrackRecord& track = *fill.tracks[i];
        if (track.trackNumber != int(i) + 1 || hasControlCharacter(track.title) ||
            hasControlCharacter(track.artist) || hasControlCharacter(track.notes))
            std::abort();
    }
    if (hasControlCharacter(fill.album.artist) || hasControlCharacter(fill.album.title) ||
        hasControlCharacter(fill.barcode))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray json(reinterpret_cast<const char*>(data + 1), int(size - 1));
    if (data[0] % 2 == 0)
        checkCandidates(json);
    else
        checkRelease(json);
    return 0;
}
