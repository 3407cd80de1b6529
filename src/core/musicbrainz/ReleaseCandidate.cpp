#include "musicbrainz/ReleaseCandidate.h"

#include "musicbrainz/MusicBrainzJson.h"

#include <QJsonArray>
#include <QStringList>
#include <algorithm>

namespace
{

int wholeNumber(const QJsonValue& value)
{
    const double number = value.toDouble();
    return number > 0 && number < 1e6 ? int(number) : 0;
}

ReleaseCandidate candidateOf(const QJsonObject& release)
{
    ReleaseCandidate candidate;
    candidate.id = MusicBrainzJson::text(release.value(QLatin1String("id")));
    candidate.title = MusicBrainzJson::text(release.value(QLatin1String("title")));
    candidate.artist = MusicBrainzJson::credit(release.value(QLatin1String("artist-credit")));
    candidate.date = MusicBrainzJson::text(release.value(QLatin1String("date")));
    candidate.country = MusicBrainzJson::text(release.value(QLatin1String("country")));
    candidate.barcode = MusicBrainzJson::text(release.value(QLatin1String("barcode")));
    MusicBrainzJson::firstLabel(release, &candidate.label, &candidate.catalogNumber);
    candidate.score = wholeNumber(release.value(QLatin1String("score")));

    QStringList formats;
    int mediaTracks = 0;
    for (const QJsonValue& medium : release.value(QLatin1String("media")).toArray()) {
        const QJsonObject object = medium.toObject();
        formats << MusicBrainzJson::text(object.value(QLatin1String("format")));
        mediaTracks += wholeNumber(object.value(QLatin1String("track-count")));
    }
    candidate.formats = ReleaseCandidate::formatsText(formats);
    const QJsonValue trackCount = release.value(QLatin1String("track-count"));
    candidate.trackCount = trackCount.isDouble() ? wholeNumber(trackCount) : mediaTracks;
    return candidate;
}

} // namespace

QString ReleaseCandidate::formatsText(const QStringList& mediumFormats)
{
    if (std::all_of(mediumFormats.begin(), mediumFormats.end(),
                    [](const QString& format) { return format.isEmpty(); }))
        return QString();
    QStringList order;
    QHash<QString, int> counts;
    for (const QString& format : mediumFormats) {
        const QString name = format.isEmpty() ? QStringLiteral("(unknown)") : format;
        if (counts[name]++ == 0)
            order << name;
    }
    QStringList parts;
    for (const QString& name : order) {
        const int count = counts.value(name);
        parts << (count > 1 ? QString::number(count) + QChar(0x00D7) + name : name);
    }
    return parts.join(QLatin1String(" + "));
}

bool ReleaseCandidate::fromSearchAnswer(const QByteArray& json,
                                        QVector<ReleaseCandidate>* candidates)
{
    QJsonObject root;
    if (!MusicBrainzJson::object(json, &root))
        return false;
    const QJsonValue releases = root.value(QLatin1String("releases"));
    if (!releases.isArray())
        return false;
    QVector<ReleaseCandidate> found;
    for (const QJsonValue& release : releases.toArray()) {
        ReleaseCandidate candidate = candidateOf(release.toObject());
        // Without an id a candidate could never be looked up.
        if (!candidate.id.isEmpty())
            found.append(std::move(candidate));
    }
    std::stable_sort(
        found.begin(), found.end(),
        [](const ReleaseCandidate& a, const ReleaseCandidate& b) { return a.score > b.score; });
    *candidates = std::move(found);
    return true;
}
