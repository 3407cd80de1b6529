#include "find/FilterField.h"

#include "db/LookupList.h"

namespace
{

struct Offer {
    const char* itemText;
    int bit;
    FilterField::Input input;
    FilterField::Value value;
    const char* lookupTable;
};

constexpr FilterField::Input DropDown = FilterField::Input::DropDown;
constexpr FilterField::Input Edit = FilterField::Input::Edit;
constexpr FilterField::Input CheckBox = FilterField::Input::CheckBox;
constexpr FilterField::Value Text = FilterField::Value::Text;
constexpr FilterField::Value Number = FilterField::Value::Number;

const Offer offers[] = {
    {"Artist", 2, DropDown, Text, "music_artists"},
    {"Title", 3, Edit, Text, nullptr},
    {"Number", 1, Edit, Number, nullptr},
    {"Media Type", 4, DropDown, Text, "music_types"},
    {"Year", 5, Edit, Number, nullptr},
    {"Genre", 6, DropDown, Text, "music_categories"},
    {"Subcategory", 7, DropDown, Text, "music_subcategories"},
    {"Value", 8, Edit, Number, nullptr},
    {"On Loan To", 9, DropDown, Text, "persons"},
    {"Purchased From", 10, DropDown, Text, "purchasedfrom"},
    {"Front Image", 12, Edit, Text, nullptr},
    {"Back Image", 13, Edit, Text, nullptr},
    {"Length", 16, Edit, Text, nullptr},
    {"Location", 19, DropDown, Text, "music_locations"},
    {"Grade", 20, Edit, Number, nullptr},
    {"In Collection", 21, CheckBox, FilterField::Value::Boolean, nullptr},
    {"Condition", 22, DropDown, Text, "conditions"},
    {"Purchase Price", 23, Edit, Number, nullptr},
    {"Language", 24, DropDown, Text, "languages"},
    {"Country", 25, DropDown, Text, "countries"},
    {"Url", 26, Edit, Text, nullptr},
    {"Label", 27, DropDown, Text, "music_labels"},
    {"Label Number", 28, Edit, Text, nullptr},
    {"Studio", 29, DropDown, Text, "music_studios"},
    {"Producer", 30, DropDown, Text, "music_producers"},
    {"Engineer", 32, DropDown, Text, "music_engineers"},
    {"Tourname", 34, Edit, Text, nullptr},
    {"Conductor", 35, DropDown, Text, "music_conductors"},
    {"Orchestra", 36, DropDown, Text, "music_orchestras"},
    {"FreeDB ID", 37, Edit, Text, nullptr},
    {"Barcode", 38, Edit, Text, nullptr},
};

} // namespace

QVector<FilterField> FilterField::offered(const AlbumColumns& columns)
{
    QVector<FilterField> fields;
    for (const Offer& offer : offers) {
        FilterField field;
        field.itemText = QString::fromLatin1(offer.itemText);
        field.flag = ColumnFlag::fromBit(offer.bit);
        field.input = offer.input;
        field.value = offer.value;
        if (offer.lookupTable)
            field.lookup = LookupList::find(QString::fromLatin1(offer.lookupTable));
        const int index = columns.indexOfFlag(field.flag.value());
        if (index >= 0) {
            field.caption = columns[index].caption;
            field.field = columns[index].field;
            field.width = columns[index].width;
        }
        fields.append(field);
    }
    return fields;
}
