#pragma once

#include "db/AlbumTable.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Albums that are probably the same record: the same barcode, the same Discogs or MusicBrainz
// release, or the same artist and title once TitleFolding has folded both. Albums tied for
// different reasons fall into one group (A and B share a barcode, B and C a title: one group
// of three), which keeps every reason. Deleted albums never count. One read of the columns it
// needs; the grouping is done in memory.
class DuplicateFinder
{
public:
    static constexpr const char* NoneFoundText = "No duplicates found.";

    // Bits of a reason set.
    enum Reason {
        SameBarcode = 0x1,
        SameDiscogsRelease = 0x2,
        SameMusicBrainzRelease = 0x4,
        SameArtistAndTitle = 0x8,
    };

    struct Album {
        int musicId = -1;
        QString artist;
        QString title;
        QString mediaType;
        int year = 0; // 0: none
        QString label;
        QString labelNumber;
        QString barcode;
        QString discogsReleaseId;
        QString musicBrainzReleaseId;
        int reasons = 0; // what ties this album to others of its group
    };
    struct Group {
        int reasons = 0;       // every reason that ties albums of the group
        QVector<Album> albums; // oldest entry first
    };

    explicit DuplicateFinder(Database* database);

    // The groups of two or more albums, ordered by the artist and title of their first album.
    // False, with the engine's error reported, when the albums cannot be read.
    bool find(QVector<Group>* groups);

    // "Same barcode, same artist and title".
    static QString reasonText(int reasons);
    // Words for scripts, one a reason: "barcode", "discogs_release", "musicbrainz_release",
    // "artist_title".
    static QStringList reasonKeys(int reasons);
    // A barcode as printed, spaces and dashes left out; a 12-digit UPC as the 13-digit EAN it
    // is also read as.
    static QString normalisedBarcode(const QString& barcode);

private:
    bool readAlbums(QVector<Album>* albums);

    Database* m_database;
    AlbumTable m_albums;
};

Q_DECLARE_TYPEINFO(DuplicateFinder::Album, Q_RELOCATABLE_TYPE);
