#include "editors/FindOnlineDialog.h"

#include "musicbrainz/ReleaseSearchQuery.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace
{

constexpr int CoverSide = 160;
constexpr int IdRole = Qt::UserRole;

enum Column { Title, Artist, Year, Country, Format, Tracks, LabelAndNumber, Barcode, Columns };

QString labelAndNumber(const ReleaseCandidate& candidate)
{
    if (candidate.catalogNumber.isEmpty())
        return candidate.label;
    if (candidate.label.isEmpty())
        return candidate.catalogNumber;
    return candidate.label + QLatin1String(" ") + candidate.catalogNumber;
}

QTreeWidgetItem* candidateRow(const ReleaseCandidate& candidate)
{
    auto* item = new QTreeWidgetItem;
    item->setText(Title, candidate.title);
    item->setText(Artist, candidate.artist);
    item->setText(Year, candidate.date.left(4));
    item->setText(Country, candidate.country);
    item->setText(Format, candidate.formats);
    item->setText(Tracks,
                  candidate.trackCount > 0 ? QString::number(candidate.trackCount) : QString());
    item->setText(LabelAndNumber, labelAndNumber(candidate));
    item->setText(Barcode, candidate.barcode);
    item->setData(Title, IdRole, candidate.id);
    return item;
}

} // namespace

FindOnlineDialog::FindOnlineDialog(const LookupSettings& settings, const QString& searchText,
                                   bool wantCover, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_wantCover(wantCover)
{
    setWindowTitle(QStringLiteral("Find Online"));
    buildLayout();
    m_search->setText(searchText);
    m_search->selectAll();
    m_search->setFocus();
    updateButtons();
}

// Nothing still running may reach a dialog that is gone.
FindOnlineDialog::~FindOnlineDialog()
{
    abandon(m_searchTask);
    abandon(m_lookupTask);
    abandon(m_thumbnailTask);
}

void FindOnlineDialog::buildLayout()
{
    auto* grid = new QGridLayout(this);
    auto* searchLabel = new QLabel(QStringLiteral("&Search:"), this);
    m_search = new QLineEdit(this);
    m_search->setAccessibleDescription(
        QStringLiteral("A barcode, a catalogue number, or artist - title"));
    m_search->setPlaceholderText(QStringLiteral("Barcode, catalogue number or artist - title"));
    searchLabel->setBuddy(m_search);
    m_find = new QPushButton(QStringLiteral("&Find"), this);
    m_find->setAutoDefault(false);
    grid->addWidget(searchLabel, 0, 0);
    grid->addWidget(m_search, 0, 1);
    grid->addWidget(m_find, 0, 2);

    auto* listLabel = new QLabel(QStringLiteral("&Releases:"), this);
    m_candidates = new QTreeWidget(this);
    m_candidates->setAccessibleName(QStringLiteral("Releases"));
    m_candidates->setRootIsDecorated(false);
    m_candidates->setUniformRowHeights(true);
    m_candidates->setHeaderLabels({QStringLiteral("Title"), QStringLiteral("Artist"),
                                   QStringLiteral("Year"), QStringLiteral("Country"),
                                   QStringLiteral("Format"), QStringLiteral("Tracks"),
                                   QStringLiteral("Label and Number"), QStringLiteral("Barcode")});
    const int widths[Columns] = {170, 120, 45, 55, 110, 45, 150, 110};
    for (int column = 0; column < Columns; ++column)
        m_candidates->setColumnWidth(column, widths[column]);
    listLabel->setBuddy(m_candidates);
    m_cover = new QLabel(this);
    m_cover->setAccessibleName(QStringLiteral("Front cover"));
    m_cover->setFixedSize(CoverSide, CoverSide);
    m_cover->setAlignment(Qt::AlignCenter);
    m_cover->setFrameShape(QFrame::StyledPanel);
    grid->addWidget(listLabel, 1, 0, 1, 3);
    grid->addWidget(m_candidates, 2, 0, 1, 3);
    grid->addWidget(m_cover, 2, 3, Qt::AlignTop);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    grid->addWidget(m_status, 3, 0, 1, 4);

    auto* buttons = new QDialogButtonBox(this);
    m_use = buttons->addButton(QStringLiteral("&Use"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    for (QPushButton* button : {m_use, cancel})
        button->setAutoDefault(false);
    grid->addWidget(buttons, 4, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    resize(1020, 440);

    // A barcode scanner types the digits and Enter: that searches, as Enter does for a person.
    connect(m_search, &QLineEdit::returnPressed, this, &FindOnlineDialog::search);
    connect(m_find, &QPushButton::clicked, this, &FindOnlineDialog::search);
    connect(m_candidates, &QTreeWidget::currentItemChanged, this, [this] {
        showCoverOfCurrent();
        updateButtons();
    });
    connect(m_candidates, &QTreeWidget::itemActivated, this, &FindOnlineDialog::useSelected);
    connect(m_use, &QPushButton::clicked, this, &FindOnlineDialog::useSelected);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FindOnlineDialog::search()
{
    const ReleaseSearchQuery query = ReleaseSearchQuery::fromSearchText(m_search->text());
    if (!query.isValid()) {
        m_status->setText(query.error());
        emit searchFinished();
        return;
    }
    abandon(m_lookupTask);
    m_candidates->clear();
    m_status->setText(QStringLiteral("Searching MusicBrainz..."));
    run(m_searchTask, OnlineReleaseTask::search(query, m_settings),
        &FindOnlineDialog::showCandidates);
}

void FindOnlineDialog::showCandidates(OnlineReleaseTask::Result result)
{
    if (result.answer == MusicBrainzClient::Answer::Failed) {
        m_status->setText(result.error);
    } else if (result.candidates.isEmpty()) {
        m_status->setText(QStringLiteral("No releases found."));
    } else {
        QList<QTreeWidgetItem*> rows;
        rows.reserve(result.candidates.size());
        for (const ReleaseCandidate& candidate : result.candidates)
            rows << candidateRow(candidate);
        m_candidates->addTopLevelItems(rows);
        m_status->setText(rows.size() == 1 ? QStringLiteral("1 release found.")
                                           : QStringLiteral("%1 releases found.").arg(rows.size()));
        m_candidates->setCurrentItem(rows.first());
    }
    updateButtons();
    emit searchFinished();
}

void FindOnlineDialog::useSelected()
{
    const QString id = currentReleaseId();
    if (id.isEmpty() || m_lookupTask)
        return;
    m_status->setText(QStringLiteral("Getting the release..."));
    run(m_lookupTask, OnlineReleaseTask::lookUp(id, m_settings, m_wantCover),
        &FindOnlineDialog::finishLookup);
}

void FindOnlineDialog::finishLookup(OnlineReleaseTask::Result result)
{
    if (result.answer != MusicBrainzClient::Answer::Found) {
        m_status->setText(result.error.isEmpty()
                              ? QStringLiteral("MusicBrainz has no such release.")
                              : result.error);
        updateButtons();
        return;
    }
    m_release = std::move(result.release);
    accept();
}

// The thumbnail comes when it comes; a candidate chosen in the meantime gets its own.
void FindOnlineDialog::showCoverOfCurrent()
{
    const QString id = currentReleaseId();
    m_cover->clear();
    if (id.isEmpty())
        return;
    if (m_thumbnails.contains(id)) {
        m_cover->setPixmap(m_thumbnails.value(id));
        return;
    }
    m_thumbnailId = id;
    run(m_thumbnailTask, OnlineReleaseTask::thumbnail(id, m_settings),
        [](FindOnlineDialog* self, OnlineReleaseTask::Result result) {
            self->showThumbnail(self->m_thumbnailId, result.thumbnail);
        });
}

void FindOnlineDialog::showThumbnail(const QString& releaseId, const QByteArray& jpeg)
{
    QPixmap picture;
    if (jpeg.isEmpty() || !picture.loadFromData(jpeg, "JPEG"))
        return;
    picture = picture.scaled(CoverSide, CoverSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_thumbnails.insert(releaseId, picture);
    if (currentReleaseId() == releaseId)
        m_cover->setPixmap(picture);
}

QString FindOnlineDialog::currentReleaseId() const
{
    const QTreeWidgetItem* item = m_candidates->currentItem();
    return item ? item->data(Title, IdRole).toString() : QString();
}

void FindOnlineDialog::updateButtons()
{
    m_use->setEnabled(!m_lookupTask && !currentReleaseId().isEmpty());
}

void FindOnlineDialog::run(std::shared_ptr<OnlineReleaseTask>& slot,
                           std::shared_ptr<OnlineReleaseTask> task, Finish finish)
{
    abandon(slot);
    slot = std::move(task);
    OnlineReleaseTask* running = slot.get();
    connect(running, &OnlineReleaseTask::finished, this, [this, &slot, running, finish] {
        if (slot.get() != running)
            return; // a later question took its place
        OnlineReleaseTask::Result result = running->takeResult();
        slot.reset();
        finish(this, std::move(result));
    });
    updateButtons();
    running->start();
}

void FindOnlineDialog::abandon(std::shared_ptr<OnlineReleaseTask>& slot)
{
    if (!slot)
        return;
    slot->disconnect(this);
    slot.reset();
}

void FindOnlineDialog::done(int result)
{
    abandon(m_searchTask);
    abandon(m_lookupTask);
    abandon(m_thumbnailTask);
    QDialog::done(result);
}
