#include "freedb/DiscImage.h"

#include <QDir>
#include <QFile>

namespace
{

bool writeText(const QString& path, const QString& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(text.toUtf8()) >= 0;
}

// Resizing an empty file leaves a hole, not written zeros.
bool writeSparseBin(const QString& path, int frames)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.resize(qint64(frames) * DiscImage::FrameBytes);
}

int totalFrames(const QVector<DiscImage::Track>& tracks)
{
    int total = 0;
    for (const DiscImage::Track& track : tracks)
        total += track.frames;
    return total;
}

} // namespace

QString DiscImage::msf(int frames)
{
    return QString::asprintf("%02d:%02d:%02d", frames / 4500, (frames / 75) % 60, frames % 75);
}

QVector<int> DiscImage::trackStarts(const QVector<Track>& tracks, int firstTrackStart)
{
    QVector<int> starts;
    int position = LeadIn + firstTrackStart;
    for (const Track& track : tracks) {
        starts.append(position);
        position += track.frames;
    }
    return starts;
}

int DiscImage::leadOut(const QVector<Track>& tracks, int firstTrackStart)
{
    return LeadIn + firstTrackStart + totalFrames(tracks);
}

QString DiscImage::writeCue(const QString& folder, const QString& name,
                            const QVector<Track>& tracks, int firstTrackStart)
{
    const QDir dir(folder);
    QString cue = QStringLiteral("FILE \"%1.bin\" BINARY\n").arg(name);
    int position = firstTrackStart;
    for (int i = 0; i < tracks.size(); ++i) {
        cue += QStringLiteral("  TRACK %1 %2\n")
                   .arg(i + 1, 2, 10, QLatin1Char('0'))
                   .arg(tracks[i].audio ? QStringLiteral("AUDIO") : QStringLiteral("MODE1/2352"));
        if (i == 0 && firstTrackStart > 0)
            cue += QStringLiteral("    INDEX 00 00:00:00\n");
        cue += QStringLiteral("    INDEX 01 %1\n").arg(msf(position));
        position += tracks[i].frames;
    }
    const QString cuePath = dir.filePath(name + QLatin1String(".cue"));
    if (!writeText(cuePath, cue) ||
        !writeSparseBin(dir.filePath(name + QLatin1String(".bin")), position))
        return QString();
    return cuePath;
}

QString DiscImage::writeToc(const QString& folder, const QString& name,
                            const QVector<Track>& tracks)
{
    const QDir dir(folder);
    bool allAudio = true;
    for (const Track& track : tracks)
        allAudio = allAudio && track.audio;
    QString toc = allAudio ? QStringLiteral("CD_DA\n") : QStringLiteral("CD_ROM\n");
    // libcdio resolves a relative FILE against the current folder, not the .toc's own.
    const QString binPath = dir.absoluteFilePath(name + QLatin1String(".bin"));
    int position = 0;
    for (const Track& track : tracks) {
        toc +=
            QStringLiteral("\nTRACK %1\nFILE \"%2\" %3 %4\n")
                .arg(track.audio ? QStringLiteral("AUDIO") : QStringLiteral("MODE1_RAW"), binPath,
                     position == 0 ? QStringLiteral("0") : msf(position), msf(track.frames));
        position += track.frames;
    }
    const QString tocPath = dir.filePath(name + QLatin1String(".toc"));
    if (!writeText(tocPath, toc) || !writeSparseBin(binPath, position))
        return QString();
    return tocPath;
}
