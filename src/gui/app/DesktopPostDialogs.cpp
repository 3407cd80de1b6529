#include "app/DesktopPostDialogs.h"

#include "app/CommandIds.h"
#include "editors/AlbumEditorDialog.h"

bool DesktopPostDialogs::offers(int commandId) const
{
    switch (commandId) {
    case CommandIds::NewPost:
    case CommandIds::EditPost:
        return true; // the album editor
    case CommandIds::Find:
        return false;
    case CommandIds::PrintAllAlbums:
    case CommandIds::ExportHtml:
        return false; // the print and export dialog
    default:
        return false;
    }
}

// Albums stored with "Save and New" before a final "Close" count as saved: the list must show
// them although the editor's own result is Cancel.
bool DesktopPostDialogs::editAlbum(CVastryDoc& document, int treeSelectionType, int* albumId,
                                   QWidget* parent)
{
    AlbumEditorDialog editor(document, *albumId, treeSelectionType, parent);
    const bool closedSaving = editor.exec() == QDialog::Accepted;
    if (!closedSaving && !editor.savedAny())
        return false;
    *albumId = editor.lastSavedAlbumId();
    return true;
}

bool DesktopPostDialogs::find(CVastryDoc&, QString*, QWidget*)
{
    return false;
}

void DesktopPostDialogs::printList(CVastryDoc&, int, QWidget*) {}
