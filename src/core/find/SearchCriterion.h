#pragma once

#include <QString>

// One row of the search: the field's caption and the value as the user sees them, and the
// SQL condition they stand for.
struct SearchCriterion {
    QString caption;
    QString valueText;
    QString condition;
};
