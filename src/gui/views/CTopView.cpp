#include "views/CTopView.h"

#include "app/AppSettings.h"
#include "app/CommandIds.h"
#include "app/PrivateMessages.h"
#include "ui/GlintMenu.h"
#include "ui/MessageBox.h"
#include "views/AlbumListCtrl.h"
#include "views/AlbumListFiller.h"
#include "views/AlbumListModel.h"
#include "views/AlbumListQuery.h"
#include "views/CVastryDoc.h"
#include "views/PostDialogs.h"
#include "views/SortHeaderCtrl.h"

#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

namespace
{

const QColor BandGrey(0x80, 0x80, 0x80);

} // namespace

int CTopView::s_backgroundFillFrom = CTopView::BackgroundFillFrom;

CTopView::CTopView(CVastryDoc& document, QWidget* parent) : QWidget(parent), m_document(document)
{
    setObjectName(QStringLiteral("CTopView"));
    setAccessibleName(QStringLiteral("Album list"));
    m_band = new QWidget(this);
    m_band->setObjectName(QStringLiteral("CaptionBand"));
    m_band->setFixedHeight(26);
    m_caption = new QLabel(m_document.itemCaption(), m_band);
    m_caption->setObjectName(QStringLiteral("CaptionLabel"));
    QFont captionFont(QStringLiteral("Tahoma"), 12, QFont::Bold);
    m_caption->setFont(captionFont);
    m_caption->setStyleSheet(QStringLiteral("color: #ffffff;"));
    auto* bandLayout = new QHBoxLayout(m_band);
    bandLayout->setContentsMargins(10, 0, 40, 0);
    bandLayout->addWidget(m_caption);

    m_list = new AlbumListCtrl(this);
    m_list->setFont(QFont(QStringLiteral("Tahoma"), 8));
    m_model = new AlbumListModel(this);
    m_list->setModel(m_model);
    m_list->applyListLook(m_document.settings());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_band);
    layout->addWidget(m_list, 1);
    // Focus given to the pane (F6, Shift+F6) belongs to the list, where the keys work.
    setFocusProxy(m_list);

    m_list->sortHeader()->setSortColumn(m_document.settings().read(SettingsTable::OrderByColumn));
    m_filler = new AlbumListFiller(this);
    connect(m_filler, &AlbumListFiller::filled, this, &CTopView::receiveRows);
}

void CTopView::setBackgroundFillFrom(int albums)
{
    s_backgroundFillFrom = albums;
}

bool CTopView::isFilling() const
{
    return m_filler->isFilling();
}

CTopView::~CTopView()
{
    m_document.settings().write(SettingsTable::OrderByColumn, sortColumn());
    storeColumnState();
}

int CTopView::sortColumn() const
{
    return m_list->sortHeader()->sortColumn();
}

int CTopView::directionFlag() const
{
    return m_list->sortHeader()->directionFlag();
}

QString CTopView::caption() const
{
    return m_caption->text();
}

void CTopView::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(m_band->geometry(), BandGrey);
}

bool CTopView::event(QEvent* event)
{
    const int type = int(event->type());
    if (type == CommandMessageType) {
        handleCommand(static_cast<CommandMessage*>(event)->commandId());
        event->accept();
        return true;
    }
    if (type >= UWM_NODE_SELECTED && type <= UWM_LIST_CONTEXT_MENU) {
        handleMessage(static_cast<PaneMessage*>(event));
        return true;
    }
    return QWidget::event(event);
}

void CTopView::handleMessage(PaneMessage* message)
{
    switch (message->message()) {
    case UWM_NODE_SELECTED:
        chooseNode(int(message->wParam()), quintptr(message->lParam()));
        break;
    case UWM_RELOAD:
        if (message->wParam() == ReloadKeepingAlbum)
            reloadAfterOutsideChange(reinterpret_cast<const TreeNodeData*>(message->lParam()));
        else
            reload();
        break;
    case UWM_SHOW_ALBUM:
        showSelectedAlbum();
        break;
    case UWM_EDIT_POST:
        editPost();
        break;
    case UWM_NEW_POST:
        newPost();
        break;
    case UWM_DELETE_POST:
        deletePost();
        break;
    case UWM_FIND:
        findPosts();
        break;
    case UWM_SORT_COLUMN:
        sort(int(message->wParam()));
        break;
    case UWM_LIST_CONTEXT_MENU:
        showContextMenu(UnpackPoint(message->wParam()), message->lParam() == 1);
        break;
    default:
        break;
    }
}

namespace
{

int listDialogMode(int commandId)
{
    if (commandId == CommandIds::PrintAllAlbums)
        return 1;
    return commandId == CommandIds::ExportCsv ? 2 : 0;
}

} // namespace

void CTopView::handleCommand(int commandId)
{
    if (commandId == CommandIds::SortAscending || commandId == CommandIds::SortDescending) {
        sortAtHeaderPoint(commandId == CommandIds::SortAscending ? 0 : 1);
    } else if (commandId >= CommandIds::FirstColumn && commandId <= CommandIds::LastColumn) {
        toggleColumn(commandId);
    } else if (commandId == CommandIds::ExportHtml || commandId == CommandIds::PrintAllAlbums ||
               commandId == CommandIds::ExportCsv) {
        storeColumnState();
        if (m_dialogs)
            m_dialogs->printList(m_document, listDialogMode(commandId), this);
    }
}

int CTopView::selectedAlbumId() const
{
    return m_model->albumId(m_list->selectedRow());
}

void CTopView::storeColumnState()
{
    const QHeaderView* header = m_list->horizontalHeader();
    AlbumColumns& columns = m_document.columns();
    const QVector<ColumnInfo>& shown = m_model->columns();
    for (int i = 0; i < shown.size(); ++i) {
        const int index = columns.indexOfFlag(shown[i].flag);
        if (index < 0)
            continue;
        columns[index].order = header->visualIndex(i);
        columns[index].width = header->sectionSize(i);
    }
}

void CTopView::removeColumns()
{
    m_model->setColumns({});
}

// The model keeps the shown columns in table order; the header shows them in display order.
void CTopView::buildColumns()
{
    const AlbumColumns& columns = m_document.columns();
    const QVector<ColumnInfo> shown = columns.shownColumns();
    m_model->setColumns(shown);
    QHeaderView* header = m_list->horizontalHeader();
    for (int i = 0; i < shown.size(); ++i)
        header->resizeSection(i, shown[i].width);
    const QVector<ColumnInfo> displayed = columns.shownInDisplayOrder();
    for (int position = 0; position < displayed.size(); ++position) {
        const int logical = m_model->columnOfFlag(displayed[position].flag);
        header->moveSection(header->visualIndex(logical), position);
    }
}

void CTopView::showSortArrow()
{
    SortHeaderCtrl* header = m_list->sortHeader();
    header->setSortColumn(header->sortColumn());
}

void CTopView::chooseNode(int nodeType, quintptr nodeData)
{
    storeColumnState();
    removeColumns();
    m_document.setTreeSelectionType(nodeType);
    buildColumns();
    const auto* node = reinterpret_cast<const TreeNodeData*>(nodeData);
    if (node && nodeType != TreeNodeData::RootNode) {
        m_document.setFilter(AlbumListQuery::artistCondition(node->id));
        reload();
        m_caption->setText(node->name);
    } else {
        m_caption->setText(m_document.itemCaption());
        m_document.setFilter(QString());
        reload();
    }
    showSortArrow();
}

void CTopView::reload()
{
    reloadSelecting(std::max(0, m_list->selectedRow()));
}

// The rows afresh; then the row at the same index is selected (not necessarily the same album:
// after a delete it is the next one), or none past the end.
void CTopView::reloadSelecting(int row)
{
    fillRows([this, row] { selectAndShow(row); });
}

// The catalogue was changed by another program: the same album stays selected (the row at its
// index when it is gone), the list stays scrolled where it was, and a renamed artist shows its
// new name on the band.
void CTopView::reloadAfterOutsideChange(const TreeNodeData* treeNode)
{
    if (treeNode && treeNode->type == TreeNodeData::ArtistNode &&
        m_document.filter() == AlbumListQuery::artistCondition(treeNode->id))
        m_caption->setText(treeNode->name);
    const int albumId = selectedAlbumId();
    const int row = std::max(0, m_list->selectedRow());
    const int horizontal = m_list->horizontalScrollBar()->value();
    const int vertical = m_list->verticalScrollBar()->value();
    fillRows([this, albumId, row, horizontal, vertical] {
        m_list->horizontalScrollBar()->setValue(horizontal);
        m_list->verticalScrollBar()->setValue(vertical);
        const int albumRow = m_model->rowOfAlbum(albumId);
        selectAndShow(albumRow >= 0 ? albumRow : row);
    });
}

// Counting a million albums takes longer than the window may stop for: the count goes only as
// far as telling a large list from a small one, and the worker counts the rest.
void CTopView::fillRows(const std::function<void()>& afterFill)
{
    Database* database = m_document.database();
    const int total =
        database ? m_document.albumTable().CountUpTo(database, s_backgroundFillFrom) : 0;
    if (total >= s_backgroundFillFrom) {
        fillInBackground(afterFill);
        return;
    }
    fillRowsNow(albumsInView(total));
    if (afterFill)
        afterFill();
}

// The total the status bar gives: the albums of the collection view, the filter aside.
int CTopView::albumsInView(int catalogueTotal)
{
    const QString view = m_document.query().viewCondition();
    if (view.isEmpty())
        return catalogueTotal;
    return int(m_document.albumTable().countListed(m_document.database(), view));
}

// Fills the list from the catalogue here and now, and reports the counts to the status bar.
void CTopView::fillRowsNow(int total)
{
    // A fill still running on the worker belongs to an older question.
    m_filler->cancel();
    m_afterFill = nullptr;
    showFillStatus(QString());
    m_model->beginFill();
    // Without a catalogue the table writes nothing: the old rows must not stay behind.
    m_model->removeAllRows();
    m_document.albumTable().FillList(m_document.database(), m_model, m_document.sortText(), false,
                                     m_document.listCondition());
    m_model->endFill();
    reportCounts(total);
}

// The old rows stay on show, and work, until the new ones are all there.
void CTopView::fillInBackground(const std::function<void()>& afterFill)
{
    Database* database = m_document.database();
    AlbumListRequest request;
    request.path = database->name();
    request.connect = database->connectString();
    request.fields = m_model->headerFields();
    request.sortText = m_document.sortText();
    request.condition = m_document.listCondition();
    request.totalCondition = m_document.query().viewCondition();
    m_afterFill = afterFill;
    showFillStatus(QStringLiteral("Sorting…"));
    m_filler->start(request);
}

void CTopView::receiveRows(const std::shared_ptr<AlbumListRows>& rows)
{
    const std::function<void()> afterFill = std::move(m_afterFill);
    m_afterFill = nullptr;
    if (rows->ok) {
        showFillStatus(QString());
        m_model->replaceRows(std::move(rows->rows));
        reportCounts(rows->total);
    } else {
        // Whatever went wrong is told by the same fill done here.
        fillRowsNow(albumsInView(m_document.albumTable().Count(m_document.database(), false)));
    }
    if (afterFill)
        afterFill();
}

void CTopView::reportCounts(int total)
{
    emit m_document.listFilled();
    QWidget* frame = window();
    SendPaneMessage(frame, UWM_DISPLAYED_POSTS, quintptr(m_model->rowCount()));
    SendPaneMessage(frame, UWM_TOTAL_POSTS, quintptr(std::max(0, total)));
}

void CTopView::showFillStatus(const QString& text)
{
    auto* frame = qobject_cast<QMainWindow*>(window());
    if (!frame)
        return;
    if (!text.isEmpty())
        frame->statusBar()->showMessage(text);
    else if (frame->statusBar()->currentMessage() == QStringLiteral("Sorting…"))
        frame->statusBar()->clearMessage();
}

void CTopView::selectAndShow(int row)
{
    if (m_model->rowCount() > 0)
        m_list->selectRow(row);
    SendPaneMessage(this, UWM_SHOW_ALBUM);
}

void CTopView::showSelectedAlbum()
{
    SendPaneMessage(m_document.pagePane(), UWM_SHOW_ALBUM, quintptr(qintptr(selectedAlbumId())));
}

void CTopView::sort(int column)
{
    SortHeaderCtrl* header = m_list->sortHeader();
    const bool descending = header->directionFlag() == 1;
    m_document.setSortText(AlbumListQuery::sortTextFor(m_model->columns(), column, descending));
    header->setDirectionFlag(descending ? 0 : 1);
    header->setSortColumn(column);
    reload();
}

void CTopView::sortAtHeaderPoint(int directionFlag)
{
    const QHeaderView* header = m_list->horizontalHeader();
    const QPoint point = header->mapFrom(m_list, m_list->headerClickPoint());
    if (!header->rect().contains(point))
        return;
    const int column = header->logicalIndexAt(point);
    if (column < 0)
        return;
    m_list->sortHeader()->setDirectionFlag(directionFlag);
    SendPaneMessage(this, UWM_SORT_COLUMN, quintptr(column));
}

void CTopView::toggleColumn(int commandId)
{
    AlbumColumns& columns = m_document.columns();
    const int index = columns.indexOfCommand(commandId);
    if (index < 0)
        return;
    // Rebuilding the columns empties the list; the selected album comes back with the rows.
    const int row = std::max(0, m_list->selectedRow());
    storeColumnState();
    columns[index].shown = columns[index].shown ? 0 : 1;
    removeColumns();
    buildColumns();
    showSortArrow();
    reloadSelecting(row);
}

void CTopView::editPost()
{
    int id = selectedAlbumId();
    if (id == -1 || !m_dialogs)
        return;
    if (m_dialogs->editAlbum(m_document, m_document.treeSelectionType(), &id, this))
        showSavedAlbum(id);
    else
        showSelectedAlbum(); // a track deleted in the editor is gone, saved or not
}

void CTopView::newPost()
{
    int id = -1;
    if (m_dialogs && m_dialogs->editAlbum(m_document, m_document.treeSelectionType(), &id, this))
        showSavedAlbum(id);
}

// After the editor stored an album: the list shows it selected (the row at the old index when
// the list's filter leaves it out), and the tree picks up an artist the album brought, which
// an edit can bring as well as a new album.
void CTopView::showSavedAlbum(int albumId)
{
    const int row = std::max(0, m_list->selectedRow());
    fillRows([this, albumId, row] {
        const int albumRow = m_model->rowOfAlbum(albumId);
        selectAndShow(albumRow >= 0 ? albumRow : row);
    });
    SendPaneMessage(m_document.treePane(), UWM_RELOAD);
}

void CTopView::deletePost()
{
    const int id = selectedAlbumId();
    if (id == -1)
        return;
    if (MessageBox::question(
            this, QStringLiteral("Delete confirmation"),
            QStringLiteral("Are you sure you want to delete the selected item?")) !=
        QMessageBox::Yes)
        return;
    // A refused delete has been reported; the list stays as it is.
    if (m_document.albumTable().Delete(m_document.database(), id, false))
        reload();
}

void CTopView::findPosts()
{
    QString condition;
    if (!m_dialogs || !m_dialogs->find(m_document, &condition, this) || condition.isEmpty())
        return;
    m_document.setFilter(condition);
    reload();
}

void CTopView::showContextMenu(const QPoint& screenPoint, bool onHeader)
{
    QMenu menu(this);
    if (onHeader) {
        menu.addAction(QStringLiteral("Sort &Ascending"), this,
                       [this] { handleCommand(CommandIds::SortAscending); });
        menu.addAction(QStringLiteral("Sort &Descending"), this,
                       [this] { handleCommand(CommandIds::SortDescending); });
        menu.addSeparator();
        QMenu* columnsMenu = menu.addMenu(QStringLiteral("&Columns"));
        const AlbumColumns& columns = m_document.columns();
        for (int i = 0; i < columns.size(); ++i) {
            const int commandId = columns[i].commandId;
            QAction* action = columnsMenu->addAction(
                columns[i].caption, this, [this, commandId] { handleCommand(commandId); });
            action->setCheckable(true);
            action->setChecked(columns[i].shown != 0);
        }
        menu.exec(screenPoint);
        return;
    }
    // The list popup's commands are the frame's own: they run as menu commands there.
    QWidget* frame = window();
    const struct {
        const char* text;
        QKeySequence accelerator;
        int commandId;
    } items[] = {{"&New Post", QKeySequence(Qt::Key_Insert), CommandIds::NewPost},
                 {"&Edit Post", QKeySequence(Qt::Key_Enter), CommandIds::EditPost},
                 {"&Delete Post", QKeySequence(Qt::Key_Delete), CommandIds::DeletePost},
                 {nullptr, QKeySequence(), 0},
                 {"&Find", QKeySequence(Qt::CTRL | Qt::Key_F), CommandIds::Find}};
    for (const auto& item : items) {
        if (!item.text) {
            menu.addSeparator();
            continue;
        }
        const int commandId = item.commandId;
        QAction* action =
            GlintMenu::addItem(&menu, QString::fromLatin1(item.text), item.accelerator);
        connect(action, &QAction::triggered, frame,
                [frame, commandId] { SendCommandMessage(frame, commandId); });
        action->setEnabled(commandId == CommandIds::DeletePost || m_dialogs);
    }
    menu.exec(screenPoint);
}
