#include "ui/PrintDialogs.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <optional>

namespace
{

std::optional<QString> nextPrintTarget;
std::optional<QString> nextPreviewTarget;
std::optional<QPageLayout> nextPageLayout;
int shown = 0;

template <class Answer> std::optional<Answer> take(std::optional<Answer>& answer)
{
    ++shown;
    std::optional<Answer> taken;
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

bool PrintDialogs::pageSetup(QPrinter* printer, QWidget* parent)
{
    if (const std::optional<QPageLayout> layout = take(nextPageLayout))
        return layout->isValid() && printer->setPageLayout(*layout);
    QPageSetupDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void PrintDialogs::setNextPageLayout(const QPageLayout& layout)
{
    nextPageLayout = layout;
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
