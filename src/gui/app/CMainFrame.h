#pragma once

#include "app/TunvaleVersion.h"
#include "io/CollectionImport.h"
#include "views/AlbumListQuery.h"

#include <QHash>
#include <QMainWindow>
#include <functional>

class AppSettings;
class Database;
class CBottomView;
class CLeftView;
class CTopView;
class CVastryDoc;
class FrameDialogs;
class PostDialogs;
class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QTimer;
class StatisticsWindow;
class TextToolBar;

// The main window: the artist tree beside the album list over the album page, the menu bar,
// toolbar and status bar, and the routing of every command.
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr const char* VersionText = TunvaleVersion;
    static constexpr int MinimumWidth = 700;
    static constexpr int MinimumHeight = 500;

    // Commands whose dialog neither `frameDialogs` nor `postDialogs` offers are unavailable.
    CMainFrame(CVastryDoc& document, AppSettings& settings, FrameDialogs* frameDialogs = nullptr,
               PostDialogs* postDialogs = nullptr);
    ~CMainFrame() override;

    // Shows the window in the state the settings remember (normal or maximised). The panes
    // are filled once the window is on the screen, so a large catalogue never keeps the user
    // waiting for the window itself.
    void showAsRemembered();
    // True once tree, list and page show the catalogue after start-up.
    bool isFilled() const { return m_filled; }

    CLeftView* treePane() const { return m_tree; }
    CTopView* listPane() const { return m_list; }
    CBottomView* pagePane() const { return m_page; }
    QSplitter* outerSplitter() const { return m_outer; }
    QSplitter* innerSplitter() const { return m_inner; }
    QAction* action(int commandId) const { return m_actions.value(commandId); }
    StatisticsWindow* statisticsWindow() const { return m_statistics; }
    QString statusPaneText(int pane) const;
    // Runs a command as if chosen from the menu; false when it has no handler or is disabled.
    bool runCommand(int commandId);
    // A read found the catalogue locked by another program's write: the status bar says so,
    // and the panes are read again once the catalogue is free.
    void waitForOtherWriter();
    // The placement for first starts on a screen of the given size.
    static QRect firstStartGeometry(const QSize& screen);

signals:
    // The start-up fill is done and the page pane shows its first page.
    void filled();

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void placeBeforeCreation();
    void createToolBar();
    void createStatusBar();
    void createPanes();
    void applyTreeWidth();
    void buildMenuBar();
    void completeMenus();
    void createCommands();
    QAction* addCommand(int commandId, const QString& text, std::function<void()> handler);
    // The handler, or none (the command unavailable) when the frame was given no such dialogs.
    std::function<void()> withFrameDialogs(std::function<void()> handler) const;
    std::function<void()> withPostDialogs(std::function<void()> handler) const;
    QMenu* addListsMenu();
    void fillColumnsMenu(QMenu* menu);
    void savePlacement();
    void updateClock();
    void fillPanesAtStartUp();
    void markFilled();

    void newDatabase();
    void openDatabase();
    void setPassword();
    void showAll();
    void editList(int commandId);
    void importCollection(CollectionImport::Format format);
    void showCollectionView(AlbumListQuery::CollectionView view);
    void markCollectionView();
    void completeAlbums();
    void restoreFromBackup();
    void chooseCdDrive();
    void showStatistics(int tab);
    bool editAlbumOver(int albumId, QWidget* window);
    void findDuplicates();
    void showHelp();
    void moveFocusBetweenPanes(int step);
    void reloadPanesAfterCatalogChange(bool listFirst);
    void watchOpenCatalog();
    void checkForOutsideChanges();
    void reloadAfterOutsideChange();
    void stopWaitingForOtherWriter();

    CVastryDoc& m_document;
    AppSettings& m_settings;
    FrameDialogs* m_frameDialogs = nullptr;
    PostDialogs* m_postDialogs = nullptr;
    TextToolBar* m_toolBar = nullptr;
    QSplitter* m_outer = nullptr;
    QSplitter* m_inner = nullptr;
    CLeftView* m_tree = nullptr;
    CTopView* m_list = nullptr;
    CBottomView* m_page = nullptr;
    QMenu* m_columnsMenu = nullptr;
    StatisticsWindow* m_statistics = nullptr;
    QLabel* m_statusPanes[6] = {};
    QLabel* m_viewPane = nullptr;
    QTimer* m_clock = nullptr;
    QTimer* m_outsideChanges = nullptr;
    Database* m_watchedDatabase = nullptr;
    qint64 m_seenVersion = 0;
    bool m_waitingForOtherWriter = false;
    QHash<int, QAction*> m_actions;
    QHash<int, std::function<void()>> m_handlers;
    bool m_panesCreated = false;
    bool m_shownOnce = false;
    bool m_fillQueued = false;
    bool m_filled = false;
    bool m_placementSaved = false;
};
