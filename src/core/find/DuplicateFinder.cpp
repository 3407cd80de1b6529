#include "find/DuplicateFinder.h"

#include "db/AlbumIdsTable.h"
#include "db/Recordset.h"
#include "find/TitleFolding.h"

#include <QHash>
#include <algorithm>
#include <functional>
#include <numeric>

namespace
{

struct ReasonName {
    DuplicateFinder::Reason reason;
    const char* text;
    const char* key;
};
const ReasonName reasonNames[] = {
    {DuplicateFinder::SameBarcode, "same barcode", "barcode"},
    {DuplicateFinder::SameDiscogsRelease, "same Discogs release", "discogs_release"},
    {DuplicateFinder::SameMusicBrainzRelease, "same MusicBrainz release", "musicbrainz_release"},
    {DuplicateFinder::SameArtistAndTitle, "same artist and title", "artist_title"},
};

// The words, or the keys, of the reasons in `reasons`.
QStringList namesOf(int reasons, const char* ReasonName::*name)
{
    QStringList names;
    for (const ReasonName& reason : reasonNames)
        if (reasons & reason.reason)
            names << QLatin1String(reason.*name);
    return names;
}

enum Column {
    IdColumn,
    ArtistColumn,
    TitleColumn,
    MediaTypeColumn,
    YearColumn,
    LabelColumn,
    NumberColumn,
    BarcodeColumn,
    DiscogsColumn,
    MusicBrainzColumn
};

// A soft-deleted name still names its albums, as on the album page.
QString albumsSql(bool idsTablePresent)
{
    return QStringLiteral(
               "SELECT music.music_id, a.artist_name, music.title, t.type_name, music.year, "
               "l.label_name, music.labelnumber, album_ids.barcode, "
               "album_ids.discogs_release_id, album_ids.musicbrainz_release_id FROM music "
               "LEFT JOIN music_artists AS a ON music.artist_id = a.artist_id "
               "LEFT JOIN music_types AS t ON music.type_id = t.type_id "
               "LEFT JOIN music_labels AS l ON music.label_id = l.label_id%1 "
               "WHERE music.deleted = FALSE ORDER BY music.music_id")
        .arg(AlbumIdsTable::join(idsTablePresent));
}

// Text columns are read straight from the engine's bytes: a hundred thousand albums make a
// million cells.
QString textOf(Recordset* recordset, int column)
{
    int size = 0;
    if (const char* bytes = recordset->textBytes(column, &size))
        return QString::fromUtf8(bytes, size);
    QVariant value;
    recordset->field(column, &value);
    return value.isNull() ? QString() : value.toString();
}

int numberOf(Recordset* recordset, int column)
{
    QVariant value;
    recordset->field(column, &value);
    return value.toInt();
}

QString releaseKey(const QString& id)
{
    return id.trimmed().toCaseFolded();
}

QString artistAndTitleKey(const DuplicateFinder::Album& album)
{
    const QString title = TitleFolding::foldTitle(album.title);
    if (title.isEmpty())
        return QString();
    // A separator no folded name holds keeps "ab"+"c" apart from "a"+"bc".
    return TitleFolding::foldName(album.artist) + QChar(0x1f) + title;
}

// The albums tied by one reason or another, as sets that merge whenever a tie joins two.
class Ties
{
public:
    explicit Ties(QVector<DuplicateFinder::Album>& albums) : m_albums(albums), m_root(albums.size())
    {
        std::iota(m_root.begin(), m_root.end(), 0);
    }

    // Ties the albums whose key (empty: none) is equal.
    void tieBy(DuplicateFinder::Reason reason,
               const std::function<QString(const DuplicateFinder::Album&)>& keyOf)
    {
        QHash<QString, int> firstWithKey;
        firstWithKey.reserve(m_albums.size());
        for (int i = 0; i < m_albums.size(); ++i) {
            const QString key = keyOf(m_albums[i]);
            if (key.isEmpty())
                continue;
            const auto first = firstWithKey.constFind(key);
            if (first == firstWithKey.constEnd()) {
                firstWithKey.insert(key, i);
                continue;
            }
            m_albums[*first].reasons |= reason;
            m_albums[i].reasons |= reason;
            m_root[rootOf(i)] = rootOf(*first);
        }
    }

    int rootOf(int i)
    {
        while (m_root[i] != i) {
            m_root[i] = m_root[m_root[i]];
            i = m_root[i];
        }
        return i;
    }

private:
    QVector<DuplicateFinder::Album>& m_albums;
    QVector<int> m_root;
};

bool groupComesFirst(const DuplicateFinder::Group& a, const DuplicateFinder::Group& b)
{
    const DuplicateFinder::Album& first = a.albums.first();
    const DuplicateFinder::Album& second = b.albums.first();
    if (const int artist = first.artist.localeAwareCompare(second.artist))
        return artist < 0;
    if (const int title = first.title.localeAwareCompare(second.title))
        return title < 0;
    return first.musicId < second.musicId;
}

} // namespace

DuplicateFinder::DuplicateFinder(Database* database) : m_database(database) {}

bool DuplicateFinder::readAlbums(QVector<Album>* albums)
{
    RecordsetHandle recordset;
    if (!m_albums.OpenRecordset(
            &recordset, m_database,
            albumsSql(m_database->hasTable(QLatin1String(AlbumIdsTable::Table)))))
        return false;
    Recordset* row = recordset.get();
    while (!row->isEOF()) {
        Album album;
        album.musicId = numberOf(row, IdColumn);
        album.artist = textOf(row, ArtistColumn);
        album.title = textOf(row, TitleColumn);
        album.mediaType = textOf(row, MediaTypeColumn);
        album.year = numberOf(row, YearColumn);
        album.label = textOf(row, LabelColumn);
        album.labelNumber = textOf(row, NumberColumn);
        album.barcode = textOf(row, BarcodeColumn);
        album.discogsReleaseId = textOf(row, DiscogsColumn);
        album.musicBrainzReleaseId = textOf(row, MusicBrainzColumn);
        albums->append(std::move(album));
        if (!row->moveNext())
            break;
    }
    return true;
}

bool DuplicateFinder::find(QVector<Group>* groups)
{
    if (!m_database || !groups)
        return false;
    groups->clear();
    QVector<Album> albums;
    if (!readAlbums(&albums))
        return false;
    Ties ties(albums);
    ties.tieBy(SameBarcode, [](const Album& album) { return normalisedBarcode(album.barcode); });
    ties.tieBy(SameDiscogsRelease,
               [](const Album& album) { return releaseKey(album.discogsReleaseId); });
    ties.tieBy(SameMusicBrainzRelease,
               [](const Album& album) { return releaseKey(album.musicBrainzReleaseId); });
    ties.tieBy(SameArtistAndTitle, artistAndTitleKey);

    // Every album of a group of two or more is tied to another one, so has a reason.
    QHash<int, int> groupOfRoot;
    for (int i = 0; i < albums.size(); ++i) {
        if (!albums[i].reasons)
            continue;
        const int root = ties.rootOf(i);
        int index = groupOfRoot.value(root, -1);
        if (index < 0) {
            index = groups->size();
            groupOfRoot.insert(root, index);
            groups->append(Group());
        }
        Group& into = (*groups)[index];
        into.reasons |= albums[i].reasons;
        into.albums.append(albums[i]);
    }
    std::sort(groups->begin(), groups->end(), groupComesFirst);
    return true;
}

QString DuplicateFinder::reasonText(int reasons)
{
    QString text = namesOf(reasons, &ReasonName::text).join(QLatin1String(", "));
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

QStringList DuplicateFinder::reasonKeys(int reasons)
{
    return namesOf(reasons, &ReasonName::key);
}

QString DuplicateFinder::normalisedBarcode(const QString& barcode)
{
    QString digits;
    digits.reserve(barcode.size());
    for (const QChar c : barcode)
        if (!c.isSpace() && c != QLatin1Char('-'))
            digits += c.toUpper();
    bool allDigits = !digits.isEmpty();
    for (const QChar c : qAsConst(digits))
        allDigits = allDigits && c.isDigit();
    if (allDigits && digits.size() == 12)
        digits.prepend(QLatin1Char('0'));
    return digits;
}
