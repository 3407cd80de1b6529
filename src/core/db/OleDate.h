#pragma once

#include <QDateTime>

// Dates are stored as automation dates: days since 30 December 1899 as a double, the fraction
// being the time of day. In memory they are QDateTime values held as UTC,
// so a stored wall-clock time never shifts through daylight-saving rules.
class OleDate
{
public:
    static double toDays(const QDateTime& dateTime);
    static QDateTime fromDays(double days);
    // 30 December 1899, 00:00: the value of a date that was never set.
    static QDateTime zero();
    // The local wall-clock date and time, in the same zone-free form as stored dates.
    static QDateTime now();
};
