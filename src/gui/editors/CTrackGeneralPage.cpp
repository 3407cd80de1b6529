#include "editors/CTrackGeneralPage.h"

#include "db/TrackRecord.h"
#include "editors/AutoCompleteComboBox.h"
#include "editors/EditorFields.h"
#include "editors/EditorWidgets.h"

#include <QLineEdit>

CTrackGeneralPage::CTrackGeneralPage(CVastryDoc& document, QWidget* parent)
    : NameBoxPage(document, QStringLiteral("General"), parent)
{
    m_title = new QLineEdit(this);
    addField(QStringLiteral("Title:*"), m_title);
    m_year = EditorWidgets::digitsEdit(10, this);
    addField(QStringLiteral("Year:"), m_year);
    m_artist = addNameBox(QStringLiteral("Artist:"), &TrackRecord::artist);
    m_length = new QLineEdit(this);
    addField(QStringLiteral("Length:"), m_length);
    AutoCompleteComboBox* songwriter =
        addNameBox(QStringLiteral("Songwriter:"), &TrackRecord::songwriter);
    AutoCompleteComboBox* conductor =
        addNameBox(QStringLiteral("Conductor:"), &TrackRecord::conductor);
    AutoCompleteComboBox* orchestra =
        addNameBox(QStringLiteral("Orchestra:"), &TrackRecord::orchestra);
    AutoCompleteComboBox* label = addNameBox(QStringLiteral("Label:"), &TrackRecord::label);
    m_labelNumber = new QLineEdit(this);
    addField(QStringLiteral("Label Number:"), m_labelNumber);
    finishRows();
    fillNameBoxes({{m_artist, "music_artists"},
                   {conductor, "music_conductors"},
                   {orchestra, "music_orchestras"},
                   {label, "music_labels"},
                   {songwriter, "track_songwriters"}});
}

void CTrackGeneralPage::loadFrom(const TrackRecord& record)
{
    NameBoxPage::loadFrom(record);
    m_title->setText(record.title);
    m_year->setText(record.year >= 0 ? QString::number(record.year) : QString());
    m_length->setText(record.length);
    m_labelNumber->setText(record.labelNumber);
}

void CTrackGeneralPage::saveTo(TrackRecord* record) const
{
    NameBoxPage::saveTo(record);
    record->title = m_title->text();
    record->year = EditorFields::unsignedNumber(m_year->text());
    record->length = m_length->text();
    record->labelNumber = m_labelNumber->text();
}
