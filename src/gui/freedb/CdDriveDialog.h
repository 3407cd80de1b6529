#pragma once

#include <QDialog>
#include <QStringList>

class AppSettings;
class QCheckBox;
class QComboBox;
class QPushButton;

// Asks which CD-ROM drive holds the disc to look up, and whether to use it every time (then it
// is remembered in the settings; otherwise a remembered drive is forgotten). The drive box is
// editable and "Disc image..." picks a file, so a rip catalogues like a disc; the dialog opens
// on the remembered drive or image.
class CdDriveDialog : public QDialog
{
    Q_OBJECT

public:
    CdDriveDialog(AppSettings& settings, const QStringList& drives, QWidget* parent = nullptr);

    // Says that the machine has no CD-ROM drive and offers a disc image instead; true when the
    // user would choose one (then this dialog, with no drives, is the place to do it).
    static bool offerDiscImage(QWidget* parent);

    // The drive (or disc image) chosen with OK.
    QString drive() const { return m_drive; }

    QComboBox* driveBox() const { return m_driveBox; }
    QCheckBox* alwaysBox() const { return m_always; }
    QPushButton* imageButton() const { return m_image; }
    QPushButton* okButton() const { return m_ok; }

    void accept() override;

private:
    void selectDrive(const QString& drive);
    void chooseDiscImage();

    AppSettings& m_settings;
    QString m_drive;
    QComboBox* m_driveBox = nullptr;
    QCheckBox* m_always = nullptr;
    QPushButton* m_image = nullptr;
    QPushButton* m_ok = nullptr;
};
