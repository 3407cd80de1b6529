#include "views/ArtistTreeTask.h"

#include "db/AlbumTable.h"

#include <QThreadPool>

std::unique_ptr<TreeNodeItem> ArtistTreeTask::build(AlbumTable& table, Database* database,
                                                    const QString& rootText,
                                                    const DetachedNameTree::Icons& icons,
                                                    bool* filled)
{
    DetachedNameTree tree(icons);
    auto rootData = std::make_unique<TreeNodeData>();
    rootData->type = TreeNodeData::RootNode;
    rootData->id = -1;
    const NameTree::NodeHandle root = tree.insertNode(nullptr, rootText, 0, 0, std::move(rootData));
    const bool read =
        !database ||
        table.FillNameTree(database, root, &tree, 1, 2, TreeNodeData::ArtistNode,
                           QStringLiteral("music_artists"), QStringLiteral("artist_name"),
                           QStringLiteral("artist_id"), QStringLiteral("artist_deleted"), false);
    if (filled)
        *filled = read;
    return tree.takeRoot();
}

std::shared_ptr<ArtistTreeTask> ArtistTreeTask::create(Request request)
{
    // The object belongs to the creating thread; the last holder may be the worker, so the
    // deletion is handed back to the owning thread rather than done where the count drops.
    return std::shared_ptr<ArtistTreeTask>(new ArtistTreeTask(std::move(request)),
                                           [](ArtistTreeTask* task) { task->deleteLater(); });
}

// A tree nobody took any more (a newer one replaced it) is freed off the interface thread.
ArtistTreeTask::~ArtistTreeTask()
{
    DetachedNameTree::freeInBackground(std::move(m_root));
}

void ArtistTreeTask::start()
{
    QThreadPool::globalInstance()->start([self = shared_from_this()] { self->run(); });
}

std::unique_ptr<TreeNodeItem> ArtistTreeTask::takeRoot()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::move(m_root);
}

// Nothing is reported from here: a tree that cannot be read is built again on the interface
// thread, which tells the user why as it always has.
void ArtistTreeTask::run()
{
    AlbumTable albums;
    albums.setQuiet(true);
    DatabaseHandle database;
    std::unique_ptr<TreeNodeItem> root;
    if (albums.OpenDatabase(&database, m_request.path, m_request.connect)) {
        bool filled = false;
        root = build(albums, database.get(), m_request.rootText, m_request.icons, &filled);
        if (!filled || albums.quietError().isSet())
            root.reset();
    }
    albums.CloseDatabase(&database);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_root = std::move(root);
    }
    emit finished();
}
