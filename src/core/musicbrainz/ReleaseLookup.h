#pragma once

#include "musicbrainz/MusicBrainzClient.h"

#include <QString>

class Database;
struct LookupSettings;

// A release looked up by its MusicBrainz id for an album the collector already has (a record
// without a table of contents, an album brought in from Discogs), and what of it the album
// takes: only what the album lacks.
class ReleaseLookup
{
public:
    // The release with its front cover in the carrier's front image when `wantCover` and the
    // settings fetch covers (a cover that cannot be had leaves it empty). Fails with `error`
    // set when no MusicBrainz server is set or the service has no such release.
    static MusicBrainzClient::Answer lookUp(const QString& releaseId,
                                            const LookupSettings& settings, bool wantCover,
                                            MusicBrainzRelease::Fill& fill, QString* error);

    // Every field of `album` that is empty takes the release's value: artist, title, year
    // (0 or the default 1900 count as none), genre, length, label and number, front image,
    // barcode and MusicBrainz release id.
    // What the collector entered is never replaced. Returns how many fields were filled.
    static int fillEmptyFields(AlbumRecord& album, const AlbumRecord& release);

    // Album `albumId`, `album` as loaded, takes what it lacks of `release`: its empty fields,
    // and the release's tracks when it has none yet; all of it stored as one change. The
    // album id, or -1 (the engine's reason reported).
    static int fillAndStore(Database* database, int albumId, AlbumRecord& album,
                            const MusicBrainzRelease::Fill& release);
};
