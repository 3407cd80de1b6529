#include "app/DesktopFrameDialogs.h"

#include "app/CommandIds.h"
#include "app/WebEngineStart.h"
#include "db/LookupList.h"
#include "db/LookupListDialog.h"
#include "freedb/CdDriveDialog.h"
#include "io/ImportWithProgress.h"
#include "ui/AboutDialog.h"
#include "ui/HelpWindow.h"
#include "ui/TipOfTheDayDialog.h"

bool DesktopFrameDialogs::offers(int commandId) const
{
    if (LookupList::byCommand(commandId))
        return true; // the list editor
    switch (commandId) {
    case CommandIds::CdRomDrives:
        return true;
    case CommandIds::TipOfTheDay:
        return true;
    case CommandIds::About:
        return true;
    case CommandIds::HelpContents:
        return true;
    case CommandIds::ImportDiscogs:
    case CommandIds::ImportCsv:
        return true;
    default:
        return false;
    }
}

void DesktopFrameDialogs::editList(CVastryDoc& document, const LookupList& list, QWidget* parent)
{
    LookupListDialog dialog(document, list, parent);
    dialog.exec();
}

// The dialog stores or forgets the drive itself; which one was chosen matters only to a lookup.
void DesktopFrameDialogs::chooseCdDrive(AppSettings& settings, const QStringList& drives,
                                        QWidget* parent)
{
    CdDriveDialog dialog(settings, drives, parent);
    dialog.exec();
}

void DesktopFrameDialogs::showTipOfTheDay(AppSettings& settings, QWidget* parent)
{
    TipOfTheDayDialog dialog(settings, parent);
    dialog.exec();
}

void DesktopFrameDialogs::showAbout(QWidget* parent)
{
    AboutDialog dialog(parent);
    dialog.exec();
}

void DesktopFrameDialogs::showHelp(const QString& topic, QWidget* parent)
{
    if (WebEngineStart::usableFor(QStringLiteral("The help"), parent))
        HelpWindow::showTopic(topic, parent);
}

bool DesktopFrameDialogs::importCollection(CVastryDoc& document, CollectionImport::Format format,
                                           QWidget* parent)
{
    return ImportWithProgress::run(document, format, parent);
}
