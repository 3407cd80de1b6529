#include "stats/FigureTab.h"

#include "app/AppSettings.h"
#include "io/CsvWriter.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPieSeries>
#include <QPieSlice>
#include <QPixmap>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace
{

const char* const SettingsSection = "Statistics";
const char* const ChartKindName = "ChartKind";

// Pie slices in shades between the highlight and the base colour, so both a light and a dark
// palette keep them apart from the background and from each other.
QColor sliceColour(const QPalette& palette, int index, int count)
{
    const QColor strong = palette.color(QPalette::Highlight);
    const QColor weak = palette.color(QPalette::Base);
    const double share = count > 1 ? 0.75 * index / (count - 1) : 0.0;
    return QColor::fromRgbF(strong.redF() + (weak.redF() - strong.redF()) * share,
                            strong.greenF() + (weak.greenF() - strong.greenF()) * share,
                            strong.blueF() + (weak.blueF() - strong.blueF()) * share);
}

bool nothingToChart(const ChartData& data)
{
    for (const ChartData::Row& row : data.rows)
        if (row.value > 0)
            return false;
    return true;
}

} // namespace

FigureTab::FigureTab(int parts, const QStringList& views, Kind kind, Builder build,
                     AppSettings& settings, QWidget* parent)
    : QWidget(parent), m_parts(parts), m_build(std::move(build)), m_settings(settings)
{
    auto* layout = new QVBoxLayout(this);
    auto* choices = new QFormLayout;
    layout->addLayout(choices);
    if (views.size() > 1) {
        m_figureChoice = new QComboBox(this);
        m_figureChoice->setObjectName(QStringLiteral("figureChoice"));
        m_figureChoice->addItems(views);
        choices->addRow(QStringLiteral("&Figures:"), m_figureChoice);
        connect(m_figureChoice, &QComboBox::currentIndexChanged, this, &FigureTab::redraw);
    }
    if (kind == BarsOrPie) {
        m_kindChoice = new QComboBox(this);
        m_kindChoice->setObjectName(QStringLiteral("chartKind"));
        m_kindChoice->addItems({QStringLiteral("Bars"), QStringLiteral("Pie")});
        m_kindChoice->setCurrentIndex(
            m_settings.readInt(QLatin1String(SettingsSection), QLatin1String(ChartKindName), 0) == 1
                ? 1
                : 0);
        choices->addRow(QStringLiteral("C&hart:"), m_kindChoice);
        connect(m_kindChoice, &QComboBox::currentIndexChanged, this, [this](int index) {
            m_settings.writeInt(QLatin1String(SettingsSection), QLatin1String(ChartKindName),
                                index);
            redraw();
        });
    }

    auto* body = new QHBoxLayout;
    layout->addLayout(body, 1);
    if (kind != TableOnly) {
        m_view = new QChartView(new QChart, this);
        m_view->setObjectName(QStringLiteral("chart"));
        m_view->setRenderHint(QPainter::Antialiasing);
        m_view->setMinimumSize(360, 260);
        body->addWidget(m_view, 2);
    }
    m_table = new QTableWidget(0, 2, this);
    m_table->setObjectName(QStringLiteral("figures"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    body->addWidget(m_table, 1);
    showCounting();
}

void FigureTab::showCounting()
{
    m_hasFigures = false;
    m_table->setRowCount(0);
    m_table->setRowCount(1);
    m_table->setItem(0, 0, new QTableWidgetItem(QLatin1String(Counting)));
    m_table->setItem(0, 1, new QTableWidgetItem);
    m_table->setAccessibleName(QLatin1String(Counting));
    if (m_view)
        drawMessage(QLatin1String(Counting));
}

void FigureTab::showFigures(const CollectionStatistics::Figures& figures)
{
    m_figures = figures;
    m_hasFigures = true;
    redraw();
}

void FigureTab::redraw()
{
    if (!m_hasFigures)
        return;
    const ChartData data = m_build(m_figures, m_figureChoice ? m_figureChoice->currentIndex() : 0);
    fillTable(data);
    if (m_view)
        drawChart(data);
}

void FigureTab::fillTable(const ChartData& data)
{
    m_table->setRowCount(0);
    m_table->setHorizontalHeaderLabels({QStringLiteral("Name"), data.valueCaption});
    m_table->setAccessibleName(data.title);
    m_table->setRowCount(data.rows.size());
    for (int row = 0; row < data.rows.size(); ++row) {
        m_table->setItem(row, 0, new QTableWidgetItem(data.rows[row].name));
        auto* value = new QTableWidgetItem(data.rows[row].text);
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_table->setItem(row, 1, value);
    }
    m_table->resizeColumnToContents(0);
}

void FigureTab::drawChart(const ChartData& data)
{
    if (nothingToChart(data)) {
        drawMessage(QLatin1String(NoAlbums));
        return;
    }
    auto* chart = new QChart;
    chart->setTitle(data.title);
    if (piesChosen())
        drawPie(chart, data);
    else
        drawBars(chart, data);
    applyPalette(chart);
    QChart* old = m_view->chart();
    m_view->setChart(chart);
    delete old;
    m_view->setAccessibleName(data.title);
    m_view->setAccessibleDescription(
        QStringLiteral("%1 chart of %2; the numbers are in the table beside it.")
            .arg(piesChosen() ? QStringLiteral("Pie") : QStringLiteral("Bar"), data.valueCaption));
}

// Instead of an empty axis, the chart says why there is nothing to draw.
void FigureTab::drawMessage(const QString& text)
{
    auto* chart = new QChart;
    chart->setTitle(text);
    applyPalette(chart);
    QChart* old = m_view->chart();
    m_view->setChart(chart);
    delete old;
    m_view->setAccessibleName(text);
    m_view->setAccessibleDescription(text);
}

void FigureTab::drawBars(QChart* chart, const ChartData& data)
{
    auto* set = new QBarSet(data.valueCaption);
    set->setBrush(palette().color(QPalette::Highlight));
    set->setPen(QPen(palette().color(QPalette::Highlight)));
    QStringList names;
    double largest = 0.0;
    for (const ChartData::Row& row : data.rows) {
        *set << row.value;
        names << row.name;
        largest = std::max(largest, row.value);
    }
    auto* series = new QBarSeries;
    series->append(set);
    chart->addSeries(series);
    auto* categories = new QBarCategoryAxis;
    categories->append(names);
    auto* values = new QValueAxis;
    values->setRange(0, largest);
    values->applyNiceNumbers();
    // Album counts are whole: "6", not "6.0".
    if (data.rows.size() > 0 &&
        std::all_of(data.rows.begin(), data.rows.end(),
                    [](const auto& row) { return row.value == std::floor(row.value); }) &&
        largest >= values->tickCount() - 1)
        values->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(categories, Qt::AlignBottom);
    chart->addAxis(values, Qt::AlignLeft);
    series->attachAxis(categories);
    series->attachAxis(values);
    chart->legend()->hide();
}

void FigureTab::drawPie(QChart* chart, const ChartData& data)
{
    auto* series = new QPieSeries;
    for (const ChartData::Row& row : data.rows)
        if (row.value > 0)
            series->append(row.name, row.value);
    const QList<QPieSlice*> slices = series->slices();
    for (int i = 0; i < slices.size(); ++i) {
        slices[i]->setBrush(sliceColour(palette(), i, slices.size()));
        slices[i]->setBorderColor(palette().color(QPalette::Base));
    }
    chart->addSeries(series);
    chart->legend()->setAlignment(Qt::AlignRight);
}

void FigureTab::applyPalette(QChart* chart)
{
    const QPalette colours = palette();
    chart->setBackgroundBrush(colours.brush(QPalette::Base));
    chart->setTitleBrush(colours.brush(QPalette::Text));
    chart->legend()->setLabelBrush(colours.brush(QPalette::Text));
    for (QAbstractAxis* axis : chart->axes()) {
        axis->setLabelsBrush(colours.brush(QPalette::Text));
        axis->setLinePenColor(colours.color(QPalette::Mid));
        axis->setGridLineColor(colours.color(QPalette::Midlight));
    }
}

bool FigureTab::piesChosen() const
{
    return m_kindChoice && m_kindChoice->currentIndex() == 1;
}

QString FigureTab::tableText() const
{
    QStringList lines;
    for (int row = 0; row < m_table->rowCount(); ++row)
        lines << m_table->item(row, 0)->text() + QLatin1Char('\t') + m_table->item(row, 1)->text();
    return lines.join(QLatin1Char('\n'));
}

QByteArray FigureTab::csvText() const
{
    auto record = [](const QString& name, const QString& value) {
        return CsvWriter::encodedField(name) + ',' + CsvWriter::encodedField(value) + "\r\n";
    };
    QByteArray csv =
        record(m_table->horizontalHeaderItem(0)->text(), m_table->horizontalHeaderItem(1)->text());
    for (int row = 0; row < m_table->rowCount(); ++row)
        csv += record(m_table->item(row, 0)->text(), m_table->item(row, 1)->text());
    return csv;
}

bool FigureTab::saveImage(const QString& path) const
{
    return m_view && m_view->grab().save(path, "PNG");
}
