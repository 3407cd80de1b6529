#include "views/CLeftView.h"

#include "app/PrivateMessages.h"
#include "views/CVastryDoc.h"
#include "views/CatalogReadTask.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyle>
#include <utility>
#include <vector>

namespace
{

QString rootText(const CVastryDoc& document, const QString& caption)
{
    const Database* database = const_cast<CVastryDoc&>(document).database();
    if (!database || !database->isOpen() || database->name().isEmpty())
        return caption;
    QString path = database->name();
    // The file name is whatever follows the last separator of the path.
    const int separator =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return caption + QLatin1String(" - ") + path.mid(separator + 1);
}

// A tree the worker built, freed off the interface thread when nobody took it.
struct BuiltTree {
    std::unique_ptr<TreeNodeItem> root;
    ~BuiltTree() { DetachedNameTree::freeInBackground(std::move(root)); }
};

} // namespace

CLeftView::CLeftView(CVastryDoc& document, QWidget* parent)
    : QTreeWidget(parent), m_document(document)
{
    setObjectName(QStringLiteral("CLeftView"));
    setAccessibleName(QStringLiteral("Artists"));
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setMouseTracking(true);
    setIconSize(QSize(16, 16));
    // Rows of one height spare the layout of a large tree from asking every row its size.
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { onCurrentItemChanged(current); });
    // The nodes come with the first UWM_RELOAD, which the frame sends once it is on the screen.
}

CLeftView::~CLeftView()
{
    m_selectingByProgram = true;
    clear();
}

const TreeNodeData* CLeftView::nodeData(const QTreeWidgetItem* item)
{
    const auto* node = dynamic_cast<const TreeNodeItem*>(item);
    return node ? node->data.get() : nullptr;
}

// Every node of a kind shares one icon: decoding the style's pictures once per node made a
// large catalogue's tree take seconds to build.
QIcon CLeftView::nodeIcon(int image, int selectedImage)
{
    const int key = DetachedNameTree::iconKey(image, selectedImage);
    const auto cached = m_icons.constFind(key);
    if (cached != m_icons.constEnd())
        return cached.value();
    const auto pixmapFor = [this](int index) {
        const QStyle::StandardPixmap pixmaps[] = {QStyle::SP_DriveCDIcon, QStyle::SP_DirIcon,
                                                  QStyle::SP_DirOpenIcon};
        return style()->standardIcon(pixmaps[qBound(0, index, 2)]).pixmap(16, 16);
    };
    QIcon icon(pixmapFor(image));
    icon.addPixmap(pixmapFor(selectedImage), QIcon::Selected);
    m_icons.insert(key, icon);
    return icon;
}

DetachedNameTree::Icons CLeftView::treeIcons()
{
    DetachedNameTree::Icons icons;
    for (const auto& [image, selectedImage] : {std::pair{0, 0}, std::pair{1, 2}})
        icons.insert(DetachedNameTree::iconKey(image, selectedImage),
                     nodeIcon(image, selectedImage));
    return icons;
}

bool CLeftView::event(QEvent* event)
{
    const int type = int(event->type());
    if (type == UWM_RELOAD) {
        rebuild();
        return true;
    }
    if (type == UWM_SELECT_ROOT) {
        const auto* message = static_cast<PaneMessage*>(event);
        selectFirstNodeOfType(int(message->wParam()), message->lParam() != SelectQuietly);
        return true;
    }
    if (type == QEvent::StyleChange)
        m_icons.clear(); // the next rebuild takes the new style's pictures
    return QTreeWidget::event(event);
}

// A build still running on the worker is not wanted any more: its tree would be older.
void CLeftView::rebuild()
{
    m_building.reset();
    const QString text = rootText(m_document, m_document.itemCaption());
    if (CatalogReadTask::isWorthIt(m_document.albumTable(), m_document.database(),
                                   QStringLiteral("music_artists"),
                                   QStringLiteral("artist_deleted"))) {
        buildInBackground(text);
        return;
    }
    install(buildTree(m_document.albumTable(), m_document.database(), text, treeIcons()));
    emit built();
}

// The root with the catalogue's artists under it; without a catalogue, the root alone.
// `filled` is false when the artists could not be read.
std::unique_ptr<TreeNodeItem> CLeftView::buildTree(AlbumTable& table, Database* database,
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

// Until the first tree arrives there is at least its root, which can be chosen.
void CLeftView::buildInBackground(const QString& rootText)
{
    if (topLevelItemCount() == 0)
        install(buildTree(m_document.albumTable(), nullptr, rootText, treeIcons()));
    auto built = std::make_shared<BuiltTree>();
    m_building = CatalogReadTask::create(
        *m_document.database(),
        [built, rootText, icons = treeIcons()](AlbumTable& table, Database* database) {
            bool filled = false;
            built->root = buildTree(table, database, rootText, icons, &filled);
            return filled;
        });
    const CatalogReadTask* task = m_building.get();
    connect(task, &CatalogReadTask::finished, this, [this, task, built](bool read) {
        takeBuiltTree(task, read ? std::move(built->root) : nullptr);
    });
    m_building->start();
}

void CLeftView::takeBuiltTree(const CatalogReadTask* task, std::unique_ptr<TreeNodeItem> root)
{
    if (task != m_building.get())
        return; // replaced by a newer build, which keeps the task alive until it is done
    m_building.reset();
    if (root) {
        install(std::move(root));
    } else {
        // The worker could not read the catalogue: built here, which says why.
        install(buildTree(m_document.albumTable(), m_document.database(),
                          rootText(m_document, m_document.itemCaption()), treeIcons()));
    }
    emit built();
}

// The node chosen before stays chosen where it still exists (quietly: the album list keeps its
// rows), and the tree stays scrolled where it was. The old tree is freed on a pool thread.
void CLeftView::install(std::unique_ptr<TreeNodeItem> root)
{
    const TreeNodeData* chosen = nodeData(currentItem());
    const int chosenType = chosen ? chosen->type : -1;
    const int chosenId = chosen ? chosen->id : -1;
    const int scrolled = verticalScrollBar()->value();
    m_selectingByProgram = true;
    while (topLevelItemCount() > 0)
        DetachedNameTree::freeInBackground(
            std::unique_ptr<TreeNodeItem>(static_cast<TreeNodeItem*>(takeTopLevelItem(0))));
    QTreeWidgetItem* top = root.release();
    addTopLevelItem(top);
    top->setExpanded(true);
    setCurrentItem(findNode(chosenType, chosenId));
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(scrolled);
    m_selectingByProgram = false;
}

// Every item is one of ours, which a walk of the children can count on; the generic iterator
// and a checked cast per item took a noticeable part of a large tree's rebuild.
QTreeWidgetItem* CLeftView::findNode(int nodeType, int id)
{
    std::vector<QTreeWidgetItem*> pending;
    for (int i = topLevelItemCount() - 1; i >= 0; --i)
        pending.push_back(topLevelItem(i));
    while (!pending.empty()) {
        QTreeWidgetItem* item = pending.back();
        pending.pop_back();
        const TreeNodeData* data = static_cast<const TreeNodeItem*>(item)->data.get();
        if (data && data->type == nodeType && data->id == id)
            return item;
        for (int i = item->childCount() - 1; i >= 0; --i)
            pending.push_back(item->child(i));
    }
    return nullptr;
}

void CLeftView::selectFirstNodeOfType(int nodeType, bool tellTheList)
{
    QTreeWidgetItemIterator it(this);
    for (; *it; ++it) {
        const TreeNodeData* data = nodeData(*it);
        if (data && data->type == nodeType) {
            m_selectingByProgram = true;
            setCurrentItem(*it);
            m_selectingByProgram = false;
            break;
        }
    }
    if (tellTheList)
        SendPaneMessage(m_document.listPane(), UWM_NODE_SELECTED, quintptr(nodeType), 0);
}

void CLeftView::onCurrentItemChanged(QTreeWidgetItem* current)
{
    if (m_selectingByProgram || !current)
        return;
    const TreeNodeData* data = nodeData(current);
    if (!data || data->type == -1)
        return;
    SendPaneMessage(m_document.listPane(), UWM_NODE_SELECTED, quintptr(data->type),
                    qintptr(reinterpret_cast<quintptr>(data)));
}
