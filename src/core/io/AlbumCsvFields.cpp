#include "io/AlbumCsvFields.h"

#include "db/AlbumField.h"

namespace
{

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

bool AlbumCsvFields::setField(AlbumRecord* record, const QString& field, const QString& cell,
                              QString* error)
{
    const AlbumField* target = AlbumField::byQueryColumn(field);
    if (!target)
        return false;
    if (target->text) {
        record->*target->text = cell;
        return true;
    }
    if (cell.trimmed().isEmpty()) {
        // The list shows a date that was never set as an empty cell; it stays unset.
        if (target->date)
            record->*target->date = QDateTime();
        return true;
    }
    bool ok = false;
    switch (target->kind) {
    case AlbumField::Kind::Whole: {
        const int value = cell.trimmed().toInt(&ok);
        if (ok)
            record->*target->whole = value;
        else
            *error = QStringLiteral("'%1' is not a whole number").arg(cell);
        break;
    }
    case AlbumField::Kind::YesNo:
        ok = readYesNo(cell, &(record->*target->whole));
        if (!ok)
            *error = QStringLiteral("'%1' is neither Yes nor No").arg(cell);
        break;
    case AlbumField::Kind::Date: {
        const QDateTime value = parseDate(cell);
        ok = value.isValid();
        if (ok)
            record->*target->date = value;
        else
            *error = QStringLiteral("'%1' is not a date as 2020-11-18").arg(cell);
        break;
    }
    default:
        break;
    }
    return ok;
}
