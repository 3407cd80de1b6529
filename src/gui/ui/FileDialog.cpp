#include "ui/FileDialog.h"

#include <QFileDialog>

namespace
{

bool hasAnswer = false;
QString answer;
int shown = 0;

bool takeAnswer(QString* fileName)
{
    ++shown;
    if (!hasAnswer)
        return false;
    hasAnswer = false;
    *fileName = answer;
    return true;
}

QString withExtension(const QString& fileName)
{
    if (fileName.isEmpty() || fileName.contains(QLatin1Char('.')))
        return fileName;
    return fileName + QLatin1String(".muf");
}

} // namespace

const char* const FileDialog::CatalogFilter = "Music Catalog Files (*.muf)";
const char* const FileDialog::HtmlFilter = "HTML Files (*.html *.htm)";
const char* const FileDialog::CsvFilter = "CSV Files (*.csv);;All Files (*)";
const char* const FileDialog::PngFilter = "PNG Images (*.png);;All Files (*)";
const char* const FileDialog::ImageFilter = "Image Files (*.bmp *.gif *.jpg *.jpeg *.png)";
const char* const FileDialog::AudioFilter = "Audio Files (*.wav *.wave *.mp3 *.midi)";
const char* const FileDialog::DiscImageFilter =
    "Disc Images (*.cue *.toc *.nrg *.bin *.iso);;All Files (*)";

void FileDialog::setNextFileName(const QString& fileName)
{
    hasAnswer = true;
    answer = fileName;
}

bool FileDialog::hasNextFileName()
{
    return hasAnswer;
}

int FileDialog::shownCount()
{
    return shown;
}

QString FileDialog::openFileName(QWidget* parent, const QString& presetName)
{
    QString fileName;
    if (takeAnswer(&fileName))
        return fileName;
    QFileDialog dialog(parent, QString(), QString(), QLatin1String(CatalogFilter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("muf"));
    dialog.selectFile(presetName.isEmpty() ? QStringLiteral("*.muf") : presetName);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString FileDialog::saveFileName(QWidget* parent)
{
    QString fileName;
    if (takeAnswer(&fileName))
        return withExtension(fileName);
    QFileDialog dialog(parent, QString(), QString(), QLatin1String(CatalogFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("muf"));
    dialog.selectFile(QStringLiteral("*.muf"));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString FileDialog::saveHtmlFileName(QWidget* parent)
{
    return saveDocumentName(parent, QLatin1String(HtmlFilter), QStringLiteral("html"));
}

QString FileDialog::saveCsvFileName(QWidget* parent)
{
    return saveDocumentName(parent, QLatin1String(CsvFilter), QStringLiteral("csv"));
}

QString FileDialog::savePngFileName(QWidget* parent)
{
    return saveDocumentName(parent, QLatin1String(PngFilter), QStringLiteral("png"));
}

QString FileDialog::saveDocumentName(QWidget* parent, const QString& filter, const QString& suffix)
{
    QString fileName;
    if (takeAnswer(&fileName))
        return fileName;
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString FileDialog::openExistingFile(QWidget* parent, const QString& filter)
{
    QString fileName;
    if (takeAnswer(&fileName))
        return fileName;
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString FileDialog::siteFolder(QWidget* parent)
{
    QString folder;
    if (takeAnswer(&folder))
        return folder;
    QFileDialog dialog(parent, QStringLiteral("Folder for the Web Site"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}
