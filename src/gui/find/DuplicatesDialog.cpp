#include "find/DuplicatesDialog.h"

#include "ui/DialogFont.h"
#include "ui/MessageBox.h"
#include "views/CVastryDoc.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace
{

constexpr int AlbumIdRole = Qt::UserRole;

// "Artist – Title (CD, 1999, Label NUMBER)": enough to tell the album from its twin.
QString albumLine(const QTreeWidgetItem* item)
{
    using Column = DuplicatesDialog::Column;
    QStringList details;
    for (int column : {Column::MediaTypeColumn, Column::YearColumn})
        if (!item->text(column).isEmpty())
            details << item->text(column);
    const QString label =
        QStringList{item->text(Column::LabelColumn), item->text(Column::NumberColumn)}
            .join(QLatin1Char(' '))
            .trimmed();
    if (!label.isEmpty())
        details << label;
    QString line = QStringLiteral("%1 \u2013 %2")
                       .arg(item->text(Column::ArtistColumn), item->text(Column::TitleColumn));
    if (!details.isEmpty())
        line += QStringLiteral(" (%1)").arg(details.join(QLatin1String(", ")));
    return line;
}

QString summaryText(int groups, int albums)
{
    if (groups == 0)
        return QLatin1String(DuplicateFinder::NoneFoundText);
    if (groups == 1)
        return QStringLiteral("1 group, %1 albums").arg(albums);
    return QStringLiteral("%1 groups, %2 albums").arg(groups).arg(albums);
}

// The search reads every album: a big catalogue takes a moment.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

DuplicatesDialog::DuplicatesDialog(CVastryDoc& document, QWidget* parent)
    : QDialog(parent), m_document(document)
{
    setWindowTitle(QLatin1String(Caption));
    auto* label = new QLabel(QStringLiteral("&Albums that are probably the same record:"), this);
    m_groups = new QTreeWidget(this);
    m_groups->setObjectName(QStringLiteral("duplicates"));
    m_groups->setAccessibleName(QStringLiteral("Duplicate albums"));
    m_groups->setHeaderLabels({QStringLiteral("Artist"), QStringLiteral("Title"),
                               QStringLiteral("Media Type"), QStringLiteral("Year"),
                               QStringLiteral("Label"), QStringLiteral("Number")});
    m_groups->setUniformRowHeights(true);
    m_groups->setAllColumnsShowFocus(true);
    m_groups->setMinimumSize(640, 300);
    label->setBuddy(m_groups);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("summary"));

    auto* buttons = new QDialogButtonBox(this);
    m_edit = buttons->addButton(QStringLiteral("&Edit..."), QDialogButtonBox::ActionRole);
    m_delete = buttons->addButton(QStringLiteral("&Delete"), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close);
    // Enter on a row reaches the default button; a double-click is the mouse's way.
    m_edit->setDefault(true);
    connect(m_edit, &QPushButton::clicked, this, &DuplicatesDialog::editSelected);
    connect(m_delete, &QPushButton::clicked, this, &DuplicatesDialog::deleteSelected);
    connect(buttons, &QDialogButtonBox::rejected, this, &DuplicatesDialog::reject);
    connect(m_groups, &QTreeWidget::itemDoubleClicked, this, &DuplicatesDialog::editSelected);
    connect(m_groups, &QTreeWidget::currentItemChanged, this, &DuplicatesDialog::updateButtons);
    m_groups->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_groups, 1);
    layout->addWidget(m_summary);
    layout->addWidget(buttons);
    DialogFont::apply(this);
    search();
    m_groups->setFocus();
}

void DuplicatesDialog::setEditAlbum(std::function<bool(int)> edit)
{
    m_editAlbum = std::move(edit);
    updateButtons();
}

// The Delete key does in the groups what it does in the album list.
bool DuplicatesDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_groups && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            deleteSelected();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString DuplicatesDialog::summary() const
{
    return m_summary->text();
}

int DuplicatesDialog::selectedAlbumId() const
{
    const QTreeWidgetItem* item = m_groups->currentItem();
    return item ? item->data(0, AlbumIdRole).toInt() : -1;
}

void DuplicatesDialog::search()
{
    const int albumId = selectedAlbumId();
    const int row = std::max(0, int(rowsInOrder().indexOf(m_groups->currentItem())));
    QVector<DuplicateFinder::Group> groups;
    if (Database* database = m_document.database()) {
        WaitCursor wait;
        // A failed read has been reported; the dialog then shows no groups.
        DuplicateFinder(database).find(&groups);
    }
    fill(groups);
    selectAfterFill(albumId, row);
}

void DuplicatesDialog::fill(const QVector<DuplicateFinder::Group>& groups)
{
    m_groups->clear();
    int albums = 0;
    for (const DuplicateFinder::Group& group : groups) {
        addGroup(group);
        albums += group.albums.size();
    }
    m_groups->expandAll();
    for (int column = 0; column < m_groups->columnCount(); ++column)
        m_groups->resizeColumnToContents(column);
    m_summary->setText(summaryText(int(groups.size()), albums));
    m_groups->setAccessibleDescription(m_summary->text());
}

void DuplicatesDialog::addGroup(const DuplicateFinder::Group& group)
{
    auto* groupItem = new QTreeWidgetItem(m_groups);
    groupItem->setText(0, QStringLiteral("%1: %2 albums")
                              .arg(DuplicateFinder::reasonText(group.reasons))
                              .arg(group.albums.size()));
    groupItem->setData(0, AlbumIdRole, -1);
    groupItem->setFirstColumnSpanned(true);
    QFont bold = groupItem->font(0);
    bold.setBold(true);
    groupItem->setFont(0, bold);
    for (const DuplicateFinder::Album& album : group.albums) {
        auto* item = new QTreeWidgetItem(groupItem);
        item->setText(ArtistColumn, album.artist);
        item->setText(TitleColumn, album.title);
        item->setText(MediaTypeColumn, album.mediaType);
        item->setText(YearColumn, album.year > 0 ? QString::number(album.year) : QString());
        item->setText(LabelColumn, album.label);
        item->setText(NumberColumn, album.labelNumber);
        item->setData(0, AlbumIdRole, album.musicId);
        item->setToolTip(ArtistColumn, DuplicateFinder::reasonText(album.reasons));
    }
}

// Group rows and album rows as they stand from top to bottom.
QList<QTreeWidgetItem*> DuplicatesDialog::rowsInOrder() const
{
    QList<QTreeWidgetItem*> rows;
    for (int i = 0; i < m_groups->topLevelItemCount(); ++i) {
        QTreeWidgetItem* group = m_groups->topLevelItem(i);
        rows << group;
        for (int j = 0; j < group->childCount(); ++j)
            rows << group->child(j);
    }
    return rows;
}

void DuplicatesDialog::selectAfterFill(int albumId, int row)
{
    const QList<QTreeWidgetItem*> rows = rowsInOrder();
    QTreeWidgetItem* current = nullptr;
    for (QTreeWidgetItem* item : rows)
        if (albumId >= 0 && item->data(0, AlbumIdRole).toInt() == albumId)
            current = item;
    if (!current && !rows.isEmpty())
        current = rows.value(std::min(row, int(rows.size()) - 1));
    m_groups->setCurrentItem(current);
    updateButtons();
}

void DuplicatesDialog::updateButtons()
{
    const bool onAlbum = selectedAlbumId() >= 0;
    m_edit->setEnabled(onAlbum && m_editAlbum);
    m_delete->setEnabled(onAlbum && m_document.database());
}

void DuplicatesDialog::editSelected()
{
    const int albumId = selectedAlbumId();
    if (albumId < 0 || !m_editAlbum)
        return;
    // The frame reloads its own panes after an edit.
    if (m_editAlbum(albumId))
        search();
}

// The program's own delete: the album is marked deleted, its ids with it, and the day's
// backup is taken first.
void DuplicatesDialog::deleteSelected()
{
    const int albumId = selectedAlbumId();
    Database* database = m_document.database();
    if (albumId < 0 || !database)
        return;
    const QString question =
        QStringLiteral("Are you sure you want to delete the selected item?\n\n%1")
            .arg(albumLine(m_groups->currentItem()));
    if (MessageBox::question(this, QStringLiteral("Delete confirmation"), question) !=
        QMessageBox::Yes)
        return;
    // A refused delete has been reported; the groups stay as they are.
    if (!m_document.albumTable().Delete(database, albumId, false))
        return;
    search();
    if (m_catalogChanged)
        m_catalogChanged();
}
