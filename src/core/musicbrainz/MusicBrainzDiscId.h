#pragma once

#include <QString>

class DiscToc;

// The MusicBrainz view of a table of contents: the disc ID libdiscid computes from it and the
// "toc" text of the service's fuzzy lookup. Both take the table as the drive gave it, with
// the first track numbered 1; nothing here touches a drive.
class MusicBrainzDiscId
{
public:
    // The 28-character disc ID, or empty for a table libdiscid refuses (no tracks, more than
    // 99, offsets out of order).
    static QString fromToc(const DiscToc& toc);
    // "1+<last>+<lead-out>+<offset 1>+..." in frames, the lead-in included.
    static QString tocText(const DiscToc& toc);
};
