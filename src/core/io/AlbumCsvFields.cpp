#include "io/AlbumCsvFields.h"

#include <QHash>

namespace
{

enum class Kind { Text, Whole, YesNo, Date };

struct Target {
    Kind kind;
    QString AlbumRecord::*text;
    int AlbumRecord::*whole;
    QDateTime AlbumRecord::*date;
};

Target text(QString AlbumRecord::*member)
{
    return {Kind::Text, member, nullptr, nullptr};
}

Target whole(int AlbumRecord::*member, Kind kind = Kind::Whole)
{
    return {kind, nullptr, member, nullptr};
}

Target date(QDateTime AlbumRecord::*member)
{
    return {Kind::Date, nullptr, nullptr, member};
}

// Keyed by the SQL column each album column shows.
const QHash<QString, Target>& targets()
{
    static const QHash<QString, Target> table = {
        {QStringLiteral("artist_name"), text(&AlbumRecord::artist)},
        {QStringLiteral("title"), text(&AlbumRecord::title)},
        {QStringLiteral("number"), whole(&AlbumRecord::number)},
        {QStringLiteral("type_name"), text(&AlbumRecord::mediaType)},
        {QStringLiteral("year"), whole(&AlbumRecord::year)},
        {QStringLiteral("length"), text(&AlbumRecord::length)},
        {QStringLiteral("cat_name"), text(&AlbumRecord::genre)},
        {QStringLiteral("subcat_name"), text(&AlbumRecord::subCategory)},
        {QStringLiteral("value"), text(&AlbumRecord::currentValue)},
        {QStringLiteral("person_name"), text(&AlbumRecord::onLoanTo)},
        {QStringLiteral("purchasedfrom_name"), text(&AlbumRecord::purchasedFrom)},
        {QStringLiteral("purchasedate"), date(&AlbumRecord::purchaseDate)},
        {QStringLiteral("frontimage"), text(&AlbumRecord::frontImage)},
        {QStringLiteral("backimage"), text(&AlbumRecord::backImage)},
        {QStringLiteral("notes"), text(&AlbumRecord::notes)},
        {QStringLiteral("loandate"), date(&AlbumRecord::loanDate)},
        {QStringLiteral("returndate"), date(&AlbumRecord::returnDate)},
        {QStringLiteral("location_name"), text(&AlbumRecord::location)},
        {QStringLiteral("grade"), whole(&AlbumRecord::grade)},
        {QStringLiteral("incollection"), whole(&AlbumRecord::inCollection, Kind::YesNo)},
        {QStringLiteral("condition_name"), text(&AlbumRecord::condition)},
        {QStringLiteral("purchaseprice"), text(&AlbumRecord::purchasePrice)},
        {QStringLiteral("language_name"), text(&AlbumRecord::language)},
        {QStringLiteral("country_name"), text(&AlbumRecord::country)},
        {QStringLiteral("url"), text(&AlbumRecord::url)},
        {QStringLiteral("label_name"), text(&AlbumRecord::label)},
        {QStringLiteral("labelnumber"), text(&AlbumRecord::labelNumber)},
        {QStringLiteral("studio_name"), text(&AlbumRecord::studio)},
        {QStringLiteral("producer_name"), text(&AlbumRecord::producer)},
        {QStringLiteral("ad"), whole(&AlbumRecord::ad)},
        {QStringLiteral("engineer_name"), text(&AlbumRecord::engineer)},
        {QStringLiteral("recordingdate"), date(&AlbumRecord::recordingDate)},
        {QStringLiteral("tourname"), text(&AlbumRecord::tourName)},
        {QStringLiteral("conductor_name"), text(&AlbumRecord::conductor)},
        {QStringLiteral("orchestra_name"), text(&AlbumRecord::orchestra)},
        {QStringLiteral("freedbid"), text(&AlbumRecord::freedbId)},
    };
    return table;
}

// The number written with `count` ASCII digits at `at`, or -1.
int digitsValue(QStringView text, qsizetype at, qsizetype count)
{
    int value = 0;
    for (qsizetype i = at; i < at + count; ++i) {
        const QChar c = text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

bool readYesNo(const QString& cell, int* value)
{
    const QString word = cell.trimmed().toLower();
    if (word == QLatin1String("yes") || word == QLatin1String("true") || word == QLatin1String("1"))
        *value = 1;
    else if (word == QLatin1String("no") || word == QLatin1String("false") ||
             word == QLatin1String("0"))
        *value = 0;
    else
        return false;
    return true;
}

} // namespace

QString AlbumCsvFields::isoDate(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return QString();
    if (dateTime.time() == QTime(0, 0))
        return dateTime.date().toString(Qt::ISODate);
    return dateTime.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

QDateTime AlbumCsvFields::parseDate(const QString& text)
{
    // Read by hand: the import reads one date a row, and Qt's format parser is slow.
    const QStringView trimmed = QStringView(text).trimmed();
    if (trimmed.size() != 10 && trimmed.size() != 19)
        return QDateTime();
    const int year = digitsValue(trimmed, 0, 4);
    const int month = digitsValue(trimmed, 5, 2);
    const int day = digitsValue(trimmed, 8, 2);
    if (trimmed[4] != QLatin1Char('-') || trimmed[7] != QLatin1Char('-'))
        return QDateTime();
    const QDate date(year, month, day);
    if (year < 0 || !date.isValid())
        return QDateTime();
    QTime time(0, 0);
    if (trimmed.size() == 19) {
        const QChar separator = trimmed[10];
        if ((separator != QLatin1Char('T') && separator != QLatin1Char(' ')) ||
            trimmed[13] != QLatin1Char(':') || trimmed[16] != QLatin1Char(':'))
            return QDateTime();
        time = QTime(digitsValue(trimmed, 11, 2), digitsValue(trimmed, 14, 2),
                     digitsValue(trimmed, 17, 2));
        if (!time.isValid())
            return QDateTime();
    }
    // Stored dates carry no zone: UTC keeps the wall-clock time as written.
    return QDateTime(date, time, Qt::UTC);
}

QString AlbumCsvFields::cellText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
        return QString::number(value.toInt());
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::Double:
        return QString::asprintf("%.2f", value.toDouble());
    case QMetaType::QDateTime:
        return isoDate(value.toDateTime());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("Yes") : QStringLiteral("No");
    case QMetaType::QString:
        return value.toString();
    default:
        return QString();
    }
}

bool AlbumCsvFields::isKnownField(const QString& field)
{
    return targets().contains(field);
}

bool AlbumCsvFields::setField(AlbumRecord* record, const QString& field, const QString& cell,
                              QString* error)
{
    const auto found = targets().constFind(field);
    if (found == targets().constEnd())
        return false;
    const Target& target = *found;
    if (target.kind == Kind::Text) {
        record->*target.text = cell;
        return true;
    }
    if (cell.trimmed().isEmpty()) {
        // The list shows a date that was never set as an empty cell; it stays unset.
        if (target.kind == Kind::Date)
            record->*target.date = QDateTime();
        return true;
    }
    bool ok = false;
    switch (target.kind) {
    case Kind::Whole: {
        const int value = cell.trimmed().toInt(&ok);
        if (ok)
            record->*target.whole = value;
        else
            *error = QStringLiteral("'%1' is not a whole number").arg(cell);
        break;
    }
    case Kind::YesNo:
        ok = readYesNo(cell, &(record->*target.whole));
        if (!ok)
            *error = QStringLiteral("'%1' is neither Yes nor No").arg(cell);
        break;
    case Kind::Date: {
        const QDateTime value = parseDate(cell);
        ok = value.isValid();
        if (ok)
            record->*target.date = value;
        else
            *error = QStringLiteral("'%1' is not a date as 2020-11-18").arg(cell);
        break;
    }
    case Kind::Text:
        break;
    }
    return ok;
}
