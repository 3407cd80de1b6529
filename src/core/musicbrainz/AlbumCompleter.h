#pragma once

#include "db/AlbumTable.h"
#include "musicbrainz/LookupSettings.h"
#include "musicbrainz/MusicBrainzClient.h"

#include <QStringList>
#include <QVector>
#include <chrono>
#include <functional>
#include <utility>

// Completes albums that came without tracks (a Discogs import): the Discogs release id leads
// to the MusicBrainz release, whose lookup fills only what the album lacks. Each album is one
// step of three parts, so a window can ask the service on a worker and store on its own thread:
// prepare (reads the catalogue), fetch (only the network) and store (one transaction).
class AlbumCompleter
{
public:
    enum class Outcome { Pending, Completed, NotFound, Failed, Skipped };

    struct Step {
        int albumId = -1;
        AlbumRecord album;
        Outcome outcome = Outcome::Pending;
        QString error; // why it failed, for the summary
        MusicBrainzRelease::Fill release;
    };

    struct Progress {
        int done = 0;
        int total = 0;
        std::chrono::seconds remaining{0};
    };
    // False stops the run after the album in hand.
    using ProgressCallback = std::function<bool(const Progress&)>;
    // Runs the network part of a step and returns when it is done; by default on this thread.
    using NetworkRunner = std::function<void(const std::function<void()>& work)>;

    struct Summary {
        int completed = 0;
        int notFound = 0;
        int skipped = 0;
        QStringList failures; // "album N: reason"
        QVector<int> completedIds;
        bool cancelled = false;
        bool dryRun = false;

        void count(const Step& step);
        int failed() const { return failures.size(); }
        QString text() const;
    };

    AlbumCompleter(Database* database, const LookupSettings& settings);

    // A window hands the service's waits to a worker and keeps its own events flowing.
    void setNetworkRunner(NetworkRunner runner) { m_runNetwork = std::move(runner); }

    // The albums a run over the whole catalogue completes: those with a Discogs release id and
    // no tracks, deleted ones never. Empty where the catalogue has no table of ids.
    QVector<int> albumsToComplete();

    // Reads album `id`; a step that needs no network comes back already decided (no such album,
    // tracks already there, nothing to look it up by).
    Step prepare(int id);
    // Asks the service for the step's release. Touches no catalogue: safe on a worker thread.
    // `wantCover` only matters where the album has no front image.
    static void fetch(const LookupSettings& settings, bool wantCover, Step* step);
    // Fills the album's empty fields, and its tracks, in one transaction.
    void store(Step* step);

    // The requests still to make for `albumsLeft` albums at one a second, the slowest the
    // service allows; where the albums so far took longer on average, that pace.
    static std::chrono::seconds remainingTime(int albumsLeft, int done,
                                              std::chrono::milliseconds elapsed);

    // Every album of `ids` in turn, on this thread; a dry run asks the service but stores
    // nothing.
    Summary run(const QVector<int>& ids, bool dryRun, const ProgressCallback& progress);

private:
    Database* m_database;
    LookupSettings m_settings;
    AlbumTable m_albums;
    NetworkRunner m_runNetwork;
};
