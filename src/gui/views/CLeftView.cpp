#include "views/CLeftView.h"

#include "app/PrivateMessages.h"
#include "views/CVastryDoc.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyle>

namespace
{

// A tree item that owns the data attached to it.
class NodeItem : public QTreeWidgetItem
{
public:
    std::unique_ptr<TreeNodeData> data;
};

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
    const auto* node = dynamic_cast<const NodeItem*>(item);
    return node ? node->data.get() : nullptr;
}

// Every node of a kind shares one icon: decoding the style's pictures once per node made a
// large catalogue's tree take seconds to build.
QIcon CLeftView::nodeIcon(int image, int selectedImage)
{
    const int key = qBound(0, image, 2) * 3 + qBound(0, selectedImage, 2);
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

NameTree::NodeHandle CLeftView::insertNode(NodeHandle parent, const QString& text, int image,
                                           int selectedImage, std::unique_ptr<TreeNodeData> data)
{
    auto* item = new NodeItem;
    item->setText(0, text);
    item->setIcon(0, nodeIcon(image, selectedImage));
    item->data = std::move(data);
    if (parent)
        static_cast<QTreeWidgetItem*>(parent)->addChild(item);
    else
        addTopLevelItem(item);
    return item;
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

// The node chosen before stays chosen where it still exists (quietly: the album list keeps its
// rows), and the tree stays scrolled where it was.
void CLeftView::rebuild()
{
    const TreeNodeData* chosen = nodeData(currentItem());
    const int chosenType = chosen ? chosen->type : -1;
    const int chosenId = chosen ? chosen->id : -1;
    const int scrolled = verticalScrollBar()->value();
    m_selectingByProgram = true;
    clear();
    auto rootData = std::make_unique<TreeNodeData>();
    rootData->type = TreeNodeData::RootNode;
    rootData->id = -1;
    auto* root = static_cast<QTreeWidgetItem*>(insertNode(
        nullptr, rootText(m_document, m_document.itemCaption()), 0, 0, std::move(rootData)));
    if (m_document.database())
        m_document.albumTable().FillNameTree(
            m_document.database(), root, this, 1, 2, TreeNodeData::ArtistNode,
            QStringLiteral("music_artists"), QStringLiteral("artist_name"),
            QStringLiteral("artist_id"), QStringLiteral("artist_deleted"), false);
    root->setExpanded(true);
    setCurrentItem(findNode(chosenType, chosenId));
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(scrolled);
    m_selectingByProgram = false;
}

QTreeWidgetItem* CLeftView::findNode(int nodeType, int id)
{
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        const TreeNodeData* data = nodeData(*it);
        if (data && data->type == nodeType && data->id == id)
            return *it;
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
