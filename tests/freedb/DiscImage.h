#pragma once

#include <QString>
#include <QVector>

// Small disc images for libcdio to read as if they were discs in a drive: a .cue sheet (or a
// cdrdao .toc) with a sparse .bin of raw 2352-byte frames, so a track of a few seconds costs
// no disc space. Track positions on the "disc" are 150 frames (the lead-in) after their
// position in the .bin.
class DiscImage
{
public:
    struct Track {
        int frames;
        bool audio = true;
    };
    static constexpr int LeadIn = 150;
    static constexpr int FrameBytes = 2352;

    // Writes "<name>.cue" and "<name>.bin" (libcdio looks for the .bin by the .cue's name) and
    // returns the path of the .cue. `firstTrackStart` frames of pregap come before track 1.
    static QString writeCue(const QString& folder, const QString& name,
                            const QVector<Track>& tracks, int firstTrackStart = 0);
    // The same disc as a cdrdao .toc with its .bin, named in the .toc by its absolute path.
    static QString writeToc(const QString& folder, const QString& name,
                            const QVector<Track>& tracks);

    // The absolute frame offsets a drive reports for such a disc: track starts, then lead-out.
    static QVector<int> trackStarts(const QVector<Track>& tracks, int firstTrackStart = 0);
    static int leadOut(const QVector<Track>& tracks, int firstTrackStart = 0);

    // "mm:ss:ff" of a frame count.
    static QString msf(int frames);
};
