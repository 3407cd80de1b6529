#pragma once

#include "db/TreeNodeData.h"

#include <QString>
#include <memory>

// A tree of named nodes, each owning the TreeNodeData attached to it.
class NameTree
{
public:
    using NodeHandle = void*;

    virtual ~NameTree() = default;
    // Inserts a node under `parent` after its last child; returns the new node, or nullptr
    // when the tree refuses it (the data is then discarded).
    virtual NodeHandle insertNode(NodeHandle parent, const QString& text, int image,
                                  int selectedImage, std::unique_ptr<TreeNodeData> data) = 0;
};
