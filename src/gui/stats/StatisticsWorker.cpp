#include "stats/StatisticsWorker.h"

StatisticsWorker::StatisticsWorker()
{
    qRegisterMetaType<CollectionStatistics::Figures>();
}

StatisticsWorker::~StatisticsWorker()
{
    m_albums.CloseDatabase(&m_database);
}

void StatisticsWorker::compute(int request, const QString& path, const QString& condition,
                               int parts)
{
    CollectionStatistics::Figures figures;
    if (path.isEmpty()) {
        emit computed(request, parts, figures, true);
        return;
    }
    const bool ok = openFile(path) &&
                    CollectionStatistics(m_database.get()).compute(condition, &figures, parts);
    emit computed(request, parts, figures, ok);
}

// The connection stays open between requests; another catalogue opened in the main window
// gets a connection of its own.
bool StatisticsWorker::openFile(const QString& path)
{
    if (m_database && m_database->name() == path)
        return true;
    m_albums.CloseDatabase(&m_database);
    return m_albums.OpenDatabase(&m_database, path, DatabaseEx::catalogConnectString());
}
