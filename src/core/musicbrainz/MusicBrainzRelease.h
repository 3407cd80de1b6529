#pragma once

#include "db/AlbumRecord.h"
#include "db/TrackRecord.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

class DiscToc;

// Turns a MusicBrainz answer into the album carrier and new track list the CDDB lookup fills:
// a disc ID answer for one disc of a release, or a release looked up by its id for the whole
// release. Both read the release the same way: the credited artist, the year of the date, the
// genre the release's own genres voted for, the first label entry, and on each track its own
// credit where it differs from the release's.
class MusicBrainzRelease
{
public:
    // A release longer than this is refused: no real box set comes near it, and the editor's
    // track list is no place for tens of thousands of rows from a hostile answer.
    static constexpr int MaxTracks = 999;

    struct Fill {
        QString releaseId;
        QString barcode; // as the release carries it, leading zeros kept; empty when none
        AlbumRecord album;
        std::vector<std::unique_ptr<TrackRecord>> tracks;
    };

    // For the disc with table `toc` and ID `discId`: the release is the first whose medium
    // lists the disc ID and holds as many tracks as the disc; when no medium lists it (a fuzzy
    // answer), the first medium with that many tracks. The medium found picks the tracks, so
    // the third disc of a box gets the box's third medium. A track without a length gets the
    // disc's; the album's length and FreeDB ID are the disc's.
    // False, with `fill` untouched, when the answer is no JSON object or no release fits.
    static bool fromReply(const QByteArray& json, const DiscToc& toc, const QString& discId,
                          Fill& fill);

    // For a release looked up by id: every medium in order, tracks numbered 1 to n across them.
    // A track keeps a printed number that is no plain number ("A1", "B", "C3", a vinyl side's)
    // at the front of its notes; on a release of several media the first track of each also
    // notes its medium ("Disc 2: <title> (DVD)"). A track without a length gets none; the
    // album's length is the sum of the lengths known; without a date of its own the year is
    // the release group's first.
    // False, with `fill` untouched and `error` saying why, for an answer that is no release or
    // one without tracks or with more than MaxTracks.
    static bool fromRelease(const QByteArray& json, Fill& fill, QString* error);
};
