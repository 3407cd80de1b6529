#include "app/CMainFrame.h"

#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/CommandIds.h"
#include "app/FrameDialogs.h"
#include "app/PrivateMessages.h"
#include "db/LookupList.h"
#include "db/PasswordChange.h"
#include "db/TreeNodeData.h"
#include "find/DuplicatesDialog.h"
#include "freedb/CdDriveDialog.h"
#include "freedb/CdDrives.h"
#include "io/ImportWithProgress.h"
#include "stats/LoansTab.h"
#include "stats/StatisticsWindow.h"
#include "ui/FileDialog.h"
#include "ui/GlintMenu.h"
#include "ui/MakerAddresses.h"
#include "ui/TextToolBar.h"
#include "ui/UrlOpener.h"
#include "views/CBottomView.h"
#include "views/CLeftView.h"
#include "views/CTopView.h"
#include "views/CVastryDoc.h"
#include "views/PostDialogs.h"
#include "views/PublishWithProgress.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <algorithm>
#include <tuple>
#include <utility>

// The pictures are compiled into this static library: naming their initialiser keeps the
// linker from dropping them.
static void loadPictures()
{
    Q_INIT_RESOURCE(tunvale);
}

namespace
{

constexpr int ClockInterval = 15000;
// How often the catalogue is asked whether another program changed it: a cheap question of
// the open connection, so changes show within about a second.
constexpr int OutsideChangeInterval = 1000;
// While another program holds the catalogue, reads give up at once rather than freezing the
// window for the usual wait: the panes are read again when it is free.
constexpr int BusyTimeoutWhileWaiting = 100;
constexpr int TopPaneHeight = 250;
constexpr int MinimumPane = 10;

struct CommandText {
    int id;
    const char* prompt; // status-bar prompt, line feed, tooltip
};

const CommandText commandTexts[] = {
    {CommandIds::NewPost, "Create a new post\nNew Post (Ins)"},
    {CommandIds::EditPost, "Edit the selected item\nEdit Post (Enter)"},
    {CommandIds::DeletePost, "Deletes the selected item\nDelete Post (Del)"},
    {CommandIds::ExportHtml, "Export the selected list to a HTML file\nExport as HTML"},
    {CommandIds::ExportCsv, "Export the selected list to a CSV file\nExport as CSV"},
    {CommandIds::PublishSite,
     "Publish the selected list as a web site that any browser opens, a phone's too\nExport as "
     "Web Site"},
    {CommandIds::ImportDiscogs,
     "Add the albums of a Discogs collection export\nImport a Discogs collection"},
    {CommandIds::ImportCsv, "Add the albums of a CSV list\nImport a CSV file"},
    {CommandIds::ImportDiscogsWantlist,
     "Add the albums of a Discogs wantlist export as wanted, not owned\nImport a Discogs want "
     "list"},
    {CommandIds::ShowWantList, "Show the albums you want and do not have yet\nWant List"},
    {CommandIds::ShowCollection, "Show the albums in your collection\nCollection"},
    {CommandIds::ShowEverything, "Show every album, owned or wanted\nEverything"},
    {CommandIds::CompleteFromMusicBrainz,
     "Fill the tracks, cover and barcode of imported albums from MusicBrainz\nComplete from "
     "MusicBrainz"},
    {CommandIds::Statistics, "Show the collection in figures and charts\nStatistics"},
    {CommandIds::AlbumsOnLoan, "Show the albums lent out and who has them\nAlbums on Loan"},
    {CommandIds::FindDuplicates, "Find albums that are probably the same record\nFind Duplicates"},
    {CommandIds::RestoreFromBackup,
     "Replace the catalogue with one of its backups\nRestore from Backup"},
    {CommandIds::Preferences, "Change the program preferences\nPreferences"},
    {CommandIds::ShowAll, "Show all posts\nShow all posts"},
    {CommandIds::PrintCurrentAlbum,
     "Prints the currently selected album\nPrint current album (Ctrl+P)"},
    {CommandIds::PreviewCurrentAlbum,
     "Print preview of the currently selected post\nPrint preview current post"},
    {CommandIds::PrintAllAlbums, "Print a list with all albums\nPrint all albums"},
    {CommandIds::CdRomDrives, "Change CD-Rom drive used in the freeDB search\nChange CD-Rom drive"},
    {CommandIds::TipOfTheDay, "Displays a Tip of the Day\nTip of the Day"},
    {CommandIds::EmailSupport, "Send us a mail\nSend email"},
    {CommandIds::VisitWebsite, "Visit our Website\nWebsite"},
    {CommandIds::HelpContents,
     "Displays the table of contents for the online documentation\nDisplay Help"},
    {CommandIds::NewDatabase, "Create a new database\nNew (Ctrl+N)"},
    {CommandIds::OpenDatabase, "Open an existing database\nOpen (Ctrl+O)"},
    {CommandIds::SetPassword,
     "Set, change or remove the password of the open catalogue\nSet Password"},
    {CommandIds::Find, "Find the specified text\nFind (Ctrl+F)"},
    {CommandIds::Cut, "Cut the selection and put it on the Clipboard\nCut"},
    {CommandIds::Copy, "Copy the selection and put it on the Clipboard\nCopy"},
    {CommandIds::Paste, "Insert Clipboard contents\nPaste"},
    {CommandIds::About, "Display program information, version number and copyright\nAbout"},
    {CommandIds::Exit, "Quit the application\nExit"},
    {CommandIds::NextPane, "Switch to the next window pane\nNext Pane"},
    {CommandIds::PreviousPane, "Switch back to the previous window pane\nPrevious Pane"},
};

QString promptOf(int id)
{
    for (const CommandText& text : commandTexts)
        if (text.id == id)
            return QString::fromLatin1(text.prompt);
    // The Lists menu commands come with their lists.
    const LookupList* list = LookupList::byCommand(id);
    return list ? list->prompt : QString();
}

QIcon commandIcon(const QStyle* style, int commandId)
{
    switch (commandId) {
    case CommandIds::NewPost:
        return style->standardIcon(QStyle::SP_FileIcon);
    case CommandIds::EditPost:
        return style->standardIcon(QStyle::SP_FileDialogDetailedView);
    case CommandIds::DeletePost:
        return style->standardIcon(QStyle::SP_TrashIcon);
    case CommandIds::PrintCurrentAlbum:
    case CommandIds::PrintAllAlbums:
        return QIcon(QStringLiteral(":/icons/print.png"));
    case CommandIds::Find:
        return QIcon(QStringLiteral(":/icons/find.png"));
    case CommandIds::EmailSupport:
    case CommandIds::VisitWebsite:
        return style->standardIcon(QStyle::SP_DriveNetIcon);
    case CommandIds::HelpContents:
        return style->standardIcon(QStyle::SP_DialogHelpButton);
    case CommandIds::Exit:
        return style->standardIcon(QStyle::SP_DialogCloseButton);
    default:
        return QIcon();
    }
}

} // namespace

CMainFrame::CMainFrame(CVastryDoc& document, AppSettings& settings, FrameDialogs* frameDialogs,
                       PostDialogs* postDialogs)
    : m_document(document), m_settings(settings), m_frameDialogs(frameDialogs),
      m_postDialogs(postDialogs)
{
    setObjectName(QStringLiteral("CMainFrame"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    loadPictures();
    placeBeforeCreation();
    setMinimumSize(MinimumWidth, MinimumHeight);
    createCommands();
    createToolBar();
    createStatusBar();
    setWindowTitle(QStringLiteral("Tunvale ") + QLatin1String(VersionText));
    createPanes();
    buildMenuBar();
    completeMenus();
}

CMainFrame::~CMainFrame()
{
    savePlacement();
}

QRect CMainFrame::firstStartGeometry(const QSize& screen)
{
    const int width = 800;
    const int height = 570;
    if (screen.width() == 800 && screen.height() == 600)
        return QRect(0, 0, width, height);
    return QRect((screen.width() - width) / 2, (screen.height() - height) / 2, width, height);
}

// The remembered rectangle, or a centred one on a first start; either way the window is kept
// on the screen and no smaller than its minimum, whatever the settings hold.
void CMainFrame::placeBeforeCreation()
{
    const int left = m_settings.read(SettingsTable::WindowLeft);
    const int top = m_settings.read(SettingsTable::WindowTop);
    const int right = m_settings.read(SettingsTable::WindowRight);
    const int bottom = m_settings.read(SettingsTable::WindowBottom);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    const QSize screenSize = screen ? screen->geometry().size() : QSize(800, 600);
    // Differences of hand-edited values may not fit an int; they are clamped before use.
    const auto span = [](int from, int to) {
        return int(std::clamp<qint64>(qint64(to) - from, 0, 100000));
    };
    QRect rect = (left || top || right || bottom)
                     ? QRect(left, top, span(left, right), span(top, bottom))
                     : firstStartGeometry(screenSize);
    rect.setWidth(qBound(MinimumWidth, rect.width(), std::max(MinimumWidth, available.width())));
    rect.setHeight(
        qBound(MinimumHeight, rect.height(), std::max(MinimumHeight, available.height())));
    if (!available.intersects(rect.adjusted(0, 0, -rect.width() / 2, -rect.height() / 2)))
        rect.moveTopLeft(available.topLeft());
    setGeometry(rect);
}

void CMainFrame::showAsRemembered()
{
    const int command = m_settings.read(SettingsTable::WindowCmd);
    if (command == 3)
        showMaximized();
    else
        show();
}

QAction* CMainFrame::addCommand(int commandId, const QString& text, std::function<void()> handler)
{
    auto* action = new QAction(text, this);
    const QString prompt = promptOf(commandId);
    action->setStatusTip(prompt.section(QLatin1Char('\n'), 0, 0));
    action->setToolTip(prompt.section(QLatin1Char('\n'), 1, 1));
    action->setIcon(commandIcon(style(), commandId));
    action->setIconVisibleInMenu(true);
    action->setData(commandId);
    // A command without a handler here belongs to a dialog not yet part of the program.
    action->setEnabled(bool(handler));
    if (handler)
        m_handlers.insert(commandId, handler);
    connect(action, &QAction::triggered, this, [this, commandId] { runCommand(commandId); });
    m_actions.insert(commandId, action);
    addAction(action); // accelerators work wherever the focus is in the window
    return action;
}

std::function<void()> CMainFrame::withFrameDialogs(std::function<void()> handler) const
{
    return m_frameDialogs ? handler : nullptr;
}

std::function<void()> CMainFrame::withPostDialogs(std::function<void()> handler) const
{
    return m_postDialogs ? handler : nullptr;
}

void CMainFrame::createCommands()
{
    using namespace CommandIds;
    auto toList = [this](int message) {
        return [this, message] { SendPaneMessage(m_document.listPane(), message); };
    };
    auto toPage = [this](int message) {
        return [this, message] { SendPaneMessage(m_document.pagePane(), message); };
    };
    addCommand(NewDatabase, QStringLiteral("&New Database"), [this] {
        newDatabase();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    addCommand(OpenDatabase, QStringLiteral("&Open Database"), [this] {
        openDatabase();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    addCommand(SetPassword, QStringLiteral("Set Pass&word..."), [this] { setPassword(); });
    addCommand(PrintCurrentAlbum, QStringLiteral("&Current Album"), toPage(UWM_PRINT_ALBUM))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    auto commandToList = [this](int commandId) {
        return [this, commandId] { SendCommandMessage(m_document.listPane(), commandId); };
    };
    addCommand(PrintAllAlbums, QStringLiteral("&All Albums"),
               withPostDialogs(commandToList(PrintAllAlbums)))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    addCommand(PreviewCurrentAlbum, QStringLiteral("&Current Album"), toPage(UWM_PREVIEW_ALBUM));
    addCommand(ExportHtml, QStringLiteral("&HTML Format"),
               withPostDialogs(commandToList(ExportHtml)));
    addCommand(ExportCsv, QStringLiteral("&CSV File..."),
               withPostDialogs(commandToList(ExportCsv)));
    addCommand(PublishSite, QStringLiteral("&Web Site..."),
               [this] { PublishWithProgress::run(m_document, this); });
    for (const auto& [id, format] :
         {std::pair{ImportDiscogs, CollectionImport::Format::Discogs},
          std::pair{ImportDiscogsWantlist, CollectionImport::Format::DiscogsWantlist},
          std::pair{ImportCsv, CollectionImport::Format::Csv}}) {
        const CollectionImport::Format chosen = format;
        addCommand(id, ImportWithProgress::menuText(chosen),
                   withFrameDialogs([this, chosen] { importCollection(chosen); }));
    }
    addCommand(CompleteFromMusicBrainz, QStringLiteral("Complete from &MusicBrainz..."),
               withFrameDialogs([this] { completeAlbums(); }));
    addCommand(RestoreFromBackup, QStringLiteral("&Restore from Backup..."),
               withFrameDialogs([this] { restoreFromBackup(); }));
    addCommand(Exit, QStringLiteral("E&xit"), [this] { close(); });
    addCommand(Find, QStringLiteral("&Find"), withPostDialogs(toList(UWM_FIND)))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    addCommand(Cut, QStringLiteral("Cu&t"), nullptr);
    addCommand(Copy, QStringLiteral("&Copy"), nullptr);
    addCommand(Paste, QStringLiteral("&Paste"), nullptr);
    addCommand(NewPost, QStringLiteral("&New Post"), withPostDialogs(toList(UWM_NEW_POST)))
        ->setShortcut(QKeySequence(Qt::Key_Insert));
    // The first key is the one the menus show.
    addCommand(EditPost, QStringLiteral("&Edit Post"), withPostDialogs(toList(UWM_EDIT_POST)))
        ->setShortcuts({QKeySequence(Qt::Key_Enter), QKeySequence(Qt::Key_Return)});
    addCommand(DeletePost, QStringLiteral("&Delete Post"), toList(UWM_DELETE_POST))
        ->setShortcut(QKeySequence(Qt::Key_Delete));
    addCommand(Preferences, QStringLiteral("&Preferences"), nullptr);
    addCommand(Statistics, QStringLiteral("S&tatistics..."),
               [this] { showStatistics(StatisticsWindow::OverviewTab); });
    addCommand(AlbumsOnLoan, QStringLiteral("Albums on &Loan..."),
               [this] { showStatistics(StatisticsWindow::LoansTabIndex); });
    addCommand(FindDuplicates, QStringLiteral("&Find Duplicates..."), [this] { findDuplicates(); });
    addCommand(CdRomDrives, QStringLiteral("CD-Rom Drives"),
               withFrameDialogs([this] { chooseCdDrive(); }));
    addCommand(ShowAll, QStringLiteral("&Show All"), [this] {
        showAll();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    using View = AlbumListQuery::CollectionView;
    auto* views = new QActionGroup(this);
    for (const auto& [id, text, view] :
         {std::tuple{ShowWantList, "&Want List", View::WantList},
          std::tuple{ShowCollection, "Co&llection", View::Collection},
          std::tuple{ShowEverything, "&Everything", View::Everything}}) {
        const View shown = view;
        QAction* action =
            addCommand(id, QString::fromLatin1(text), [this, shown] { showCollectionView(shown); });
        action->setCheckable(true);
        views->addAction(action);
    }
    addCommand(EmailSupport, QStringLiteral("&Email Support"),
               [] { UrlOpener::open(QUrl(QLatin1String(MakerAddresses::SupportMail))); });
    addCommand(VisitWebsite, QStringLiteral("&Visit our Website"),
               [] { UrlOpener::open(QUrl(QLatin1String(MakerAddresses::Website))); });
    addCommand(HelpContents, QStringLiteral("Contents"), withFrameDialogs([this] { showHelp(); }))
        ->setShortcut(QKeySequence(Qt::Key_F1));
    addCommand(TipOfTheDay, QStringLiteral("&Tip of the Day"),
               withFrameDialogs([this] { m_frameDialogs->showTipOfTheDay(m_settings, this); }));
    addCommand(About, QStringLiteral("About Tunvale..."),
               withFrameDialogs([this] { m_frameDialogs->showAbout(this); }));
    addCommand(NextPane, QString(), [this] {
        moveFocusBetweenPanes(1);
    })->setShortcut(QKeySequence(Qt::Key_F6));
    addCommand(PreviousPane, QString(), [this] {
        moveFocusBetweenPanes(-1);
    })->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    m_actions[Copy]->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    m_actions[Paste]->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    m_actions[Cut]->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
    for (const LookupList& list : LookupList::all()) {
        const int id = list.commandId;
        addCommand(id, list.menuLabel, withFrameDialogs([this, id] { editList(id); }))
            ->setIcon(style()->standardIcon(QStyle::SP_DirIcon));
    }
    for (int id = FirstColumn; id <= LastColumn; ++id) {
        m_handlers.insert(id, [this, id] { SendCommandMessage(m_document.listPane(), id); });
    }
}

void CMainFrame::createToolBar()
{
    using namespace CommandIds;
    m_toolBar = new TextToolBar(m_settings, this);
    m_toolBar->setWindowTitle(QStringLiteral("Standard"));
    addToolBar(m_toolBar);
    m_toolBar->setObjectName(QStringLiteral("ToolBar"));
    m_toolBar->setAccessibleName(QStringLiteral("Toolbar"));
    // The button that shows the commands a narrow window has no room for.
    if (auto* more = m_toolBar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More commands"));
    m_toolBar->setIconSize(QSize(16, 15));
    m_toolBar->setMovable(true);
    m_toolBar->addAction(m_actions[NewPost]);
    m_toolBar->addAction(m_actions[EditPost]);
    m_toolBar->addAction(m_actions[DeletePost]);
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_actions[PrintCurrentAlbum]);
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_actions[Find]);

    // The print button's arrow opens the print popup.
    auto* printMenu = new QMenu(this);
    QAction* current = GlintMenu::addItem(printMenu, QStringLiteral("&Print Current Album"),
                                          m_actions[PrintCurrentAlbum]->shortcut());
    QAction* all = GlintMenu::addItem(printMenu, QStringLiteral("Print &All Albums"),
                                      m_actions[PrintAllAlbums]->shortcut());
    connect(current, &QAction::triggered, this,
            [this] { runCommand(CommandIds::PrintCurrentAlbum); });
    connect(all, &QAction::triggered, this, [this] { runCommand(CommandIds::PrintAllAlbums); });
    current->setEnabled(m_actions[PrintCurrentAlbum]->isEnabled());
    all->setEnabled(m_actions[PrintAllAlbums]->isEnabled());
    m_toolBar->addDropDownButton(m_actions[PrintCurrentAlbum], printMenu);
    // "New" and "Search" beside their buttons unless the user switched the labels off.
    if (m_settings.read(SettingsTable::TbText) != 0)
        m_toolBar->showSelectiveText();
    m_toolBar->restoreState();
}

void CMainFrame::createStatusBar()
{
    const char* const templates[6] = {
        nullptr, "Displayed posts: 8888", "Total posts: 8888", "CAP", "NUM", " 00:00 "};
    QStatusBar* bar = statusBar();
    bar->setAccessibleName(QStringLiteral("Status bar"));
    m_statusPanes[0] = new QLabel(QStringLiteral("Ready"), bar);
    bar->addWidget(m_statusPanes[0], 1);
    // Which albums the list shows, before their counts.
    m_viewPane = new QLabel(bar);
    m_viewPane->setObjectName(QStringLiteral("CollectionViewPane"));
    m_viewPane->setMinimumWidth(
        m_viewPane->fontMetrics().horizontalAdvance(QStringLiteral("Everything")) + 8);
    bar->addPermanentWidget(m_viewPane);
    for (int pane = 1; pane < 6; ++pane) {
        m_statusPanes[pane] = new QLabel(bar);
        const QString sizing = QLatin1String(templates[pane]);
        m_statusPanes[pane]->setMinimumWidth(
            m_statusPanes[pane]->fontMetrics().horizontalAdvance(sizing) + 8);
        bar->addPermanentWidget(m_statusPanes[pane]);
    }
    // Lock-key states are not visible to the program on every platform; the panes stay dim.
    m_statusPanes[3]->setText(QStringLiteral("CAP"));
    m_statusPanes[4]->setText(QStringLiteral("NUM"));
    m_statusPanes[3]->setEnabled(false);
    m_statusPanes[4]->setEnabled(false);
    updateClock();
    m_clock = new QTimer(this);
    m_clock->setInterval(ClockInterval);
    connect(m_clock, &QTimer::timeout, this, &CMainFrame::updateClock);
    m_clock->start();
}

QString CMainFrame::statusPaneText(int pane) const
{
    if (pane == 0 && !statusBar()->currentMessage().isEmpty())
        return statusBar()->currentMessage();
    return pane >= 0 && pane < 6 ? m_statusPanes[pane]->text() : QString();
}

void CMainFrame::updateClock()
{
    m_statusPanes[5]->setText(QTime::currentTime().toString(QStringLiteral(" HH:mm ")));
}

void CMainFrame::createPanes()
{
    m_outer = new QSplitter(Qt::Horizontal, this);
    m_outer->setObjectName(QStringLiteral("OuterSplitter"));
    m_outer->setChildrenCollapsible(false);
    m_tree = new CLeftView(m_document, m_outer);
    m_tree->setMinimumWidth(MinimumPane);
    m_inner = new QSplitter(Qt::Vertical, m_outer);
    m_inner->setObjectName(QStringLiteral("InnerSplitter"));
    m_inner->setChildrenCollapsible(false);
    m_list = new CTopView(m_document, m_inner);
    m_list->setMinimumHeight(MinimumPane);
    m_list->setDialogs(m_postDialogs);
    m_page = new CBottomView(m_document, m_inner);
    m_page->setMinimumHeight(MinimumPane);
    // A growing or shrinking window changes the right side only; the tree keeps its width.
    m_outer->setStretchFactor(0, 0);
    m_outer->setStretchFactor(1, 1);
    m_inner->setSizes({TopPaneHeight, std::max(MinimumPane, height() - TopPaneHeight)});
    setCentralWidget(m_outer);
    m_tree->setFocus();
    m_document.setPanes(m_tree, m_list, m_page);
    applyTreeWidth();
    m_panesCreated = true;
    watchOpenCatalog();
    m_outsideChanges = new QTimer(this);
    m_outsideChanges->setObjectName(QStringLiteral("OutsideChangeCheck"));
    m_outsideChanges->setInterval(OutsideChangeInterval);
    connect(m_outsideChanges, &QTimer::timeout, this, &CMainFrame::checkForOutsideChanges);
    m_outsideChanges->start();
}

// The remembered tree width, kept within the window so both sides stay usable.
void CMainFrame::applyTreeWidth()
{
    const int available = std::max(m_outer->width(), width()) - m_outer->handleWidth();
    const int treeWidth = qBound(MinimumPane, m_settings.read(SettingsTable::TreeWidth),
                                 std::max(MinimumPane, available - MinimumPane));
    m_outer->setSizes({treeWidth, std::max(MinimumPane, available - treeWidth)});
}

void CMainFrame::buildMenuBar()
{
    using namespace CommandIds;
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(m_actions[NewDatabase]);
    file->addAction(m_actions[OpenDatabase]);
    file->addAction(m_actions[SetPassword]);
    file->addSeparator();
    QMenu* print = file->addMenu(QStringLiteral("&Print"));
    print->addAction(m_actions[PrintCurrentAlbum]);
    print->addAction(m_actions[PrintAllAlbums]);
    QMenu* preview = file->addMenu(QStringLiteral("Print Pre&view"));
    preview->addAction(m_actions[PreviewCurrentAlbum]);
    file->addSeparator();
    QMenu* exportMenu = file->addMenu(QStringLiteral("&Export as"));
    exportMenu->addAction(m_actions[ExportHtml]);
    exportMenu->addAction(m_actions[ExportCsv]);
    exportMenu->addAction(m_actions[PublishSite]);
    QMenu* importMenu = file->addMenu(QStringLiteral("&Import"));
    importMenu->addAction(m_actions[ImportDiscogs]);
    importMenu->addAction(m_actions[ImportDiscogsWantlist]);
    importMenu->addAction(m_actions[ImportCsv]);
    file->addSeparator();
    file->addAction(m_actions[RestoreFromBackup]);
    file->addSeparator();
    m_actions[Exit]->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    file->addAction(m_actions[Exit]);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->addAction(m_actions[Find]);
    edit->addSeparator();
    edit->addAction(m_actions[Cut]);
    edit->addAction(m_actions[Copy]);
    edit->addAction(m_actions[Paste]);

    QMenu* record = bar->addMenu(QStringLiteral("&Record"));
    record->addAction(m_actions[NewPost]);
    record->addAction(m_actions[EditPost]);
    record->addAction(m_actions[DeletePost]);
    record->addSeparator();
    record->addAction(m_actions[CompleteFromMusicBrainz]);
    record->addAction(m_actions[AlbumsOnLoan]);
    record->addAction(m_actions[FindDuplicates]);

    QMenu* lists = bar->addMenu(QStringLiteral("&Lists"));
    lists->setObjectName(QStringLiteral("ListsMenu"));

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("ViewMenu"));
    view->addAction(m_actions[Preferences]);
    view->addSeparator();
    m_columnsMenu = view->addMenu(QStringLiteral("&Columns"));
    m_columnsMenu->setObjectName(QStringLiteral("ColumnsMenu"));
    m_actions[ShowAll]->setText(QStringLiteral("&Show All"));
    view->addAction(m_actions[ShowAll]);
    view->addSeparator();
    view->addAction(m_actions[ShowWantList]);
    view->addAction(m_actions[ShowCollection]);
    view->addAction(m_actions[ShowEverything]);
    markCollectionView();
    view->addSeparator();
    view->addAction(m_actions[Statistics]);

    QMenu* internet = bar->addMenu(QStringLiteral("&Internet"));
    internet->addAction(m_actions[EmailSupport]);
    internet->addAction(m_actions[VisitWebsite]);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    help->addAction(m_actions[HelpContents]);
    help->addAction(m_actions[TipOfTheDay]);
    help->addSeparator();
    help->addAction(m_actions[About]);

    // Menus show accelerator texts the way the menus always have.
    for (QAction* action : qAsConst(m_actions))
        action->setShortcutVisibleInContextMenu(true);
}

void CMainFrame::completeMenus()
{
    QMenu* view = menuBar()->findChild<QMenu*>(QStringLiteral("ViewMenu"));
    QAction* afterPreferences = view->actions().value(2);
    QAction* drives = m_actions[CommandIds::CdRomDrives];
    view->insertAction(afterPreferences, drives);
    view->insertSeparator(afterPreferences);

    QMenu* lists = menuBar()->findChild<QMenu*>(QStringLiteral("ListsMenu"));
    lists->clear();
    for (const LookupList& list : LookupList::all())
        lists->addAction(m_actions[list.commandId]);

    fillColumnsMenu(m_columnsMenu);
    connect(m_columnsMenu, &QMenu::aboutToShow, this, [this] { fillColumnsMenu(m_columnsMenu); });
}

// One item per album column; shown columns carry a check mark.
void CMainFrame::fillColumnsMenu(QMenu* menu)
{
    menu->clear();
    AlbumColumns& columns = m_document.columns();
    for (int i = 0; i < columns.size(); ++i) {
        const int id = columns[i].commandId;
        QAction* action = menu->addAction(columns[i].caption);
        action->setData(id);
        action->setCheckable(true);
        action->setChecked(columns[i].shown != 0);
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    }
}

bool CMainFrame::runCommand(int commandId)
{
    const QAction* action = m_actions.value(commandId);
    if (action && !action->isEnabled())
        return false;
    const auto handler = m_handlers.constFind(commandId);
    if (handler == m_handlers.constEnd() || !handler.value())
        return false;
    handler.value()();
    return true;
}

bool CMainFrame::event(QEvent* event)
{
    const int type = int(event->type());
    if (type == QEvent::Paint && m_shownOnce && !m_fillQueued) {
        // The first paint is flushed to the screen before queued calls run: the window is up
        // before the catalogue is read.
        m_fillQueued = true;
        QMetaObject::invokeMethod(this, &CMainFrame::fillPanesAtStartUp, Qt::QueuedConnection);
    }
    if (type == CommandMessageType) {
        event->setAccepted(runCommand(static_cast<CommandMessage*>(event)->commandId()));
        return true;
    }
    if (type == UWM_DISPLAYED_POSTS || type == UWM_TOTAL_POSTS) {
        const auto* message = static_cast<PaneMessage*>(event);
        const bool displayed = type == UWM_DISPLAYED_POSTS;
        m_statusPanes[displayed ? 1 : 2]->setText(QStringLiteral("%1: %2").arg(
            displayed ? QStringLiteral("Displayed Posts") : QStringLiteral("Total Posts"),
            QString::number(qint64(message->wParam()))));
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (!m_panesCreated)
        return;
    // Every resize gives the list and the page half of the height each.
    const int half = std::max(MinimumPane, height() / 2);
    m_inner->setSizes({half, half});
}

void CMainFrame::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    // Laid out now: the split can be set to the exact pixel.
    applyTreeWidth();
    // The panes stay empty until the window has been painted; until then the status bar says
    // why they are empty.
    m_statusPanes[0]->setText(QStringLiteral("Loading the catalogue..."));
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void CMainFrame::fillPanesAtStartUp()
{
    // Selecting the root makes the page pane load the first album's page (or a blank one), or
    // say why it cannot.
    connect(m_page, &CBottomView::settled, this, &CMainFrame::markFilled, Qt::SingleShotConnection);
    // A large list is read and sorted on a worker: it starts before the tree is built, so that
    // the two go on at once.
    SendPaneMessage(m_document.listPane(), UWM_NODE_SELECTED, quintptr(TreeNodeData::RootNode), 0);
    SendPaneMessage(m_document.treePane(), UWM_RELOAD);
    SendPaneMessage(m_document.treePane(), UWM_SELECT_ROOT, quintptr(TreeNodeData::RootNode),
                    SelectQuietly);
    if (!m_waitingForOtherWriter)
        m_statusPanes[0]->setText(QStringLiteral("Ready"));
    QGuiApplication::restoreOverrideCursor();
}

// The window is filled once the page has settled and the tree shows the artists, which a large
// catalogue builds on a worker.
void CMainFrame::markFilled()
{
    if (m_tree->isBuilding()) {
        connect(m_tree, &CLeftView::built, this, &CMainFrame::markFilled, Qt::SingleShotConnection);
        return;
    }
    m_filled = true;
    emit filled();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    savePlacement();
    QMainWindow::closeEvent(event);
}

void CMainFrame::savePlacement()
{
    if (m_placementSaved || !m_shownOnce)
        return;
    m_placementSaved = true;
    m_toolBar->saveState();
    if (isMinimized())
        return;
    const QRect normal = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
    m_settings.write(SettingsTable::WindowRight, normal.x() + normal.width());
    m_settings.write(SettingsTable::WindowLeft, normal.x());
    m_settings.write(SettingsTable::WindowTop, normal.y());
    m_settings.write(SettingsTable::WindowBottom, normal.y() + normal.height());
    m_settings.write(SettingsTable::WindowCmd, isMaximized() ? 3 : 1);
    m_settings.write(SettingsTable::TreeWidth, m_outer->sizes().value(0));
    m_settings.sync();
}

void CMainFrame::reloadPanesAfterCatalogChange(bool listFirst)
{
    watchOpenCatalog();
    if (listFirst) {
        SendPaneMessage(m_document.listPane(), UWM_RELOAD);
        SendPaneMessage(m_document.treePane(), UWM_RELOAD);
    } else {
        SendPaneMessage(m_document.treePane(), UWM_RELOAD);
        SendPaneMessage(m_document.listPane(), UWM_RELOAD);
    }
}

void CMainFrame::newDatabase()
{
    const QString path = FileDialog::saveFileName(this);
    if (path.isEmpty())
        return;
    const bool wasOpen = m_document.database() != nullptr;
    const bool opened = m_document.makeNewCatalog(path);
    // After a failed open the panes are emptied rather than left with the old rows.
    if (opened || (wasOpen && !m_document.database()))
        reloadPanesAfterCatalogChange(true);
}

void CMainFrame::openDatabase()
{
    const QString path = FileDialog::openFileName(this);
    if (path.isEmpty())
        return;
    const bool wasOpen = m_document.database() != nullptr;
    const bool opened = m_document.openCatalog(path);
    if (opened || (wasOpen && !m_document.database()))
        reloadPanesAfterCatalogChange(false);
}

void CMainFrame::setPassword()
{
    // The rows are the same under the new key; only a catalogue that could not be opened
    // again leaves the panes to be emptied.
    if (PasswordChange::run(m_document, this) == PasswordChange::Outcome::CatalogueClosed)
        reloadPanesAfterCatalogChange(false);
    else
        watchOpenCatalog();
}

void CMainFrame::showAll()
{
    m_document.setFilter(QString());
    SendPaneMessage(m_document.listPane(), UWM_RELOAD);
}

// New albums bring new names: both panes are rebuilt.
void CMainFrame::importCollection(CollectionImport::Format format)
{
    if (!m_frameDialogs->importCollection(m_document, format, this))
        return;
    SendPaneMessage(m_document.listPane(), UWM_RELOAD);
    SendPaneMessage(m_document.treePane(), UWM_RELOAD);
}

// The filter (an artist, a find) stays: the list shows it within the chosen albums.
void CMainFrame::showCollectionView(AlbumListQuery::CollectionView view)
{
    m_document.query().setCollectionView(view);
    markCollectionView();
    SendPaneMessage(m_document.listPane(), UWM_RELOAD);
}

void CMainFrame::markCollectionView()
{
    using View = AlbumListQuery::CollectionView;
    const View view = m_document.query().collectionView();
    m_actions[CommandIds::ShowWantList]->setChecked(view == View::WantList);
    m_actions[CommandIds::ShowCollection]->setChecked(view == View::Collection);
    m_actions[CommandIds::ShowEverything]->setChecked(view == View::Everything);
    m_viewPane->setText(AlbumListQuery::viewName(view));
    m_viewPane->setAccessibleName(QStringLiteral("Albums shown: %1").arg(m_viewPane->text()));
}

// Another file now stands under the catalogue's name: everything is read afresh.
void CMainFrame::restoreFromBackup()
{
    if (!m_document.database())
        return;
    if (m_frameDialogs->restoreFromBackup(m_document, this))
        reloadPanesAfterCatalogChange(false);
}

// Completed albums may bring new names (labels, genres): both panes are rebuilt, and the page
// follows the list.
void CMainFrame::completeAlbums()
{
    if (!m_frameDialogs->completeAlbums(m_document, m_list ? m_list->selectedAlbumId() : -1, this))
        return;
    SendPaneMessage(m_document.listPane(), UWM_RELOAD);
    SendPaneMessage(m_document.treePane(), UWM_RELOAD);
}

// Whatever happened in the editor, names may have changed: both panes are rebuilt.
void CMainFrame::editList(int commandId)
{
    const LookupList* list = LookupList::byCommand(commandId);
    if (!list)
        return;
    m_frameDialogs->editList(m_document, *list, this);
    SendPaneMessage(m_document.listPane(), UWM_RELOAD);
    SendPaneMessage(m_document.treePane(), UWM_RELOAD);
}

// One window for the whole session: opened again it keeps the figures already counted.
void CMainFrame::showStatistics(int tab)
{
    if (!m_statistics) {
        m_statistics = new StatisticsWindow(m_document, m_settings, this);
        LoansTab* loans = m_statistics->loansTab();
        loans->setCatalogChanged([this] { reloadAfterOutsideChange(); });
        if (m_postDialogs)
            loans->setEditAlbum([this](int albumId) { editAlbumOver(albumId, m_statistics); });
    }
    m_statistics->showTab(StatisticsWindow::Tab(tab));
    m_statistics->show();
    m_statistics->raise();
    m_statistics->activateWindow();
}

// The album editor as the list opens it, over a window of the frame's; true when the album was
// stored, the panes then reloaded.
bool CMainFrame::editAlbumOver(int albumId, QWidget* window)
{
    if (!m_postDialogs->editAlbum(m_document, m_document.treeSelectionType(), &albumId, window))
        return false;
    reloadAfterOutsideChange();
    return true;
}

void CMainFrame::findDuplicates()
{
    if (!m_document.database())
        return;
    DuplicatesDialog dialog(m_document, this);
    dialog.setCatalogChanged([this] { reloadAfterOutsideChange(); });
    if (m_postDialogs)
        dialog.setEditAlbum(
            [this, &dialog](int albumId) { return editAlbumOver(albumId, &dialog); });
    dialog.exec();
}

void CMainFrame::chooseCdDrive()
{
    const QStringList drives = EnumerateCdDrives();
    // Without a drive, a disc image can still stand in for one.
    if (drives.isEmpty() && !CdDriveDialog::offerDiscImage(this))
        return;
    m_frameDialogs->chooseCdDrive(m_settings, drives, this);
}

void CMainFrame::showHelp()
{
    // The program folder already ends with a separator; the doubled one is harmless.
    const QString folder = AppPaths::programDirectory();
    const QString topic = folder.isEmpty()
                              ? QStringLiteral("music.chm::/html/index.htm")
                              : QStringLiteral("%1/music.chm::/html/index.htm").arg(folder);
    m_frameDialogs->showHelp(topic, this);
}

void CMainFrame::moveFocusBetweenPanes(int step)
{
    QWidget* panes[] = {m_tree, m_list, m_page};
    int current = 0;
    for (int i = 0; i < 3; ++i)
        if (panes[i]->isAncestorOf(focusWidget()) || panes[i] == focusWidget())
            current = i;
    panes[(current + step + 3) % 3]->setFocus();
}

// What the open catalogue holds now counts as shown.
void CMainFrame::watchOpenCatalog()
{
    m_watchedDatabase = m_document.database();
    if (m_watchedDatabase && !m_watchedDatabase->dataVersion(&m_seenVersion))
        m_watchedDatabase = nullptr; // busy: the next look takes the state as shown
}

// The program's own writes never count here (the engine tells apart commits of other
// connections), so they cause no second reload.
void CMainFrame::checkForOutsideChanges()
{
    // Rows changing under an open dialog would pull its album away; the change waits for it.
    if (QApplication::activeModalWidget())
        return;
    Database* database = m_document.database();
    if (database != m_watchedDatabase) {
        stopWaitingForOtherWriter();
        watchOpenCatalog();
        return;
    }
    qint64 version = 0;
    if (!database || !database->dataVersion(&version))
        return;
    // Reads refused while another program wrote left panes unfilled, even if it changed
    // nothing in the end.
    if (version == m_seenVersion && !m_waitingForOtherWriter)
        return;
    m_seenVersion = version;
    stopWaitingForOtherWriter();
    reloadAfterOutsideChange();
}

void CMainFrame::waitForOtherWriter()
{
    m_statusPanes[0]->setText(QStringLiteral("Waiting for another program to finish writing…"));
    if (m_waitingForOtherWriter)
        return;
    m_waitingForOtherWriter = true;
    if (Database* database = m_document.database())
        database->setBusyTimeout(BusyTimeoutWhileWaiting);
}

void CMainFrame::stopWaitingForOtherWriter()
{
    if (!m_waitingForOtherWriter)
        return;
    m_waitingForOtherWriter = false;
    m_statusPanes[0]->setText(QStringLiteral("Ready"));
    if (Database* database = m_document.database())
        database->setBusyTimeout(Database::BusyTimeoutMs);
}

// Names, albums and pages may all have changed: the tree and the list are rebuilt, keeping the
// chosen artist and album where they still exist.
void CMainFrame::reloadAfterOutsideChange()
{
    SendPaneMessage(m_document.treePane(), UWM_RELOAD);
    const TreeNodeData* node = CLeftView::nodeData(m_tree->currentItem());
    SendPaneMessage(m_document.listPane(), UWM_RELOAD, ReloadKeepingAlbum,
                    qintptr(reinterpret_cast<quintptr>(node)));
}
