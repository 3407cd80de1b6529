#pragma once

#include "views/AlbumListModel.h"

#include <QObject>
#include <QStringList>
#include <memory>
#include <mutex>

class Database;

// What one fill of the album list asks for.
struct AlbumListRequest {
    int number = 0;
    QString path;
    QString connect;
    QStringList fields;
    QString sortText;
    QString condition;
    QString totalCondition; // of the albums the total counts: the collection view
};

// What it brought: the rows, and the albums of the whole view. Not `ok` when it failed or
// was interrupted; the rows are then incomplete.
struct AlbumListRows {
    int number = 0;
    std::vector<AlbumListModel::Row> rows;
    int total = -1;
    bool ok = false;
};

// The fill a newer one replaces: the interface thread interrupts the connection the worker is
// reading through. The lock keeps the connection open while it is interrupted.
class AlbumListFillControl
{
public:
    void setLatest(int number);
    bool isLatest(int number) const;
    // The worker's connection while it reads; nullptr once done.
    void setReading(Database* database);
    void interruptReading();

private:
    mutable std::mutex m_lock;
    int m_latest = 0;
    Database* m_reading = nullptr;
};

// Fills the album list on a thread of its own, over a connection of its own to the catalogue.
class AlbumListFillWorker : public QObject
{
    Q_OBJECT

public:
    explicit AlbumListFillWorker(std::shared_ptr<AlbumListFillControl> control);

public slots:
    // Answers with `filled`; a request already replaced by a newer one is skipped.
    void fill(const AlbumListRequest& request);

signals:
    void filled(const std::shared_ptr<AlbumListRows>& result);

private:
    std::shared_ptr<AlbumListFillControl> m_control;
};

Q_DECLARE_METATYPE(AlbumListRequest)
Q_DECLARE_METATYPE(std::shared_ptr<AlbumListRows>)
