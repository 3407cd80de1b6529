#pragma once

#include "db/ColumnInfo.h"

#include <QString>
#include <QVector>

class AppSettings;

// What the album list asks the catalogue for: the sort text, the filter condition and which
// part of the catalogue it looks at (the collection, the want list or both). The desktop list,
// the command-line list and the find and print dialogs all build them here.
class AlbumListQuery
{
public:
    static constexpr const char* DefaultSortText = "artist_name ASC, title ASC";
    // The values are those the settings keep.
    enum class CollectionView { Everything = 0, Collection = 1, WantList = 2 };

    // A stored sort text that is not keys of album columns gives way to the default: the list
    // must not come up empty, with an engine error at every reload, over a damaged setting.
    void load(const AppSettings& settings);
    void save(AppSettings& settings) const;

    QString sortText() const { return m_sortText; }
    void setSortText(const QString& text) { m_sortText = text; }
    QString filter() const { return m_filter; }
    void setFilter(const QString& condition) { m_filter = condition; }
    CollectionView collectionView() const { return m_view; }
    void setCollectionView(CollectionView view) { m_view = view; }
    // The albums of the view, whatever the filter: the list's total count.
    QString viewCondition() const { return viewCondition(m_view); }
    // The view and the filter together: what the list, its print and its figures show.
    QString condition() const { return bothConditions(viewCondition(), m_filter); }

    // The same test the find dialog makes of "In Collection", so both always agree.
    static QString viewCondition(CollectionView view);
    static QString viewName(CollectionView view);

    // Sorting by the list column `column` of `columns`: that column, then its right-hand
    // neighbour (the left-hand one for the last column), both in the same direction. Empty
    // when `column` is not one of `columns`.
    static QString sortTextFor(const QVector<ColumnInfo>& columns, int column, bool descending);
    // Whether `text` is a sort order: a comma-separated list of column names (a table name and
    // a dot may come first), each followed by ASC or DESC or by nothing.
    static bool isSortText(const QString& text);
    // The condition that shows one artist's albums.
    static QString artistCondition(int artistId);
    // Both conditions must hold; either may be empty.
    static QString bothConditions(const QString& first, const QString& second);

private:
    QString m_sortText = QLatin1String(DefaultSortText);
    QString m_filter;
    CollectionView m_view = CollectionView::Everything;
};
