#include "views/AlbumColumns.h"

#include "app/AppSettings.h"
#include "db/AlbumField.h"

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
        // Each column is headed by its field's caption.
        struct Row {
            const char* field;
            int bit;
            int shown;
        };
        const Row rows[ColumnCount] = {
            {"artist_name", 2, 1},
            {"title", 3, 1},
            {"number", 1, 0},
            {"type_name", 4, 0},
            {"year", 5, 1},
            {"length", 16, 0},
            {"cat_name", 6, 0},
            {"subcat_name", 7, 0},
            {"value", 8, 0},
            {"person_name", 9, 0},
            {"purchasedfrom_name", 10, 0},
            {"purchasedate", 11, 0},
            {"frontimage", 12, 0},
            {"backimage", 13, 0},
            {"notes", 15, 0},
            {"loandate", 17, 0},
            {"returndate", 18, 0},
            {"location_name", 19, 0},
            {"grade", 20, 0},
            {"incollection", 21, 0},
            {"condition_name", 22, 0},
            {"purchaseprice", 23, 0},
            {"language_name", 24, 0},
            {"country_name", 25, 0},
            {"url", 26, 0},
            {"label_name", 27, 0},
            {"labelnumber", 28, 0},
            {"studio_name", 29, 0},
            {"producer_name", 30, 0},
            {"ad", 31, 0},
            {"engineer_name", 32, 0},
            {"recordingdate", 33, 0},
            {"tourname", 34, 0},
            {"conductor_name", 35, 0},
            {"orchestra_name", 36, 0},
            {"freedbid", 37, 0},
            {"barcode", 38, 0},
        };
        QVector<Column> columns;
        for (int i = 0; i < ColumnCount; ++i)
            columns.append(column(AlbumField::byQueryColumn(QLatin1String(rows[i].field))->caption,
                                  rows[i].field, rows[i].bit, rows[i].shown, i));
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
