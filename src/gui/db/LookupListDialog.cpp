#include "db/LookupListDialog.h"

#include "db/BackupWithProgress.h"
#include "db/LookupListCtrl.h"
#include "db/LookupListModel.h"
#include "db/LookupValueDialog.h"
#include "ui/DialogFont.h"
#include "ui/FlatButton.h"
#include "ui/MessageBox.h"
#include "views/CVastryDoc.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

LookupListDialog::LookupListDialog(CVastryDoc& document, const LookupList& list, QWidget* parent)
    : QDialog(parent), m_document(document), m_lookup(list)
{
    setWindowTitle(list.caption);
    m_model = new LookupListModel(this);
    m_list = new LookupListCtrl(this);
    m_list->setAccessibleName(list.caption);
    m_list->setModel(m_model);
    m_list->applyListLook(document.settings());
    connect(m_list, &LookupListCtrl::addRequested, this, &LookupListDialog::addEntry);
    connect(m_list, &LookupListCtrl::editRequested, this, &LookupListDialog::editEntry);
    connect(m_list, &LookupListCtrl::deleteRequested, this, &LookupListDialog::deleteEntry);
    createButtons();
    layOut();
    DialogFont::apply(this);
    refill();
    m_list->selectRow(0);
    m_list->setFocus();
}

void LookupListDialog::createButtons()
{
    m_add = new QPushButton(QStringLiteral("&Add"), this);
    m_edit = new QPushButton(QStringLiteral("&Edit"), this);
    m_delete = new QPushButton(QStringLiteral("&Delete"), this);
    m_close = new QPushButton(QStringLiteral("&Close"), this);
    // Enter belongs to the list (it edits the entry); no button takes it over.
    for (QPushButton* button : {m_add, m_edit, m_delete, m_close}) {
        button->setAutoDefault(false);
        MakeButtonFlat(this, button);
    }
    connect(m_add, &QPushButton::clicked, this, &LookupListDialog::addEntry);
    connect(m_edit, &QPushButton::clicked, this, &LookupListDialog::editEntry);
    connect(m_delete, &QPushButton::clicked, this, &LookupListDialog::deleteEntry);
    connect(m_close, &QPushButton::clicked, this, &LookupListDialog::reject);
}

// A fixed size that shows the three columns whole beside the scroll bar; wider buttons widen
// the list with them.
void LookupListDialog::layOut()
{
    const int listWidth = LookupListModel::ColumnCount * LookupListCtrl::ColumnWidth +
                          m_list->verticalScrollBar()->sizeHint().width() +
                          2 * m_list->frameWidth();
    m_list->setMinimumSize(listWidth, 260);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_edit);
    buttons->addWidget(m_delete);
    buttons->addStretch();
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void LookupListDialog::refill()
{
    m_model->fill(m_document.albumTable(), m_document.database(), m_lookup);
}

void LookupListDialog::addEntry()
{
    LookupValueDialog value(m_document, m_lookup, -1, 0, this);
    if (!runValueDialog(value))
        return;
    refill();
    m_list->selectRow(m_model->rowOfNewest(value.value()));
}

void LookupListDialog::editEntry()
{
    const int row = m_list->selectedRow();
    if (row < 0)
        return;
    const int id = m_model->entryId(row);
    LookupValueDialog value(m_document, m_lookup, id, m_model->useCount(row), this);
    value.setBeforeRename([this] { backUpOnce(); });
    if (!runValueDialog(value))
        return;
    refill();
    m_list->selectRow(m_model->rowOfEntry(id));
}

// Not every desktop gives the keyboard back to the window a dialog or a question came from; the
// editor takes it, so Esc and the mnemonics keep working.
bool LookupListDialog::runValueDialog(LookupValueDialog& dialog)
{
    const bool accepted = dialog.exec() == QDialog::Accepted;
    activateWindow();
    return accepted;
}

// A rename or delete renames or unnames every album using the entry: the catalogue as it was
// before this editing session is kept (once, so a series of small edits does not push the
// older backups out of the folder).
void LookupListDialog::backUpOnce()
{
    if (m_backedUp)
        return;
    m_backedUp = true;
    BackupWithProgress::takeBefore(m_document, CatalogBackup::Reason::ListChange, this);
    activateWindow();
}

void LookupListDialog::deleteEntry()
{
    const int row = m_list->selectedRow();
    const QString name = m_model->entryName(row);
    if (row < 0 || name.isEmpty())
        return;
    const bool yes =
        MessageBox::question(this, QStringLiteral("Confirm deletion"),
                             QStringLiteral("Do you want to delete '%1'?").arg(name)) ==
        QMessageBox::Yes;
    activateWindow();
    if (!yes)
        return;
    backUpOnce();
    // Entries are only marked deleted: the albums that use one keep its id and its name.
    if (!m_document.albumTable().DeleteRowById(m_document.database(), m_model->entryId(row),
                                               m_lookup.table, m_lookup.idColumn,
                                               m_lookup.deletedColumn, false))
        return;
    m_model->removeEntry(row);
    m_list->selectRow(std::min(row, m_model->rowCount() - 1));
}
