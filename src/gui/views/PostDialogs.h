#pragma once

#include <QString>

class CVastryDoc;
class QWidget;

// The dialogs the album list opens: the album editor, the find dialog and the print/export
// dialog. The list works without them: their commands are then unavailable.
class PostDialogs
{
public:
    virtual ~PostDialogs() = default;
    // Edits album `*albumId` (-1: a new album); true when the user stored an album, whose id
    // is then in `*albumId` (the last one, when several were stored one after another).
    virtual bool editAlbum(CVastryDoc& document, int treeSelectionType, int* albumId,
                           QWidget* parent) = 0;
    // True with a condition in `condition` when the user asked to find.
    virtual bool find(CVastryDoc& document, QString* condition, QWidget* parent) = 0;
    // mode 0 exports the list, 1 prints it, 2 exports it as CSV.
    virtual void printList(CVastryDoc& document, int mode, QWidget* parent) = 0;
};
