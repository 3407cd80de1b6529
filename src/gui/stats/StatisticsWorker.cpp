#include "stats/StatisticsWorker.h"

StatisticsWorker::StatisticsWorker()
{
    qRegisterMetaType<CollectionStatistics::Figures>();
}

StatisticsWorker::~StatisticsWorker()
{
    m_albums.CloseDatabase(&m_database);
}

void StatisticsWorker::compute(int request, const QString& path, const QString& connect,
                               const QString& condition, int parts)
{
    CollectionStatistics::Figures figures;
    if (path.isEmpty()) {
        emit computed(request, parts, figures, true);
        return;
    }
    // A connection kept between requests would hold the file open while the main window
    // replaces it (File > New Database over the open file) and go on reading the old one.
    const bool ok = m_albums.OpenDatabase(&m_database, path, connect) &&
                    CollectionStatistics(m_database.get()).compute(condition, &figures, parts);
    m_albums.CloseDatabase(&m_database);
    emit computed(request, parts, figures, ok);
}
