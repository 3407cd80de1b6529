#include "app/DesktopPostDialogs.h"

#include "app/WebEngineStart.h"
#include "editors/AlbumEditorDialog.h"
#include "find/FindDialog.h"
#include "print/PrintListDialog.h"

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

bool DesktopPostDialogs::find(CVastryDoc& document, QString* condition, QWidget* parent)
{
    FindDialog dialog(document, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *condition = dialog.condition();
    return true;
}

void DesktopPostDialogs::printList(CVastryDoc& document, int mode, QWidget* parent)
{
    if (!WebEngineStart::usableFor(QStringLiteral("The list"), parent))
        return;
    PrintListDialog dialog(document, mode, parent);
    dialog.exec();
}
