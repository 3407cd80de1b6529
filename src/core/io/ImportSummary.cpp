#include "io/ImportSummary.h"

#include <QStringList>

void ImportSummary::addBadRow(qint64 line, const QString& reason)
{
    ++badRowCount;
    if (badRows.size() < ListedBadRows)
        badRows.append({line, reason});
}

QString ImportSummary::text() const
{
    QStringList lines;
    if (outcome == Outcome::Refused || outcome == Outcome::Failed ||
        outcome == Outcome::Cancelled) {
        lines << message;
        return lines.join(QLatin1Char('\n'));
    }
    if (outcome == Outcome::DryRun)
        lines << QStringLiteral("Dry run: nothing was stored.");
    lines << QStringLiteral("Imported: %1").arg(imported)
          << QStringLiteral("Skipped (already imported): %1").arg(skipped)
          << QStringLiteral("Refused rows: %1").arg(badRowCount);
    for (const BadRow& row : badRows)
        lines << QStringLiteral("  line %1: %2").arg(row.line).arg(row.reason);
    if (badRowCount > badRows.size())
        lines << QStringLiteral("  … and %1 more").arg(badRowCount - badRows.size());
    return lines.join(QLatin1Char('\n'));
}
