#pragma once

#include <QWidget>

class AlbumListCtrl;
class AlbumListModel;
class CVastryDoc;
class PaneMessage;
class PostDialogs;
class QLabel;
struct TreeNodeData;

// The album list pane: a caption band over the list of albums, sorted, filtered by the tree or
// a find condition, with the columns the user chose.
class CTopView : public QWidget
{
    Q_OBJECT

public:
    CTopView(CVastryDoc& document, QWidget* parent = nullptr);
    ~CTopView() override;

    void setDialogs(PostDialogs* dialogs) { m_dialogs = dialogs; }
    bool hasDialogs() const { return m_dialogs != nullptr; }

    AlbumListCtrl* list() const { return m_list; }
    AlbumListModel* model() const { return m_model; }
    QString caption() const;
    int sortColumn() const;
    int directionFlag() const;
    int selectedAlbumId() const;
    // Records widths and display order of the shown columns in the document's column table.
    void storeColumnState();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void handleMessage(PaneMessage* message);
    void handleCommand(int commandId);

    void chooseNode(int nodeType, quintptr nodeData);
    void reload();
    void reloadSelecting(int row);
    void reloadAfterOutsideChange(const TreeNodeData* treeNode);
    void fillRows();
    void selectAndShow(int row);
    void showSelectedAlbum();
    void sort(int column);
    void sortAtHeaderPoint(int directionFlag);
    void toggleColumn(int commandId);
    void editPost();
    void newPost();
    void showSavedAlbum(int albumId);
    void deletePost();
    void findPosts();
    void showContextMenu(const QPoint& screenPoint, bool onHeader);

    void buildColumns();
    void removeColumns();
    void showSortArrow();

    CVastryDoc& m_document;
    PostDialogs* m_dialogs = nullptr;
    QWidget* m_band = nullptr;
    QLabel* m_caption = nullptr;
    AlbumListCtrl* m_list = nullptr;
    AlbumListModel* m_model = nullptr;
};
