#pragma once

#include "db/TreeNodeData.h"

#include <QTreeWidgetItem>
#include <memory>

// A tree item that owns the data attached to it.
class TreeNodeItem : public QTreeWidgetItem
{
public:
    std::unique_ptr<TreeNodeData> data;
};
