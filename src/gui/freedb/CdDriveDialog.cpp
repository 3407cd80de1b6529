#include "freedb/CdDriveDialog.h"

#include "app/AppSettings.h"
#include "app/SettingsTable.h"
#include "ui/DialogFont.h"
#include "ui/FileDialog.h"
#include "ui/FlatButton.h"
#include "ui/MessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace
{

// The order of a sorted drop-down list: case does not count.
QStringList sortedDrives(QStringList drives)
{
    std::stable_sort(drives.begin(), drives.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return drives;
}

} // namespace

CdDriveDialog::CdDriveDialog(AppSettings& settings, const QStringList& drives, QWidget* parent)
    : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("CdDriveDialog"));
    setWindowTitle(QStringLiteral("CD-ROM drive"));

    auto* group = new QGroupBox(QStringLiteral("&Select CD-ROM drive"), this);
    auto* explanation = new QLabel(
        QStringLiteral("To retrieve the information from the freeDB database, select the CD-ROM "
                       "drive in which the CD is inserted. To always use the same drive, check "
                       "the box below and the selected drive will be remembered."),
        group);
    explanation->setWordWrap(true);
    m_driveBox = new QComboBox(group);
    m_driveBox->setEditable(true);
    m_driveBox->setInsertPolicy(QComboBox::NoInsert);
    m_driveBox->addItems(sortedDrives(drives));
    auto* driveLabel = new QLabel(QStringLiteral("C&D-ROM drive:"), group);
    driveLabel->setBuddy(m_driveBox);
    m_image = new QPushButton(QStringLiteral("Disc &image..."), group);
    connect(m_image, &QPushButton::clicked, this, &CdDriveDialog::chooseDiscImage);
    m_always = new QCheckBox(QStringLiteral("&Always use this CD-ROM drive"), group);
    m_always->setChecked(true);

    auto* grid = new QGridLayout(group);
    grid->addWidget(explanation, 0, 0, 1, 3);
    grid->addWidget(driveLabel, 1, 0);
    grid->addWidget(m_driveBox, 1, 1);
    grid->addWidget(m_image, 1, 2);
    grid->addWidget(m_always, 2, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    m_ok->setDefault(true);
    for (QPushButton* button : {m_ok, cancel, m_image})
        MakeButtonFlat(this, button);
    connect(buttons, &QDialogButtonBox::accepted, this, &CdDriveDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CdDriveDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    DialogFont::apply(this);
    resize(420, sizeHint().height());
    selectDrive(m_settings.read(SettingsTable::FreedbDrive));
    // Without a drive, a disc image is the only thing to choose.
    if (drives.isEmpty())
        m_image->setFocus();
}

bool CdDriveDialog::offerDiscImage(QWidget* parent)
{
    return MessageBox::offer(parent, QStringLiteral("ERROR"),
                             QStringLiteral("No available CD-ROM."), QMessageBox::Critical,
                             QStringLiteral("Choose a Disc &Image..."));
}

// A remembered drive or image comes first; otherwise the first drive in the list.
void CdDriveDialog::selectDrive(const QString& drive)
{
    if (drive.isEmpty()) {
        m_driveBox->setCurrentIndex(m_driveBox->count() > 0 ? 0 : -1);
        return;
    }
    const int listed = m_driveBox->findText(drive);
    if (listed >= 0)
        m_driveBox->setCurrentIndex(listed);
    else
        m_driveBox->setEditText(drive); // an image, or a drive not attached now
}

void CdDriveDialog::chooseDiscImage()
{
    const QString image =
        FileDialog::openExistingFile(this, QLatin1String(FileDialog::DiscImageFilter));
    if (image.isEmpty())
        return;
    m_driveBox->setEditText(image);
    m_driveBox->setFocus();
}

void CdDriveDialog::accept()
{
    m_drive = m_driveBox->currentText().trimmed();
    if (m_always->isChecked())
        m_settings.write(SettingsTable::FreedbDrive, m_drive);
    else
        m_settings.write(SettingsTable::FreedbDrive, QString()); // a null text deletes the value
    QDialog::accept();
}
