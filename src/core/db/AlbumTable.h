#pragma once

#include "db/AlbumListSelect.h"
#include "db/ItemTable.h"
#include "db/TrackRecord.h"

#include <QVector>

class TransactionScope;

// The one object through which albums are read, listed, counted, saved, deleted, written as
// an HTML list and turned into the album page.
class AlbumTable : public ItemTable
{
public:
    AlbumTable();
    ~AlbumTable() override;

    // The album query for `database`: where the catalogue predates the table of album ids, one
    // whose ids read as none. Without a database, the query for a catalogue that has the table.
    const QString& baseSelect(Database* database) const;
    // The album query cut to what a list of `fields`, in that order and under that condition,
    // needs: the same rows in the same order as with baseSelect, read faster.
    QString listSelect(Database* database, const QStringList& fields, const QString& sortText,
                       const QString& condition);
    // The ids of the albums the list shows under `condition` (deleted ones never), as a query
    // to nest in one on `database`: a condition may name any column the list's joins bring in.
    QString listedIdsQuery(Database* database, const QString& condition) const;
    // The number of albums the list shows under `condition` (deleted ones never); -1 when the
    // catalogue cannot say.
    qint64 countListed(Database* database, const QString& condition);

    bool Load(Database* database, int id, AlbumRecord* record) override;
    bool FillList(Database* database, RowTable* list, const QString& sortText, bool deletedValue,
                  const QString& condition) override;
    bool Delete(Database* database, int id, bool hard) override;
    int Update(Database* database, int id, const AlbumRecord& record) override;
    int Add(Database* database, const AlbumRecord& record) override;
    int Save(Database* database, const AlbumRecord& record, int id) override;
    int Count(Database* database, bool deletedValue) override;
    // The albums not deleted, counted up to `limit` at most.
    int CountUpTo(Database* database, int limit);
    // Nothing calls it: the list export goes through WriteListTable.
    bool Export(Database* database, const QString& path, bool deletedValue,
                const QString& condition) override;
    QString WritePage(Database* database, int id, bool deletedValue) override;

    enum class PageResult { Written, NoAlbum, TracksUnreadable, WriteFailed };
    // The album page written to `device` rather than to the page folder: for callers that need
    // to know whether every byte of it was written.
    PageResult WritePageTo(Database* database, int id, bool deletedValue, QIODevice* device);
    bool WriteListTable(Database* database, const QVector<ColumnInfo>& columns, int gridLines,
                        const QString& path, const QString& sortText, bool deletedValue,
                        const QString& condition) override;
    // The list document cut to its first `rowLimit` rows, with a line giving the whole count
    // when there are more: for a preview, which need not lay out every row to show a screenful.
    bool writeListPreview(Database* database, const QVector<ColumnInfo>& columns, int gridLines,
                          const QString& path, const QString& sortText, bool deletedValue,
                          const QString& condition, int rowLimit);

    // Stores the album and then each of its tracks as one change: either all of it is stored
    // or none. Each track's id decides between adding and updating it. On success the tracks
    // carry the album id and their own ids, and the album id is returned; otherwise -1.
    int saveWithTracks(Database* database, const AlbumRecord& record, int id,
                       QVector<TrackRecord>* tracks);

    enum class AlbumState { Stored, Deleted, Unreadable };
    // Whether album `id` is still there to be saved into: Deleted when it was marked deleted or
    // removed (by another program, while an editor had it open).
    AlbumState albumState(Database* database, int id);

    // Money as the user typed it: leading blanks skipped, the longest leading decimal number
    // read, 0 when there is none.
    static double moneyValue(const QString& text);

private:
    int saveAlbumRow(Database* database, const AlbumRecord& record, int id);
    bool idsFollowed(Database* database, bool stored, TransactionScope* transaction);
    bool readNameIds(Database* database, int id, AlbumRecord* record);
    bool LoadPageAlbum(Database* database, int id, bool deletedValue, AlbumRecord* record);
    PageResult WritePageContent(Database* database, int id, const AlbumRecord& record,
                                QIODevice* device);

    QString m_baseSelect;
    QString m_selectWithoutIds;
    AlbumListSelect m_listSelect;
};
