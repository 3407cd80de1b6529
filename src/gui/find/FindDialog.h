#pragma once

#include "find/SearchCriterion.h"

#include <QDialog>
#include <QVector>

class CVastryDoc;
class QRadioButton;
class QTreeWidget;

// "Search": a list of criteria, each made with the filter dialog, joined with AND or OR into
// one condition for the album list.
class FindDialog : public QDialog
{
    Q_OBJECT

public:
    FindDialog(CVastryDoc& document, QWidget* parent = nullptr);

    // After OK: the joined condition, empty when the list was empty.
    QString condition() const { return m_condition; }

    void accept() override;

private:
    void addCriterion();
    void appendRow(const SearchCriterion& criterion);

    CVastryDoc& m_document;
    QVector<SearchCriterion> m_criteria;
    QString m_condition;
    QTreeWidget* m_list = nullptr;
    QRadioButton* m_and = nullptr;
    QRadioButton* m_or = nullptr;
};
