#include "musicbrainz/LookupSettings.h"

#include "app/AppSettings.h"
#include "musicbrainz/CoverArtFetcher.h"
#include "musicbrainz/MusicBrainzClient.h"
#include "musicbrainz/ServiceAddress.h"

LookupSettings LookupSettings::read(const AppSettings& settings)
{
    LookupSettings result;
    result.cddbServer = CddbServer::fromSetting(settings.read(SettingsTable::CddbServer));
    result.musicBrainz = settings.read(SettingsTable::MusicBrainz) != 0;
    result.musicBrainzFirst = settings.read(SettingsTable::LookupOrder)
                                  .trimmed()
                                  .compare(QLatin1String("musicbrainz"), Qt::CaseInsensitive) == 0;
    result.musicBrainzServer = musicBrainzAddress(settings.read(SettingsTable::MusicBrainzServer));
    result.fetchCovers = settings.read(SettingsTable::FetchCovers) != 0;
    result.coverArtServer = coverArtAddress(settings.read(SettingsTable::CoverArtServer));
    return result;
}

LookupSettings LookupSettings::cddbOnly(const std::optional<CddbServer>& server)
{
    LookupSettings result;
    result.cddbServer = server;
    result.musicBrainz = false;
    return result;
}

std::optional<QUrl> LookupSettings::musicBrainzAddress(const QString& setting)
{
    return ServiceAddress::fromSetting(setting, QLatin1String(MusicBrainzClient::PublicHost));
}

std::optional<QUrl> LookupSettings::coverArtAddress(const QString& setting)
{
    return ServiceAddress::fromSetting(setting, QLatin1String(CoverArtFetcher::PublicHost));
}
