#pragma once

#include "db/TrackRecord.h"

#include <QString>
#include <memory>

// The Tracks page's list: one row per track, two text columns, each row owning its record.
class TrackList
{
public:
    virtual ~TrackList() = default;
    virtual void appendTrack(const QString& number, const QString& text,
                             std::unique_ptr<TrackRecord> record) = 0;
};
