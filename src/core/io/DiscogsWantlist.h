#pragma once

#include "db/AlbumRecord.h"

#include <QStringList>

// Rows of a Discogs wantlist export read into albums that are wanted, not owned. The export
// begins with the release columns of a collection export (Catalog# to release_id) and goes on
// with "Notes"; each data row then carries one field more than the header names: the date the
// release was added to the wantlist.
class DiscogsWantlist
{
public:
    static bool isWantlistHeader(const QStringList& header);

    // Fills `album` from one data row. False, with the reason, when the row cannot be an album
    // (wrong number of fields, no release id, a rating or date that is none).
    static bool toAlbum(const QStringList& header, const QStringList& row, AlbumRecord* album,
                        QString* error);
};
