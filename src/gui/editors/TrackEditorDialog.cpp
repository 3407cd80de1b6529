#include "editors/TrackEditorDialog.h"

#include "db/TrackRecord.h"
#include "editors/CTrackDetailsPage.h"
#include "editors/CTrackGeneralPage.h"
#include "editors/CTrackLyricsPage.h"
#include "editors/CTrackNotesPage.h"
#include "editors/CTrackPersonalPage.h"
#include "ui/DialogFont.h"
#include "ui/FlatButton.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TrackEditorDialog::TrackEditorDialog(TrackRecord* record, CVastryDoc& document, bool addMode,
                                     QWidget* parent)
    : QDialog(parent), m_record(record), m_addMode(addMode)
{
    setObjectName(QStringLiteral("TrackEditorDialog"));
    // Before the name boxes are filled, which a later font change would make measure again.
    DialogFont::apply(this);
    m_tabs = new QTabWidget(this);
    m_tabs->setAccessibleName(QStringLiteral("Track pages"));
    m_general = new CTrackGeneralPage(document, m_tabs);
    m_details = new CTrackDetailsPage(document, m_tabs);
    m_personal = new CTrackPersonalPage(document, m_tabs);
    m_lyrics = new CTrackLyricsPage(m_tabs);
    m_notes = new CTrackNotesPage(m_tabs);
    m_tabs->addTab(m_general, QStringLiteral("General"));
    m_tabs->addTab(m_details, QStringLiteral("Details"));
    m_tabs->addTab(m_personal, QStringLiteral("Personal"));
    m_tabs->addTab(m_lyrics, QStringLiteral("Lyrics"));
    m_tabs->addTab(m_notes, QStringLiteral("Notes"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    ok->setDefault(true);
    MakeButtonFlat(this, ok);
    MakeButtonFlat(this, cancel);
    connect(ok, &QPushButton::clicked, this, &TrackEditorDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &TrackEditorDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_tabs->setMinimumSize(420, 330);

    load();
    m_general->titleEdit()->setFocus();
}

void TrackEditorDialog::load()
{
    if (m_addMode || !m_record) {
        setWindowTitle(QStringLiteral("Add Track"));
        return;
    }
    setWindowTitle(QStringLiteral("Edit Track %1: %2")
                       .arg(QString::number(uint(m_record->trackNumber)), m_record->title));
    m_general->loadFrom(*m_record);
    m_details->loadFrom(*m_record);
    m_personal->loadFrom(*m_record);
    m_lyrics->setText(m_record->lyrics);
    m_notes->setText(m_record->notes);
}

void TrackEditorDialog::accept()
{
    if (m_record) {
        m_general->saveTo(m_record);
        m_details->saveTo(m_record);
        m_personal->saveTo(m_record);
        m_record->lyrics = m_lyrics->text();
        m_record->notes = m_notes->text();
    }
    QDialog::accept();
}
