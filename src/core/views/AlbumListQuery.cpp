#include "views/AlbumListQuery.h"

#include "app/AppSettings.h"
#include "views/AlbumColumns.h"

#include <QRegularExpression>
#include <algorithm>

namespace
{

// One key of a sort order: a column name (a table name and a dot may come first), then ASC,
// DESC or nothing. The column name is the second capture.
const QRegularExpression& sortKeyPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([A-Za-z_][A-Za-z0-9_]*\\.)?([A-Za-z_][A-Za-z0-9_]*)"
                       "(\\s+(ASC|DESC))?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// Every comma-separated key of `text` is a sort key whose column passes `acceptColumn`.
template <class Predicate> bool isSortTextOf(const QString& text, Predicate acceptColumn)
{
    const QStringList keys = text.split(QLatin1Char(','));
    return std::all_of(keys.begin(), keys.end(), [&acceptColumn](const QString& key) {
        const QRegularExpressionMatch match = sortKeyPattern().match(key);
        return match.hasMatch() && acceptColumn(match.captured(2));
    });
}

bool isAlbumColumnField(const QString& name)
{
    const QVector<AlbumColumns::Column>& columns = AlbumColumns::defaults();
    return std::any_of(columns.begin(), columns.end(), [&name](const AlbumColumns::Column& c) {
        return c.field.compare(name, Qt::CaseInsensitive) == 0;
    });
}

} // namespace

void AlbumListQuery::load(const AppSettings& settings)
{
    // The settings file is text anyone can edit: only keys of the album columns are used (or
    // no order at all); anything else gives way to the default, quietly.
    const QString stored = settings.read(SettingsTable::OrderBy);
    const bool usable = stored.trimmed().isEmpty() || isSortTextOf(stored, isAlbumColumnField);
    m_sortText = usable ? stored : QLatin1String(DefaultSortText);
    const int view = settings.read(SettingsTable::CollectionView);
    m_view = view == int(CollectionView::Collection) || view == int(CollectionView::WantList)
                 ? CollectionView(view)
                 : CollectionView::Everything;
}

void AlbumListQuery::save(AppSettings& settings) const
{
    settings.write(SettingsTable::OrderBy, m_sortText);
    settings.write(SettingsTable::CollectionView, int(m_view));
}

QString AlbumListQuery::viewCondition(CollectionView view)
{
    switch (view) {
    case CollectionView::Collection:
        return QStringLiteral("music.incollection = TRUE");
    case CollectionView::WantList:
        return QStringLiteral("music.incollection = FALSE");
    case CollectionView::Everything:
        break;
    }
    return QString();
}

QString AlbumListQuery::viewName(CollectionView view)
{
    switch (view) {
    case CollectionView::Collection:
        return QStringLiteral("Collection");
    case CollectionView::WantList:
        return QStringLiteral("Want List");
    case CollectionView::Everything:
        break;
    }
    return QStringLiteral("Everything");
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
    return isSortTextOf(text, [](const QString&) { return true; });
}
