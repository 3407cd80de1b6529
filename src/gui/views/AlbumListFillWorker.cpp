#include "views/AlbumListFillWorker.h"

#include "db/AlbumTable.h"
#include "db/RowTable.h"

namespace
{

class CollectedRows : public RowTable
{
public:
    explicit CollectedRows(QStringList fields) : m_fields(std::move(fields)) {}
    void removeAllRows() override { rows.clear(); }
    QStringList headerFields() const override { return m_fields; }
    void appendRow(const QStringList& cells, int id) override { rows.emplace_back(cells, id); }

    std::vector<AlbumListModel::Row> rows;

private:
    QStringList m_fields;
};

} // namespace

void AlbumListFillControl::setLatest(int number)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_latest = number;
}

bool AlbumListFillControl::isLatest(int number) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return number == m_latest;
}

void AlbumListFillControl::setReading(Database* database)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_reading = database;
}

void AlbumListFillControl::interruptReading()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_reading)
        m_reading->interrupt();
}

AlbumListFillWorker::AlbumListFillWorker(std::shared_ptr<AlbumListFillControl> control)
    : m_control(std::move(control))
{
}

void AlbumListFillWorker::fill(const AlbumListRequest& request)
{
    auto result = std::make_shared<AlbumListRows>();
    result->number = request.number;
    if (!m_control->isLatest(request.number)) {
        emit filled(result);
        return;
    }
    // Nothing is reported from here: a fill that fails is done again on the interface thread,
    // which tells the user why as it always has.
    AlbumTable albums;
    albums.setQuiet(true);
    DatabaseHandle database;
    // A connection of its own each time: the file may have been replaced (a new catalogue over
    // the open one, a restore) since the last fill.
    if (albums.OpenDatabase(&database, request.path, request.connect)) {
        m_control->setReading(database.get());
        // Replaced while the file opened: the interrupt found no connection to stop.
        if (!m_control->isLatest(request.number))
            database->interrupt();
        CollectedRows rows(request.fields);
        const bool filled =
            albums.FillList(database.get(), &rows, request.sortText, false, request.condition);
        result->total = int(albums.countListed(database.get(), request.totalCondition));
        m_control->setReading(nullptr);
        result->ok = filled && result->total >= 0 && !albums.quietError().isSet();
        result->rows = std::move(rows.rows);
    }
    albums.CloseDatabase(&database);
    emit filled(result);
}
