#include "editors/NameBoxPage.h"

#include "db/TrackRecord.h"
#include "editors/AutoCompleteComboBox.h"
#include "editors/EditorWidgets.h"
#include "views/CVastryDoc.h"

#include <QGridLayout>

NameBoxPage::NameBoxPage(CVastryDoc& document, const QString& name, QWidget* parent)
    : QWidget(parent), m_document(document)
{
    setAccessibleName(name);
    m_grid = new QGridLayout(this);
    m_grid->setColumnStretch(1, 1);
}

AutoCompleteComboBox* NameBoxPage::addNameBox(const QString& label, NameField field)
{
    auto* box = new AutoCompleteComboBox(this);
    addField(label, box);
    m_nameBoxes.emplace_back(box, field);
    return box;
}

QLabel* NameBoxPage::addField(const QString& label, QWidget* field)
{
    return EditorWidgets::addRow(m_grid, m_grid->rowCount(), 0, label, field);
}

void NameBoxPage::fillNameBoxes(
    const std::vector<std::pair<AutoCompleteComboBox*, const char*>>& order)
{
    for (const auto& [box, table] : order)
        box->fillNames(m_document.albumTable(), m_document.database(), QLatin1String(table));
}

void NameBoxPage::finishRows()
{
    m_grid->setRowStretch(m_grid->rowCount(), 1);
}

// A name missing from its list (typed for a track not stored yet, or deleted in its list
// editor) is still the track's: it joins the list of this editor.
void NameBoxPage::loadFrom(const TrackRecord& record)
{
    for (const auto& [box, field] : m_nameBoxes)
        box->selectOrAddName(record.*field);
}

void NameBoxPage::saveTo(TrackRecord* record) const
{
    for (const auto& [box, field] : m_nameBoxes)
        record->*field = box->currentText();
}
