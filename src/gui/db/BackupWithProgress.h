#pragma once

#include "db/CatalogBackup.h"

#include <functional>

class CVastryDoc;
class QWidget;

// Backups and restores of the open catalogue from the desktop program. The copy runs on a
// worker thread with a connection of its own, so the window keeps painting; a progress dialog
// appears when it takes longer than a second.
class BackupWithProgress
{
public:
    static constexpr const char* Caption = "Backup";

    // The backup before a change that may lose data. False when it failed; that is said once
    // per catalogue and session, and the change goes on regardless.
    static bool takeBefore(CVastryDoc& document, CatalogBackup::Reason reason, QWidget* parent);
    // The day's backup, before the first change of a day without one.
    static void takeDailyIfDue(CVastryDoc& document, QWidget* parent);
    // Replaces the open catalogue with a backup, after backing up its current state (when that
    // fails, the user decides), then opens the catalogue again. True when it was replaced.
    static bool restore(CVastryDoc& document, const QString& backupPath, QWidget* parent);

    // Runs `work` on a worker thread while the window's events go on (user input waits until
    // the progress dialog appears); Cancel asks `work` to stop through its progress callback.
    static bool runWithProgress(const QString& caption, const QString& label,
                                const std::function<bool(const CatalogCopy::Progress&)>& work,
                                QWidget* parent);
};
