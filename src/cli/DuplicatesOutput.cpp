#include "cli/DuplicatesOutput.h"

#include <QJsonObject>

namespace
{

QJsonValue textOrNull(const QString& text)
{
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QJsonObject albumObject(const DuplicateFinder::Album& album)
{
    return QJsonObject{
        {QStringLiteral("music_id"), album.musicId},
        {QStringLiteral("artist"), album.artist},
        {QStringLiteral("title"), album.title},
        {QStringLiteral("media_type"), album.mediaType},
        {QStringLiteral("year"), album.year > 0 ? QJsonValue(album.year) : QJsonValue()},
        {QStringLiteral("label"), album.label},
        {QStringLiteral("labelnumber"), album.labelNumber},
        {QStringLiteral("barcode"), textOrNull(album.barcode)},
        {QStringLiteral("discogs_release_id"), textOrNull(album.discogsReleaseId)},
        {QStringLiteral("musicbrainz_release_id"), textOrNull(album.musicBrainzReleaseId)},
        {QStringLiteral("reason"), DuplicateFinder::reasonText(album.reasons)},
        {QStringLiteral("reasons"),
         QJsonArray::fromStringList(DuplicateFinder::reasonKeys(album.reasons))},
    };
}

} // namespace

QJsonArray DuplicatesOutput::toJson(const QVector<DuplicateFinder::Group>& groups)
{
    QJsonArray array;
    for (const DuplicateFinder::Group& group : groups) {
        QJsonArray albums;
        for (const DuplicateFinder::Album& album : group.albums)
            albums.append(albumObject(album));
        array.append(albums);
    }
    return array;
}

QString DuplicatesOutput::groupLine(const DuplicateFinder::Group& group)
{
    return QStringLiteral("%1: %2 albums")
        .arg(DuplicateFinder::reasonText(group.reasons))
        .arg(group.albums.size());
}

QStringList DuplicatesOutput::albumCells(const DuplicateFinder::Album& album)
{
    return {QString::number(album.musicId),
            album.artist,
            album.title,
            album.mediaType,
            album.year > 0 ? QString::number(album.year) : QString(),
            album.label,
            album.labelNumber};
}
