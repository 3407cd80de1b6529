#pragma once

#include "db/AlbumTable.h"

#include <QString>
#include <functional>

class CoverScaler;
class QIODevice;
class SiteDataFile;

// Publishes the albums of the open catalogue as a static web site: a folder that works opened
// from the disk, with no server and no network. "index.html" lists the albums (search, sorted
// columns, only the rows on screen drawn), "data.js" holds them, "albums/<id>.html" is each
// album's page and "covers/" their pictures, scaled down.
class SitePublisher
{
public:
    static constexpr int MaxCoverSide = 600;

    struct Options {
        QString condition;  // which albums, as the album list's condition; empty: all
        bool covers = true; // without covers no picture is read
        QString title = QStringLiteral("Music collection"); // the list's heading
    };
    enum class Outcome { Published, Cancelled, Failed };
    // Told the albums done so far and their total; false cancels.
    using Progress = std::function<bool(int done, int total)>;

    // Without a scaler, no covers are published.
    SitePublisher(Database* database, CoverScaler* scaler);

    void setProgress(Progress progress) { m_progress = std::move(progress); }
    // Writes the site and puts it at `target`, a new folder, an empty one or a site published
    // before; anything else is left alone. On failure or cancel the target is as it was.
    Outcome publish(const QString& target, const Options& options);

    QString errorText() const { return m_error; }
    int albumCount() const { return m_albumCount; }
    int coverCount() const { return m_coverCount; }

private:
    bool copyAssets(const QString& folder);
    bool writeAlbum(const QString& folder, Recordset* recordset, bool covers, SiteDataFile* data);
    QStringList writeCovers(const QString& folder, int id, const AlbumRecord& record);
    bool writeFile(const QString& path, const QByteArray& bytes);
    Outcome fail(const QString& error);

    Database* m_database;
    CoverScaler* m_scaler;
    AlbumTable m_albums;
    Progress m_progress;
    QString m_error;
    int m_albumCount = 0;
    int m_coverCount = 0;
};
