#pragma once

#include "db/AlbumRecord.h"
#include "db/TrackRecord.h"

#include <QByteArray>
#include <QIODevice>
#include <QStringList>
#include <QVector>

class HtmlPageWriter;

// The pages of a published web site. Each opens with the same head: UTF-8, a layout for
// small screens, the site's style sheet, and a content policy that lets the page load files of
// its own folder only (so no script at all may stand in a page: scripts are files too).
class SitePageWriter
{
public:
    static constexpr const char* ContentPolicy =
        "default-src 'self'; base-uri 'none'; form-action 'none'; object-src 'none'";

    // `root` leads from the page to the site folder ("" or "../"); `scripts` are loaded in
    // order, deferred.
    static QByteArray head(const QString& title, const QString& root,
                           const QStringList& scripts = {});
    // An album page for the site's albums folder: a link back to the list, the covers (file
    // names in the covers folder), then the album page's own body from `writer`.
    static bool writeAlbumPage(HtmlPageWriter& writer, QIODevice* device, const AlbumRecord& record,
                               const QVector<TrackRecord>& tracks, const QStringList& covers);
};
