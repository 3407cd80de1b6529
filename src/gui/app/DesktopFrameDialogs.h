#pragma once

#include "app/FrameDialogs.h"

// The program's own dialogs behind the frame's commands.
class DesktopFrameDialogs : public FrameDialogs
{
public:
    void editList(CVastryDoc& document, const LookupList& list, QWidget* parent) override;
    void chooseCdDrive(AppSettings& settings, const QStringList& drives, QWidget* parent) override;
    void showTipOfTheDay(AppSettings& settings, QWidget* parent) override;
    void showAbout(QWidget* parent) override;
    void showHelp(const QString& topic, QWidget* parent) override;
    bool importCollection(CVastryDoc& document, CollectionImport::Format format,
                          QWidget* parent) override;
    bool completeAlbums(CVastryDoc& document, int selectedAlbumId, QWidget* parent) override;
    bool restoreFromBackup(CVastryDoc& document, QWidget* parent) override;
};
