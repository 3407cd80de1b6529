#pragma once

#include "db/CatalogBackup.h"

#include <QDialog>

class CVastryDoc;
class QPushButton;
class QTreeWidget;

// File > Restore from Backup: the backups of the open catalogue, newest first, with the date,
// size and number of albums read from each; Restore replaces the catalogue with the chosen
// one after a confirmation. Accepted once the catalogue was replaced.
class RestoreBackupDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* Caption = "Restore from Backup";

    RestoreBackupDialog(CVastryDoc& document, QWidget* parent);

    QTreeWidget* list() const { return m_list; }
    QPushButton* restoreButton() const { return m_restore; }

private:
    void fill();
    void restoreSelected();
    void updateButtons();

    CVastryDoc& m_document;
    QVector<BackupEntry> m_backups;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_restore = nullptr;
};
