#include "musicbrainz/ReleaseLookup.h"

#include "db/AlbumTable.h"
#include "db/TrackTable.h"
#include "musicbrainz/CoverArtFetcher.h"
#include "musicbrainz/LookupSettings.h"

namespace
{

bool fillText(QString& field, const QString& value)
{
    if (!field.isEmpty() || value.isEmpty())
        return false;
    field = value;
    return true;
}

bool isUnsetYear(int year)
{
    return year == 0 || year == AlbumRecord().year;
}

} // namespace

MusicBrainzClient::Answer ReleaseLookup::lookUp(const QString& releaseId,
                                                const LookupSettings& settings, bool wantCover,
                                                MusicBrainzRelease::Fill& fill, QString* error)
{
    if (!settings.musicBrainzServer) {
        *error = QStringLiteral("The MusicBrainz server setting is no usable address.");
        return MusicBrainzClient::Answer::Failed;
    }
    MusicBrainzClient client(*settings.musicBrainzServer);
    const MusicBrainzClient::Answer answer = client.lookupRelease(releaseId, fill);
    if (answer != MusicBrainzClient::Answer::Found) {
        *error = client.lastError();
        return answer;
    }
    if (wantCover && settings.fetchCovers && settings.coverArtServer)
        fill.album.frontImage =
            CoverArtFetcher(*settings.coverArtServer).fetchFront(fill.releaseId);
    return answer;
}

int ReleaseLookup::fillEmptyFields(AlbumRecord& album, const AlbumRecord& release)
{
    int filled = 0;
    for (QString AlbumRecord::*field :
         {&AlbumRecord::artist, &AlbumRecord::title, &AlbumRecord::genre, &AlbumRecord::length,
          &AlbumRecord::label, &AlbumRecord::labelNumber, &AlbumRecord::frontImage,
          &AlbumRecord::barcode, &AlbumRecord::musicBrainzReleaseId})
        filled += fillText(album.*field, release.*field) ? 1 : 0;
    if (isUnsetYear(album.year) && !isUnsetYear(release.year)) {
        album.year = release.year;
        ++filled;
    }
    return filled;
}

int ReleaseLookup::fillAndStore(Database* database, int albumId, AlbumRecord& album,
                                const MusicBrainzRelease::Fill& release)
{
    QVector<TrackRecord> tracks;
    if (!TrackTable().loadForPage(database, albumId, &tracks))
        return -1;
    const bool addTracks = tracks.isEmpty();
    tracks.clear();
    if (addTracks) {
        for (const auto& track : release.tracks)
            tracks.append(*track);
    }
    fillEmptyFields(album, release.album);
    return AlbumTable().saveWithTracks(database, album, albumId, &tracks);
}
