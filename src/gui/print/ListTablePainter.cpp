#include "print/ListTablePainter.h"

#include "print/ListRowReader.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <cmath>

namespace
{

// The list document's measures, in a browser's pixels (96 to the inch).
constexpr double CssPixelsPerInch = 96.0;
constexpr double FontPixels = 11.0;
constexpr double BorderPixels = 1.0;
const QColor GridColour(0xe0, 0xe0, 0xe0);
// Often enough for the window to keep painting and Cancel to answer, seldom enough to cost
// nothing next to the painting.
constexpr int RowsBetweenQuestions = 32;

QFont listFont(double pixels, bool bold)
{
    QFont font(QStringLiteral("Verdana"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, int(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

} // namespace

ListTablePainter::ListTablePainter(const QVector<ColumnInfo>& columns, bool gridLines)
    : m_columns(columns), m_gridLines(gridLines)
{
}

ListTablePainter::~ListTablePainter() = default;

// A browser sizes a column without a usable width to its content; the caption stands in for
// the content here, since the rows are not known before they are printed.
void ListTablePainter::layOutColumns(QPrinter* printer)
{
    const QFontMetricsF captionMetrics(listFont(FontPixels, true));
    QVector<double> widths;
    double total = 0;
    for (const ColumnInfo& column : qAsConst(m_columns)) {
        const double width =
            column.width > 0
                ? double(column.width)
                : std::ceil(captionMetrics.horizontalAdvance(column.caption)) + 2 * BorderPixels;
        widths.append(width);
        total += width;
    }
    const double perCssPixel = printer->resolution() / CssPixelsPerInch;
    const QRectF page = printer->pageRect(QPrinter::DevicePixel);
    const double pageWidth = page.width() / perCssPixel;
    const double scale = perCssPixel * (total > pageWidth ? pageWidth / total : 1.0);

    m_bodyFont = listFont(FontPixels * scale, false);
    m_captionFont = listFont(FontPixels * scale, true);
    m_lefts.clear();
    m_widths.clear();
    double left = 0;
    for (double width : qAsConst(widths)) {
        m_lefts.append(left);
        m_widths.append(width * scale);
        left += width * scale;
    }
    m_tableWidth = left;
    m_pageHeight = page.height();
    m_lineWidth = m_gridLines ? BorderPixels * scale : 0;
    m_emptyLineHeight = QFontMetricsF(m_bodyFont, printer).height();
    m_caches.assign(std::size_t(m_columns.size()), TextCache());
}

// Texts wrap at word boundaries within their column, and a word wider than the column wraps
// where it must: nothing runs into the next column.
std::shared_ptr<const ListTablePainter::LaidText> ListTablePainter::layOut(const QString& text,
                                                                           const QFont& font,
                                                                           int column,
                                                                           QPrinter* printer) const
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    auto laid = std::make_shared<LaidText>();
    laid->layout = std::make_unique<QTextLayout>(text, font, printer);
    laid->layout->setTextOption(option);
    const double width = std::max(1.0, m_widths[column] - 2 * m_lineWidth);
    double height = 0;
    laid->layout->beginLayout();
    for (QTextLine line = laid->layout->createLine(); line.isValid();
         line = laid->layout->createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    laid->layout->endLayout();
    laid->height = std::max(height, m_emptyLineHeight);
    return laid;
}

// Laying out text is most of the work of a print. Columns whose texts repeat (names from the
// lists, years, grades) keep them laid out; a column of texts that seldom repeat (titles,
// numbers) stops keeping them, and a column that has kept many starts afresh, which still
// serves a column sorted on.
std::shared_ptr<const ListTablePainter::LaidText>
ListTablePainter::layOutCell(const QString& text, int column, QPrinter* printer)
{
    constexpr int Window = 1024;
    constexpr int MostKept = 1024;
    if (!m_reuseLayouts)
        return layOut(text, m_bodyFont, column, printer);
    TextCache& cache = m_caches[std::size_t(column)];
    if (cache.used) {
        ++cache.lookups;
        const auto found = cache.texts.constFind(text);
        if (found != cache.texts.constEnd()) {
            ++cache.hits;
            return found.value();
        }
    }
    std::shared_ptr<const LaidText> laid = layOut(text, m_bodyFont, column, printer);
    if (!cache.used)
        return laid;
    if (cache.lookups >= Window) {
        cache.used = cache.hits * 2 >= cache.lookups;
        cache.lookups = 0;
        cache.hits = 0;
    }
    if (cache.texts.size() >= MostKept || !cache.used)
        cache.texts.clear();
    if (cache.used) {
        auto kept = std::make_shared<LaidText>();
        kept->glyphs = laid->layout->glyphRuns();
        kept->height = laid->height;
        cache.texts.insert(text, kept);
    }
    return laid;
}

ListTablePainter::Row ListTablePainter::layOutCaptions(QPrinter* printer) const
{
    Row row;
    for (int i = 0; i < m_columns.size(); ++i)
        row.push_back(layOut(m_columns[i].caption, m_captionFont, i, printer));
    return row;
}

ListTablePainter::Row ListTablePainter::layOutRow(const QStringList& texts, QPrinter* printer)
{
    Row row;
    for (int i = 0; i < texts.size() && i < m_widths.size(); ++i)
        row.push_back(layOutCell(texts[i], i, printer));
    return row;
}

double ListTablePainter::heightOf(const Row& row) const
{
    if (row.empty())
        return 0;
    double height = 0;
    for (const std::shared_ptr<const LaidText>& cell : row)
        height = std::max(height, cell->height);
    return height + m_lineWidth;
}

void ListTablePainter::paintRow(QPainter* painter, const Row& row, double top, bool caption) const
{
    if (caption)
        painter->fillRect(QRectF(0, top, m_tableWidth, heightOf(row)), GridColour);
    if (m_gridLines) {
        painter->setPen(QPen(GridColour, m_lineWidth));
        painter->drawLine(QPointF(0, top), QPointF(m_tableWidth, top));
    }
    painter->setPen(Qt::black);
    for (std::size_t i = 0; i < row.size(); ++i) {
        const QPointF origin(m_lefts[int(i)] + m_lineWidth, top + m_lineWidth);
        if (row[i]->layout) {
            row[i]->layout->draw(painter, origin);
            continue;
        }
        for (const QGlyphRun& glyphs : row[i]->glyphs)
            painter->drawGlyphRun(origin, glyphs);
    }
}

// The column lines are drawn once a page's rows are known: one line per column and page
// rather than one per cell.
void ListTablePainter::finishPage(QPainter* painter, double bottom) const
{
    if (!m_gridLines)
        return;
    painter->setPen(QPen(GridColour, m_lineWidth));
    painter->drawLine(QPointF(0, bottom), QPointF(m_tableWidth, bottom));
    for (double left : qAsConst(m_lefts))
        painter->drawLine(QPointF(left, 0), QPointF(left, bottom));
    painter->drawLine(QPointF(m_tableWidth, 0), QPointF(m_tableWidth, bottom));
}

ListTablePainter::Outcome ListTablePainter::paint(QPrinter* printer, ListRowReader* rows,
                                                  const std::function<bool(qint64)>& carryOn)
{
    layOutColumns(printer);
    // A preview records its pages as pictures, and a picture keeps glyphs drawn without their
    // text as outlines: far bigger than the text, and no longer text when printed from there.
    m_reuseLayouts = printer->paintEngine()->type() != QPaintEngine::Picture;
    QPainter painter;
    if (!painter.begin(printer))
        return Outcome::Failed;
    const Row captions = layOutCaptions(printer);
    const double captionHeight = heightOf(captions);
    paintRow(&painter, captions, 0, true);
    double top = captionHeight;
    QStringList texts;
    qint64 painted = 0;
    while (rows->next(&texts)) {
        const Row row = layOutRow(texts, printer);
        const double height = heightOf(row);
        // A row taller than a whole page goes on a page of its own and is cut at its foot.
        if (top + height > m_pageHeight && top > captionHeight) {
            finishPage(&painter, top);
            if (!printer->newPage()) {
                painter.end();
                return Outcome::Failed;
            }
            paintRow(&painter, captions, 0, true);
            top = captionHeight;
        }
        paintRow(&painter, row, top, false);
        top += height;
        if (++painted % RowsBetweenQuestions == 0 && !carryOn(painted)) {
            // Withdraws the job where the printer can; a PDF file is thrown away by the caller.
            printer->abort();
            painter.end();
            return Outcome::Cancelled;
        }
    }
    finishPage(&painter, top);
    return painter.end() ? Outcome::Printed : Outcome::Failed;
}
