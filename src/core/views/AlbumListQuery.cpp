#include "views/AlbumListQuery.h"

#include "app/AppSettings.h"

void AlbumListQuery::load(const AppSettings& settings)
{
    m_sortText = settings.read(SettingsTable::OrderBy);
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
