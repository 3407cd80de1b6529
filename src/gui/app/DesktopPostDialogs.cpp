#include "app/DesktopPostDialogs.h"

#include "app/CommandIds.h"

bool DesktopPostDialogs::offers(int commandId) const
{
    switch (commandId) {
    case CommandIds::NewPost:
    case CommandIds::EditPost:
        return false; // the album editor
    case CommandIds::Find:
        return false;
    case CommandIds::PrintAllAlbums:
    case CommandIds::ExportHtml:
        return false; // the print and export dialog
    default:
        return false;
    }
}

bool DesktopPostDialogs::editAlbum(CVastryDoc&, int, int, QWidget*)
{
    return false;
}

bool DesktopPostDialogs::find(CVastryDoc&, QString*, QWidget*)
{
    return false;
}

void DesktopPostDialogs::printList(CVastryDoc&, int, QWidget*) {}
