#pragma once

#include "find/FilterField.h"
#include "find/SearchCriterion.h"

#include <QString>
#include <QVector>

// Turns what the user entered for a field into a condition on the album query, and joins the
// conditions of a search. The values come from the keyboard: whatever they hold, the condition
// stays one comparison of one column with one value.
class SearchCondition
{
public:
    enum class Outcome { Built, Empty, NotANumber };

    // The criterion for `value` entered in the drop-down or edit of `field` (for a check box
    // field, "TRUE" or "FALSE"). A text value goes between quotes with its own quotes doubled;
    // a number field takes an integer or decimal number only. Empty and NotANumber leave
    // `criterion` without a condition.
    static Outcome build(const FilterField& field, const QString& value,
                         SearchCriterion* criterion);
    // The check box's value for `field`: "TRUE" or "FALSE".
    static SearchCriterion forCheckBox(const FilterField& field, bool checked);
    // The conditions of `criteria` in order, joined with " OR " or " AND ".
    static QString joined(const QVector<SearchCriterion>& criteria, bool anyOf);
    // An integer or decimal number such as 1975, -3, 12.50 or .5 (blanks around it allowed).
    static bool isNumber(const QString& value);
    // What the user is told when a number field holds something else.
    static QString notANumberText(const FilterField& field, const QString& value);
};
