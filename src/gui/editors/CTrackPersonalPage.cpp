#include "editors/CTrackPersonalPage.h"

#include "db/TrackRecord.h"
#include "ui/FileDialog.h"
#include "ui/FlatButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

CTrackPersonalPage::CTrackPersonalPage(CVastryDoc& document, QWidget* parent)
    : NameBoxPage(document, QStringLiteral("Personal"), parent)
{
    AutoCompleteComboBox* genre = addNameBox(QStringLiteral("Genre:"), &TrackRecord::genre);
    AutoCompleteComboBox* subCategory =
        addNameBox(QStringLiteral("Subcategory:"), &TrackRecord::subCategory);
    m_grade = new QSlider(Qt::Horizontal, this);
    m_grade->setTickPosition(QSlider::TicksBelow);
    m_grade->setPageStep(1);
    addField(QStringLiteral("Grade:"), m_grade);

    auto* audioRow = new QWidget(this);
    auto* layout = new QHBoxLayout(audioRow);
    layout->setContentsMargins(0, 0, 0, 0);
    m_audioFile = new QLineEdit(audioRow);
    // A path is chosen, never typed, so it names a file that existed.
    m_audioFile->setReadOnly(true);
    // Its label sits outside the row, where a screen reader does not look for it.
    m_audioFile->setAccessibleName(QStringLiteral("Audio file"));
    auto* choose = new QPushButton(QStringLiteral("..."), audioRow);
    choose->setAccessibleName(QStringLiteral("Choose audio file"));
    choose->setFixedWidth(choose->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    MakeButtonFlat(this, choose);
    connect(choose, &QPushButton::clicked, this, &CTrackPersonalPage::chooseAudioFile);
    layout->addWidget(m_audioFile, 1);
    layout->addWidget(choose);
    // The label names the path, not the row it sits in.
    addField(QStringLiteral("Audio File:"), audioRow)->setBuddy(m_audioFile);
    finishRows();
    m_grade->setRange(1, 10);
    fillNameBoxes({{genre, "music_categories"}, {subCategory, "music_subcategories"}});
}

void CTrackPersonalPage::chooseAudioFile()
{
    const QString path =
        FileDialog::openExistingFile(window(), QLatin1String(FileDialog::AudioFilter));
    if (!path.isEmpty())
        m_audioFile->setText(path);
}

void CTrackPersonalPage::loadFrom(const TrackRecord& record)
{
    NameBoxPage::loadFrom(record);
    m_grade->setValue(record.grade);
    m_audioFile->setText(record.audioFile);
}

void CTrackPersonalPage::saveTo(TrackRecord* record) const
{
    NameBoxPage::saveTo(record);
    record->grade = m_grade->value();
    record->audioFile = m_audioFile->text();
}
