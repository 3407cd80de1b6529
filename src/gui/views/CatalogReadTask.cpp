#include "views/CatalogReadTask.h"

#include "db/AlbumTable.h"

#include <QThreadPool>

int CatalogReadTask::s_backgroundFrom = CatalogReadTask::BackgroundFrom;

bool CatalogReadTask::isWorthIt(ItemTable& catalog, Database* database, const QString& table,
                                const QString& deletedColumn)
{
    return database && catalog.CountNamesUpTo(database, table, deletedColumn, s_backgroundFrom) >=
                           s_backgroundFrom;
}

void CatalogReadTask::setBackgroundFrom(int names)
{
    s_backgroundFrom = names;
}

std::shared_ptr<CatalogReadTask> CatalogReadTask::create(const Database& database, Read read)
{
    // The object belongs to the creating thread; the last holder may be the worker, so the
    // deletion is handed back to the owning thread rather than done where the count drops.
    return std::shared_ptr<CatalogReadTask>(
        new CatalogReadTask(database.name(), database.connectString(), std::move(read)),
        [](CatalogReadTask* task) { task->deleteLater(); });
}

CatalogReadTask::CatalogReadTask(QString path, QString connect, Read read)
    : m_path(std::move(path)), m_connect(std::move(connect)), m_read(std::move(read))
{
}

void CatalogReadTask::start()
{
    QThreadPool::globalInstance()->start([self = shared_from_this()] { self->run(); });
}

void CatalogReadTask::run()
{
    AlbumTable albums;
    albums.setQuiet(true);
    DatabaseHandle database;
    // A connection of its own each time: the file may have been replaced since the last read.
    bool read = albums.OpenDatabase(&database, m_path, m_connect) &&
                m_read(albums, database.get()) && !albums.quietError().isSet();
    albums.CloseDatabase(&database);
    // What the function holds is freed here when the window has given up on it: a long list
    // freed on the interface thread would stop the window for a moment.
    m_read = nullptr;
    emit finished(read);
}
