#include "io/DiscogsWantlist.h"

#include "io/DiscogsCollection.h"

namespace
{

constexpr int ReleaseColumns = DiscogsCollection::ReleaseColumnCount;

// The first line of a wanted album's notes, so the page and the list tell it at a glance.
const QString WantedNote = QStringLiteral("Wanted");

} // namespace

bool DiscogsWantlist::isWantlistHeader(const QStringList& header)
{
    const QStringList& fixed = DiscogsCollection::fixedColumns();
    return header.size() >= ReleaseColumns &&
           header.mid(0, ReleaseColumns) == fixed.mid(0, ReleaseColumns) &&
           !header.contains(fixed.value(ReleaseColumns));
}

bool DiscogsWantlist::toAlbum(const QStringList& header, const QStringList& row, AlbumRecord* album,
                              QString* error)
{
    // The date added has no name in the header; a row without it keeps today's date.
    const bool hasDateAdded = row.size() == header.size() + 1;
    if (row.size() != header.size() && !hasDateAdded) {
        *error = QStringLiteral("%1 fields where the header names %2 (and the date added)")
                     .arg(row.size())
                     .arg(header.size());
        return false;
    }
    QStringList notes{WantedNote};
    if (!DiscogsCollection::readReleaseColumns(row, album, &notes, error) ||
        (hasDateAdded && !DiscogsCollection::readDateAdded(row.last(), album, error)))
        return false;
    album->inCollection = 0;
    for (int i = ReleaseColumns; i < header.size(); ++i)
        DiscogsCollection::addNoteLine(&notes, header[i], row[i]);
    album->notes = notes.join(QLatin1Char('\n'));
    return true;
}
