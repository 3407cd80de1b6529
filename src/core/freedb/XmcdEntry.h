#pragma once

#include <QByteArray>
#include <QVector>
#include <cstdint>

// One disc's entry in the xmcd format, as a CDDB read reply carries it. Texts are the server's
// bytes; no character set is applied here.
class XmcdEntry
{
public:
    // A CD has at most 99 tracks; a track keyword numbered outside 0 to 98 rejects the entry,
    // so "TTITLE2000000000=x" cannot make the parser allocate a billion titles.
    static constexpr int MaxTrackNumber = 98;

    // Parses the body of a read reply (status line first, ending before the "." line). Returns
    // true with a complete entry; on false the entry is partly filled and not to be used.
    bool Parse(const QByteArray& body);
    void Reset();

    QVector<int> frameOffsets;
    int discLength = 0; // seconds
    int revision = 0;
    QByteArray submitterClient;
    QByteArray submitterVersion;
    QByteArray submitterComment;
    std::uint32_t discId = 0;
    QByteArray artist;
    QByteArray title;
    QVector<QByteArray> trackTitles;
    QByteArray extendedDiscData;
    QVector<QByteArray> extendedTrackData;
    QVector<int> playOrder;
    int year = 0;
    QByteArray genre;
};
