#pragma once

#include "db/CatalogTable.h"
#include "db/TrackList.h"
#include "db/TrackRecord.h"

#include <QVector>

// Reads, lists, saves and deletes the tracks of one album. Short-lived: made where needed.
class TrackTable : public CatalogTable
{
public:
    TrackTable();
    ~TrackTable() override;

    const QString& baseSelect() const { return m_baseSelect; }

    bool readRow(Recordset* recordset, TrackRecord* record);
    bool fillTrackList(Database* database, int albumId, TrackList* list);
    bool loadForPage(Database* database, int albumId, QVector<TrackRecord>* tracks);
    // The track id argument, not the record's own, decides between adding and updating.
    int Save(Database* database, TrackRecord record, int trackId);
    bool Delete(Database* database, int trackId, bool hard);

    // The two labels of a track's row in the Tracks page: "01", and the title followed by the
    // length in parentheses when there is one.
    static QString listNumber(const TrackRecord& record);
    static QString listText(const TrackRecord& record);

private:
    bool openAlbumTracks(RecordsetHandle* recordset, Database* database, int albumId);
    bool readNameIds(Database* database, TrackRecord* record);

    QString m_baseSelect;
};
