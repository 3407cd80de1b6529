#pragma once

#include "db/AlbumRecord.h"

#include <QByteArray>
#include <QVariant>
#include <QVector>

struct LookupList;

// One of the album's fields, as every reader and writer of albums sees it: the table and column
// a save writes, the column of the album query a load reads (also the field's key in JSON and
// in the album column table), the record member that holds it, and how it is kept.
// A new field is one more row of all() and its column in the schema.
struct AlbumField {
    static constexpr const char* AlbumsTable = "music";

    enum class Kind {
        Text,
        Money, // text in the record, a real in the catalogue
        Whole,
        YesNo, // 1 or 0 in the record, a boolean in the catalogue
        Date,  // a date never given is stored as none
        Name   // a name of a lookup list in the record, its entry's id in the catalogue
    };

    // `music`, or the table of ids beside it (AlbumIdsTable) for what the catalogue's own
    // schema has no column for.
    QByteArray table = AlbumsTable;
    QByteArray column;
    QByteArray queryColumn;
    Kind kind = Kind::Text;
    // Exactly one of the three is set, after the kind.
    QString AlbumRecord::*text = nullptr;
    int AlbumRecord::*whole = nullptr;
    QDateTime AlbumRecord::*date = nullptr;
    // The heading of the field's album list column and CSV column; null for a field that is
    // neither.
    const char* caption = nullptr;
    // The lookup list of a name; null for the other kinds.
    const LookupList* list = nullptr;

    // The value a save writes into `column`; not for names, which are stored by id.
    QVariant storedValue(const AlbumRecord& record) const;
    bool isInAlbumsTable() const { return table == AlbumsTable; }

    // Every field, in the order a save sets them (which is also the order it looks up names).
    static const QVector<AlbumField>& all();
    static const AlbumField* byQueryColumn(const QString& queryColumn);
    // The lookup list whose names `member` holds, or null.
    static const LookupList* listOf(QString AlbumRecord::*member);
};
