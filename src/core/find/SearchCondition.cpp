#include "find/SearchCondition.h"

#include "db/SqlText.h"

#include <QRegularExpression>

SearchCondition::Outcome SearchCondition::build(const FilterField& field, const QString& value,
                                                SearchCriterion* criterion)
{
    criterion->caption = field.caption;
    criterion->valueText = value;
    criterion->condition.clear();
    if (value.isEmpty())
        return Outcome::Empty;
    switch (field.value) {
    case FilterField::Value::Number:
        // A number goes into the condition bare, so it must be nothing but a number: anything
        // else could end the comparison and start SQL of its own.
        if (!isNumber(value))
            return Outcome::NotANumber;
        criterion->condition = QStringLiteral("%1 = %2").arg(field.field, value.trimmed());
        break;
    case FilterField::Value::Boolean:
        criterion->condition = QStringLiteral("%1 = %2").arg(
            field.field, value == QLatin1String("TRUE") ? value : QStringLiteral("FALSE"));
        break;
    case FilterField::Value::Text:
        criterion->condition = QStringLiteral("%1 = '%2'").arg(field.field, SqlText::quoted(value));
        break;
    }
    return Outcome::Built;
}

SearchCriterion SearchCondition::forCheckBox(const FilterField& field, bool checked)
{
    SearchCriterion criterion;
    build(field, checked ? QStringLiteral("TRUE") : QStringLiteral("FALSE"), &criterion);
    return criterion;
}

QString SearchCondition::joined(const QVector<SearchCriterion>& criteria, bool anyOf)
{
    QStringList conditions;
    for (const SearchCriterion& criterion : criteria)
        conditions << criterion.condition;
    return conditions.join(anyOf ? QStringLiteral(" OR ") : QStringLiteral(" AND "));
}

bool SearchCondition::isNumber(const QString& value)
{
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)\\s*$"));
    return number.match(value).hasMatch();
}

QString SearchCondition::notANumberText(const FilterField& field, const QString& value)
{
    return QStringLiteral("'%1' is not a number. %2 takes a number such as 1975 or 12.50.")
        .arg(value, field.itemText);
}
