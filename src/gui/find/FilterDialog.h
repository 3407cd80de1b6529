#pragma once

#include "find/FilterField.h"
#include "find/SearchCriterion.h"

#include <QDialog>
#include <QVector>
#include <memory>

class CVastryDoc;
class CatalogReadTask;
class NameCollector;
class NameListModel;
struct LookupList;
class QCheckBox;
class QDialogButtonBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Apply filter": one criterion of a search, made by picking a field and choosing, typing or
// ticking its value.
class FilterDialog : public QDialog
{
    Q_OBJECT

public:
    FilterDialog(CVastryDoc& document, QWidget* parent = nullptr);

    // After OK: the new criterion; its condition is empty when nothing usable was entered.
    const SearchCriterion& criterion() const { return m_criterion; }

    static constexpr const char* SelectHereText = "(Select Here...)";

    void accept() override;

    // The "OK" and "Cancel" buttons of the search dialogs, flat, closing `dialog`.
    static QDialogButtonBox* okCancelButtons(QDialog* dialog);

private:
    enum class InputMode { None, DropDown, Edit, CheckBox };

    void buildControls();
    void fillItems();
    void itemChanged(int index);
    void fillValueNames(const FilterField& field);
    void readValueNamesInBackground(const LookupList* lookup);
    void showValueNames(const NameCollector& names);
    void showValueControl(QWidget* control);
    const FilterField* selectedField() const;
    // False when the value cannot make a criterion and the user should correct it.
    bool readCriterion(const FilterField& field);

    CVastryDoc& m_document;
    QVector<FilterField> m_fields;
    SearchCriterion m_criterion;
    InputMode m_mode = InputMode::None;
    QComboBox* m_items = nullptr;
    QLabel* m_valueLabel = nullptr;
    QComboBox* m_values = nullptr;
    NameListModel* m_valueNames = nullptr;
    std::shared_ptr<CatalogReadTask> m_reading;
    QLineEdit* m_edit = nullptr;
    QCheckBox* m_check = nullptr;
};
