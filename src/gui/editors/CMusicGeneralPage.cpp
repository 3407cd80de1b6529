#include "editors/CMusicGeneralPage.h"

#include "app/PrivateMessages.h"
#include "db/AlbumField.h"
#include "db/LookupList.h"
#include "editors/AutoCompleteComboBox.h"
#include "editors/DateBoxes.h"
#include "editors/EditorFields.h"
#include "editors/EditorWidgets.h"
#include "ui/FileDialog.h"
#include "ui/FlatButton.h"
#include "views/CVastryDoc.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace
{

const char* const AdCodes[] = {"N/A", "AAD", "ADD", "DAD", "DDD"};

} // namespace

CMusicGeneralPage::CMusicGeneralPage(CVastryDoc& document, QWidget* parent)
    : QWidget(parent), m_document(document)
{
    setAccessibleName(QStringLiteral("General"));
    auto* grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnMinimumWidth(2, 100);
    grid->setHorizontalSpacing(8);
    buildLeftColumn();
    buildRightColumn();
    grid->setRowStretch(grid->rowCount(), 1);
    fillNameBoxes();
    m_recordingDate->selectYear(QStringLiteral("2002"));
    m_year->setText(QStringLiteral("2002"));
    m_untouchedYear = m_year->text();
    m_inCollection->setChecked(true);
    m_ad->button(0)->setChecked(true);
}

void CMusicGeneralPage::buildLeftColumn()
{
    auto* grid = static_cast<QGridLayout*>(layout());
    int row = 0;
    auto combo = [this, grid, &row](const QString& label, const QString& name) {
        auto* box = new AutoCompleteComboBox(this);
        box->setObjectName(name);
        EditorWidgets::addRow(grid, row++, 0, label, box);
        return box;
    };
    m_artist = combo(QStringLiteral("Artist:*"), QStringLiteral("artist"));
    m_title = new QLineEdit(this);
    EditorWidgets::addRow(grid, row++, 0, QStringLiteral("Title:*"), m_title);
    m_studio = combo(QStringLiteral("Studio:"), QStringLiteral("studio"));
    m_producer = combo(QStringLiteral("Producer:"), QStringLiteral("producer"));
    m_engineer = combo(QStringLiteral("Engineer:"), QStringLiteral("engineer"));
    m_conductor = combo(QStringLiteral("Conductor:"), QStringLiteral("conductor"));
    m_orchestra = combo(QStringLiteral("Orchestra:"), QStringLiteral("orchestra"));
    m_language = combo(QStringLiteral("Language:"), QStringLiteral("language"));
    m_country = combo(QStringLiteral("Country:"), QStringLiteral("country"));
    QWidget* front = imageRow(&m_frontImage, QStringLiteral("front image"));
    EditorWidgets::addRow(grid, row++, 0, QStringLiteral("Front Image:"), front)
        ->setBuddy(m_frontImage);
    QWidget* back = imageRow(&m_backImage, QStringLiteral("back image"));
    EditorWidgets::addRow(grid, row++, 0, QStringLiteral("Back Image:"), back)
        ->setBuddy(m_backImage);
    m_freedb = new QPushButton(QStringLiteral("Get info from FreeDB"), this);
    MakeButtonFlat(this, m_freedb);
    connect(m_freedb, &QPushButton::clicked, this,
            [this] { SendPaneMessage(window(), UWM_FREEDB_FILL); });
    m_findOnline = new QPushButton(QStringLiteral("Find &Online..."), this);
    MakeButtonFlat(this, m_findOnline);
    auto* lookups = new QHBoxLayout;
    lookups->setContentsMargins(0, 0, 0, 0);
    lookups->addWidget(m_freedb);
    lookups->addWidget(m_findOnline);
    lookups->addStretch(1);
    grid->addLayout(lookups, row++, 1);
    m_inCollection = new QCheckBox(QStringLiteral("In Collection"), this);
    grid->addWidget(m_inCollection, row++, 1);
    m_status = new QLabel(this);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setObjectName(QStringLiteral("status"));
    grid->addWidget(m_status, row++, 0, 1, 2);
}

void CMusicGeneralPage::buildRightColumn()
{
    auto* grid = static_cast<QGridLayout*>(layout());
    int row = 0;
    auto combo = [this, grid, &row](const QString& label, const QString& name) {
        auto* box = new AutoCompleteComboBox(this);
        box->setObjectName(name);
        EditorWidgets::addRow(grid, row++, 2, label, box);
        return box;
    };
    m_genre = combo(QStringLiteral("Genre:"), QStringLiteral("genre"));
    m_subCategory = combo(QStringLiteral("Subcategory:"), QStringLiteral("subcategory"));
    m_mediaType = combo(QStringLiteral("Media Type:"), QStringLiteral("mediaType"));
    m_label = combo(QStringLiteral("Label:"), QStringLiteral("label"));
    m_labelNumber = new QLineEdit(this);
    EditorWidgets::addRow(grid, row++, 2, QStringLiteral("Labelnumber:"), m_labelNumber);
    m_length = new QLineEdit(this);
    EditorWidgets::addRow(grid, row++, 2, QStringLiteral("Length:"), m_length);
    m_year = EditorWidgets::digitsEdit(10, this);
    EditorWidgets::addRow(grid, row++, 2, QStringLiteral("Recordingyear:"), m_year);
    m_recordingDate = new DateBoxes(QStringLiteral("Recording date"), this);
    EditorWidgets::addRow(grid, row++, 2, QStringLiteral("Recordingdate:"), m_recordingDate)
        ->setBuddy(m_recordingDate->yearBox());
    m_tourName = new QLineEdit(this);
    EditorWidgets::addRow(grid, row++, 2, QStringLiteral("Tourname:"), m_tourName);

    auto* adGroup = new QGroupBox(QStringLiteral("A/D"), this);
    auto* adLayout = new QHBoxLayout(adGroup);
    m_ad = new QButtonGroup(this);
    for (int index = 0; index < 5; ++index) {
        auto* button = new QRadioButton(QLatin1String(AdCodes[index]), adGroup);
        m_ad->addButton(button, index);
        adLayout->addWidget(button);
    }
    connect(m_ad, &QButtonGroup::idClicked, this, [this](int index) { m_adIndex = index; });
    grid->addWidget(adGroup, row++, 2, 1, 2);

    m_freedbId = new QLabel(this);
    m_freedbId->setTextFormat(Qt::PlainText);
    m_freedbId->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_freedbId->setObjectName(QStringLiteral("freedbId"));
    EditorWidgets::addRow(grid, row++, 2, QStringLiteral("FreeDB ID:"), m_freedbId);
    // The disc's track list as the lookup delivered it: kept with the album, not shown.
    m_contents = new QPlainTextEdit(this);
    m_contents->setAccessibleName(QStringLiteral("Contents"));
    m_contents->setVisible(false);
}

QWidget* CMusicGeneralPage::imageRow(QLineEdit** edit, const QString& name)
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    *edit = new QLineEdit(row);
    // Its label sits outside the row, where a screen reader does not look for it.
    (*edit)->setAccessibleName(name.left(1).toUpper() + name.mid(1));
    auto* choose = new QPushButton(QStringLiteral("..."), row);
    choose->setAccessibleName(QStringLiteral("Choose ") + name);
    choose->setFixedWidth(choose->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    MakeButtonFlat(this, choose);
    QLineEdit* target = *edit;
    connect(choose, &QPushButton::clicked, this, [this, target] { chooseImage(target); });
    layout->addWidget(*edit, 1);
    layout->addWidget(choose);
    return row;
}

void CMusicGeneralPage::chooseImage(QLineEdit* edit)
{
    const QString path =
        FileDialog::openExistingFile(window(), QLatin1String(FileDialog::ImageFilter));
    if (!path.isEmpty())
        edit->setText(path);
}

void CMusicGeneralPage::fillNameBoxes()
{
    Database* database = m_document.database();
    using R = AlbumRecord;
    const std::pair<AutoCompleteComboBox*, QString R::*> boxes[] = {
        {m_genre, &R::genre},       {m_subCategory, &R::subCategory}, {m_mediaType, &R::mediaType},
        {m_artist, &R::artist},     {m_language, &R::language},       {m_country, &R::country},
        {m_label, &R::label},       {m_studio, &R::studio},           {m_producer, &R::producer},
        {m_engineer, &R::engineer}, {m_conductor, &R::conductor},     {m_orchestra, &R::orchestra}};
    for (const auto& [box, member] : boxes)
        box->fillNames(m_document.albumTable(), database, AlbumField::listOf(member)->table);
}

QWidget* CMusicGeneralPage::adButton(int index) const
{
    return m_ad->button(index);
}

// The artist and genre go in as plain text: a name the catalogue does not know yet is added to
// its list when the album is saved.
void CMusicGeneralPage::fillFromDisc(const AlbumRecord& disc)
{
    m_artist->setEditText(disc.artist);
    m_title->setText(disc.title);
    m_year->setText(QString::number(disc.year));
    m_genre->setEditText(disc.genre);
    m_length->setText(disc.length);
    m_freedbId->setText(disc.freedbId);
    // What the user has already entered here wins over what a service knows.
    fillIfEmpty(m_frontImage, disc.frontImage);
    fillIfEmpty(m_labelNumber, disc.labelNumber);
    if (m_label->currentText().isEmpty() && !disc.label.isEmpty())
        m_label->setEditText(disc.label);
}

QVector<CMusicGeneralPage::ReleaseField>
CMusicGeneralPage::releaseFields(const AlbumRecord& release) const
{
    const auto edit = [](QLineEdit* field) {
        return [field](const QString& text) { field->setText(text); };
    };
    const auto box = [](AutoCompleteComboBox* field) {
        return [field](const QString& text) { field->setEditText(text); };
    };
    return {{"Artist", m_artist->currentText(), release.artist, box(m_artist)},
            {"Title", m_title->text(), release.title, edit(m_title)},
            {"Recordingyear", m_year->text(),
             release.year > 0 ? QString::number(release.year) : QString(), edit(m_year)},
            {"Genre", m_genre->currentText(), release.genre, box(m_genre)},
            {"Length", m_length->text(), release.length, edit(m_length)},
            {"Label", m_label->currentText(), release.label, box(m_label)},
            {"Label Number", m_labelNumber->text(), release.labelNumber, edit(m_labelNumber)},
            {"Front Image", m_frontImage->text(), release.frontImage, edit(m_frontImage)}};
}

bool CMusicGeneralPage::holdsValue(const ReleaseField& field, const QString& untouchedYear)
{
    const QString shown = field.shown.trimmed();
    if (qstrcmp(field.caption, "Recordingyear") == 0)
        return !shown.isEmpty() && shown != QLatin1String("0") && shown != untouchedYear &&
               shown != QString::number(AlbumRecord().year);
    return !shown.isEmpty();
}

QStringList CMusicGeneralPage::typedFieldsDifferingFrom(const AlbumRecord& release) const
{
    QStringList captions;
    for (const ReleaseField& field : releaseFields(release))
        if (!field.released.isEmpty() && holdsValue(field, m_untouchedYear) &&
            field.shown.trimmed() != field.released)
            captions << QLatin1String(field.caption);
    return captions;
}

// Names go in as plain text, as from a disc: a name new to the catalogue joins its list when
// the album is saved.
void CMusicGeneralPage::fillFromRelease(const AlbumRecord& release, bool replaceTyped)
{
    for (const ReleaseField& field : releaseFields(release))
        if (!field.released.isEmpty() && (replaceTyped || !holdsValue(field, m_untouchedYear)))
            field.set(field.released);
}

bool CMusicGeneralPage::hasFrontImage() const
{
    return !m_frontImage->text().isEmpty();
}

void CMusicGeneralPage::fillIfEmpty(QLineEdit* field, const QString& text)
{
    if (field->text().isEmpty() && !text.isEmpty())
        field->setText(text);
}

// A name no longer in its list (deleted in its list editor) still names the album: it joins
// the list of this editor.
void CMusicGeneralPage::loadFrom(const AlbumRecord& record)
{
    m_artist->selectOrAddName(record.artist);
    m_studio->selectOrAddName(record.studio);
    m_producer->selectOrAddName(record.producer);
    m_engineer->selectOrAddName(record.engineer);
    m_conductor->selectOrAddName(record.conductor);
    m_orchestra->selectOrAddName(record.orchestra);
    m_language->selectOrAddName(record.language);
    m_country->selectOrAddName(record.country);
    m_genre->selectOrAddName(record.genre);
    m_subCategory->selectOrAddName(record.subCategory);
    m_mediaType->selectOrAddName(record.mediaType);
    m_label->selectOrAddName(record.label);
    m_title->setText(record.title);
    m_frontImage->setText(record.frontImage);
    m_backImage->setText(record.backImage);
    m_length->setText(record.length);
    m_labelNumber->setText(record.labelNumber);
    m_tourName->setText(record.tourName);
    m_freedbId->setText(record.freedbId);
    m_contents->setPlainText(record.contents);
    m_year->setText(QString::number(record.year));
    m_untouchedYear.clear();
    m_inCollection->setChecked(record.inCollection != 0);
    m_recordingDate->showDate(record.recordingDate);
    m_adIndex = record.ad;
    if (QAbstractButton* button = m_ad->button(record.ad)) {
        button->setChecked(true);
    } else {
        m_ad->setExclusive(false);
        for (QAbstractButton* each : m_ad->buttons())
            each->setChecked(false);
        m_ad->setExclusive(true);
    }
}

bool CMusicGeneralPage::saveTo(AlbumRecord* record) const
{
    record->artist = m_artist->currentText();
    record->title = m_title->text();
    record->studio = m_studio->currentText();
    record->producer = m_producer->currentText();
    record->engineer = m_engineer->currentText();
    record->conductor = m_conductor->currentText();
    record->orchestra = m_orchestra->currentText();
    record->language = m_language->currentText();
    record->country = m_country->currentText();
    record->frontImage = m_frontImage->text();
    record->backImage = m_backImage->text();
    record->inCollection = m_inCollection->isChecked() ? 1 : 0;
    record->genre = m_genre->currentText();
    record->subCategory = m_subCategory->currentText();
    record->mediaType = m_mediaType->currentText();
    record->label = m_label->currentText();
    record->labelNumber = m_labelNumber->text();
    record->length = m_length->text();
    record->year = EditorFields::unsignedNumber(m_year->text());
    record->tourName = m_tourName->text();
    record->ad = m_adIndex;
    record->freedbId = m_freedbId->text();
    record->contents = m_contents->toPlainText();
    return m_recordingDate->readDate(&record->recordingDate);
}

void CMusicGeneralPage::clearForNextAlbum()
{
    for (AutoCompleteComboBox* box : findChildren<AutoCompleteComboBox*>())
        box->setEditText(QString());
    for (QLineEdit* edit :
         {m_title, m_frontImage, m_backImage, m_labelNumber, m_length, m_tourName})
        edit->clear();
    m_year->setText(QStringLiteral("1900"));
    m_untouchedYear = m_year->text();
    m_recordingDate->clear();
    m_inCollection->setChecked(true);
    m_adIndex = 0;
    m_ad->button(0)->setChecked(true);
    m_freedbId->clear();
    m_contents->clear();
}
