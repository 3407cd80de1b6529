#pragma once

#include "db/AlbumRecord.h"
#include "db/TrackRecord.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

class DiscToc;

// Turns a MusicBrainz disc ID answer (exact or fuzzy, JSON) into the album carrier and new
// track list the CDDB lookup fills, for the disc with table `toc` and ID `discId`.
//
// The release is the first whose medium lists the disc ID and holds as many tracks as the
// disc; when no medium lists it (a fuzzy answer), the first medium with that many tracks. The
// medium found picks the tracks, so the third disc of a box gets the box's third medium.
class MusicBrainzRelease
{
public:
    struct Fill {
        QString releaseId;
        AlbumRecord album;
        std::vector<std::unique_ptr<TrackRecord>> tracks;
    };

    // False, with `fill` untouched, when the answer is no JSON object or no release fits.
    static bool fromReply(const QByteArray& json, const DiscToc& toc, const QString& discId,
                          Fill& fill);
};
