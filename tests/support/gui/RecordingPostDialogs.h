#pragma once

#include "views/PostDialogs.h"

#include <QStringList>
#include <functional>

// Stands in for the album list's dialogs: offers every command and records
// each call in `calls` ("editAlbum 3", "editAlbum -1", "find", "printList 1"). The editor's work is
// `duringEditAlbum` (its result is the editor's); find answers `findCondition`.
class RecordingPostDialogs : public PostDialogs
{
public:
    bool editAlbum(CVastryDoc& document, int treeSelectionType, int* albumId,
                   QWidget* parent) override;
    bool find(CVastryDoc& document, QString* condition, QWidget* parent) override;
    void printList(CVastryDoc& document, int mode, QWidget* parent) override;

    QStringList calls;
    std::function<bool(CVastryDoc&, int albumId)> duringEditAlbum;
    QString findCondition;
};
