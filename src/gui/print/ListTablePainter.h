#pragma once

#include "db/ColumnInfo.h"

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>

class ListRowReader;
class QPainter;
class QPrinter;
class QTextLayout;

// Paints the album list onto printed pages as the list document shows it: its columns in their
// order, captions and widths, grid lines when asked for, and the cell texts, with the caption
// row at the top of every page. A table wider than the page is shrunk as a whole to the page's
// width, as a browser prints a wide page. Rows are read and laid out one at a time, so a list of
// any length prints in the same memory (a preview, though, keeps every page it is shown).
class ListTablePainter
{
public:
    enum class Outcome { Printed, Cancelled, Failed };

    ListTablePainter(const QVector<ColumnInfo>& columns, bool gridLines);
    ~ListTablePainter();

    // Paints every row `rows` gives onto `printer`, which must not be painted on yet.
    // `carryOn` is asked every few rows with the number of rows painted so far; when it answers
    // false the print stops there (Cancelled). Failed: the printer could not be painted on.
    Outcome paint(QPrinter* printer, ListRowReader* rows,
                  const std::function<bool(qint64)>& carryOn);

private:
    // A cell's text laid out in its column: a layout drawn once, or the glyphs of a text that
    // comes again and again (a genre, a year), laid out once and drawn each time.
    struct LaidText {
        std::unique_ptr<QTextLayout> layout;
        QList<QGlyphRun> glyphs;
        double height = 0;
    };
    using Row = std::vector<std::shared_ptr<const LaidText>>;
    // The texts of one column laid out so far, while they repeat often enough to be worth it.
    struct TextCache {
        QHash<QString, std::shared_ptr<const LaidText>> texts;
        int lookups = 0;
        int hits = 0;
        bool used = true;
    };

    void layOutColumns(QPrinter* printer);
    std::shared_ptr<const LaidText> layOut(const QString& text, const QFont& font, int column,
                                           QPrinter* printer) const;
    std::shared_ptr<const LaidText> layOutCell(const QString& text, int column, QPrinter* printer);
    Row layOutCaptions(QPrinter* printer) const;
    Row layOutRow(const QStringList& texts, QPrinter* printer);
    double heightOf(const Row& row) const;
    void paintRow(QPainter* painter, const Row& row, double top, bool caption) const;
    double startPage(QPainter* painter, QPrinter* printer);
    void finishPage(QPainter* painter, double bottom) const;

    QVector<ColumnInfo> m_columns;
    bool m_gridLines;
    QFont m_bodyFont;
    QFont m_captionFont;
    // Device pixels: where each column starts and how wide it is, with the page's height.
    QVector<double> m_lefts;
    QVector<double> m_widths;
    double m_tableWidth = 0;
    double m_pageHeight = 0;
    double m_lineWidth = 0;
    double m_emptyLineHeight = 0;
    std::vector<TextCache> m_caches;
    bool m_reuseLayouts = true;
};
