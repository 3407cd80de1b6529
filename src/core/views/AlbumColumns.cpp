#include "views/AlbumColumns.h"

#include "app/AppSettings.h"

#include <algorithm>

namespace
{

AlbumColumns::Column column(const char* caption, const char* field, int bit, int shown, int index)
{
    AlbumColumns::Column c;
    c.caption = QString::fromUtf8(caption);
    c.field = QString::fromLatin1(field);
    c.flag = ColumnFlag::fromBit(bit);
    c.shown = shown;
    c.order = index;
    c.commandId = 33000 + index;
    return c;
}

} // namespace

ColumnFlag ColumnFlag::fromBit(int bit)
{
    ColumnFlag flag;
    if (bit < 32)
        flag.low = std::uint32_t(1) << bit;
    else
        flag.high = std::uint32_t(1) << (bit - 32);
    return flag;
}

ColumnInfo AlbumColumns::Column::info() const
{
    ColumnInfo info;
    info.flag = flag.value();
    info.caption = caption;
    info.field = field;
    info.width = width;
    info.shown = shown;
    info.order = order;
    return info;
}

const QVector<AlbumColumns::Column>& AlbumColumns::defaults()
{
    static const QVector<Column> table = [] {
        struct Row {
            const char* caption;
            const char* field;
            int bit;
            int shown;
        };
        const Row rows[ColumnCount] = {
            {"Artist", "artist_name", 2, 1},
            {"Title", "title", 3, 1},
            {"Number", "number", 1, 0},
            {"Media Type", "type_name", 4, 0},
            {"Record Year", "year", 5, 1},
            {"Length", "length", 16, 0},
            {"Genre", "cat_name", 6, 0},
            {"Sub Category", "subcat_name", 7, 0},
            {"Current Value", "value", 8, 0},
            {"On Loan To", "person_name", 9, 0},
            {"Purchased From", "purchasedfrom_name", 10, 0},
            {"Purchase Date", "purchasedate", 11, 0},
            {"Front Image", "frontimage", 12, 0},
            {"Back Image", "backimage", 13, 0},
            {"Notes", "notes", 15, 0},
            {"Loan Date", "loandate", 17, 0},
            {"Return Date", "returndate", 18, 0},
            {"Location", "location_name", 19, 0},
            {"Grade", "grade", 20, 0},
            {"In Collection", "incollection", 21, 0},
            {"Condition", "condition_name", 22, 0},
            {"Purchase Price", "purchaseprice", 23, 0},
            {"Language", "language_name", 24, 0},
            {"Country", "country_name", 25, 0},
            {"Url", "url", 26, 0},
            {"Label", "label_name", 27, 0},
            {"Label Number", "labelnumber", 28, 0},
            {"Studio", "studio_name", 29, 0},
            {"Producer", "producer_name", 30, 0},
            {"Ad", "ad", 31, 0},
            {"Engineer", "engineer_name", 32, 0},
            {"Record Date", "recordingdate", 33, 0},
            {"Tourname", "tourname", 34, 0},
            {"Conductor", "conductor_name", 35, 0},
            {"Orchestra", "orchestra_name", 36, 0},
            {"FreeDB ID", "freedbid", 37, 0},
        };
        QVector<Column> columns;
        for (int i = 0; i < ColumnCount; ++i)
            columns.append(column(rows[i].caption, rows[i].field, rows[i].bit, rows[i].shown, i));
        return columns;
    }();
    return table;
}

void AlbumColumns::load(const AppSettings& settings)
{
    m_columns = defaults();
    for (int i = 0; i < m_columns.size(); ++i) {
        Column& c = m_columns[i];
        c.order = settings.columnOrder(c.caption, i);
        const int width = settings.columnWidth(c.caption);
        c.width = width < 0 || width > MaxWidth ? 100 : width;
        c.shown = settings.columnShown(c.caption) ? 1 : 0;
    }
}

void AlbumColumns::save(AppSettings& settings) const
{
    for (const Column& c : m_columns)
        settings.writeColumnState(c.caption, c.order, c.shown != 0, c.width);
}

QVector<ColumnInfo> AlbumColumns::shownColumns() const
{
    QVector<ColumnInfo> shown;
    for (const Column& c : m_columns)
        if (c.shown)
            shown.append(c.info());
    return shown;
}

QVector<ColumnInfo> AlbumColumns::shownInDisplayOrder() const
{
    QVector<ColumnInfo> shown = shownColumns();
    std::stable_sort(shown.begin(), shown.end(),
                     [](const ColumnInfo& a, const ColumnInfo& b) { return a.order < b.order; });
    return shown;
}

int AlbumColumns::indexOfCommand(int commandId) const
{
    const auto found =
        std::find_if(m_columns.begin(), m_columns.end(),
                     [commandId](const Column& c) { return c.commandId == commandId; });
    return found == m_columns.end() ? -1 : int(found - m_columns.begin());
}

int AlbumColumns::indexOfFlag(std::uint64_t flag) const
{
    const auto found = std::find_if(m_columns.begin(), m_columns.end(),
                                    [flag](const Column& c) { return c.flag.value() == flag; });
    return found == m_columns.end() ? -1 : int(found - m_columns.begin());
}

int AlbumColumns::indexOfCaption(const QString& caption) const
{
    const auto found = std::find_if(m_columns.begin(), m_columns.end(),
                                    [&caption](const Column& c) { return c.caption == caption; });
    return found == m_columns.end() ? -1 : int(found - m_columns.begin());
}
