#pragma once

#include <QString>

class QWidget;

// Every file dialog of the program goes through here, so a test can name the file the next
// dialog returns (an empty name stands for Cancel).
class FileDialog
{
public:
    // An existing file to open; `presetName` fills the name box.
    static QString openFileName(QWidget* parent, const QString& presetName = QString());
    // A file to save to; an existing one is confirmed before it is overwritten.
    static QString saveFileName(QWidget* parent);
    // An HTML file to save a list document to; existing ones are confirmed likewise.
    static QString saveHtmlFileName(QWidget* parent);
    // A CSV file to export the album list to; existing ones are confirmed likewise.
    static QString saveCsvFileName(QWidget* parent);
    // A PNG file to save a chart to; existing ones are confirmed likewise.
    static QString savePngFileName(QWidget* parent);

    // A folder to publish a web site into: a new one, an empty one or one published before.
    static QString siteFolder(QWidget* parent);

    // An existing file of the kinds `filter` names ("Image Files (*.png *.jpg)").
    static QString openExistingFile(QWidget* parent, const QString& filter);

    static void setNextFileName(const QString& fileName);
    static bool hasNextFileName();
    // Counts dialogs asked for, so tests can check one was (or was not) shown.
    static int shownCount();

    static const char* const CatalogFilter;
    static const char* const HtmlFilter;
    static const char* const CsvFilter;
    static const char* const PngFilter;
    static const char* const ImageFilter;
    static const char* const AudioFilter;
    static const char* const DiscImageFilter;

private:
    static QString saveDocumentName(QWidget* parent, const QString& filter, const QString& suffix);
};
