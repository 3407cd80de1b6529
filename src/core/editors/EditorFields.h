#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// What the editors do with the text of their boxes, kept apart from the widgets so that the
// rules can be checked without a display.
class EditorFields
{
public:
    // A number box read as the classic unsigned conversion does: leading blanks skipped, the
    // leading digits read, 0 when there are none. Values past the largest int stay there.
    static int unsignedNumber(const QString& text);

    // Whether a money box (current value, purchase price) holds an amount the catalogue can
    // store as it reads: empty, or one finite decimal number ("12.50", "-3", "1e3") with
    // blanks around it at most. "abc", "nan", "inf" and "1e400" are none.
    static bool isMoney(const QString& text);

    // A date entered as year, month and day boxes: an empty or unreadable year is 2002, an
    // empty month or day is 1; the time is midnight. False when the three do not name a day
    // the catalogue can hold (31 February, month 13, year 10000): nothing is made of them.
    static bool dateFromBoxes(const QString& year, const QString& month, const QString& day,
                              QDateTime* date);

    // What a stored date puts into the three boxes; an empty text leaves its box as it is
    // (the year of 1900, the month and day of 1 January).
    struct DateBoxes {
        QString year;
        QString month;
        QString day;
    };
    static DateBoxes boxesFromDate(const QDateTime& date);

    // The years the date boxes offer, "1940" to "2005".
    static QStringList yearList();
    // Where a year goes in that list (kept in ascending order).
    static int yearInsertPosition(const QStringList& years, const QString& year);

    // Names in a name box's order, the user's language's (the order NameCollector::sort gives).
    static bool nameLess(const QString& left, const QString& right);
    // The entry that is `name`, else the first that is `name` apart from letter case, or -1.
    static int findName(const QStringList& names, const QString& name);
    // The first entry that begins with `prefix`, letter case ignored, or -1.
    static int findPrefix(const QStringList& names, const QString& prefix);
};
