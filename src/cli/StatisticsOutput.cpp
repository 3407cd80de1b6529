#include "cli/StatisticsOutput.h"

#include <QTextStream>
#include <algorithm>

namespace
{

using Count = CollectionStatistics::Count;

// An album without a value and a name that reads "(none)" land in the same key: added up,
// so no album goes missing from the object.
QJsonObject countsObject(const QVector<Count>& counts)
{
    QJsonObject object;
    for (const Count& count : counts)
        object.insert(count.name, object.value(count.name).toDouble() + double(count.albums));
    return object;
}

QJsonObject purchasesObject(const QVector<CollectionStatistics::Purchases>& purchases)
{
    QJsonObject object;
    for (const CollectionStatistics::Purchases& year : purchases)
        object.insert(year.year, QJsonObject{{QStringLiteral("count"), double(year.albums)},
                                             {QStringLiteral("spent"), year.spent}});
    return object;
}

struct Section {
    const char* title;
    QVector<Count> CollectionStatistics::Figures::*counts;
};

const Section Sections[] = {
    {"By decade", &CollectionStatistics::Figures::byDecade},
    {"By year", &CollectionStatistics::Figures::byYear},
    {"By genre", &CollectionStatistics::Figures::byGenre},
    {"By media type", &CollectionStatistics::Figures::byMediaType},
    {"By label", &CollectionStatistics::Figures::byLabel},
    {"By country", &CollectionStatistics::Figures::byCountry},
    {"By language", &CollectionStatistics::Figures::byLanguage},
    {"By location", &CollectionStatistics::Figures::byLocation},
    {"By grade", &CollectionStatistics::Figures::byGrade},
};

// Rows of a label and its numbers, the labels padded to one width.
void writeRows(QTextStream& out, const QVector<QStringList>& rows, const QString& indent)
{
    int width = 0;
    for (const QStringList& row : rows)
        width = std::max(width, int(row.value(0).size()));
    for (const QStringList& row : rows) {
        out << indent << row.value(0).leftJustified(width);
        for (int i = 1; i < row.size(); ++i)
            out << "  " << row[i];
        out << '\n';
    }
}

} // namespace

QJsonObject StatisticsOutput::toJson(const CollectionStatistics::Figures& f)
{
    return QJsonObject{
        {QStringLiteral("albums"), double(f.albums)},
        {QStringLiteral("tracks"), double(f.tracks)},
        {QStringLiteral("playing_time_seconds"), double(f.playingTimeSeconds)},
        {QStringLiteral("unknown_lengths"), double(f.unknownLengths)},
        {QStringLiteral("by_decade"), countsObject(f.byDecade)},
        {QStringLiteral("by_year"), countsObject(f.byYear)},
        {QStringLiteral("by_genre"), countsObject(f.byGenre)},
        {QStringLiteral("by_media_type"), countsObject(f.byMediaType)},
        {QStringLiteral("by_label"), countsObject(f.byLabel)},
        {QStringLiteral("by_country"), countsObject(f.byCountry)},
        {QStringLiteral("by_language"), countsObject(f.byLanguage)},
        {QStringLiteral("by_location"), countsObject(f.byLocation)},
        {QStringLiteral("by_grade"), countsObject(f.byGrade)},
        {QStringLiteral("purchases_by_year"), purchasesObject(f.purchasesByYear)},
        {QStringLiteral("total_value"), f.totalValue},
        {QStringLiteral("total_price"), f.totalPrice},
        {QStringLiteral("unusable_values"), double(f.unusableValues)},
        {QStringLiteral("unusable_prices"), double(f.unusablePrices)},
        {QStringLiteral("in_collection"), double(f.inCollection)},
        {QStringLiteral("on_loan"), double(f.onLoan)},
    };
}

QString StatisticsOutput::playingTime(qint64 seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString StatisticsOutput::toText(const CollectionStatistics::Figures& f, const QLocale& locale)
{
    const auto money = [&locale](double amount) { return locale.toString(amount, 'f', 2); };
    QString text;
    QTextStream out(&text);
    writeRows(out,
              {{QStringLiteral("Albums"), QString::number(f.albums)},
               {QStringLiteral("Tracks"), QString::number(f.tracks)},
               {QStringLiteral("Playing time"), playingTime(f.playingTimeSeconds)},
               {QStringLiteral("Unknown lengths"), QString::number(f.unknownLengths)},
               {QStringLiteral("In collection"), QString::number(f.inCollection)},
               {QStringLiteral("On loan"), QString::number(f.onLoan)},
               {QStringLiteral("Total value"), money(f.totalValue)},
               {QStringLiteral("Total price"), money(f.totalPrice)},
               {QStringLiteral("Unusable values"), QString::number(f.unusableValues)},
               {QStringLiteral("Unusable prices"), QString::number(f.unusablePrices)}},
              QString());
    for (const Section& section : Sections) {
        out << '\n' << section.title << '\n';
        QVector<QStringList> rows;
        for (const Count& count : f.*section.counts)
            rows.append({count.name, QString::number(count.albums)});
        writeRows(out, rows, QStringLiteral("  "));
    }
    out << "\nPurchases by year (albums, spent)\n";
    QVector<QStringList> rows;
    for (const CollectionStatistics::Purchases& year : f.purchasesByYear)
        rows.append({year.year, QString::number(year.albums), money(year.spent)});
    writeRows(out, rows, QStringLiteral("  "));
    out.flush();
    return text;
}

QJsonArray StatisticsOutput::loansToJson(const QVector<AlbumLoans::Loan>& loans)
{
    QJsonArray array;
    for (const AlbumLoans::Loan& loan : loans)
        array.append(QJsonObject{
            {QStringLiteral("music_id"), loan.musicId},
            {QStringLiteral("artist"), loan.artist},
            {QStringLiteral("title"), loan.title},
            {QStringLiteral("person"), loan.person},
            {QStringLiteral("loandate"),
             loan.loanDate.isValid() ? QJsonValue(loan.loanDate.date().toString(Qt::ISODate))
                                     : QJsonValue()},
            {QStringLiteral("days"), loan.days >= 0 ? QJsonValue(double(loan.days)) : QJsonValue()},
        });
    return array;
}

QStringList StatisticsOutput::loanCells(const AlbumLoans::Loan& loan, const QLocale& locale)
{
    return {QString::number(loan.musicId),
            loan.artist,
            loan.title,
            loan.person,
            loan.loanDate.isValid() ? locale.toString(loan.loanDate.date(), QLocale::ShortFormat)
                                    : QString(),
            loan.days >= 0 ? QString::number(loan.days) : QString()};
}
