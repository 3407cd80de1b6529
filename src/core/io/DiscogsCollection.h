#pragma once

#include "db/AlbumRecord.h"

#include <QStringList>

// Rows of a Discogs collection export read into albums. The export's first ten columns are
// fixed; after them come the user's collection fields, each named "Collection " + its name.
class DiscogsCollection
{
public:
    static const QStringList& fixedColumns();
    // The first columns, up to release_id, which a wantlist export shares.
    static constexpr int ReleaseColumnCount = 8;
    static bool isCollectionHeader(const QStringList& header);
    // What another Discogs export (a wantlist, a marketplace inventory) is called, or empty.
    static QString otherExportKind(const QStringList& header);

    static QString releaseUrl(const QString& releaseId);
    // The release id an album url names, or empty when it names no Discogs release.
    static QString releaseIdOfUrl(const QString& url);

    // Fills `album` from one data row. False, with the reason, when the row cannot be an album
    // (wrong number of fields, no release id, a rating or date that is none).
    static bool toAlbum(const QStringList& header, const QStringList& row, AlbumRecord* album,
                        QString* error);
    // The release columns (Catalog# to release_id) of `row` into `album`, with the lines they
    // give the notes; false, with the reason, for a release id or rating that is none.
    static bool readReleaseColumns(const QStringList& row, AlbumRecord* album, QStringList* notes,
                                   QString* error);
    // Empty leaves the purchase date as it is.
    static bool readDateAdded(const QString& text, AlbumRecord* album, QString* error);
    // "name: value", unless the value is blank.
    static void addNoteLine(QStringList* lines, const QString& name, const QString& value);

    // Discogs tells apart people and labels of the same name by a number: "Wings (2)". The
    // number is dropped from each name of a list; the joining text stays.
    static QString withoutNameNumbers(const QString& names);
    // The first kind of a format: "2xLP, Album, RE + CD" gives "LP".
    static QString mediaType(const QString& format);
    // Discogs' rating 1 to 5 onto the album grade 0 to 10; 0 when unrated.
    static int gradeOfRating(int rating);
};
