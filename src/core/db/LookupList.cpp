#include "db/LookupList.h"

namespace
{

LookupList list(int commandId, const char* label, const char* prompt, const char* caption,
                const char* table, const char* prefix)
{
    LookupList l;
    l.commandId = commandId;
    l.menuLabel = QString::fromLatin1(label);
    l.prompt = QString::fromLatin1(prompt);
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
        list(32788, "&Artist", "Change the Artists list\nArtist list", "Artist list",
             "music_artists", "artist"),
        list(32796, "&Condition", "Change the Conditions list\nConditions list", "Conditions list",
             "conditions", "condition"),
        list(32803, "Conducto&r", "Change the Conductors list\nConductors list", "Conductors list",
             "music_conductors", "conductor"),
        list(32798, "C&ountry", "Change the Countries list\nCountries list", "Countries list",
             "countries", "country"),
        list(32802, "Eng&ineer", "Change the Engineers list\nEngineers list", "Engineers list",
             "music_engineers", "engineer"),
        list(32789, "&Genre", "Change the Genre list\nGenre list", "Genre list", "music_categories",
             "cat"),
        list(32799, "La&bel", "Change the Labels list\nLabels list", "Labels list", "music_labels",
             "label"),
        list(32797, "La&nguage", "Change the Languages list\nLanguages list", "Languages list",
             "languages", "language"),
        list(32795, "&Location", "Change the Locations list\nLocations list", "Locations list",
             "music_locations", "location"),
        list(32791, "&Media Type", "Change the Media Type list\nMedia Type list", "Media Type list",
             "music_types", "type"),
        list(32793, "On Loan &To", "Change the Persons list\nPersons list", "Persons list",
             "persons", "person"),
        list(32804, "Orc&hestra", "Change the Orchestra list\nOrhcestra list", "Orchestras list",
             "music_orchestras", "orchestra"),
        list(32801, "Produc&er", "Change the Producers list\nProducers list", "Producers list",
             "music_producers", "producer"),
        list(32794, "P&urchased From", "Change the Purchased From list\nPurchased From list",
             "Purchased From list", "purchasedfrom", "purchasedfrom"),
        list(32800, "Stu&dio", "Change the Studios list\nStudios list", "Studios list",
             "music_studios", "studio"),
        list(32792, "&Subcategory", "Change the Subcategories list\nSubcategories list",
             "Subcategories list", "music_subcategories", "subcat"),
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
