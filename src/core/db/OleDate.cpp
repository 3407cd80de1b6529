#include "db/OleDate.h"

#include <cmath>

namespace
{

const QDate epoch(1899, 12, 30);
constexpr qint64 MillisecondsPerDay = 24LL * 60 * 60 * 1000;

} // namespace

double OleDate::toDays(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return 0.0;
    const qint64 days = epoch.daysTo(dateTime.date());
    const double fraction = dateTime.time().msecsSinceStartOfDay() / double(MillisecondsPerDay);
    // Automation dates before the epoch keep the time as a positive fraction after the sign:
    // -1.25 is 29 December 1899, 06:00.
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime OleDate::fromDays(double days)
{
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6)
        return zero();
    const double whole = std::trunc(days);
    qint64 msecs = std::llround(std::fabs(days - whole) * MillisecondsPerDay);
    qint64 dayCount = static_cast<qint64>(whole);
    if (msecs >= MillisecondsPerDay) {
        msecs -= MillisecondsPerDay;
        dayCount += days >= 0 ? 1 : -1;
    }
    return QDateTime(epoch.addDays(dayCount), QTime::fromMSecsSinceStartOfDay(int(msecs)), Qt::UTC);
}

QDateTime OleDate::zero()
{
    return QDateTime(epoch, QTime(0, 0), Qt::UTC);
}

QDateTime OleDate::now()
{
    const QDateTime local = QDateTime::currentDateTime();
    return QDateTime(local.date(), local.time(), Qt::UTC);
}
