#include "editors/EditorFields.h"

#include "db/LocaleCollation.h"

#include <QRegularExpression>
#include <algorithm>
#include <climits>
#include <cmath>

namespace
{

constexpr int DefaultYear = 2002;
constexpr int FirstListedYear = 1940;
constexpr int LastListedYear = 2005;
// The catalogue keeps dates as automation dates, which span the years 100 to 9999.
constexpr int FirstStorableYear = 100;
constexpr int LastStorableYear = 9999;

} // namespace

bool EditorFields::isMoney(const QString& text)
{
    const QString amount = text.trimmed();
    if (amount.isEmpty())
        return true;
    static const QRegularExpression Decimal(
        QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
    bool ok = false;
    const double value = amount.toDouble(&ok);
    return Decimal.match(amount).hasMatch() && ok && std::isfinite(value);
}

int EditorFields::unsignedNumber(const QString& text)
{
    int position = 0;
    while (position < text.size() && text.at(position).isSpace())
        ++position;
    qint64 value = 0;
    for (; position < text.size(); ++position) {
        const QChar c = text.at(position);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = std::min<qint64>(INT_MAX, value * 10 + (c.unicode() - '0'));
    }
    return int(value);
}

bool EditorFields::dateFromBoxes(const QString& year, const QString& month, const QString& day,
                                 QDateTime* date)
{
    int y = unsignedNumber(year);
    int m = unsignedNumber(month);
    int d = unsignedNumber(day);
    if (y == 0)
        y = DefaultYear;
    if (m == 0)
        m = 1;
    if (d == 0)
        d = 1;
    const QDate calendarDay(y, m, d);
    if (!calendarDay.isValid() || y < FirstStorableYear || y > LastStorableYear)
        return false;
    *date = QDateTime(calendarDay, QTime(0, 0), Qt::UTC);
    return true;
}

EditorFields::DateBoxes EditorFields::boxesFromDate(const QDateTime& date)
{
    DateBoxes boxes;
    const QDate day = date.date();
    if (day.year() != 1900)
        boxes.year = QString::number(day.year());
    if (day.month() != 1 || day.day() != 1) {
        boxes.month = QString::asprintf("%02d", day.month());
        boxes.day = QString::asprintf("%02d", day.day());
    }
    return boxes;
}

QStringList EditorFields::yearList()
{
    QStringList years;
    for (int year = FirstListedYear; year <= LastListedYear; ++year)
        years << QString::number(year);
    return years;
}

int EditorFields::yearInsertPosition(const QStringList& years, const QString& year)
{
    const int value = unsignedNumber(year);
    const auto at = std::find_if(years.cbegin(), years.cend(), [value](const QString& listed) {
        return unsignedNumber(listed) > value;
    });
    return int(at - years.cbegin());
}

bool EditorFields::nameLess(const QString& left, const QString& right)
{
    return LocaleCollation::current().less(left, right);
}

// The name exactly as stored wins over one that differs in letter case only; the list is not
// searched by halves, since the language's order need not keep such names side by side.
int EditorFields::findName(const QStringList& names, const QString& name)
{
    int apartFromCase = -1;
    for (int i = 0; i < names.size(); ++i) {
        if (names.at(i) == name)
            return i;
        if (apartFromCase < 0 && names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            apartFromCase = i;
    }
    return apartFromCase;
}

int EditorFields::findPrefix(const QStringList& names, const QString& prefix)
{
    for (int i = 0; i < names.size(); ++i) {
        if (names.at(i).startsWith(prefix, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}
