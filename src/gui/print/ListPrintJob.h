#pragma once

#include <QString>

class ListRowReader;
class ListTablePainter;
class QPrinter;
class QWidget;

// One print of the whole album list, behind a progress dialog with Cancel that keeps the window
// painting. Into a PDF file, the pages go to a temporary file beside it, which takes the file's
// name only once the print is complete: a cancelled or failed print leaves the chosen file as
// it was.
class ListPrintJob
{
public:
    // Paints `rows` onto `printer` as the user set it up. `intoFile`: the printer's output file
    // is the user's choice of file (a preview paints into its own pages instead). `catalogue`
    // is never printed over. False when no complete print came out: cancelled, or failed
    // after saying why.
    static bool run(QPrinter* printer, ListTablePainter* table, ListRowReader* rows, bool intoFile,
                    const QString& catalogue, QWidget* parent);

private:
    static bool paint(QPrinter* printer, ListTablePainter* table, ListRowReader* rows,
                      QWidget* parent);
    static bool paintIntoFile(QPrinter* printer, ListTablePainter* table, ListRowReader* rows,
                              const QString& catalogue, QWidget* parent);
    static void reportFailure(QWidget* parent, const QString& reason);
};
