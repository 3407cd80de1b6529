#include "views/DetachedNameTree.h"

#include <QThreadPool>
#include <QtGlobal>

int DetachedNameTree::iconKey(int image, int selectedImage)
{
    return qBound(0, image, 2) * 3 + qBound(0, selectedImage, 2);
}

NameTree::NodeHandle DetachedNameTree::insertNode(NodeHandle parent, const QString& text, int image,
                                                  int selectedImage,
                                                  std::unique_ptr<TreeNodeData> data)
{
    if (!parent && m_root)
        return nullptr;
    auto item = std::make_unique<TreeNodeItem>();
    item->setText(0, text);
    item->setIcon(0, m_icons.value(iconKey(image, selectedImage)));
    item->data = std::move(data);
    if (!parent) {
        m_root = std::move(item);
        return m_root.get();
    }
    auto* node = item.release();
    static_cast<QTreeWidgetItem*>(parent)->addChild(node);
    return node;
}

void DetachedNameTree::freeInBackground(std::unique_ptr<TreeNodeItem> root)
{
    if (!root)
        return;
    Q_ASSERT(!root->treeWidget());
    QThreadPool::globalInstance()->start([root = root.release()] { delete root; });
}
