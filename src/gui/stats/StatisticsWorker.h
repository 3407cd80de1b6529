#pragma once

#include "db/DatabaseEx.h"
#include "stats/CollectionStatistics.h"

#include <QObject>

// Works out figures on a thread of its own, over a connection of its own to the catalogue file:
// at a hundred thousand albums a group of figures takes seconds, and the main window must not
// wait for them.
class StatisticsWorker : public QObject
{
    Q_OBJECT

public:
    StatisticsWorker();
    ~StatisticsWorker() override;

public slots:
    // Answers with `computed` carrying the same `request`; an empty `path` (no catalogue open)
    // gives empty figures. `connect` is the open catalogue's own connect string: its key may be
    // the collector's password.
    void compute(int request, const QString& path, const QString& connect, const QString& condition,
                 int parts);

signals:
    void computed(int request, int parts, const CollectionStatistics::Figures& figures, bool ok);

private:
    AlbumTable m_albums;
    DatabaseHandle m_database;
};

Q_DECLARE_METATYPE(CollectionStatistics::Figures)
