#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class AlbumTable;
class ItemTable;
class Database;

// A read of the open catalogue on a pool thread, over a connection of its own, for lists so
// long that reading and sorting them would stop the window: two hundred thousand artists take
// over a second. What the read brings stays with whatever its function captured. The task
// lives as long as its last holder, so a window that gives up on it, or closes, leaves the
// worker nothing to fear.
class CatalogReadTask : public QObject, public std::enable_shared_from_this<CatalogReadTask>
{
    Q_OBJECT

public:
    // Runs on the worker, with a table that keeps its errors quiet; false when the read failed.
    using Read = std::function<bool(AlbumTable& table, Database* database)>;

    // From this many names on, a list of names is read on a worker.
    static constexpr int BackgroundFrom = 10000;
    // Whether a list of `table`'s names is long enough for the worker (counted up to the limit).
    static bool isWorthIt(ItemTable& catalog, Database* database, const QString& table,
                          const QString& deletedColumn);
    // For tests: 0 sends every list of names to the worker.
    static void setBackgroundFrom(int names);

    // Connect to finished() before start().
    static std::shared_ptr<CatalogReadTask> create(const Database& database, Read read);
    void start();

signals:
    // `read` false: the catalogue could not be opened or read there. The caller reads it again
    // where errors are shown to the user.
    void finished(bool read);

private:
    CatalogReadTask(QString path, QString connect, Read read);
    void run();

    static int s_backgroundFrom;

    const QString m_path;
    const QString m_connect;
    Read m_read;
};
