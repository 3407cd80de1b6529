#pragma once

#include "find/DuplicateFinder.h"

#include <QJsonArray>

// The groups of probable duplicates as the command line prints them.
class DuplicatesOutput
{
public:
    // An array of groups, each an array of albums: music_id, artist, title, media_type, year
    // (null when none), label, labelnumber, barcode, discogs_release_id,
    // musicbrainz_release_id, reason (words for people) and reasons (keys for scripts): what
    // ties the album to others of its group.
    static QJsonArray toJson(const QVector<DuplicateFinder::Group>& groups);
    // A group's first line: its reasons and the number of albums.
    static QString groupLine(const DuplicateFinder::Group& group);
    // One album's cells: id, artist, title, media type, year (empty when none), label, number.
    static QStringList albumCells(const DuplicateFinder::Album& album);
};
