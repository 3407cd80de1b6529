#pragma once

#include <QDateTime>
#include <QVector>

// Which backups of a catalogue stay: the newest few, and for every month of the past year the
// oldest one taken in it. The oldest rather than the newest, so a month's backup never changes
// once taken, and a mistake noticed weeks later still finds the catalogue as that month began.
class BackupRotation
{
public:
    // `taken` holds the times of the backups, newest first; the result holds the indexes of
    // those to remove, in the same order.
    static QVector<int> expired(const QVector<QDateTime>& taken, int keep, const QDateTime& now);
};
