#pragma once

#include "db/AlbumRecord.h"
#include "db/TrackRecord.h"

#include <QJsonObject>
#include <QVector>

// Albums and tracks as JSON objects keyed by their column names: integers as numbers, texts
// and money as strings, dates as local ISO 8601 date-times.
class AlbumJson
{
public:
    static QJsonObject toJson(const AlbumRecord& album, int albumId,
                              const QVector<TrackRecord>& tracks);
    static QJsonObject toJson(const TrackRecord& track);

    // Keys left out keep the record's defaults; a track without a number takes its place in
    // the array, from 1. False with a reason for unknown keys or values of the wrong type, and
    // for what the album editor would not store: no artist or title, money that is no number.
    static bool fromJson(const QJsonObject& object, AlbumRecord* album,
                         QVector<TrackRecord>* tracks, QString* error);
    static bool fromJson(const QJsonObject& object, int position, TrackRecord* track,
                         QString* error);

    static QString dateText(const QDateTime& date);

private:
    static bool isStorable(const AlbumRecord& album, QString* error);
};
