#include "musicbrainz/DiscLookup.h"

#include "freedb/DiscToc.h"
#include "freedb/FreedbClient.h"
#include "freedb/LookupProgress.h"
#include "musicbrainz/CoverArtFetcher.h"
#include "musicbrainz/LookupSettings.h"
#include "musicbrainz/MusicBrainzClient.h"

namespace
{

bool askCddb(const DiscToc& toc, const LookupSettings& settings, AlbumRecord& album,
             std::vector<std::unique_ptr<TrackRecord>>& newTracks, LookupProgress* progress)
{
    FreedbClient client;
    return client.LookupDisc(toc, settings.cddbServer, album, newTracks, progress);
}

bool askMusicBrainz(const DiscToc& toc, const LookupSettings& settings, AlbumRecord& album,
                    std::vector<std::unique_ptr<TrackRecord>>& newTracks, LookupProgress* progress)
{
    if (!settings.musicBrainzServer) {
        if (progress)
            progress->setProgressText(QStringLiteral("No matching discs..."));
        return false;
    }
    MusicBrainzClient client(*settings.musicBrainzServer);
    MusicBrainzRelease::Fill fill;
    if (!client.lookup(toc, fill, progress))
        return false;
    if (settings.fetchCovers && settings.coverArtServer)
        fill.album.frontImage =
            CoverArtFetcher(*settings.coverArtServer).fetchFront(fill.releaseId);
    album = std::move(fill.album);
    for (auto& track : fill.tracks)
        newTracks.push_back(std::move(track));
    return true;
}

} // namespace

bool DiscLookup::Lookup(const QString& drive, const LookupSettings& settings, AlbumRecord& album,
                        std::vector<std::unique_ptr<TrackRecord>>& newTracks,
                        LookupProgress* progress)
{
    if (progress)
        progress->setProgressText(QStringLiteral("Computing Disc ID"));
    DiscToc toc;
    std::uint32_t discId = 0;
    if (!ReadDiscId(drive, toc, discId))
        return false;

    using Step = bool (*)(const DiscToc&, const LookupSettings&, AlbumRecord&,
                          std::vector<std::unique_ptr<TrackRecord>>&, LookupProgress*);
    std::vector<Step> steps{askCddb};
    if (settings.musicBrainz)
        steps.insert(settings.musicBrainzFirst ? steps.begin() : steps.end(), askMusicBrainz);
    for (Step step : steps) {
        if (step(toc, settings, album, newTracks, progress))
            return true;
    }
    return false;
}
