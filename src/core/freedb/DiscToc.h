#pragma once

#include "freedb/TocEntry.h"

#include <QString>
#include <QVector>
#include <cstdint>

// The table of contents of an audio CD: the start of every track and, last, the lead-out.
// A disc of N tracks gives N + 1 entries; an empty table means there is none. Data tracks are
// listed like audio tracks.
class DiscToc
{
public:
    DiscToc() = default;
    // A table from absolute frame offsets (track starts, then the lead-out).
    static DiscToc fromFrameOffsets(const QVector<int>& trackStarts, int leadOut);

    // Reads the table of the disc in `drive`: a device path such as "/dev/sr0" or a disc image
    // libcdio opens (.cue with its .bin, cdrdao .toc, .nrg). Fails, leaving the table not to be
    // used, when nothing opens there, the disc has no tracks or no audio track.
    bool ReadFromDrive(const QString& drive);

    // The freedb disc ID of a table that holds at least one track and the lead-out.
    std::uint32_t DiscId() const;

    int trackCount() const { return m_entries.isEmpty() ? 0 : int(m_entries.size()) - 1; }
    const QVector<TocEntry>& entries() const { return m_entries; }
    const TocEntry& trackStart(int index) const { return m_entries.at(index); }
    const TocEntry& leadOut() const { return m_entries.last(); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    void clear() { m_entries.clear(); }

private:
    QVector<TocEntry> m_entries;
};

// Reads the table and its disc ID from `drive`; when that fails, tells the user to check the
// disc in that drive and returns false.
bool ReadDiscId(const QString& drive, DiscToc& toc, std::uint32_t& discId);
