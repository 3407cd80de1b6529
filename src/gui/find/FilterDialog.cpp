#include "find/FilterDialog.h"

#include "db/LookupList.h"
#include "editors/NameCollector.h"
#include "find/SearchCondition.h"
#include "ui/DialogFont.h"
#include "ui/FlatButton.h"
#include "ui/MessageBox.h"
#include "ui/NameListModel.h"
#include "views/CVastryDoc.h"
#include "views/CatalogReadTask.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

FilterDialog::FilterDialog(CVastryDoc& document, QWidget* parent)
    : QDialog(parent), m_document(document), m_fields(FilterField::offered(document.columns()))
{
    setWindowTitle(QStringLiteral("Apply filter"));
    buildControls();
    fillItems();
    DialogFont::apply(this);
}

void FilterDialog::buildControls()
{
    auto* group = new QGroupBox(QStringLiteral("Apply filter"), this);
    auto* explanation = new QLabel(
        QStringLiteral("Select the item to apply the filter to. Then it easy to select/enter or "
                       "check the next option and then press the OK button to add the item to "
                       "the search filter. "),
        group);
    explanation->setWordWrap(true);

    m_items = new QComboBox(group);
    m_items->setObjectName(QStringLiteral("items"));
    auto* itemLabel = new QLabel(QStringLiteral("Item:"), group);
    itemLabel->setBuddy(m_items);

    // The three value controls share one place; only the one the field needs is shown.
    m_values = new QComboBox(group);
    m_values->setObjectName(QStringLiteral("values"));
    m_valueNames = new NameListModel(m_values);
    m_values->setModel(m_valueNames);
    // A list of rows of one height opens at once however long it is.
    if (auto* view = qobject_cast<QListView*>(m_values->view()))
        view->setUniformItemSizes(true);
    m_edit = new QLineEdit(group);
    m_edit->setObjectName(QStringLiteral("valueEdit"));
    m_check = new QCheckBox(QStringLiteral("In Collection"), group);
    m_check->setObjectName(QStringLiteral("inCollection"));
    m_valueLabel = new QLabel(QStringLiteral("Value:"), group);
    // The label speaks for whichever value control is shown; a screen reader gets the names
    // even before a field is chosen, and the drop-downs' own lists are named too.
    m_items->setAccessibleName(QStringLiteral("Item"));
    m_items->view()->setAccessibleName(QStringLiteral("Items"));
    m_values->setAccessibleName(QStringLiteral("Value"));
    m_values->view()->setAccessibleName(QStringLiteral("Values"));
    m_edit->setAccessibleName(QStringLiteral("Value"));
    showValueControl(nullptr);

    auto* grid = new QGridLayout(group);
    grid->addWidget(explanation, 0, 0, 1, 2);
    grid->addWidget(itemLabel, 1, 0);
    grid->addWidget(m_items, 1, 1);
    grid->addWidget(m_valueLabel, 2, 0);
    grid->addWidget(m_values, 2, 1);
    grid->addWidget(m_edit, 2, 1);
    grid->addWidget(m_check, 2, 1);
    grid->setColumnStretch(1, 1);

    QDialogButtonBox* buttons = okCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    resize(360, sizeHint().height());
}

QDialogButtonBox* FilterDialog::okCancelButtons(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    // Plain "OK" and "Cancel": Enter and Esc press them, and no mnemonic of theirs takes a
    // letter another control of the dialog needs.
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    for (QAbstractButton* button : buttons->buttons())
        MakeButtonFlat(dialog, button);
    connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void FilterDialog::fillItems()
{
    // Listed alphabetically; "(Select Here...)" stays first and stands for no field.
    QVector<int> order(m_fields.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [this](int a, int b) {
        return m_fields[a].itemText.compare(m_fields[b].itemText, Qt::CaseInsensitive) < 0;
    });
    m_items->addItem(QLatin1String(SelectHereText));
    for (int index : qAsConst(order))
        m_items->addItem(m_fields[index].itemText, index);
    m_items->setCurrentIndex(0);
    connect(m_items, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &FilterDialog::itemChanged);
}

const FilterField* FilterDialog::selectedField() const
{
    const QVariant index = m_items->currentData();
    return index.isValid() ? &m_fields[index.toInt()] : nullptr;
}

void FilterDialog::itemChanged(int)
{
    const FilterField* field = selectedField();
    if (!field)
        return;
    switch (field->input) {
    case FilterField::Input::DropDown:
        fillValueNames(*field);
        showValueControl(m_values);
        m_mode = InputMode::DropDown;
        break;
    case FilterField::Input::Edit:
        // The typed text stays, so a value can be tried against another field.
        showValueControl(m_edit);
        m_mode = InputMode::Edit;
        break;
    case FilterField::Input::CheckBox:
        showValueControl(m_check);
        m_mode = InputMode::CheckBox;
        break;
    }
}

// A long list of names (a large catalogue's artists) is read on a worker; the drop-down waits,
// disabled, meanwhile. An older field's names still on their way are not wanted any more.
void FilterDialog::fillValueNames(const FilterField& field)
{
    m_reading.reset();
    showValueNames(NameCollector());
    if (!field.lookup)
        return;
    if (CatalogReadTask::isWorthIt(m_document.albumTable(), m_document.database(),
                                   field.lookup->table, field.lookup->deletedColumn)) {
        readValueNamesInBackground(field.lookup);
        return;
    }
    NameCollector names;
    names.readSorted(m_document.albumTable(), m_document.database(), *field.lookup);
    showValueNames(names);
}

void FilterDialog::readValueNamesInBackground(const LookupList* lookup)
{
    m_values->setEnabled(false);
    m_values->setPlaceholderText(QStringLiteral("Reading the names…"));
    auto names = std::make_shared<NameCollector>();
    m_reading = CatalogReadTask::create(*m_document.database(),
                                        [names, lookup](AlbumTable& table, Database* database) {
                                            return names->readSorted(table, database, *lookup);
                                        });
    const CatalogReadTask* task = m_reading.get();
    connect(task, &CatalogReadTask::finished, this, [this, task, names, lookup](bool read) {
        if (task != m_reading.get())
            return;
        m_reading.reset();
        if (!read) {
            // Read here instead, where a failure is reported.
            *names = NameCollector();
            names->readSorted(m_document.albumTable(), m_document.database(), *lookup);
        }
        showValueNames(*names);
        *names = NameCollector(); // the model holds them now, and frees them off this thread
    });
    m_reading->start();
}

void FilterDialog::showValueNames(const NameCollector& names)
{
    m_valueNames->setNames(names.names(), names.ids());
    m_values->setPlaceholderText(QString());
    m_values->setEnabled(true);
    if (m_values->count() > 0)
        m_values->setCurrentIndex(0);
}

void FilterDialog::showValueControl(QWidget* control)
{
    for (QWidget* value : {static_cast<QWidget*>(m_values), static_cast<QWidget*>(m_edit),
                           static_cast<QWidget*>(m_check)})
        value->setVisible(value == control);
    m_valueLabel->setBuddy(control);
}

void FilterDialog::accept()
{
    const FilterField* field = selectedField();
    if (field && !readCriterion(*field))
        return;
    QDialog::accept();
}

bool FilterDialog::readCriterion(const FilterField& field)
{
    switch (m_mode) {
    case InputMode::None:
        return true;
    case InputMode::CheckBox:
        m_criterion = SearchCondition::forCheckBox(field, m_check->isChecked());
        return true;
    case InputMode::DropDown:
        SearchCondition::build(field, m_values->currentText(), &m_criterion);
        return true;
    case InputMode::Edit:
        break;
    }
    if (SearchCondition::build(field, m_edit->text(), &m_criterion) !=
        SearchCondition::Outcome::NotANumber)
        return true;
    MessageBox::show(this, windowTitle(), SearchCondition::notANumberText(field, m_edit->text()),
                     QMessageBox::Warning);
    m_edit->setFocus();
    m_edit->selectAll();
    return false;
}
