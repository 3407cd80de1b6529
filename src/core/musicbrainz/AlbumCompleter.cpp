#include "musicbrainz/AlbumCompleter.h"

#include "db/AlbumIdsTable.h"
#include "db/TrackTable.h"
#include "musicbrainz/RateGate.h"
#include "musicbrainz/ReleaseLookup.h"

#include <QElapsedTimer>
#include <algorithm>

namespace
{

using Outcome = AlbumCompleter::Outcome;

// The Discogs question and the release lookup; an album that knows its MusicBrainz release
// needs only the second, but the estimate stays on the safe side.
constexpr int RequestsPerAlbum = 2;

const QString AlbumsToComplete = QStringLiteral(
    "SELECT music.music_id FROM music INNER JOIN album_ids ON album_ids.album_id = music.music_id "
    "WHERE music.deleted = 0 AND album_ids.discogs_release_id <> '' AND NOT EXISTS (SELECT 1 "
    "FROM tracks WHERE tracks.music_id = music.music_id) ORDER BY music.music_id");

bool hasTracks(Database* database, int albumId)
{
    QVector<TrackRecord> tracks;
    return TrackTable().loadForPage(database, albumId, &tracks) && !tracks.isEmpty();
}

void decide(AlbumCompleter::Step* step, Outcome outcome, const QString& why = QString())
{
    step->outcome = outcome;
    step->error = why;
}

// The release the album is: its own MusicBrainz id, or the one linked to its Discogs release.
MusicBrainzClient::Answer releaseIdOf(const LookupSettings& settings,
                                      const AlbumCompleter::Step& step, QString* releaseId,
                                      QString* error)
{
    if (!step.album.musicBrainzReleaseId.isEmpty()) {
        *releaseId = step.album.musicBrainzReleaseId;
        return MusicBrainzClient::Answer::Found;
    }
    MusicBrainzClient client(*settings.musicBrainzServer);
    const auto answer =
        client.releaseOfDiscogs(step.album.discogsReleaseId.toLongLong(), *releaseId);
    *error = client.lastError();
    return answer;
}

QString albumName(const AlbumCompleter::Step& step)
{
    return QStringLiteral("album %1").arg(step.albumId);
}

} // namespace

AlbumCompleter::AlbumCompleter(Database* database, const LookupSettings& settings)
    : m_database(database), m_settings(settings)
{
}

QVector<int> AlbumCompleter::albumsToComplete()
{
    QVector<int> ids;
    if (!m_database || !m_database->hasTable(QLatin1String(AlbumIdsTable::Table)))
        return ids;
    RecordsetHandle recordset;
    if (!m_albums.OpenRecordset(&recordset, m_database, AlbumsToComplete))
        return ids;
    while (!recordset->isEOF()) {
        QVariant id;
        recordset->field(0, &id);
        ids.append(id.toInt());
        if (!recordset->moveNext())
            break;
    }
    return ids;
}

AlbumCompleter::Step AlbumCompleter::prepare(int id)
{
    Step step;
    step.albumId = id;
    if (m_albums.albumState(m_database, id) != AlbumTable::AlbumState::Stored ||
        !m_albums.Load(m_database, id, &step.album))
        decide(&step, Outcome::Failed, QStringLiteral("there is no such album."));
    else if (hasTracks(m_database, id))
        decide(&step, Outcome::Skipped);
    else if (step.album.musicBrainzReleaseId.isEmpty() &&
             step.album.discogsReleaseId.toLongLong() <= 0)
        decide(&step, Outcome::Skipped);
    return step;
}

void AlbumCompleter::fetch(const LookupSettings& settings, bool wantCover, Step* step)
{
    if (step->outcome != Outcome::Pending)
        return;
    if (!settings.musicBrainzServer) {
        decide(step, Outcome::Failed,
               QStringLiteral("The MusicBrainz server setting is no usable address."));
        return;
    }
    QString releaseId;
    QString error;
    auto answer = releaseIdOf(settings, *step, &releaseId, &error);
    if (answer == MusicBrainzClient::Answer::Found)
        answer = ReleaseLookup::lookUp(releaseId, settings,
                                       wantCover && step->album.frontImage.isEmpty(), step->release,
                                       &error);
    if (answer == MusicBrainzClient::Answer::NotFound)
        decide(step, Outcome::NotFound);
    else if (answer == MusicBrainzClient::Answer::Failed)
        decide(step, Outcome::Failed, error);
}

void AlbumCompleter::store(Step* step)
{
    if (step->outcome != Outcome::Pending)
        return;
    if (ReleaseLookup::fillAndStore(m_database, step->albumId, step->album, step->release) < 0)
        decide(step, Outcome::Failed, QStringLiteral("the catalogue did not take it."));
    else
        decide(step, Outcome::Completed);
}

std::chrono::seconds AlbumCompleter::remainingTime(int albumsLeft, int done,
                                                   std::chrono::milliseconds elapsed)
{
    using std::chrono::duration_cast;
    using std::chrono::seconds;
    const auto floor = duration_cast<seconds>(RateGate::MusicBrainzInterval) * RequestsPerAlbum;
    const auto pace = done > 0 ? duration_cast<seconds>(elapsed / done) : seconds(0);
    return std::max(floor, pace) * std::max(albumsLeft, 0);
}

AlbumCompleter::Summary AlbumCompleter::run(const QVector<int>& ids, bool dryRun,
                                            const ProgressCallback& progress)
{
    Summary summary;
    summary.dryRun = dryRun;
    QElapsedTimer clock;
    clock.start();
    for (int done = 0; done < ids.size(); ++done) {
        const auto elapsed = std::chrono::milliseconds(clock.elapsed());
        if (progress && !progress({done, int(ids.size()),
                                   remainingTime(int(ids.size()) - done, done, elapsed)})) {
            summary.cancelled = true;
            break;
        }
        Step step = prepare(ids[done]);
        // Only an album the catalogue alone did not decide costs a request.
        if (step.outcome == Outcome::Pending) {
            // A dry run leaves no cover file behind either.
            const auto work = [this, dryRun, &step] { fetch(m_settings, !dryRun, &step); };
            if (m_runNetwork)
                m_runNetwork(work);
            else
                work();
        }
        if (dryRun && step.outcome == Outcome::Pending)
            step.outcome = Outcome::Completed;
        store(&step);
        summary.count(step);
    }
    if (progress && !summary.cancelled)
        progress({int(ids.size()), int(ids.size()), std::chrono::seconds(0)});
    return summary;
}

void AlbumCompleter::Summary::count(const Step& step)
{
    switch (step.outcome) {
    case Outcome::Completed:
        ++completed;
        completedIds.append(step.albumId);
        break;
    case Outcome::NotFound:
        ++notFound;
        break;
    case Outcome::Failed:
        failures.append(albumName(step) + QStringLiteral(": ") + step.error);
        break;
    case Outcome::Skipped:
    case Outcome::Pending:
        ++skipped;
        break;
    }
}

QString AlbumCompleter::Summary::text() const
{
    QString text = QStringLiteral("%1 %2 completed, %3 not on MusicBrainz, %4 failed, %5 skipped.")
                       .arg(completed)
                       .arg(completed == 1 ? QStringLiteral("album") : QStringLiteral("albums"))
                       .arg(notFound)
                       .arg(failed())
                       .arg(skipped);
    if (dryRun) {
        text.replace(QLatin1String("completed"), QLatin1String("would be completed"));
        QStringList ids;
        for (int id : completedIds)
            ids.append(QString::number(id));
        if (!ids.isEmpty())
            text += QStringLiteral("\nWould be completed: ") + ids.join(QLatin1String(", "));
    }
    if (cancelled)
        text += QStringLiteral("\nCancelled: the albums completed so far are kept.");
    for (const QString& failure : failures)
        text += QLatin1Char('\n') + failure;
    return text;
}
