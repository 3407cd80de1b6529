#pragma once

#include <QString>
#include <QVector>

// What an import did: stored (or, in a dry run, would store), skipped and refused rows, or why
// nothing was stored at all.
struct ImportSummary {
    enum class Outcome { Stored, DryRun, Refused, Failed, Cancelled };
    struct BadRow {
        qint64 line = 0;
        QString reason;
    };
    // Only the first bad rows are listed; all are counted.
    static constexpr int ListedBadRows = 50;

    Outcome outcome = Outcome::Failed;
    int imported = 0;
    int skipped = 0;
    int badRowCount = 0;
    QVector<BadRow> badRows;
    QString message; // why nothing was stored

    bool nothingStored() const { return outcome != Outcome::Stored || imported == 0; }
    void addBadRow(qint64 line, const QString& reason);
    // The summary as the programs show it, one fact a line.
    QString text() const;
};
