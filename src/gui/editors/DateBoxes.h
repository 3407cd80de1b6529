#pragma once

#include <QDateTime>
#include <QWidget>

class QComboBox;
class QLineEdit;

// A date as three boxes in a row: an editable year list ("1940" to "2005", other years may be
// typed), a month and a day (digits only). Used for the recording and purchase dates, where a
// date is often known only to the year.
class DateBoxes : public QWidget
{
    Q_OBJECT

public:
    // `name` names the date for a screen reader ("Recording date").
    explicit DateBoxes(const QString& name, QWidget* parent = nullptr);

    QComboBox* yearBox() const { return m_year; }
    QLineEdit* monthEdit() const { return m_month; }
    QLineEdit* dayEdit() const { return m_day; }

    // Shows `year` in the year box, adding it to the list when it is missing.
    void selectYear(const QString& year);
    // A stored date: year, month and day, except what the date leaves as it is.
    void showDate(const QDateTime& date);
    // The date the boxes name; false when they name no day (31 February, month 13).
    bool readDate(QDateTime* date) const;
    // The box to correct when readDate refuses the date (the day box when all seem so).
    QWidget* wrongBox() const;
    // As for the next album: year 2002, month and day empty.
    void clear();

private:
    QComboBox* m_year = nullptr;
    QLineEdit* m_month = nullptr;
    QLineEdit* m_day = nullptr;
};
