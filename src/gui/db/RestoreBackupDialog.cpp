#include "db/RestoreBackupDialog.h"

#include "db/BackupWithProgress.h"
#include "db/Database.h"
#include "ui/DialogFont.h"
#include "ui/MessageBox.h"
#include "views/CVastryDoc.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace
{

QString albumsText(const BackupEntry& entry)
{
    return entry.isReadable() ? QString::number(entry.albums) : QStringLiteral("unreadable");
}

} // namespace

RestoreBackupDialog::RestoreBackupDialog(CVastryDoc& document, QWidget* parent)
    : QDialog(parent), m_document(document)
{
    setWindowTitle(QLatin1String(Caption));
    const QString catalog =
        document.database() ? QFileInfo(document.database()->name()).fileName() : QString();
    auto* label = new QLabel(QStringLiteral("&Backups of \"%1\":").arg(catalog), this);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("backups"));
    m_list->setAccessibleName(QStringLiteral("Backups"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setHeaderLabels(
        {QStringLiteral("Date"), QStringLiteral("Size"), QStringLiteral("Albums")});
    m_list->setMinimumSize(420, 220);
    label->setBuddy(m_list);

    auto* buttons = new QDialogButtonBox(this);
    m_restore = buttons->addButton(QStringLiteral("&Restore"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Close);
    connect(m_restore, &QPushButton::clicked, this, &RestoreBackupDialog::restoreSelected);
    connect(buttons, &QDialogButtonBox::rejected, this, &RestoreBackupDialog::reject);
    // Enter reaches the default button from the list; a double click is the mouse's way.
    m_restore->setDefault(true);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &RestoreBackupDialog::restoreSelected);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &RestoreBackupDialog::updateButtons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    DialogFont::apply(this);
    fill();
    m_list->setFocus();
}

void RestoreBackupDialog::fill()
{
    m_list->clear();
    Database* database = m_document.database();
    m_backups = database ? CatalogBackup::fromSettings(m_document.settings())
                               .list(database->name(), database->connectString())
                         : QVector<BackupEntry>();
    const QLocale locale;
    for (const BackupEntry& entry : qAsConst(m_backups)) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, locale.toString(entry.taken, QLocale::ShortFormat));
        item->setText(1, locale.formattedDataSize(entry.size));
        item->setText(2, albumsText(entry));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int column = 0; column < 3; ++column)
        m_list->resizeColumnToContents(column);
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
    updateButtons();
}

void RestoreBackupDialog::updateButtons()
{
    const int row = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    m_restore->setEnabled(row >= 0 && m_backups.value(row).isReadable());
}

void RestoreBackupDialog::restoreSelected()
{
    const int row = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    if (row < 0 || !m_backups.value(row).isReadable())
        return;
    const BackupEntry entry = m_backups.value(row);
    const QString question =
        QStringLiteral("Replace the catalogue with the backup of %1 (%2 albums)?\n\nIts current "
                       "state is backed up first.")
            .arg(QLocale().toString(entry.taken, QLocale::ShortFormat), albumsText(entry));
    const bool yes =
        MessageBox::question(this, QLatin1String(Caption), question) == QMessageBox::Yes;
    activateWindow();
    if (!yes)
        return;
    if (BackupWithProgress::restore(m_document, entry.path, this)) {
        accept();
        return;
    }
    fill();
}
