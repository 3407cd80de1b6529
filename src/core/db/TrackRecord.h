#pragma once

#include "db/LoadedNames.h"

#include <QString>

// One track's values in memory; lookup values are held by name.
struct TrackRecord {
    QString title;
    QString artist;
    QString genre;
    QString subCategory;
    QString length;
    QString notes;
    QString language;
    QString country;
    QString label;
    QString labelNumber;
    QString studio;
    QString producer;
    QString engineer;
    QString songwriter;
    QString conductor;
    QString orchestra;
    int year = 1900;
    int grade = 1;
    QString lyrics;
    QString audioFile;
    int albumId = -1;
    int trackId = -1;
    int trackNumber = -1;
    // Set by a load; a save keeps the entries of the names left unchanged.
    LoadedNames loadedNames;
};
