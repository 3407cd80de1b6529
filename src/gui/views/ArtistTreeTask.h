#pragma once

#include "views/DetachedNameTree.h"

#include <QObject>
#include <QString>
#include <memory>
#include <mutex>

class AlbumTable;
class Database;

// The artist tree read, sorted and made on a pool thread, over a connection of its own to the
// catalogue: two hundred thousand artists take over a second. The task lives as long as its
// last holder, so a view that gives up on it (or is closed) leaves the worker nothing to fear.
class ArtistTreeTask : public QObject, public std::enable_shared_from_this<ArtistTreeTask>
{
    Q_OBJECT

public:
    struct Request {
        QString path;
        QString connect;
        QString rootText;
        DetachedNameTree::Icons icons;
    };

    // The root with the catalogue's artists under it; without a catalogue, the root alone.
    // `filled` is false when the artists could not be read (the table has said why, unless it
    // was told to keep quiet).
    static std::unique_ptr<TreeNodeItem> build(AlbumTable& table, Database* database,
                                               const QString& rootText,
                                               const DetachedNameTree::Icons& icons,
                                               bool* filled = nullptr);

    // Connect to finished() before start().
    static std::shared_ptr<ArtistTreeTask> create(Request request);
    ~ArtistTreeTask() override;
    void start();
    // The tree once finished() came, or nullptr when the catalogue could not be read there.
    std::unique_ptr<TreeNodeItem> takeRoot();

signals:
    void finished();

private:
    explicit ArtistTreeTask(Request request) : m_request(std::move(request)) {}
    void run();

    const Request m_request;
    std::mutex m_mutex;
    std::unique_ptr<TreeNodeItem> m_root;
};
