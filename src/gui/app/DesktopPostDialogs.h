#pragma once

#include "views/PostDialogs.h"

// The program's own dialogs behind the album list's commands. A command is offered once its
// dialog is part of the program.
class DesktopPostDialogs : public PostDialogs
{
public:
    bool editAlbum(CVastryDoc& document, int treeSelectionType, int* albumId,
                   QWidget* parent) override;
    bool find(CVastryDoc& document, QString* condition, QWidget* parent) override;
    void printList(CVastryDoc& document, int mode, QWidget* parent) override;
};
