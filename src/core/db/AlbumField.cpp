#include "db/AlbumField.h"

#include "db/AlbumIdsTable.h"
#include "db/AlbumTable.h"
#include "db/LookupList.h"

namespace
{

using Kind = AlbumField::Kind;

AlbumField field(const char* column, Kind kind, const char* caption)
{
    AlbumField row;
    row.column = column;
    row.queryColumn = column;
    row.kind = kind;
    row.caption = caption;
    return row;
}

AlbumField textField(const char* column, QString AlbumRecord::*member, const char* caption,
                     Kind kind = Kind::Text)
{
    AlbumField text = field(column, kind, caption);
    text.text = member;
    return text;
}

AlbumField wholeField(const char* column, int AlbumRecord::*member, const char* caption,
                      Kind kind = Kind::Whole)
{
    AlbumField whole = field(column, kind, caption);
    whole.whole = member;
    return whole;
}

AlbumField dateField(const char* column, QDateTime AlbumRecord::*member, const char* caption)
{
    AlbumField date = field(column, Kind::Date, caption);
    date.date = member;
    return date;
}

// A name is stored in the list's id column and read from its name column.
AlbumField nameField(const char* table, QString AlbumRecord::*member, const char* caption)
{
    AlbumField name = textField("", member, caption, Kind::Name);
    name.list = LookupList::find(QLatin1String(table));
    Q_ASSERT(name.list);
    name.column = name.list->idColumn.toLatin1();
    name.queryColumn = name.list->nameColumn.toLatin1();
    return name;
}

AlbumField idField(const char* column, QString AlbumRecord::*member, const char* caption)
{
    AlbumField id = textField(column, member, caption);
    id.table = AlbumIdsTable::Table;
    return id;
}

} // namespace

const QVector<AlbumField>& AlbumField::all()
{
    using R = AlbumRecord;
    static const QVector<AlbumField> fields = {
        textField("title", &R::title, "Title"),
        nameField("music_artists", &R::artist, "Artist"),
        wholeField("number", &R::number, "Number"),
        nameField("music_types", &R::mediaType, "Media Type"),
        wholeField("year", &R::year, "Record Year"),
        nameField("music_categories", &R::genre, "Genre"),
        nameField("music_subcategories", &R::subCategory, "Sub Category"),
        textField("value", &R::currentValue, "Current Value", Kind::Money),
        nameField("persons", &R::onLoanTo, "On Loan To"),
        nameField("purchasedfrom", &R::purchasedFrom, "Purchased From"),
        dateField("purchasedate", &R::purchaseDate, "Purchase Date"),
        textField("frontimage", &R::frontImage, "Front Image"),
        textField("backimage", &R::backImage, "Back Image"),
        textField("length", &R::length, "Length"),
        textField("contents", &R::contents, nullptr),
        textField("notes", &R::notes, "Notes"),
        dateField("returndate", &R::returnDate, "Return Date"),
        dateField("loandate", &R::loanDate, "Loan Date"),
        nameField("music_locations", &R::location, "Location"),
        nameField("conditions", &R::condition, "Condition"),
        wholeField("grade", &R::grade, "Grade"),
        textField("purchaseprice", &R::purchasePrice, "Purchase Price", Kind::Money),
        textField("url", &R::url, "Url"),
        wholeField("incollection", &R::inCollection, "In Collection", Kind::YesNo),
        nameField("languages", &R::language, "Language"),
        nameField("countries", &R::country, "Country"),
        nameField("music_labels", &R::label, "Label"),
        textField("labelnumber", &R::labelNumber, "Label Number"),
        nameField("music_studios", &R::studio, "Studio"),
        nameField("music_producers", &R::producer, "Producer"),
        wholeField("ad", &R::ad, "Ad"),
        nameField("music_engineers", &R::engineer, "Engineer"),
        dateField("recordingdate", &R::recordingDate, "Record Date"),
        textField("tourname", &R::tourName, "Tourname"),
        nameField("music_conductors", &R::conductor, "Conductor"),
        nameField("music_orchestras", &R::orchestra, "Orchestra"),
        textField("freedbid", &R::freedbId, "FreeDB ID"),
        idField("barcode", &R::barcode, "Barcode"),
        idField("musicbrainz_release_id", &R::musicBrainzReleaseId, nullptr),
        idField("discogs_release_id", &R::discogsReleaseId, nullptr),
    };
    return fields;
}

const AlbumField* AlbumField::byQueryColumn(const QString& queryColumn)
{
    for (const AlbumField& field : all())
        if (queryColumn == QLatin1String(field.queryColumn))
            return &field;
    return nullptr;
}

const LookupList* AlbumField::listOf(QString AlbumRecord::*member)
{
    for (const AlbumField& field : all())
        if (field.kind == Kind::Name && field.text == member)
            return field.list;
    return nullptr;
}

QVariant AlbumField::storedValue(const AlbumRecord& record) const
{
    switch (kind) {
    case Kind::Text:
    case Kind::Name:
        return record.*text;
    case Kind::Money:
        return AlbumTable::moneyValue(record.*text);
    case Kind::Whole:
        return record.*whole;
    case Kind::YesNo:
        return record.*whole != 0;
    case Kind::Date:
        return (record.*date).isValid() ? QVariant(record.*date) : QVariant();
    }
    return QVariant();
}
