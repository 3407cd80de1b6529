#include "stats/CollectionStatistics.h"

#include "db/Recordset.h"

#include <algorithm>

namespace
{

// A length as the program writes it, "M:SS" with any number of minutes, or "H:MM:SS", in
// seconds; NULL for anything else ("", "abc", "99:99"). Digit runs are capped so that no
// length can overflow the sum.
const char* const LengthSeconds =
    "CASE WHEN trim(music.length) GLOB '[0-9]*:[0-5][0-9]' AND length(trim(music.length)) <= 8 "
    "AND substr(trim(music.length), 1, length(trim(music.length)) - 3) NOT GLOB '*[^0-9]*' "
    "THEN CAST(substr(trim(music.length), 1, length(trim(music.length)) - 3) AS INTEGER) * 60 "
    "+ CAST(substr(trim(music.length), -2) AS INTEGER) "
    "WHEN trim(music.length) GLOB '[0-9]*:[0-5][0-9]:[0-5][0-9]' "
    "AND length(trim(music.length)) <= 10 "
    "AND substr(trim(music.length), 1, length(trim(music.length)) - 6) NOT GLOB '*[^0-9]*' "
    "THEN CAST(substr(trim(music.length), 1, length(trim(music.length)) - 6) AS INTEGER) * 3600 "
    "+ CAST(substr(trim(music.length), -5, 2) AS INTEGER) * 60 "
    "+ CAST(substr(trim(music.length), -2) AS INTEGER) END";

// Dates are days since 30 December 1899, the julian day 2415018.5; a date on or before that
// day was never set.
const char* const PurchaseYear = "CASE WHEN music.purchasedate > 0 THEN CAST(strftime('%Y', "
                                 "music.purchasedate + 2415018.5) AS INTEGER) END";

QString usableMoney(const char* column)
{
    return QStringLiteral("CASE WHEN %1 BETWEEN 0 AND %2 THEN %1 END")
        .arg(QLatin1String(column), QString::number(CollectionStatistics::MaxMoney, 'g', 17));
}

QString unusableMoney(const char* column)
{
    return QStringLiteral("%1 IS NOT NULL AND NOT (%1 BETWEEN 0 AND %2)")
        .arg(QLatin1String(column), QString::number(CollectionStatistics::MaxMoney, 'g', 17));
}

// Albums by a whole-number key; a key that is NULL (no value) sorts first.
QString countsByNumber(const QString& key, const QString& scope)
{
    return QStringLiteral("SELECT %1 AS k, COUNT(*) FROM music WHERE %2 GROUP BY k ORDER BY k")
        .arg(key, scope);
}

// Albums by the name a reference column points at; a missing or empty name is no value.
QString countsByName(const char* table, const char* idColumn, const char* nameColumn,
                     const QString& scope)
{
    return QStringLiteral("SELECT CASE WHEN n.%3 <> '' THEN n.%3 END AS k, COUNT(*) FROM music "
                          "LEFT JOIN %1 AS n ON music.%2 = n.%2 WHERE %4 GROUP BY k "
                          "ORDER BY COUNT(*) DESC, k")
        .arg(QLatin1String(table), QLatin1String(idColumn), QLatin1String(nameColumn), scope);
}

QString keyText(const QVariant& key)
{
    return key.isNull() ? QLatin1String(CollectionStatistics::NoValue) : key.toString();
}

qint64 wholeNumber(Recordset* recordset, int column)
{
    QVariant value;
    recordset->field(column, &value);
    return std::max<qint64>(0, value.toLongLong());
}

double realNumber(Recordset* recordset, int column)
{
    QVariant value;
    recordset->field(column, &value);
    return value.toDouble();
}

} // namespace

CollectionStatistics::CollectionStatistics(Database* database) : m_database(database) {}

QString CollectionStatistics::scope(const QString& condition) const
{
    if (condition.trimmed().isEmpty())
        return QStringLiteral("music.deleted = FALSE");
    return QStringLiteral("music.deleted = FALSE AND music.music_id IN (%1)")
        .arg(m_albums.listedIdsQuery(m_database, condition));
}

bool CollectionStatistics::compute(const QString& condition, Figures* figures, int parts)
{
    if (!m_database || !figures)
        return false;
    *figures = Figures();
    const QString where = scope(condition);
    return (!(parts & TotalFigures) ||
            (readTotals(where, figures) && readTracks(where, figures))) &&
           (!(parts & YearFigures) || readYears(where, figures)) &&
           (!(parts & NameFigures) || readNames(where, figures)) &&
           (!(parts & PurchaseFigures) || readPurchases(where, figures));
}

bool CollectionStatistics::readYears(const QString& scope, Figures* figures)
{
    const QString year =
        QStringLiteral("CASE WHEN music.year > 0 THEN CAST(music.year AS INTEGER) END");
    const QString decade =
        QStringLiteral("CASE WHEN music.year > 0 THEN CAST(music.year AS INTEGER) / 10 * 10 END");
    return readCounts(countsByNumber(decade, scope), &figures->byDecade) &&
           readCounts(countsByNumber(year, scope), &figures->byYear);
}

bool CollectionStatistics::readNames(const QString& scope, Figures* figures)
{
    struct NameFigure {
        const char* table;
        const char* idColumn;
        const char* nameColumn;
        QVector<Count> Figures::*counts;
    };
    static const NameFigure Lists[] = {
        {"music_categories", "cat_id", "cat_name", &Figures::byGenre},
        {"music_types", "type_id", "type_name", &Figures::byMediaType},
        {"music_labels", "label_id", "label_name", &Figures::byLabel},
        {"countries", "country_id", "country_name", &Figures::byCountry},
        {"languages", "language_id", "language_name", &Figures::byLanguage},
        {"music_locations", "location_id", "location_name", &Figures::byLocation},
    };
    for (const NameFigure& name : Lists)
        if (!readCounts(countsByName(name.table, name.idColumn, name.nameColumn, scope),
                        &(figures->*name.counts)))
            return false;
    const QString grade =
        QStringLiteral("CASE WHEN music.grade >= 0 THEN CAST(music.grade AS INTEGER) END");
    return readCounts(countsByNumber(grade, scope), &figures->byGrade);
}

bool CollectionStatistics::readTotals(const QString& scope, Figures* figures)
{
    // On loan as the album page says: the on-loan-to name is not empty.
    const QString sql =
        QStringLiteral(
            "SELECT COUNT(*), TOTAL(%1), SUM((%1) IS NULL), TOTAL(%2), TOTAL(%3), SUM(%4), "
            "SUM(%5), SUM(music.incollection <> 0), SUM(COALESCE(p.person_name, '') <> '') "
            "FROM music LEFT JOIN persons AS p ON music.person_id = p.person_id WHERE %6")
            .arg(QLatin1String(LengthSeconds), usableMoney("music.value"),
                 usableMoney("music.purchaseprice"), unusableMoney("music.value"),
                 unusableMoney("music.purchaseprice"), scope);
    RecordsetHandle recordset;
    if (!m_albums.OpenRecordset(&recordset, m_database, sql))
        return false;
    figures->albums = wholeNumber(recordset.get(), 0);
    figures->playingTimeSeconds = qint64(std::max(0.0, realNumber(recordset.get(), 1)));
    figures->unknownLengths = wholeNumber(recordset.get(), 2);
    figures->totalValue = realNumber(recordset.get(), 3);
    figures->totalPrice = realNumber(recordset.get(), 4);
    figures->unusableValues = wholeNumber(recordset.get(), 5);
    figures->unusablePrices = wholeNumber(recordset.get(), 6);
    figures->inCollection = wholeNumber(recordset.get(), 7);
    figures->onLoan = wholeNumber(recordset.get(), 8);
    return true;
}

bool CollectionStatistics::readTracks(const QString& scope, Figures* figures)
{
    const QString sql = QStringLiteral("SELECT COUNT(*) FROM tracks WHERE tracks.music_id IN "
                                       "(SELECT music.music_id FROM music WHERE %1)")
                            .arg(scope);
    RecordsetHandle recordset;
    if (!m_albums.OpenRecordset(&recordset, m_database, sql))
        return false;
    figures->tracks = wholeNumber(recordset.get(), 0);
    return true;
}

bool CollectionStatistics::readCounts(const QString& sql, QVector<Count>* counts)
{
    RecordsetHandle recordset;
    if (!m_albums.OpenRecordset(&recordset, m_database, sql))
        return false;
    while (!recordset->isEOF()) {
        QVariant key;
        recordset->field(0, &key);
        counts->append({keyText(key), wholeNumber(recordset.get(), 1)});
        if (!recordset->moveNext())
            break;
    }
    return true;
}

bool CollectionStatistics::readPurchases(const QString& scope, Figures* figures)
{
    const QString sql =
        QStringLiteral("SELECT %1 AS k, COUNT(*), TOTAL(%2) FROM music WHERE %3 "
                       "GROUP BY k ORDER BY k")
            .arg(QLatin1String(PurchaseYear), usableMoney("music.purchaseprice"), scope);
    RecordsetHandle recordset;
    if (!m_albums.OpenRecordset(&recordset, m_database, sql))
        return false;
    while (!recordset->isEOF()) {
        QVariant key;
        recordset->field(0, &key);
        figures->purchasesByYear.append(
            {keyText(key), wholeNumber(recordset.get(), 1), realNumber(recordset.get(), 2)});
        if (!recordset->moveNext())
            break;
    }
    return true;
}

QVector<CollectionStatistics::Count>
CollectionStatistics::topWithOther(const QVector<Count>& counts, int keep)
{
    QVector<Count> sorted = counts;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Count& left, const Count& right) {
        return left.albums > right.albums;
    });
    keep = std::max(0, keep);
    if (sorted.size() <= keep)
        return sorted;
    Count other{QLatin1String(OtherName), 0};
    for (auto it = sorted.begin() + keep; it != sorted.end(); ++it)
        other.albums += it->albums;
    sorted.resize(keep);
    sorted.append(other);
    return sorted;
}
