#include "print/ListPrintJob.h"

#include "print/ListRowReader.h"
#include "print/ListTablePainter.h"
#include "ui/DialogFont.h"
#include "ui/MessageBox.h"
#include "views/OutputTarget.h"

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QProgressDialog>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace
{

// The bar counts thousandths of the list, whatever its length.
constexpr int ProgressSteps = 1000;
// A short list is printed before the dialog would be worth showing.
constexpr int ShowAfterMs = 400;

QFileDevice::Permissions permissionsFor(const QString& path)
{
    if (QFile::exists(path))
        return QFile::permissions(path);
    // What a new file gets under the usual mask; the temporary file starts private.
    return QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
           QFileDevice::ReadOther;
}

} // namespace

bool ListPrintJob::run(QPrinter* printer, ListTablePainter* table, ListRowReader* rows,
                       bool intoFile, const QString& catalogue, QWidget* parent)
{
    if (!rows->open())
        return false;
    const bool toPdfFile = intoFile && printer->outputFormat() == QPrinter::PdfFormat &&
                           !printer->outputFileName().isEmpty();
    if (toPdfFile)
        return paintIntoFile(printer, table, rows, catalogue, parent);
    return paint(printer, table, rows, parent);
}

bool ListPrintJob::paintIntoFile(QPrinter* printer, ListTablePainter* table, ListRowReader* rows,
                                 const QString& catalogue, QWidget* parent)
{
    const QString target = printer->outputFileName();
    const QString refused = OutputTarget::refusal(target, catalogue);
    if (!refused.isEmpty()) {
        reportFailure(parent, refused);
        return false;
    }
    QTemporaryFile pages(target + QStringLiteral(".XXXXXX.pdf"));
    if (!pages.open()) {
        reportFailure(parent, OutputTarget::cannotWrite(target, pages));
        return false;
    }
    pages.close();
    printer->setOutputFileName(pages.fileName());
    const bool painted = paint(printer, table, rows, parent);
    printer->setOutputFileName(target);
    if (!painted)
        return false;
    QFile::setPermissions(pages.fileName(), permissionsFor(target));
    // rename() replaces the file in one step, where QFile::rename refuses an existing one.
    if (std::rename(QFile::encodeName(pages.fileName()).constData(),
                    QFile::encodeName(target).constData()) != 0) {
        reportFailure(parent, QStringLiteral("cannot write '%1': %2")
                                  .arg(target, QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    }
    return true;
}

bool ListPrintJob::paint(QPrinter* printer, ListTablePainter* table, ListRowReader* rows,
                         QWidget* parent)
{
    const qint64 total = rows->count();
    // Over a preview, the preview is the window to keep in front.
    QWidget* owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : parent;
    QProgressDialog progress(QStringLiteral("Printing the album list..."), QStringLiteral("Cancel"),
                             0, total > 0 ? ProgressSteps : 0, owner);
    progress.setWindowTitle(QStringLiteral("Print List"));
    progress.setAccessibleName(QStringLiteral("Print List"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(ShowAfterMs);
    progress.setAutoReset(false);
    DialogFont::apply(&progress);
    // Escape and the window's close button only hide a progress dialog: they must cancel too.
    QObject::connect(&progress, &QProgressDialog::rejected, &progress, &QProgressDialog::cancel);

    const ListTablePainter::Outcome outcome =
        table->paint(printer, rows, [&progress, total](qint64 painted) {
            progress.setValue(total > 0 ? int(std::min(painted, total) * ProgressSteps / total)
                                        : 0);
            // Until the dialog shows, nothing stands between the user and the windows below
            // it: only what keeps them painting is handled.
            QCoreApplication::processEvents(
                progress.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
            return !progress.wasCanceled();
        });
    progress.close();
    if (outcome == ListTablePainter::Outcome::Failed)
        reportFailure(parent, QStringLiteral("the printer could not be used."));
    return outcome == ListTablePainter::Outcome::Printed;
}

void ListPrintJob::reportFailure(QWidget* parent, const QString& reason)
{
    MessageBox::show(parent, QStringLiteral("Tunvale"),
                     QStringLiteral("The list could not be printed: %1").arg(reason),
                     QMessageBox::Warning);
}
