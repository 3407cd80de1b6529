#pragma once

#include <QWidget>
#include <functional>
#include <memory>

class AlbumListCtrl;
class AlbumListFiller;
struct AlbumListRows;
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
    // From this many albums on, the list fills on a thread of its own: below it a fill takes
    // less than a tenth of a second, too short for a window that waits to be noticed.
    static constexpr int BackgroundFillFrom = 10000;

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
    // Whether the rows on show are being replaced by a fill on the worker thread.
    bool isFilling() const;
    // For tests, which need large-catalogue behaviour on a small catalogue.
    static void setBackgroundFillFrom(int albums);

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
    // Fills the list, then runs `afterFill`: at once, or when the rows from the worker arrive.
    void fillRows(const std::function<void()>& afterFill = {});
    void fillRowsNow(int total);
    int albumsInView(int catalogueTotal);
    void fillInBackground(const std::function<void()>& afterFill);
    void receiveRows(const std::shared_ptr<AlbumListRows>& rows);
    void reportCounts(int total);
    void showFillStatus(const QString& text);
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
    AlbumListFiller* m_filler = nullptr;
    std::function<void()> m_afterFill;
    static int s_backgroundFillFrom;
};
