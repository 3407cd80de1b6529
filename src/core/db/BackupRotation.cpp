#include "db/BackupRotation.h"

#include <QSet>

QVector<int> BackupRotation::expired(const QVector<QDateTime>& taken, int keep,
                                     const QDateTime& now)
{
    QVector<bool> kept(taken.size(), false);
    for (int i = 0; i < taken.size() && i < keep; ++i)
        kept[i] = true;
    const QDateTime yearAgo = now.addYears(-1);
    QSet<int> monthsWithOne;
    for (int i = taken.size() - 1; i >= 0; --i) {
        const QDate day = taken[i].date();
        if (taken[i] < yearAgo || monthsWithOne.contains(day.year() * 12 + day.month()))
            continue;
        monthsWithOne.insert(day.year() * 12 + day.month());
        kept[i] = true;
    }
    QVector<int> expired;
    for (int i = 0; i < taken.size(); ++i)
        if (!kept[i])
            expired << i;
    return expired;
}
