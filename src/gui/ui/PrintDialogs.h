#pragma once

#include <QPageLayout>
#include <QString>
#include <functional>

class QPrinter;
class QWidget;

// Every print and print-preview dialog of the program goes through here, so a test can answer
// the next one (printing into a PDF file) without a printer or a window in the way.
class PrintDialogs
{
public:
    // Lets the user choose and set up `printer`; true when they chose to print.
    static bool choosePrinter(QPrinter* printer, QWidget* parent);
    // Shows the preview of what `paint` renders onto the printer it is handed.
    static void preview(QPrinter* printer, QWidget* parent,
                        const std::function<void(QPrinter*)>& paint);
    // Lets the user set up the pages of `printer`; true when they took the new setup.
    static bool pageSetup(QPrinter* printer, QWidget* parent);

    // The next print dialog is not shown: with an empty `pdfFile` it is cancelled, otherwise
    // the user chose to print into that PDF file.
    static void setNextPrintTarget(const QString& pdfFile);
    // The next preview is not shown: its pages are rendered into `pdfFile` at once.
    static void setNextPreviewTarget(const QString& pdfFile);
    // The next page setup dialog is not shown: the printer takes `layout` (an invalid layout
    // stands for Cancel).
    static void setNextPageLayout(const QPageLayout& layout);
    // Counts the dialogs asked for, shown or answered.
    static int shownCount();
};
