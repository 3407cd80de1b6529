#include "views/AlbumListQuery.h"

#include "app/AppSettings.h"
#include "views/AlbumColumns.h"

#include <QRegularExpression>
#include <algorithm>

namespace
{

bool isColumnField(const QString& name)
{
    const QVector<AlbumColumns::Column>& columns = AlbumColumns::defaults();
    return std::any_of(columns.begin(), columns.end(), [&name](const AlbumColumns::Column& c) {
        return c.field.compare(name, Qt::CaseInsensitive) == 0;
    });
}

bool isSortKey(const QString& key)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\w+)(\\s+(ASC|DESC))?\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(key);
    return match.hasMatch() && isColumnField(match.captured(1));
}

// Keys of album columns, each with ASC, DESC or neither, separated by commas; an empty text
// (unsorted) is one too.
bool isColumnSortText(const QString& text)
{
    if (text.trimmed().isEmpty())
        return true;
    const QStringList keys = text.split(QLatin1Char(','));
    return std::all_of(keys.begin(), keys.end(), isSortKey);
}

} // namespace

void AlbumListQuery::load(const AppSettings& settings)
{
    const QString stored = settings.read(SettingsTable::OrderBy);
    m_sortText = isColumnSortText(stored) ? stored : QLatin1String(DefaultSortText);
}

void AlbumListQuery::save(AppSettings& settings) const
{
    settings.write(SettingsTable::OrderBy, m_sortText);
}

QString AlbumListQuery::sortTextFor(const QVector<ColumnInfo>& columns, int column, bool descending)
{
    const int count = columns.size();
    if (column < 0 || column >= count)
        return QString();
    const QString direction = descending ? QStringLiteral("DESC") : QStringLiteral("ASC");
    if (count == 1)
        return QStringLiteral("%1 %2").arg(columns[column].field, direction);
    const int second = column + 1 < count ? column + 1 : column - 1;
    return QStringLiteral("%1 %2, %3 %4")
        .arg(columns[column].field, direction, columns[second].field, direction);
}

QString AlbumListQuery::artistCondition(int artistId)
{
    // Unsigned, as the tree node carries it: a corrupt id can never read as a negative number.
    return QStringLiteral("music.artist_id = %1").arg(QString::number(quint32(artistId)));
}

QString AlbumListQuery::bothConditions(const QString& first, const QString& second)
{
    if (first.isEmpty())
        return second;
    if (second.isEmpty())
        return first;
    return QStringLiteral("%1 AND (%2)").arg(first, second);
}
