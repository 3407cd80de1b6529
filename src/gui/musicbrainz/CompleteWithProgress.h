#pragma once

#include <QString>
#include <chrono>

class CVastryDoc;
class QWidget;

// Record > Complete from MusicBrainz: asks whether to complete the selected album or every
// imported album without tracks, completes them while a progress dialog shows the time left
// and offers Cancel (which stops after the album in hand), and shows the summary. The service
// is asked on a worker thread, so the window stays live through the waits.
class CompleteWithProgress
{
public:
    static constexpr const char* Caption = "Complete from MusicBrainz";

    // `selectedAlbumId` is -1 when no album is selected. True when an album was completed.
    static bool run(CVastryDoc& document, int selectedAlbumId, QWidget* parent);

    // "about 2 h 5 min", "about 3 min 20 s", "about 40 s".
    static QString remainingText(std::chrono::seconds remaining);
};
