#include "io/DiscogsCollection.h"

#include "io/AlbumCsvFields.h"
#include "io/DiscogsWantlist.h"

#include <QRegularExpression>
#include <algorithm>

namespace
{

enum FixedColumn {
    CatalogNumber,
    Artist,
    Title,
    Label,
    Format,
    Rating,
    Released,
    ReleaseId,
    CollectionFolder,
    DateAdded,
    FixedCount
};

const QString FieldPrefix = QStringLiteral("Collection ");
const QString MediaCondition = QStringLiteral("Collection Media Condition");
const QString UncategorizedFolder = QStringLiteral("Uncategorized");
const QString ReleaseUrlPrefix = QStringLiteral("https://www.discogs.com/release/");

// Discogs joins several labels or catalogue numbers with ", "; a comma without a blank
// belongs to the value ("XLT,366").
QStringList listItems(const QString& text)
{
    return text.split(QStringLiteral(", "));
}

bool readRating(const QString& text, int* grade)
{
    if (text.trimmed().isEmpty())
        return true;
    bool ok = false;
    const int rating = text.trimmed().toInt(&ok);
    if (!ok || rating < 0 || rating > 5)
        return false;
    if (rating > 0)
        *grade = DiscogsCollection::gradeOfRating(rating);
    return true;
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isDigits(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isAsciiDigit);
}

// "0" and empty mean Discogs does not know the year; a full date gives its year.
void readReleased(const QString& text, int* year)
{
    const QStringView trimmed = QStringView(text).trimmed();
    if (trimmed.size() < 4 || !isDigits(trimmed.left(4)))
        return;
    const int value = trimmed.left(4).toInt();
    if (value > 0)
        *year = value;
}

} // namespace

const QStringList& DiscogsCollection::fixedColumns()
{
    static const QStringList columns = {QStringLiteral("Catalog#"),
                                        QStringLiteral("Artist"),
                                        QStringLiteral("Title"),
                                        QStringLiteral("Label"),
                                        QStringLiteral("Format"),
                                        QStringLiteral("Rating"),
                                        QStringLiteral("Released"),
                                        QStringLiteral("release_id"),
                                        QStringLiteral("CollectionFolder"),
                                        QStringLiteral("Date Added")};
    return columns;
}

bool DiscogsCollection::isCollectionHeader(const QStringList& header)
{
    return header.size() >= FixedCount && header.mid(0, FixedCount) == fixedColumns();
}

QString DiscogsCollection::otherExportKind(const QStringList& header)
{
    if (DiscogsWantlist::isWantlistHeader(header))
        return QStringLiteral("a Discogs wantlist");
    if (header.value(0) == QLatin1String("listing_id") &&
        header.contains(QStringLiteral("release_id")))
        return QStringLiteral("a Discogs marketplace inventory");
    return QString();
}

QString DiscogsCollection::releaseUrl(const QString& releaseId)
{
    return ReleaseUrlPrefix + releaseId;
}

QString DiscogsCollection::releaseIdOfUrl(const QString& url)
{
    // The url the import itself writes, without a pattern match.
    if (url.startsWith(ReleaseUrlPrefix) && isDigits(QStringView(url).mid(ReleaseUrlPrefix.size())))
        return url.mid(ReleaseUrlPrefix.size());
    // Release pages also appear with a language part and a name after the id:
    // "https://www.discogs.com/de/release/123-Artist-Title".
    static const QRegularExpression release(
        QStringLiteral("^https?://(?:www\\.)?discogs\\.com/(?:[a-z]{2}(?:-[A-Za-z]{2})?/)?"
                       "release/(\\d+)(?:$|[-/?#])"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = release.match(url.trimmed());
    return match.hasMatch() ? match.captured(1) : QString();
}

QString DiscogsCollection::withoutNameNumbers(const QString& names)
{
    if (!names.contains(QLatin1String(" (")))
        return names;
    static const QRegularExpression number(QStringLiteral(" \\(\\d+\\)(?=$|,| )"));
    QString text = names;
    return text.remove(number);
}

QString DiscogsCollection::mediaType(const QString& format)
{
    QStringView kind = QStringView(format).trimmed();
    for (const QChar separator : {QLatin1Char(','), QLatin1Char('+')}) {
        const qsizetype at = kind.indexOf(separator);
        if (at >= 0)
            kind = kind.left(at);
    }
    // The quantity: "2xLP".
    qsizetype digits = 0;
    while (digits < kind.size() && isAsciiDigit(kind[digits]))
        ++digits;
    if (digits > 0 && digits < kind.size() && kind[digits] == QLatin1Char('x'))
        kind = kind.mid(digits + 1);
    return kind.trimmed().toString();
}

int DiscogsCollection::gradeOfRating(int rating)
{
    return rating * 2;
}

bool DiscogsCollection::readReleaseColumns(const QStringList& row, AlbumRecord* album,
                                           QStringList* notes, QString* error)
{
    const QString releaseId = row[ReleaseId].trimmed();
    if (!isDigits(releaseId) || releaseId.size() > 18) {
        *error = QStringLiteral("release_id '%1' is not a number").arg(row[ReleaseId]);
        return false;
    }
    if (!readRating(row[Rating], &album->grade)) {
        *error = QStringLiteral("Rating '%1' is not 0 to 5").arg(row[Rating]);
        return false;
    }
    readReleased(row[Released], &album->year);
    album->artist = withoutNameNumbers(row[Artist]).trimmed();
    album->title = row[Title].trimmed();
    const QStringList labels = listItems(row[Label]);
    const QStringList numbers = listItems(row[CatalogNumber]);
    album->label = withoutNameNumbers(labels.first()).trimmed();
    album->labelNumber = numbers.first().trimmed();
    album->mediaType = mediaType(row[Format]);
    album->url = releaseUrl(releaseId);
    album->discogsReleaseId = releaseId;

    addNoteLine(notes, QStringLiteral("Format"), row[Format]);
    if (labels.size() > 1)
        addNoteLine(notes, QStringLiteral("Label"), row[Label]);
    if (numbers.size() > 1)
        addNoteLine(notes, QStringLiteral("Catalog#"), row[CatalogNumber]);
    return true;
}

bool DiscogsCollection::readDateAdded(const QString& text, AlbumRecord* album, QString* error)
{
    if (text.trimmed().isEmpty())
        return true;
    const QDateTime added = AlbumCsvFields::parseDate(text);
    if (!added.isValid()) {
        *error = QStringLiteral("Date Added '%1' is not a date").arg(text);
        return false;
    }
    album->purchaseDate = added;
    return true;
}

void DiscogsCollection::addNoteLine(QStringList* lines, const QString& name, const QString& value)
{
    if (!value.trimmed().isEmpty())
        lines->append(QStringLiteral("%1: %2").arg(name, value.trimmed()));
}

bool DiscogsCollection::toAlbum(const QStringList& header, const QStringList& row,
                                AlbumRecord* album, QString* error)
{
    if (row.size() != header.size()) {
        *error = QStringLiteral("%1 fields where the header names %2")
                     .arg(row.size())
                     .arg(header.size());
        return false;
    }
    QStringList notes;
    if (!readReleaseColumns(row, album, &notes, error) ||
        !readDateAdded(row[DateAdded], album, error))
        return false;
    if (row[CollectionFolder].trimmed() != UncategorizedFolder)
        album->location = row[CollectionFolder].trimmed();
    for (int i = FixedCount; i < header.size(); ++i) {
        if (header[i] == MediaCondition)
            album->condition = row[i].trimmed();
        else if (header[i].startsWith(FieldPrefix))
            addNoteLine(&notes, header[i].mid(FieldPrefix.size()), row[i]);
        else
            addNoteLine(&notes, header[i], row[i]);
    }
    album->notes = notes.join(QLatin1Char('\n'));
    return true;
}
