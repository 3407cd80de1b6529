#include "print/ListTablePainter.h"

#include "print/ListRowReader.h"

#include <QFontMetricsF>
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

QStringList captionsOf(const QVector<ColumnInfo>& columns)
{
    QStringList captions;
    for (const ColumnInfo& column : columns)
        captions.append(column.caption);
    return captions;
}

} // namespace

struct ListTablePainter::Cell {
    std::unique_ptr<QTextLayout> layout;
    double height = 0;
};

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
}

// Texts wrap at word boundaries within their column, and a word wider than the column wraps
// where it must: nothing runs into the next column.
ListTablePainter::Row ListTablePainter::layOutRow(const QStringList& texts, const QFont& font,
                                                  QPrinter* printer) const
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Row row(std::size_t(texts.size()));
    for (int i = 0; i < texts.size() && i < m_widths.size(); ++i) {
        auto layout = std::make_unique<QTextLayout>(texts[i], font, printer);
        layout->setTextOption(option);
        const double width = std::max(1.0, m_widths[i] - 2 * m_lineWidth);
        double height = 0;
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, height));
            height += line.height();
        }
        layout->endLayout();
        row[std::size_t(i)] = Cell{std::move(layout), std::max(height, m_emptyLineHeight)};
    }
    return row;
}

double ListTablePainter::heightOf(const Row& row) const
{
    if (row.empty())
        return 0;
    double height = 0;
    for (const Cell& cell : row)
        height = std::max(height, cell.height);
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
        if (row[i].layout)
            row[i].layout->draw(painter, QPointF(m_lefts[int(i)] + m_lineWidth, top + m_lineWidth));
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
    m_pages = 0;
    layOutColumns(printer);
    QPainter painter;
    if (!painter.begin(printer))
        return Outcome::Failed;
    const Row captions = layOutRow(captionsOf(m_columns), m_captionFont, printer);
    const double captionHeight = heightOf(captions);
    paintRow(&painter, captions, 0, true);
    m_pages = 1;
    double top = captionHeight;
    QStringList texts;
    qint64 painted = 0;
    while (rows->next(&texts)) {
        const Row row = layOutRow(texts, m_bodyFont, printer);
        const double height = heightOf(row);
        // A row taller than a whole page goes on a page of its own and is cut at its foot.
        if (top + height > m_pageHeight && top > captionHeight) {
            finishPage(&painter, top);
            if (!printer->newPage()) {
                painter.end();
                return Outcome::Failed;
            }
            ++m_pages;
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
