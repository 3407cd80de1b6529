#pragma once

#include "stats/ChartData.h"
#include "stats/CollectionStatistics.h"

#include <QWidget>
#include <functional>

class AppSettings;
class QChart;
class QChartView;
class QComboBox;
class QTableWidget;

// A tab of the statistics window: a chart of one group of figures with its numbers in a table
// beside it (a screen reader reads the table), and a choice of which figures to chart.
class FigureTab : public QWidget
{
    Q_OBJECT

public:
    static constexpr const char* NoAlbums = "No albums";
    static constexpr const char* Counting = "Counting\u2026";

    using Builder = std::function<ChartData(const CollectionStatistics::Figures&, int view)>;
    enum Kind { TableOnly, BarsOnly, BarsOrPie };

    // `views` name the figures the tab can chart, `build` turns figures into view number n.
    FigureTab(int parts, const QStringList& views, Kind kind, Builder build, AppSettings& settings,
              QWidget* parent = nullptr);

    // The groups of figures (CollectionStatistics::Part) this tab shows.
    int parts() const { return m_parts; }
    bool hasChart() const { return m_view != nullptr; }
    void showCounting();
    void showFigures(const CollectionStatistics::Figures& figures);

    // The table as tab-separated lines, and as CSV with a header line.
    QString tableText() const;
    QByteArray csvText() const;
    // The chart as it is drawn now, as a PNG file; false when it cannot be written.
    bool saveImage(const QString& path) const;

    QChartView* chartView() const { return m_view; }
    QTableWidget* table() const { return m_table; }

private:
    void redraw();
    void fillTable(const ChartData& data);
    void drawChart(const ChartData& data);
    void drawMessage(const QString& text);
    void drawBars(QChart* chart, const ChartData& data);
    void drawPie(QChart* chart, const ChartData& data);
    void applyPalette(QChart* chart);
    bool piesChosen() const;

    int m_parts;
    Builder m_build;
    AppSettings& m_settings;
    CollectionStatistics::Figures m_figures;
    bool m_hasFigures = false;
    QComboBox* m_figureChoice = nullptr;
    QComboBox* m_kindChoice = nullptr;
    QChartView* m_view = nullptr;
    QTableWidget* m_table = nullptr;
};
