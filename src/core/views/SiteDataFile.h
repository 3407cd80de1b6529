#pragma once

#include "db/AlbumRecord.h"

#include <QByteArray>
#include <QString>

// The site's album data: one script file that assigns the albums, as JSON, to a variable.
// Browsers refuse to fetch a file from a page opened from the disk, but they run its scripts,
// so the list works from the folder with no server.
//
// Each album is an array: id, artist, title, year (0 when unknown), media type, genre, label,
// label number, barcode.
class SiteDataFile
{
public:
    void addAlbum(int id, const AlbumRecord& record);
    int albumCount() const { return m_count; }
    // The whole file: the site `title` and the albums added, in the order they were added.
    QByteArray script(const QString& title) const;

    // JSON text that ends no script element and starts no markup wherever it is pasted: the
    // characters that could (and the line separators older engines end a string at) escaped.
    static QByteArray scriptSafe(const QByteArray& json);

private:
    QByteArray m_rows;
    int m_count = 0;
};
