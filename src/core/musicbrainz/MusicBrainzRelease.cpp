#include "musicbrainz/MusicBrainzRelease.h"

#include "freedb/DiscToc.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <cmath>

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

// Names come from anyone's edits: control characters (a line feed would split a list row or
// a line of the CLI's output) become blanks.
QString cleanText(const QJsonValue& value)
{
    QString text = value.toString();
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    return text.trimmed();
}

// "Name" + join phrase, credit after credit: "A feat. B", "X & Y".
QString creditText(const QJsonValue& credits)
{
    QString text;
    for (const QJsonValue& credit : credits.toArray()) {
        const QJsonObject object = credit.toObject();
        text += object.value(QLatin1String("name")).toString() +
                object.value(QLatin1String("joinphrase")).toString();
    }
    return cleanText(text);
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
            genre = cleanText(object.value(QLatin1String("name")));
        }
    }
    return genre;
}

void fillLabel(const QJsonObject& release, AlbumRecord& album)
{
    // at() rather than first(): a release without label entries gives an empty object.
    const QJsonObject info = release.value(QLatin1String("label-info")).toArray().at(0).toObject();
    album.label =
        cleanText(info.value(QLatin1String("label")).toObject().value(QLatin1String("name")));
    album.labelNumber = cleanText(info.value(QLatin1String("catalog-number")));
}

// The track's own length; without one, the disc's, as the CDDB lookup computes it.
QString trackLength(const QJsonObject& track, const DiscToc& toc, int index)
{
    const double ms = track.value(QLatin1String("length")).toDouble(-1);
    int seconds = 0;
    if (ms >= 0 && ms < 100.0 * 3600 * 1000)
        seconds = int(std::lround(ms / 1000));
    else
        seconds = toc.trackStart(index + 1).wholeSeconds() - toc.trackStart(index).wholeSeconds();
    return seconds > 0 ? minutesAndSeconds(seconds) : QString();
}

QString trackCredit(const QJsonObject& track)
{
    const QJsonValue own = track.value(QLatin1String("artist-credit"));
    if (own.isArray())
        return creditText(own);
    return creditText(
        track.value(QLatin1String("recording")).toObject().value(QLatin1String("artist-credit")));
}

} // namespace

bool MusicBrainzRelease::fromReply(const QByteArray& json, const DiscToc& toc,
                                   const QString& discId, Fill& fill)
{
    const int trackCount = toc.trackCount();
    if (trackCount < 1)
        return false;
    // Qt's parser refuses nesting deeper than it can handle, so a hostile answer ends here.
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonArray releases = document.object().value(QLatin1String("releases")).toArray();

    MediumChoice choice;
    const bool exact = anyMediumListsDisc(releases, discId);
    if (!findMedium(releases, discId, trackCount, exact, choice))
        return false;

    Fill result;
    result.releaseId = choice.release.value(QLatin1String("id")).toString();
    AlbumRecord& album = result.album;
    album.artist = creditText(choice.release.value(QLatin1String("artist-credit")));
    album.title = cleanText(choice.release.value(QLatin1String("title")));
    album.year = yearOf(choice.release.value(QLatin1String("date")).toString());
    album.genre = genreOf(choice.release);
    album.length = minutesAndSeconds(toc.leadOut().wholeSeconds());
    album.freedbId = QString::number(toc.DiscId());
    fillLabel(choice.release, album);

    const QJsonArray tracks = choice.medium.value(QLatin1String("tracks")).toArray();
    for (int i = 0; i < tracks.size(); ++i) {
        const QJsonObject track = tracks.at(i).toObject();
        auto record = std::make_unique<TrackRecord>();
        record->trackNumber = i + 1;
        record->title = cleanText(track.value(QLatin1String("title")));
        record->length = trackLength(track, toc, i);
        // Only a track sung by someone else than the album's artist gets its own.
        const QString artist = trackCredit(track);
        if (artist != album.artist)
            record->artist = artist;
        result.tracks.push_back(std::move(record));
    }
    fill = std::move(result);
    return true;
}
