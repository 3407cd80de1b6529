#pragma once

#include "app/FrameDialogs.h"

// The program's own dialogs behind the frame's commands. A command is offered once its dialog
// is part of the program.
class DesktopFrameDialogs : public FrameDialogs
{
public:
    bool offers(int commandId) const override;
    void editList(CVastryDoc& document, const LookupList& list, QWidget* parent) override;
    void chooseCdDrive(AppSettings& settings, const QStringList& drives, QWidget* parent) override;
    void showTipOfTheDay(AppSettings& settings, QWidget* parent) override;
    void showAbout(QWidget* parent) override;
    void showHelp(const QString& topic, QWidget* parent) override;
    bool importCollection(CVastryDoc& document, CollectionImport::Format format,
                          QWidget* parent) override;
};
