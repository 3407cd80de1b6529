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

    bool ReadRow(Recordset* recordset, TrackRecord* record);
    bool FillTrackList(Database* database, int albumId, TrackList* list);
    bool LoadForPage(Database* database, int albumId, QVector<TrackRecord>* tracks);
    // The track id argument, not the record's own, decides between adding and updating.
    int Save(Database* database, TrackRecord record, int trackId);
    bool Delete(Database* database, int trackId, bool hard);

private:
    bool OpenAlbumTracks(RecordsetHandle* recordset, Database* database, int albumId);

    QString m_baseSelect;
};
