#include "views/AlbumListQuery.h"

#include "app/AppSettings.h"

#include <QRegularExpression>
#include <algorithm>

void AlbumListQuery::load(const AppSettings& settings)
{
    // The settings file is text anyone can edit; what is not a sort order is not used as one.
    const QString stored = settings.read(SettingsTable::OrderBy);
    m_sortText = isSortText(stored) ? stored : QLatin1String(DefaultSortText);
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

bool AlbumListQuery::isSortText(const QString& text)
{
    static const QRegularExpression key(
        QStringLiteral("^\\s*[A-Za-z_][A-Za-z0-9_]*(\\.[A-Za-z_][A-Za-z0-9_]*)?"
                       "(\\s+(ASC|DESC))?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QStringList keys = text.split(QLatin1Char(','));
    return std::all_of(keys.begin(), keys.end(),
                       [](const QString& item) { return key.match(item).hasMatch(); });
}
