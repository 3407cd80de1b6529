#include "db/LookupList.h"

namespace
{

LookupList list(int commandId, const char* label, const char* caption, const char* table,
                const char* prefix)
{
    LookupList l;
    l.commandId = commandId;
    l.menuLabel = QString::fromLatin1(label);
    l.caption = QString::fromLatin1(caption);
    l.table = QString::fromLatin1(table);
    const QString p = QString::fromLatin1(prefix);
    l.idColumn = p + QLatin1String("_id");
    l.nameColumn = p + QLatin1String("_name");
    l.deletedColumn = p + QLatin1String("_deleted");
    l.usingTable = QStringLiteral("music");
    l.usingColumn = l.idColumn;
    return l;
}

} // namespace

const QVector<LookupList>& LookupList::all()
{
    static const QVector<LookupList> lists = {
        list(32788, "&Artist", "Artist list", "music_artists", "artist"),
        list(32796, "&Condition", "Conditions list", "conditions", "condition"),
        list(32803, "Conducto&r", "Conductors list", "music_conductors", "conductor"),
        list(32798, "C&ountry", "Countries list", "countries", "country"),
        list(32802, "Eng&ineer", "Engineers list", "music_engineers", "engineer"),
        list(32789, "&Genre", "Genre list", "music_categories", "cat"),
        list(32799, "La&bel", "Labels list", "music_labels", "label"),
        list(32797, "La&nguage", "Languages list", "languages", "language"),
        list(32795, "&Location", "Locations list", "music_locations", "location"),
        list(32791, "&Media Type", "Media Type list", "music_types", "type"),
        list(32793, "On Loan &To", "Persons list", "persons", "person"),
        list(32804, "Orc&hestra", "Orchestras list", "music_orchestras", "orchestra"),
        list(32801, "Produc&er", "Producers list", "music_producers", "producer"),
        list(32794, "P&urchased From", "Purchased From list", "purchasedfrom", "purchasedfrom"),
        list(32800, "Stu&dio", "Studios list", "music_studios", "studio"),
        list(32792, "&Subcategory", "Subcategories list", "music_subcategories", "subcat"),
    };
    return lists;
}

const LookupList* LookupList::find(const QString& tableOrLabel)
{
    for (const LookupList& l : all()) {
        QString label = l.menuLabel;
        label.remove(QLatin1Char('&'));
        if (tableOrLabel.compare(l.table, Qt::CaseInsensitive) == 0 ||
            tableOrLabel.compare(label, Qt::CaseInsensitive) == 0)
            return &l;
    }
    return nullptr;
}

const LookupList* LookupList::byCommand(int commandId)
{
    for (const LookupList& l : all())
        if (l.commandId == commandId)
            return &l;
    return nullptr;
}
