#pragma once

#include <QWidget>
#include <utility>
#include <vector>

class AutoCompleteComboBox;
class CVastryDoc;
class QGridLayout;
class QLabel;
class QString;
struct TrackRecord;

// A track editor page of labelled fields in one column, most of them name boxes filled from
// the catalogue when the page is made; each name box edits one name of the track.
class NameBoxPage : public QWidget
{
    Q_OBJECT

public:
    NameBoxPage(CVastryDoc& document, const QString& name, QWidget* parent = nullptr);

    virtual void loadFrom(const TrackRecord& record);
    virtual void saveTo(TrackRecord* record) const;

protected:
    using NameField = QString TrackRecord::*;
    // A name box labelled `label`, on the next row.
    AutoCompleteComboBox* addNameBox(const QString& label, NameField field);
    // Any other field on the next row; returns its label.
    QLabel* addField(const QString& label, QWidget* field);
    // Fills the name boxes, each from its table, in the order given.
    void fillNameBoxes(const std::vector<std::pair<AutoCompleteComboBox*, const char*>>& order);
    void finishRows();

    CVastryDoc& m_document;

private:
    QGridLayout* m_grid = nullptr;
    std::vector<std::pair<AutoCompleteComboBox*, NameField>> m_nameBoxes;
};
