#include "freedb/DiscToc.h"

#include "app/ErrorReporter.h"
#include "freedb/CdioLog.h"

#include <QFileInfo>
#include <cdio/cdio.h>
#include <memory>

namespace
{

struct CdioCloser {
    void operator()(CdIo_t* cdio) const { cdio_destroy(cdio); }
};
using CdioHandle = std::unique_ptr<CdIo_t, CdioCloser>;

CdioHandle openDrive(const QString& drive)
{
    // An empty name would make libcdio pick a default image file of its own; a directory is
    // no disc either, and some of its drivers end the process when they read one.
    if (drive.isEmpty() || QFileInfo(drive).isDir())
        return nullptr;
    CdioLog::install();
    return CdioHandle(cdio_open(QFile::encodeName(drive).constData(), DRIVER_UNKNOWN));
}

int digitSum(int value)
{
    int sum = 0;
    while (value > 0) {
        sum += value % 10;
        value /= 10;
    }
    return sum;
}

} // namespace

DiscToc DiscToc::fromFrameOffsets(const QVector<int>& trackStarts, int leadOut)
{
    DiscToc toc;
    for (int start : trackStarts)
        toc.m_entries.append(TocEntry::fromFrames(start));
    toc.m_entries.append(TocEntry::fromFrames(leadOut));
    return toc;
}

bool DiscToc::ReadFromDrive(const QString& drive)
{
    m_entries.clear();
    const CdioHandle cdio = openDrive(drive);
    if (!cdio)
        return false;

    // libcdio numbers tracks from the disc's first track number, usually 1. Something that
    // opens but holds no table (a device that is no CD drive, a drive without a disc) reports
    // CDIO_INVALID_TRACK.
    const track_t first = cdio_get_first_track_num(cdio.get());
    const track_t count = cdio_get_num_tracks(cdio.get());
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count < 1)
        return false;
    const int last = int(first) + int(count) - 1;
    if (last > CDIO_CD_MAX_TRACKS)
        return false;

    // One audio track is enough: a mixed disc is read whole, its data tracks included.
    bool hasAudio = false;
    for (int track = first; track <= last && !hasAudio; ++track)
        hasAudio = cdio_get_track_format(cdio.get(), track_t(track)) == TRACK_FORMAT_AUDIO;
    if (!hasAudio)
        return false;

    // Positions come as LBA, which counts the two-second lead-in, so they are the absolute
    // frame offsets the disc ID and the query use. The lead-out is the drive's own: the first
    // position after the last track.
    QVector<TocEntry> entries;
    entries.reserve(int(count) + 1);
    for (int track = first; track <= last + 1; ++track) {
        const track_t which = track <= last ? track_t(track) : track_t(CDIO_CDROM_LEADOUT_TRACK);
        const lba_t lba = cdio_get_track_lba(cdio.get(), which);
        if (lba == CDIO_INVALID_LBA || lba < 0)
            return false;
        entries.append(TocEntry::fromFrames(int(lba)));
    }
    m_entries = entries;
    return true;
}

std::uint32_t DiscToc::DiscId() const
{
    const int tracks = trackCount();
    if (tracks < 1)
        return 0;
    int checksum = 0;
    for (int i = 0; i < tracks; ++i)
        checksum += digitSum(m_entries.at(i).wholeSeconds());
    const int playingTime = leadOut().wholeSeconds() - m_entries.first().wholeSeconds();
    // Masked to their fields, though no real disc comes near 65 535 seconds or 255 tracks.
    return (std::uint32_t(checksum % 255) << 24) | ((std::uint32_t(playingTime) & 0xffffu) << 8) |
           (std::uint32_t(tracks) & 0xffu);
}

bool ReadDiscId(const QString& drive, DiscToc& toc, std::uint32_t& discId)
{
    if (!toc.ReadFromDrive(drive)) {
        ErrorReporter::report(
            QStringLiteral("Error"),
            QStringLiteral("Unable to get the track information, please make sure that there "
                           "is a CD in drive %1 and then try again.")
                .arg(drive),
            ReportIcon::Stop);
        return false;
    }
    discId = toc.DiscId();
    return true;
}
