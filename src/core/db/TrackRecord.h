#pragma once

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
};
