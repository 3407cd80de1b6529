#include "views/SitePublisher.h"

#include "db/AlbumRowReader.h"
#include "db/TrackTable.h"
#include "views/AlbumListQuery.h"
#include "views/CoverScaler.h"
#include "views/OutputTarget.h"
#include "views/SiteDataFile.h"
#include "views/SiteFolder.h"
#include "views/SitePageWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// The site's style sheet, script and list page are compiled into this static library: naming
// their initialiser keeps the linker from dropping them.
static void loadSiteAssets()
{
    Q_INIT_RESOURCE(site);
}

namespace
{

const char* const AssetFolder = ":/site/";

// Compiled in, so always there.
QByteArray asset(const char* name)
{
    QFile file(QLatin1String(AssetFolder) + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString coverName(int id, const char* side)
{
    return QStringLiteral("%1-%2.jpg").arg(id).arg(QLatin1String(side));
}

// Pictures are read from local files named by a full path only, as on the album page.
bool isLocalPicture(const QString& path)
{
    return path.startsWith(QLatin1Char('/')) && QFileInfo(path).isFile();
}

} // namespace

SitePublisher::SitePublisher(Database* database, CoverScaler* scaler)
    : m_database(database), m_scaler(scaler)
{
    loadSiteAssets();
}

SitePublisher::Outcome SitePublisher::fail(const QString& error)
{
    m_error = error;
    return Outcome::Failed;
}

SitePublisher::Outcome SitePublisher::publish(const QString& target, const Options& options)
{
    m_error.clear();
    m_albumCount = m_coverCount = 0;
    if (!m_database)
        return fail(QStringLiteral("No catalogue is open."));
    SiteFolder folder(target, m_database->name());
    QString error;
    if (!folder.begin(&error))
        return fail(error);
    const QString work = folder.workPath();
    if (!copyAssets(work))
        return Outcome::Failed;
    RecordsetHandle recordset;
    const QString sql = CatalogTable::BuildItemQuery(m_albums.baseSelect(m_database),
                                                     QLatin1String(AlbumListQuery::DefaultSortText),
                                                     false, options.condition);
    if (!m_albums.OpenRecordset(&recordset, m_database, sql))
        return fail(QStringLiteral("The album list cannot be read."));
    const int total = m_albums.GetRecordCount(recordset.get());
    if (total < 0)
        return fail(QStringLiteral("The album list cannot be read."));
    SiteDataFile data;
    const bool covers = options.covers && m_scaler;
    for (int done = 0; !recordset->isEOF(); ++done) {
        if (m_progress && !m_progress(done, total))
            return Outcome::Cancelled;
        if (!writeAlbum(work, recordset.get(), covers, &data))
            return Outcome::Failed;
        if (!recordset->moveNext())
            break;
    }
    if (m_progress && !m_progress(total, total))
        return Outcome::Cancelled;
    m_albums.CloseRecordset(&recordset);
    m_albumCount = data.albumCount();
    if (!writeFile(QDir(work).filePath(QStringLiteral("data.js")), data.script(options.title)) ||
        !writeFile(QDir(work).filePath(QStringLiteral("index.html")),
                   SitePageWriter::head(options.title, QString(),
                                        {QStringLiteral("data.js"), QStringLiteral("site.js")}) +
                       asset("index-body.html")))
        return Outcome::Failed;
    if (!folder.commit(&error))
        return fail(error);
    return Outcome::Published;
}

bool SitePublisher::copyAssets(const QString& folder)
{
    const QDir work(folder);
    if (!work.mkdir(QStringLiteral("albums")) || !work.mkdir(QStringLiteral("covers"))) {
        m_error =
            QStringLiteral("Cannot make folders in '%1'.").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    for (const char* name : {"site.css", "site.js"})
        if (!writeFile(work.filePath(QLatin1String(name)), asset(name)))
            return false;
    return true;
}

bool SitePublisher::writeAlbum(const QString& folder, Recordset* recordset, bool covers,
                               SiteDataFile* data)
{
    AlbumRecord record;
    AlbumRowReader::read(m_albums, recordset, &record);
    const int id = m_albums.GetFieldInt(recordset, QStringLiteral("music_id"));
    QVector<TrackRecord> tracks;
    if (!TrackTable().loadForPage(m_database, id, &tracks)) {
        m_error = QStringLiteral("The tracks of album %1 cannot be read.").arg(id);
        return false;
    }
    const QStringList coverFiles = covers ? writeCovers(folder, id, record) : QStringList();
    const QString path = QDir(folder).filePath(QStringLiteral("albums/%1.html").arg(id));
    QFile page(path);
    if (!page.open(QIODevice::WriteOnly) ||
        !SitePageWriter::writeAlbumPage(m_albums, &page, record, tracks, coverFiles) ||
        !page.flush()) {
        m_error = OutputTarget::cannotWrite(path, page);
        return false;
    }
    data->addAlbum(id, record);
    return true;
}

// A picture that cannot be read leaves the page without it, as on the album page.
QStringList SitePublisher::writeCovers(const QString& folder, int id, const AlbumRecord& record)
{
    QStringList written;
    const std::pair<const QString*, const char*> sides[] = {{&record.frontImage, "front"},
                                                            {&record.backImage, "back"}};
    for (const auto& [picture, side] : sides) {
        if (!isLocalPicture(*picture))
            continue;
        const QString name = coverName(id, side);
        if (m_scaler->writeScaled(*picture, QDir(folder).filePath(QLatin1String("covers/") + name),
                                  MaxCoverSide)) {
            written << name;
            ++m_coverCount;
        }
    }
    return written;
}

bool SitePublisher::writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush())
        return true;
    m_error = OutputTarget::cannotWrite(path, file);
    return false;
}
