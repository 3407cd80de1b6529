#pragma once

#include "app/FrameDialogs.h"

#include <functional>

// Stands in for the frame's dialogs: offers every command, records each call
// in `calls`
// ("editList music_artists", "chooseCdDrive /dev/sr0", "showHelp <topic>", ...) and runs
// `duringEditList`, if set, as the user's work inside the list editor.
class RecordingFrameDialogs : public FrameDialogs
{
public:
    void editList(CVastryDoc& document, const LookupList& list, QWidget* parent) override;
    void chooseCdDrive(AppSettings&, const QStringList& drives, QWidget* parent) override;
    void showTipOfTheDay(AppSettings&, QWidget* parent) override;
    void showAbout(QWidget* parent) override;
    void showHelp(const QString& topic, QWidget* parent) override;
    bool importCollection(CVastryDoc& document, CollectionImport::Format format,
                          QWidget* parent) override;
    bool completeAlbums(CVastryDoc& document, int selectedAlbumId, QWidget* parent) override;
    bool restoreFromBackup(CVastryDoc& document, QWidget* parent) override;

    QStringList calls;
    QList<QWidget*> parents;
    std::function<void(CVastryDoc&, const LookupList&)> duringEditList;
};
