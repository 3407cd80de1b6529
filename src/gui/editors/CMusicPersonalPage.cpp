#include "editors/CMusicPersonalPage.h"

#include "db/AlbumField.h"
#include "db/LookupList.h"
#include "db/OleDate.h"
#include "editors/AutoCompleteComboBox.h"
#include "editors/DateBoxes.h"
#include "editors/EditorFields.h"
#include "editors/EditorWidgets.h"
#include "views/CVastryDoc.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

CMusicPersonalPage::CMusicPersonalPage(CVastryDoc& document, QWidget* parent)
    : QWidget(parent), m_document(document)
{
    setAccessibleName(QStringLiteral("Personal"));
    auto* grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setHorizontalSpacing(8);

    int row = 0;
    m_location = new AutoCompleteComboBox(this);
    EditorWidgets::addRow(grid, row++, 0, QStringLiteral("Location:"), m_location);
    m_condition = new AutoCompleteComboBox(this);
    EditorWidgets::addRow(grid, row++, 0, QStringLiteral("Condition:"), m_condition);
    m_number = EditorWidgets::digitsEdit(10, this);
    EditorWidgets::addRow(grid, row++, 0, QStringLiteral("Number:"), m_number);
    m_value = new QLineEdit(this);
    EditorWidgets::addRow(grid, row++, 0, QStringLiteral("Current Value:"), m_value);
    m_price = new QLineEdit(this);
    EditorWidgets::addRow(grid, row++, 0, QStringLiteral("Purchase Price:"), m_price);
    m_url = new QLineEdit(this);
    EditorWidgets::addRow(grid, row++, 0, QStringLiteral("URL:"), m_url);
    m_barcode = EditorWidgets::scannerEdit(this);
    EditorWidgets::addRow(grid, row++, 0, QStringLiteral("&Barcode:"), m_barcode);
    m_grade = new QSlider(Qt::Horizontal, this);
    m_grade->setTickPosition(QSlider::TicksBelow);
    m_grade->setPageStep(1);
    EditorWidgets::addRow(grid, row++, 0, QStringLiteral("Grade:"), m_grade);

    row = 0;
    m_purchaseDate = new DateBoxes(QStringLiteral("Purchase date"), this);
    EditorWidgets::addRow(grid, row++, 2, QStringLiteral("Purchase Date:"), m_purchaseDate)
        ->setBuddy(m_purchaseDate->yearBox());
    m_purchasedFrom = new AutoCompleteComboBox(this);
    EditorWidgets::addRow(grid, row++, 2, QStringLiteral("Purchased From:"), m_purchasedFrom);
    m_onLoan = new QCheckBox(QStringLiteral("On Loan"), this);
    grid->addWidget(m_onLoan, row++, 3);
    connect(m_onLoan, &QCheckBox::clicked, this, &CMusicPersonalPage::enableLoanControls);
    m_onLoanTo = new AutoCompleteComboBox(this);
    EditorWidgets::addRow(grid, row++, 2, QStringLiteral("On Loan To:"), m_onLoanTo);
    m_loanDate = datePicker();
    EditorWidgets::addRow(grid, row++, 2, QStringLiteral("Loan Date:"), m_loanDate);
    m_returnDate = datePicker();
    EditorWidgets::addRow(grid, row++, 2, QStringLiteral("Return Date:"), m_returnDate);
    grid->setRowStretch(grid->rowCount(), 1);

    fillNameBoxes();
    m_grade->setRange(0, 10);
    m_purchaseDate->selectYear(QStringLiteral("2002"));
    const QDateTime now = OleDate::now();
    m_loanDate->setDateTime(now);
    m_returnDate->setDateTime(now);
}

QDateTimeEdit* CMusicPersonalPage::datePicker()
{
    auto* picker = new QDateTimeEdit(this);
    picker->setCalendarPopup(true);
    picker->setTimeSpec(Qt::UTC);
    picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    return picker;
}

void CMusicPersonalPage::fillNameBoxes()
{
    Database* database = m_document.database();
    for (const auto& [box, member] : {std::pair(m_location, &AlbumRecord::location),
                                      std::pair(m_onLoanTo, &AlbumRecord::onLoanTo),
                                      std::pair(m_purchasedFrom, &AlbumRecord::purchasedFrom),
                                      std::pair(m_condition, &AlbumRecord::condition)})
        box->fillNames(m_document.albumTable(), database, AlbumField::listOf(member)->table);
}

void CMusicPersonalPage::enableLoanControls()
{
    const bool onLoan = m_onLoan->isChecked();
    m_onLoanTo->setEnabled(onLoan);
    m_loanDate->setEnabled(onLoan);
    m_returnDate->setEnabled(onLoan);
}

void CMusicPersonalPage::loadFrom(const AlbumRecord& record)
{
    m_number->setText(QString::number(record.number));
    m_location->selectOrAddName(record.location);
    m_condition->selectOrAddName(record.condition);
    m_purchasedFrom->selectOrAddName(record.purchasedFrom);
    m_onLoanTo->selectOrAddName(record.onLoanTo);
    m_grade->setValue(record.grade);
    m_loanDate->setDateTime(record.loanDate);
    m_returnDate->setDateTime(record.returnDate);
    m_value->setText(record.currentValue);
    m_price->setText(record.purchasePrice);
    m_url->setText(record.url);
    m_barcode->setText(record.barcode);
    m_purchaseDate->showDate(record.purchaseDate);
    m_onLoan->setChecked(!record.onLoanTo.isEmpty());
    enableLoanControls();
}

bool CMusicPersonalPage::saveTo(AlbumRecord* record) const
{
    record->number = EditorFields::unsignedNumber(m_number->text());
    record->grade = m_grade->value();
    record->location = m_location->currentText();
    record->purchasedFrom = m_purchasedFrom->currentText();
    record->condition = m_condition->currentText();
    record->currentValue = m_value->text();
    record->purchasePrice = m_price->text();
    record->url = m_url->text();
    // A scanner or a paste may bring blanks along; they are no part of the code.
    record->barcode = m_barcode->text().trimmed();
    if (m_onLoan->isChecked()) {
        record->onLoanTo = m_onLoanTo->currentText();
        record->loanDate = m_loanDate->dateTime();
        record->returnDate = m_returnDate->dateTime();
    }
    return m_purchaseDate->readDate(&record->purchaseDate);
}

void CMusicPersonalPage::clearForNextAlbum()
{
    m_number->setText(QStringLiteral("0"));
    for (AutoCompleteComboBox* box : {m_location, m_condition, m_purchasedFrom, m_onLoanTo})
        box->setEditText(QString());
    for (QLineEdit* edit : {m_value, m_price, m_url, m_barcode})
        edit->clear();
    m_grade->setValue(0);
    const QDateTime now = OleDate::now();
    m_loanDate->setDateTime(now);
    m_returnDate->setDateTime(now);
    m_purchaseDate->clear();
    m_onLoan->setChecked(false);
    enableLoanControls();
}
