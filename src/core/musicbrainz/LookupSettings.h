#pragma once

#include "freedb/CddbServer.h"

#include <QUrl>
#include <optional>

class AppSettings;

// What a disc lookup asks and in which order, read once on the thread that owns the settings
// and handed to the worker.
struct LookupSettings {
    std::optional<CddbServer> cddbServer = CddbServer::publicServer();
    bool musicBrainz = true;
    bool musicBrainzFirst = false;
    std::optional<QUrl> musicBrainzServer;
    bool fetchCovers = true;
    std::optional<QUrl> coverArtServer;

    static LookupSettings read(const AppSettings& settings);
    // CDDB alone, at `server`.
    static LookupSettings cddbOnly(const std::optional<CddbServer>& server);
    static std::optional<QUrl> musicBrainzAddress(const QString& setting);
    static std::optional<QUrl> coverArtAddress(const QString& setting);
};
