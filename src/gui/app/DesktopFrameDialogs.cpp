#include "app/DesktopFrameDialogs.h"

#include "app/WebEngineStart.h"
#include "db/LookupList.h"
#include "db/LookupListDialog.h"
#include "db/RestoreBackupDialog.h"
#include "freedb/CdDriveDialog.h"
#include "io/ImportWithProgress.h"
#include "musicbrainz/CompleteWithProgress.h"
#include "ui/AboutDialog.h"
#include "ui/HelpWindow.h"
#include "ui/TipOfTheDayDialog.h"

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

bool DesktopFrameDialogs::completeAlbums(CVastryDoc& document, int selectedAlbumId, QWidget* parent)
{
    return CompleteWithProgress::run(document, selectedAlbumId, parent);
}

bool DesktopFrameDialogs::restoreFromBackup(CVastryDoc& document, QWidget* parent)
{
    RestoreBackupDialog dialog(document, parent);
    return dialog.exec() == QDialog::Accepted;
}
