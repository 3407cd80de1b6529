#pragma once

#include "views/DetachedNameTree.h"

#include <QHash>
#include <QIcon>
#include <QTreeWidget>
#include <memory>

class ArtistTreeTask;
class CVastryDoc;
class PaneMessage;

// The artist tree: one root for the open catalogue and a child per artist. Choosing a node
// tells the album list which albums to show. A catalogue with many artists has its tree built
// on a worker; the old tree stays meanwhile.
class CLeftView : public QTreeWidget
{
    Q_OBJECT

public:
    // From this many artists on, the tree is built on a worker.
    static constexpr int BackgroundBuildFrom = 10000;

    CLeftView(CVastryDoc& document, QWidget* parent = nullptr);
    ~CLeftView() override;

    static const TreeNodeData* nodeData(const QTreeWidgetItem* item);
    bool isBuilding() const { return m_building != nullptr; }
    // For tests: 0 builds every tree on the worker.
    static void setBackgroundBuildFrom(int artists);

signals:
    // The tree shows the catalogue's artists: built here, or arrived from the worker.
    void built();

protected:
    bool event(QEvent* event) override;

private:
    void rebuild();
    void buildInBackground(const QString& rootText);
    void takeBuiltTree(const ArtistTreeTask* task);
    void install(std::unique_ptr<TreeNodeItem> root);
    void selectFirstNodeOfType(int nodeType, bool tellTheList = true);
    QTreeWidgetItem* findNode(int nodeType, int id);
    void onCurrentItemChanged(QTreeWidgetItem* current);
    QIcon nodeIcon(int image, int selectedImage);
    DetachedNameTree::Icons treeIcons();

    static int s_backgroundBuildFrom;

    CVastryDoc& m_document;
    bool m_selectingByProgram = false;
    QHash<int, QIcon> m_icons;
    std::shared_ptr<ArtistTreeTask> m_building;
};
