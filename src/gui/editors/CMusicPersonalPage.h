#pragma once

#include <QWidget>

class AutoCompleteComboBox;
class CVastryDoc;
class DateBoxes;
class QCheckBox;
class QDateTimeEdit;
class QLineEdit;
class QSlider;
struct AlbumRecord;

// Where the album is kept, its condition and number, what it cost and is worth, a web
// address, a grade, when and where it was bought, and to whom it is lent.
class CMusicPersonalPage : public QWidget
{
    Q_OBJECT

public:
    CMusicPersonalPage(CVastryDoc& document, QWidget* parent = nullptr);

    void loadFrom(const AlbumRecord& record);
    // False (with the record partly written) when the purchase date names no day.
    bool saveTo(AlbumRecord* record) const;
    void clearForNextAlbum();
    // "On Loan To:" and the two loan dates can be changed only while "On Loan" is checked.
    void enableLoanControls();

    QCheckBox* onLoanBox() const { return m_onLoan; }
    AutoCompleteComboBox* onLoanToBox() const { return m_onLoanTo; }
    QDateTimeEdit* loanDateEdit() const { return m_loanDate; }
    QDateTimeEdit* returnDateEdit() const { return m_returnDate; }
    QSlider* gradeSlider() const { return m_grade; }
    QLineEdit* numberEdit() const { return m_number; }
    QLineEdit* barcodeEdit() const { return m_barcode; }
    DateBoxes* purchaseDate() const { return m_purchaseDate; }

private:
    QDateTimeEdit* datePicker();
    void fillNameBoxes();

    CVastryDoc& m_document;
    AutoCompleteComboBox* m_location = nullptr;
    AutoCompleteComboBox* m_condition = nullptr;
    QLineEdit* m_number = nullptr;
    QLineEdit* m_value = nullptr;
    QLineEdit* m_price = nullptr;
    QLineEdit* m_url = nullptr;
    QLineEdit* m_barcode = nullptr;
    QSlider* m_grade = nullptr;
    DateBoxes* m_purchaseDate = nullptr;
    AutoCompleteComboBox* m_purchasedFrom = nullptr;
    QCheckBox* m_onLoan = nullptr;
    AutoCompleteComboBox* m_onLoanTo = nullptr;
    QDateTimeEdit* m_loanDate = nullptr;
    QDateTimeEdit* m_returnDate = nullptr;
};
