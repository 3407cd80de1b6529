#pragma once

#include "db/NameTree.h"
#include "views/TreeNodeItem.h"

#include <QHash>
#include <QIcon>
#include <memory>

// Tree items made apart from any tree widget. Put into the widget in one step, they cost a
// fraction of what adding them one by one to a shown tree does, and they can be made on a
// worker thread. The style is asked for pictures only on the interface thread, so the icons
// come ready.
class DetachedNameTree : public NameTree
{
public:
    using Icons = QHash<int, QIcon>; // by iconKey()

    explicit DetachedNameTree(Icons icons) : m_icons(std::move(icons)) {}

    static int iconKey(int image, int selectedImage);
    // A node without a parent becomes the root, which takeRoot() hands over; there is one.
    NodeHandle insertNode(NodeHandle parent, const QString& text, int image, int selectedImage,
                          std::unique_ptr<TreeNodeData> data) override;
    std::unique_ptr<TreeNodeItem> takeRoot() { return std::move(m_root); }
    // Frees a tree taken out of its widget (or never put in one) on a pool thread: the items
    // of a large tree take a tenth of a second to free.
    static void freeInBackground(std::unique_ptr<TreeNodeItem> root);

private:
    Icons m_icons;
    std::unique_ptr<TreeNodeItem> m_root;
};
