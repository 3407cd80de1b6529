#include "app/DesktopFrameDialogs.h"

#include "app/CommandIds.h"
#include "db/LookupList.h"
#include "db/LookupListDialog.h"

bool DesktopFrameDialogs::offers(int commandId) const
{
    if (LookupList::byCommand(commandId))
        return true; // the list editor
    switch (commandId) {
    case CommandIds::CdRomDrives:
        return false;
    case CommandIds::TipOfTheDay:
        return false;
    case CommandIds::About:
        return false;
    case CommandIds::HelpContents:
        return false;
    default:
        return false;
    }
}

void DesktopFrameDialogs::editList(CVastryDoc& document, const LookupList& list, QWidget* parent)
{
    LookupListDialog dialog(document, list, parent);
    dialog.exec();
}

void DesktopFrameDialogs::chooseCdDrive(AppSettings&, const QStringList&, QWidget*) {}

void DesktopFrameDialogs::showTipOfTheDay(AppSettings&, QWidget*) {}

void DesktopFrameDialogs::showAbout(QWidget*) {}

void DesktopFrameDialogs::showHelp(const QString&, QWidget*) {}
