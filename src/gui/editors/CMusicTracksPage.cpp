#include "editors/CMusicTracksPage.h"

#include "db/TrackTable.h"
#include "editors/TrackEditorDialog.h"
#include "ui/FlatButton.h"
#include "ui/ListLook.h"
#include "ui/MessageBox.h"
#include "views/CVastryDoc.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

CMusicTracksPage::CMusicTracksPage(CVastryDoc& document, QWidget* parent)
    : QWidget(parent), m_document(document)
{
    setAccessibleName(QStringLiteral("Tracks"));
    m_list = new QTreeWidget(this);
    m_list->setAccessibleName(QStringLiteral("Tracks"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setHeaderLabels({QStringLiteral("No"), QStringLiteral("Track Name")});
    m_list->header()->setSectionsClickable(false);
    m_list->header()->setStretchLastSection(true);
    m_list->setColumnWidth(0, 35);
    m_list->setColumnWidth(1, 490);
    m_list->setAlternatingRowColors(false);
    ListLook::apply(m_list, document.settings());
    m_list->installEventFilter(this);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CMusicTracksPage::updateButtons);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CMusicTracksPage::editTrack);

    m_add = new QPushButton(QStringLiteral("&Add"), this);
    m_edit = new QPushButton(QStringLiteral("&Edit"), this);
    m_delete = new QPushButton(QStringLiteral("&Delete"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {m_add, m_edit, m_delete}) {
        MakeButtonFlat(this, button);
        buttons->addWidget(button);
    }
    connect(m_add, &QPushButton::clicked, this, &CMusicTracksPage::addTrack);
    connect(m_edit, &QPushButton::clicked, this, &CMusicTracksPage::editTrack);
    connect(m_delete, &QPushButton::clicked, this, &CMusicTracksPage::deleteTrack);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    updateButtons();
}

bool CMusicTracksPage::listAlbumTracks(int albumId)
{
    TrackTable tracks;
    return tracks.fillTrackList(m_document.database(), albumId, this);
}

void CMusicTracksPage::appendTrack(const QString& number, const QString& text,
                                   std::unique_ptr<TrackRecord> record)
{
    new QTreeWidgetItem(m_list, {number, text});
    m_records.push_back(std::move(record));
}

void CMusicTracksPage::clearTracks()
{
    m_list->clear();
    m_records.clear();
    updateButtons();
}

QVector<TrackRecord> CMusicTracksPage::tracks() const
{
    QVector<TrackRecord> tracks;
    tracks.reserve(int(m_records.size()));
    for (const auto& record : m_records)
        tracks << *record;
    return tracks;
}

void CMusicTracksPage::setStoredTracks(const QVector<TrackRecord>& tracks)
{
    for (int row = 0; row < tracks.size() && row < int(m_records.size()); ++row)
        *m_records[size_t(row)] = tracks.at(row);
}

// With a keyboard: Enter edits the chosen track (instead of saving the whole album through
// the default button), Delete deletes it, Insert adds one.
bool CMusicTracksPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            editTrack();
            return true;
        case Qt::Key_Delete:
            deleteTrack();
            return true;
        case Qt::Key_Insert:
            addTrack();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CMusicTracksPage::updateButtons()
{
    const bool chosen = !m_list->selectedItems().isEmpty();
    m_edit->setEnabled(chosen);
    m_delete->setEnabled(chosen);
}

void CMusicTracksPage::relabel(int row)
{
    QTreeWidgetItem* item = m_list->topLevelItem(row);
    item->setText(1, TrackTable::listText(*m_records[size_t(row)]));
}

void CMusicTracksPage::addTrack()
{
    auto record = std::make_unique<TrackRecord>();
    TrackEditorDialog editor(record.get(), m_document, true, window());
    if (editor.exec() != QDialog::Accepted)
        return;
    record->trackNumber = nextTrackNumber();
    const QString number = TrackTable::listNumber(*record);
    const QString text = TrackTable::listText(*record);
    appendTrack(number, text, std::move(record));
    m_list->setCurrentItem(m_list->topLevelItem(m_list->topLevelItemCount() - 1));
}

// After the highest, not after the count: once a track in the middle was deleted, the count
// would give a number another track still has.
int CMusicTracksPage::nextTrackNumber() const
{
    int highest = 0;
    for (const auto& record : m_records)
        highest = std::max(highest, record->trackNumber);
    return highest + 1;
}

void CMusicTracksPage::editTrack()
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (row < 0 || m_list->selectedItems().isEmpty())
        return;
    TrackEditorDialog editor(m_records[size_t(row)].get(), m_document, false, window());
    if (editor.exec() == QDialog::Accepted)
        relabel(row);
}

// A stored track leaves the catalogue as soon as the user confirms; one that was never
// stored only leaves the list.
void CMusicTracksPage::deleteTrack()
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (row < 0 || m_list->selectedItems().isEmpty())
        return;
    const TrackRecord& record = *m_records[size_t(row)];
    if (MessageBox::question(window(), QStringLiteral("Confirm delete"),
                             QStringLiteral("Do you want to delete '%1'?").arg(record.title)) !=
        QMessageBox::Yes)
        return;
    if (record.trackId != -1) {
        TrackTable tracks;
        if (!tracks.Delete(m_document.database(), record.trackId, true))
            return;
    }
    delete m_list->takeTopLevelItem(row);
    m_records.erase(m_records.begin() + row);
    updateButtons();
}
