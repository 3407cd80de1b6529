#pragma once

#include "db/NameTree.h"

#include <QHash>
#include <QIcon>
#include <QTreeWidget>

class CVastryDoc;
class PaneMessage;

// The artist tree: one root for the open catalogue and a child per artist. Choosing a node
// tells the album list which albums to show.
class CLeftView : public QTreeWidget, public NameTree
{
    Q_OBJECT

public:
    CLeftView(CVastryDoc& document, QWidget* parent = nullptr);
    ~CLeftView() override;

    NodeHandle insertNode(NodeHandle parent, const QString& text, int image, int selectedImage,
                          std::unique_ptr<TreeNodeData> data) override;
    static const TreeNodeData* nodeData(const QTreeWidgetItem* item);

protected:
    bool event(QEvent* event) override;

private:
    void rebuild();
    void selectFirstNodeOfType(int nodeType, bool tellTheList = true);
    QTreeWidgetItem* findNode(int nodeType, int id);
    void onCurrentItemChanged(QTreeWidgetItem* current);
    QIcon nodeIcon(int image, int selectedImage);

    CVastryDoc& m_document;
    bool m_selectingByProgram = false;
    QHash<int, QIcon> m_icons;
};
