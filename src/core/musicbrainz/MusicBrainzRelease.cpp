#include "musicbrainz/MusicBrainzRelease.h"

#include "freedb/DiscToc.h"
#include "musicbrainz/MusicBrainzJson.h"

#include <QJsonArray>
#include <QJsonObject>
#include <cmath>
#include <optional>

namespace
{

struct MediumChoice {
    QJsonObject release;
    QJsonObject medium;
};

QString minutesAndSeconds(int seconds)
{
    return QString::asprintf("%02d:%02d", seconds / 60, seconds % 60);
}

bool listsDisc(const QJsonObject& medium, const QString& discId)
{
    for (const QJsonValue& disc : medium.value(QLatin1String("discs")).toArray()) {
        if (disc.toObject().value(QLatin1String("id")).toString() == discId)
            return true;
    }
    return false;
}

bool hasTrackCount(const QJsonObject& medium, int trackCount)
{
    return medium.value(QLatin1String("tracks")).toArray().size() == trackCount;
}

bool findMedium(const QJsonArray& releases, const QString& discId, int trackCount,
                bool mustListDisc, MediumChoice& choice)
{
    for (const QJsonValue& release : releases) {
        const QJsonObject releaseObject = release.toObject();
        for (const QJsonValue& medium : releaseObject.value(QLatin1String("media")).toArray()) {
            const QJsonObject mediumObject = medium.toObject();
            if ((!mustListDisc || listsDisc(mediumObject, discId)) &&
                hasTrackCount(mediumObject, trackCount)) {
                choice = {releaseObject, mediumObject};
                return true;
            }
        }
    }
    return false;
}

bool anyMediumListsDisc(const QJsonArray& releases, const QString& discId)
{
    for (const QJsonValue& release : releases) {
        for (const QJsonValue& medium : release.toObject().value(QLatin1String("media")).toArray())
            if (listsDisc(medium.toObject(), discId))
                return true;
    }
    return false;
}

// "2014-10-06", "1994" or "": the year, or 0 as for a CDDB entry without one.
int yearOf(const QString& date)
{
    const QString year = date.left(4);
    bool ok = false;
    const int value = year.toInt(&ok);
    return ok && year.size() == 4 ? value : 0;
}

// The genre most votes gave, when the answer carries genres at all.
QString genreOf(const QJsonObject& release)
{
    QString genre;
    double bestCount = -1;
    for (const QJsonValue& value : release.value(QLatin1String("genres")).toArray()) {
        const QJsonObject object = value.toObject();
        const double count = object.value(QLatin1String("count")).toDouble();
        if (count > bestCount) {
            bestCount = count;
            genre = MusicBrainzJson::text(object.value(QLatin1String("name")));
        }
    }
    return genre;
}

// What both answers say of the release as a whole.
void fillAlbum(const QJsonObject& release, MusicBrainzRelease::Fill& fill)
{
    fill.releaseId = release.value(QLatin1String("id")).toString();
    fill.barcode = MusicBrainzJson::text(release.value(QLatin1String("barcode")));
    AlbumRecord& album = fill.album;
    album.barcode = fill.barcode;
    album.musicBrainzReleaseId = fill.releaseId;
    album.artist = MusicBrainzJson::credit(release.value(QLatin1String("artist-credit")));
    album.title = MusicBrainzJson::text(release.value(QLatin1String("title")));
    album.year = yearOf(release.value(QLatin1String("date")).toString());
    album.genre = genreOf(release);
    MusicBrainzJson::firstLabel(release, &album.label, &album.labelNumber);
}

// The track's own length in whole seconds, when it has a believable one.
std::optional<int> knownSeconds(const QJsonObject& track)
{
    const double ms = track.value(QLatin1String("length")).toDouble(-1);
    if (ms < 0 || ms >= 100.0 * 3600 * 1000)
        return std::nullopt;
    const int seconds = int(std::lround(ms / 1000));
    return seconds > 0 ? std::optional<int>(seconds) : std::nullopt;
}

QString trackCredit(const QJsonObject& track)
{
    const QJsonValue own = track.value(QLatin1String("artist-credit"));
    if (own.isArray())
        return MusicBrainzJson::credit(own);
    return MusicBrainzJson::credit(
        track.value(QLatin1String("recording")).toObject().value(QLatin1String("artist-credit")));
}

// Title and credit; numbers and lengths are the caller's.
std::unique_ptr<TrackRecord> newTrack(const QJsonObject& track, const AlbumRecord& album,
                                      int number)
{
    auto record = std::make_unique<TrackRecord>();
    record->trackNumber = number;
    record->title = MusicBrainzJson::text(track.value(QLatin1String("title")));
    if (record->title.isEmpty())
        record->title = MusicBrainzJson::text(
            track.value(QLatin1String("recording")).toObject().value(QLatin1String("title")));
    // Only a track sung by someone else than the album's artist gets its own.
    const QString artist = trackCredit(track);
    if (artist != album.artist)
        record->artist = artist;
    return record;
}

// The disc's length of a track the answer gives none.
QString discTrackLength(const QJsonObject& track, const DiscToc& toc, int index)
{
    const int seconds = knownSeconds(track).value_or(toc.trackStart(index + 1).wholeSeconds() -
                                                     toc.trackStart(index).wholeSeconds());
    return seconds > 0 ? minutesAndSeconds(seconds) : QString();
}

bool isPlainNumber(const QString& text)
{
    bool ok = false;
    text.toInt(&ok);
    return ok;
}

// "Disc 2: Live at the Fridge 1982 (DVD)".
QString mediumHeading(const QJsonObject& medium, int position)
{
    QString heading = QStringLiteral("Disc %1").arg(position);
    const QString title = MusicBrainzJson::text(medium.value(QLatin1String("title")));
    if (!title.isEmpty())
        heading += QLatin1String(": ") + title;
    const QString format = MusicBrainzJson::text(medium.value(QLatin1String("format")));
    if (!format.isEmpty())
        heading += QLatin1String(" (") + format + QLatin1Char(')');
    return heading;
}

QString trackNotes(const QJsonObject& track, const QString& heading)
{
    QStringList notes;
    const QString printed = MusicBrainzJson::text(track.value(QLatin1String("number")));
    if (!printed.isEmpty() && !isPlainNumber(printed))
        notes << printed;
    if (!heading.isEmpty())
        notes << heading;
    return notes.join(QLatin1String(" - "));
}

int releaseTrackCount(const QJsonArray& media)
{
    int count = 0;
    for (const QJsonValue& medium : media)
        count += medium.toObject().value(QLatin1String("tracks")).toArray().size();
    return count;
}

} // namespace

bool MusicBrainzRelease::fromReply(const QByteArray& json, const DiscToc& toc,
                                   const QString& discId, Fill& fill)
{
    const int trackCount = toc.trackCount();
    QJsonObject root;
    if (trackCount < 1 || !MusicBrainzJson::object(json, &root))
        return false;
    const QJsonArray releases = root.value(QLatin1String("releases")).toArray();

    MediumChoice choice;
    const bool exact = anyMediumListsDisc(releases, discId);
    if (!findMedium(releases, discId, trackCount, exact, choice))
        return false;

    Fill result;
    fillAlbum(choice.release, result);
    result.album.length = minutesAndSeconds(toc.leadOut().wholeSeconds());
    result.album.freedbId = QString::number(toc.DiscId());

    const QJsonArray tracks = choice.medium.value(QLatin1String("tracks")).toArray();
    for (int i = 0; i < tracks.size(); ++i) {
        const QJsonObject track = tracks.at(i).toObject();
        auto record = newTrack(track, result.album, i + 1);
        record->length = discTrackLength(track, toc, i);
        result.tracks.push_back(std::move(record));
    }
    fill = std::move(result);
    return true;
}

bool MusicBrainzRelease::fromRelease(const QByteArray& json, Fill& fill, QString* error)
{
    QJsonObject release;
    if (!MusicBrainzJson::object(json, &release) ||
        !release.value(QLatin1String("id")).isString()) {
        *error = QStringLiteral("MusicBrainz sent something that is not a release.");
        return false;
    }
    const QJsonArray media = release.value(QLatin1String("media")).toArray();
    const int trackCount = releaseTrackCount(media);
    if (trackCount == 0) {
        *error = QStringLiteral("MusicBrainz lists no tracks for this release.");
        return false;
    }
    if (trackCount > MaxTracks) {
        *error = QStringLiteral("The release has %1 tracks, more than an album here can take "
                                "(%2); nothing was filled.")
                     .arg(trackCount)
                     .arg(MaxTracks);
        return false;
    }

    Fill result;
    fillAlbum(release, result);
    if (result.album.year == 0)
        result.album.year = yearOf(release.value(QLatin1String("release-group"))
                                       .toObject()
                                       .value(QLatin1String("first-release-date"))
                                       .toString());
    double knownTotal = 0;
    bool anyKnown = false;
    for (int m = 0; m < media.size(); ++m) {
        const QJsonObject medium = media.at(m).toObject();
        const QString heading = media.size() > 1 ? mediumHeading(medium, m + 1) : QString();
        const QJsonArray tracks = medium.value(QLatin1String("tracks")).toArray();
        for (int i = 0; i < tracks.size(); ++i) {
            const QJsonObject track = tracks.at(i).toObject();
            auto record = newTrack(track, result.album, int(result.tracks.size()) + 1);
            record->notes = trackNotes(track, i == 0 ? heading : QString());
            if (const std::optional<int> seconds = knownSeconds(track)) {
                record->length = minutesAndSeconds(*seconds);
                knownTotal += *seconds;
                anyKnown = true;
            }
            result.tracks.push_back(std::move(record));
        }
    }
    if (anyKnown)
        result.album.length = minutesAndSeconds(int(knownTotal));
    fill = std::move(result);
    return true;
}
