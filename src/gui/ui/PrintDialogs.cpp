#include "ui/PrintDialogs.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <optional>

namespace
{

std::optional<QString> nextPrintTarget;
std::optional<QString> nextPreviewTarget;
int shown = 0;

std::optional<QString> take(std::optional<QString>& answer)
{
    ++shown;
    std::optional<QString> taken;
    taken.swap(answer);
    return taken;
}

void printIntoPdf(QPrinter* printer, const QString& pdfFile)
{
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdfFile);
}

} // namespace

bool PrintDialogs::choosePrinter(QPrinter* printer, QWidget* parent)
{
    if (const std::optional<QString> target = take(nextPrintTarget)) {
        if (target->isEmpty())
            return false;
        printIntoPdf(printer, *target);
        return true;
    }
    QPrintDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void PrintDialogs::preview(QPrinter* printer, QWidget* parent,
                           const std::function<void(QPrinter*)>& paint)
{
    if (const std::optional<QString> target = take(nextPreviewTarget)) {
        printIntoPdf(printer, *target);
        paint(printer);
        return;
    }
    QPrintPreviewDialog dialog(printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, paint);
    dialog.exec();
}

void PrintDialogs::setNextPrintTarget(const QString& pdfFile)
{
    nextPrintTarget = pdfFile;
}

void PrintDialogs::setNextPreviewTarget(const QString& pdfFile)
{
    nextPreviewTarget = pdfFile;
}

int PrintDialogs::shownCount()
{
    return shown;
}
