#pragma once

#include "db/LookupList.h"

#include <QDialog>

class CVastryDoc;
class LookupListCtrl;
class LookupListModel;
class LookupValueDialog;
class QPushButton;

// The editor of one name list: every entry that is not deleted with the number of albums that
// use it, and commands to add, rename and delete entries.
class LookupListDialog : public QDialog
{
    Q_OBJECT

public:
    LookupListDialog(CVastryDoc& document, const LookupList& list, QWidget* parent);

    LookupListCtrl* list() const { return m_list; }
    LookupListModel* model() const { return m_model; }

private:
    void createButtons();
    void layOut();
    void refill();
    void addEntry();
    void editEntry();
    void deleteEntry();
    bool runValueDialog(LookupValueDialog& dialog);
    void backUpOnce();

    CVastryDoc& m_document;
    LookupList m_lookup;
    LookupListModel* m_model = nullptr;
    LookupListCtrl* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_close = nullptr;
    bool m_backedUp = false;
};
