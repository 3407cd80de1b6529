#pragma once

#include "views/DetachedNameTree.h"

#include <QHash>
#include <QIcon>
#include <QTreeWidget>
#include <memory>

class AlbumTable;
class CatalogReadTask;
class Database;
class CVastryDoc;
class PaneMessage;

// The artist tree: one root for the open catalogue and a child per artist. Choosing a node
// tells the album list which albums to show. A catalogue with many artists has its tree built
// on a worker; the old tree stays meanwhile.
class CLeftView : public QTreeWidget
{
    Q_OBJECT

public:
    CLeftView(CVastryDoc& document, QWidget* parent = nullptr);
    ~CLeftView() override;

    static const TreeNodeData* nodeData(const QTreeWidgetItem* item);
    bool isBuilding() const { return m_building != nullptr; }

signals:
    // The tree shows the catalogue's artists: built here, or arrived from the worker.
    void built();

protected:
    bool event(QEvent* event) override;

private:
    void rebuild();
    void buildInBackground(const QString& rootText);
    static std::unique_ptr<TreeNodeItem> buildTree(AlbumTable& table, Database* database,
                                                   const QString& rootText,
                                                   const DetachedNameTree::Icons& icons,
                                                   bool* filled = nullptr);
    void takeBuiltTree(const CatalogReadTask* task, std::unique_ptr<TreeNodeItem> root);
    void install(std::unique_ptr<TreeNodeItem> root);
    void selectFirstNodeOfType(int nodeType, bool tellTheList = true);
    QTreeWidgetItem* findNode(int nodeType, int id);
    void onCurrentItemChanged(QTreeWidgetItem* current);
    QIcon nodeIcon(int image, int selectedImage);
    DetachedNameTree::Icons treeIcons();

    CVastryDoc& m_document;
    bool m_selectingByProgram = false;
    QHash<int, QIcon> m_icons;
    std::shared_ptr<CatalogReadTask> m_building;
};
