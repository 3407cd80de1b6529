#include "musicbrainz/ReleaseSearchQuery.h"

#include <QRegularExpression>

namespace
{

bool isDigits(const QString& text)
{
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return !text.isEmpty();
}

bool hasBarcodeLength(const QString& digits)
{
    return digits.size() >= 8 && digits.size() <= 14;
}

} // namespace

ReleaseSearchQuery ReleaseSearchQuery::refused(const QString& error)
{
    ReleaseSearchQuery query;
    query.m_error = error;
    return query;
}

ReleaseSearchQuery ReleaseSearchQuery::built(const QString& lucene)
{
    ReleaseSearchQuery query;
    query.m_lucene = lucene;
    return query;
}

QString ReleaseSearchQuery::escaped(const QString& text)
{
    // "&&" and "||" are operators; escaping each character of them is enough and harmless.
    static const QString special = QStringLiteral("+-&|!(){}[]^\"~*?:\\/");
    QString result;
    result.reserve(text.size() + 8);
    for (QChar c : text) {
        if (special.contains(c))
            result += QLatin1Char('\\');
        result += c;
    }
    return result;
}

bool ReleaseSearchQuery::phrase(const char* field, const QString& what, const QString& text,
                                QString* result, QString* error)
{
    // A line feed or tab from a paste would only split the phrase.
    const QString clean = text.simplified();
    if (clean.isEmpty()) {
        *error = QStringLiteral("Nothing to search for: the %1 is empty.").arg(what);
        return false;
    }
    if (clean.size() > MaxTextLength) {
        *error = QStringLiteral("The %1 is longer than %2 characters; nothing was searched.")
                     .arg(what)
                     .arg(MaxTextLength);
        return false;
    }
    *result = QLatin1String(field) + QLatin1String(":\"") + escaped(clean) + QLatin1Char('"');
    return true;
}

ReleaseSearchQuery ReleaseSearchQuery::barcode(const QString& digits)
{
    const QString code = digits.trimmed();
    if (code.isEmpty())
        return refused(QStringLiteral("Nothing to search for: the barcode is empty."));
    if (!isDigits(code) || !hasBarcodeLength(code))
        return refused(QStringLiteral("'%1' is not a barcode: a barcode is 8 to 14 digits.")
                           .arg(code.size() > MaxTextLength
                                    ? code.left(MaxTextLength) + QStringLiteral("...")
                                    : code));
    return built(QLatin1String("barcode:") + code);
}

ReleaseSearchQuery ReleaseSearchQuery::catalogNumber(const QString& text)
{
    QString lucene;
    QString error;
    if (!phrase("catno", QStringLiteral("catalogue number"), text, &lucene, &error))
        return refused(error);
    return built(lucene);
}

ReleaseSearchQuery ReleaseSearchQuery::artistAndTitle(const QString& artist, const QString& title)
{
    QString release;
    QString byArtist;
    QString error;
    if (!phrase("release", QStringLiteral("title"), title, &release, &error) ||
        !phrase("artist", QStringLiteral("artist"), artist, &byArtist, &error))
        return refused(error);
    return built(release + QLatin1String(" AND ") + byArtist);
}

ReleaseSearchQuery ReleaseSearchQuery::fromSearchText(const QString& text)
{
    const QString trimmed = text.trimmed();
    QString digits = trimmed;
    digits.remove(QRegularExpression(QStringLiteral("[\\s-]")));
    if (isDigits(digits) && hasBarcodeLength(digits))
        return barcode(digits);
    const int dash = trimmed.indexOf(QLatin1String(" - "));
    if (dash > 0)
        return artistAndTitle(trimmed.left(dash), trimmed.mid(dash + 3));
    // One word or phrase: a catalogue number as often as a title.
    QString byNumber;
    QString byTitle;
    QString error;
    if (!phrase("catno", QStringLiteral("search text"), trimmed, &byNumber, &error))
        return refused(error);
    phrase("release", QStringLiteral("search text"), trimmed, &byTitle, &error);
    return built(byNumber + QLatin1String(" OR ") + byTitle);
}
