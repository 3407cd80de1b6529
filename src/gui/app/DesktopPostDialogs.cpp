#include "app/DesktopPostDialogs.h"

#include "app/CommandIds.h"
#include "find/FindDialog.h"
#include "print/PrintListDialog.h"

bool DesktopPostDialogs::offers(int commandId) const
{
    switch (commandId) {
    case CommandIds::NewPost:
    case CommandIds::EditPost:
        return false; // the album editor
    case CommandIds::Find:
        return true;
    case CommandIds::PrintAllAlbums:
    case CommandIds::ExportHtml:
        return true;
    default:
        return false;
    }
}

bool DesktopPostDialogs::editAlbum(CVastryDoc&, int, int, QWidget*)
{
    return false;
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
    PrintListDialog dialog(document, mode, parent);
    dialog.exec();
}
