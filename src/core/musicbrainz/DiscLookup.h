#pragma once

#include "db/AlbumRecord.h"
#include "db/TrackRecord.h"

#include <QString>
#include <memory>
#include <vector>

class LookupProgress;
struct LookupSettings;

// The whole lookup behind "Get info from FreeDB": reads the disc once, asks CDDB and
// MusicBrainz in the order the settings give until one has the disc, and after a MusicBrainz
// answer fetches the front cover into the carrier's front image. Fills the carrier and appends
// the new tracks only on success; a cover that cannot be had leaves the front image empty.
class DiscLookup
{
public:
    static bool Lookup(const QString& drive, const LookupSettings& settings, AlbumRecord& album,
                       std::vector<std::unique_ptr<TrackRecord>>& newTracks,
                       LookupProgress* progress);
};
