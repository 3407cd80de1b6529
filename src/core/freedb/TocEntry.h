#pragma once

// One position on a disc in minutes, seconds and frames (75 frames a second), as the drive
// reports it: absolute, so the first track of an ordinary disc starts at 00:02:00.
struct TocEntry {
    int minutes = 0;
    int seconds = 0;
    int frames = 0;

    static constexpr int FramesPerSecond = 75;
    static constexpr int FramesPerMinute = 60 * FramesPerSecond;

    static TocEntry fromFrames(int frameOffset)
    {
        return {frameOffset / FramesPerMinute, (frameOffset / FramesPerSecond) % 60,
                frameOffset % FramesPerSecond};
    }
    int frameOffset() const
    {
        return minutes * FramesPerMinute + seconds * FramesPerSecond + frames;
    }
    // Frames are dropped, as the disc ID and the query's total want.
    int wholeSeconds() const { return minutes * 60 + seconds; }

    friend bool operator==(const TocEntry& a, const TocEntry& b)
    {
        return a.minutes == b.minutes && a.seconds == b.seconds && a.frames == b.frames;
    }
    friend bool operator!=(const TocEntry& a, const TocEntry& b) { return !(a == b); }
};
