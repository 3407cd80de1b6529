#include "editors/DateBoxes.h"

#include "editors/EditorFields.h"
#include "editors/EditorWidgets.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>

DateBoxes::DateBoxes(const QString& name, QWidget* parent) : QWidget(parent)
{
    m_year = new QComboBox(this);
    m_year->setEditable(true);
    m_year->setInsertPolicy(QComboBox::NoInsert);
    m_year->setCompleter(nullptr);
    m_year->addItems(EditorFields::yearList());
    m_year->setMinimumContentsLength(5);
    m_year->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    EditorWidgets::nameComboBox(m_year, name + QStringLiteral(" year"));
    m_month = EditorWidgets::digitsEdit(2, this);
    m_month->setAccessibleName(name + QStringLiteral(" month"));
    m_day = EditorWidgets::digitsEdit(2, this);
    m_day->setAccessibleName(name + QStringLiteral(" day"));
    for (QLineEdit* edit : {m_month, m_day})
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_year);
    layout->addWidget(m_month);
    layout->addWidget(m_day);
    layout->addStretch(1);
    setFocusProxy(m_year);
    selectYear(QStringLiteral("2002"));
}

void DateBoxes::selectYear(const QString& year)
{
    int index = m_year->findText(year);
    if (index < 0) {
        QStringList years;
        for (int i = 0; i < m_year->count(); ++i)
            years << m_year->itemText(i);
        index = EditorFields::yearInsertPosition(years, year);
        m_year->insertItem(index, year);
    }
    m_year->setCurrentIndex(index);
}

void DateBoxes::showDate(const QDateTime& date)
{
    const EditorFields::DateBoxes boxes = EditorFields::boxesFromDate(date);
    if (!boxes.year.isEmpty())
        selectYear(boxes.year);
    if (!boxes.month.isEmpty()) {
        m_month->setText(boxes.month);
        m_day->setText(boxes.day);
    }
}

bool DateBoxes::readDate(QDateTime* date) const
{
    return EditorFields::dateFromBoxes(m_year->currentText(), m_month->text(), m_day->text(), date);
}

// The year alone, then the year with the month: the first that names no day is the culprit.
QWidget* DateBoxes::wrongBox() const
{
    QDateTime date;
    const QString year = m_year->currentText();
    if (!EditorFields::dateFromBoxes(year, QString(), QString(), &date))
        return m_year;
    if (!EditorFields::dateFromBoxes(year, m_month->text(), QString(), &date))
        return m_month;
    return m_day;
}

void DateBoxes::clear()
{
    selectYear(QStringLiteral("2002"));
    m_month->clear();
    m_day->clear();
}
