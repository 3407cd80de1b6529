#include "stats/StatisticsWindow.h"

#include "stats/FigureTab.h"
#include "stats/LoansTab.h"
#include "stats/StatisticsWorker.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "views/CVastryDoc.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

using Figures = CollectionStatistics::Figures;
using Count = CollectionStatistics::Count;

namespace
{

const char* const Caption = "Statistics";
// A chart of thousands of names is unreadable: the largest ones and the rest as "Other".
constexpr int NamesCharted = 15;

QString money(double amount)
{
    return QLocale().toString(amount, 'f', 2);
}

QString count(qint64 number)
{
    return QLocale().toString(number);
}

QString playingTime(qint64 seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

ChartData countChart(const QString& title, const QVector<Count>& counts)
{
    ChartData data{title, QStringLiteral("Albums"), {}};
    for (const Count& item : counts)
        data.rows.append({item.name, double(item.albums), count(item.albums)});
    return data;
}

ChartData overview(const Figures& figures, int)
{
    ChartData data{QStringLiteral("Overview"), QStringLiteral("Value"), {}};
    auto add = [&data](const char* name, double value, const QString& text) {
        data.rows.append({QLatin1String(name), value, text});
    };
    add("Albums", figures.albums, count(figures.albums));
    add("Tracks", figures.tracks, count(figures.tracks));
    add("Playing time", figures.playingTimeSeconds, playingTime(figures.playingTimeSeconds));
    add("Albums of unknown length", figures.unknownLengths, count(figures.unknownLengths));
    add("In collection", figures.inCollection, count(figures.inCollection));
    add("On loan", figures.onLoan, count(figures.onLoan));
    add("Total value", figures.totalValue, money(figures.totalValue));
    add("Total purchase price", figures.totalPrice, money(figures.totalPrice));
    return data;
}

ChartData years(const Figures& figures, int view)
{
    return view == 0 ? countChart(QStringLiteral("Albums per year"), figures.byYear)
                     : countChart(QStringLiteral("Albums per decade"), figures.byDecade);
}

ChartData names(const Figures& figures, int view)
{
    const std::pair<const char*, const QVector<Count>*> views[] = {
        {"Albums per genre", &figures.byGenre},
        {"Albums per media type", &figures.byMediaType},
        {"Albums per label", &figures.byLabel},
        {"Albums per country", &figures.byCountry},
        {"Albums per language", &figures.byLanguage},
        {"Albums per location", &figures.byLocation},
        {"Albums per grade", &figures.byGrade}};
    const auto& chosen = views[std::clamp(view, 0, int(std::size(views)) - 1)];
    return countChart(QLatin1String(chosen.first),
                      CollectionStatistics::topWithOther(*chosen.second, NamesCharted));
}

ChartData spending(const Figures& figures, int view)
{
    if (view == 2) {
        ChartData data{
            QStringLiteral("Value against purchase price"), QStringLiteral("Amount"), {}};
        data.rows.append(
            {QStringLiteral("Total value"), figures.totalValue, money(figures.totalValue)});
        data.rows.append({QStringLiteral("Total purchase price"), figures.totalPrice,
                          money(figures.totalPrice)});
        return data;
    }
    const bool spent = view == 0;
    ChartData data{spent ? QStringLiteral("Money spent per year")
                         : QStringLiteral("Albums bought per year"),
                   spent ? QStringLiteral("Spent") : QStringLiteral("Albums"),
                   {}};
    for (const CollectionStatistics::Purchases& year : figures.purchasesByYear)
        data.rows.append({year.year, spent ? year.spent : double(year.albums),
                          spent ? money(year.spent) : count(year.albums)});
    return data;
}

} // namespace

StatisticsWindow::StatisticsWindow(CVastryDoc& document, AppSettings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), m_document(document), m_settings(settings),
      m_worker(new StatisticsWorker)
{
    setWindowTitle(QLatin1String(Caption));
    setObjectName(QStringLiteral("StatisticsWindow"));
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(this, &StatisticsWindow::startComputing, m_worker, &StatisticsWorker::compute);
    connect(m_worker, &StatisticsWorker::computed, this, &StatisticsWindow::receive);
    m_thread.start();

    auto* layout = new QVBoxLayout(this);
    auto* scopeRow = new QHBoxLayout;
    m_scope = new QComboBox(this);
    m_scope->setObjectName(QStringLiteral("scope"));
    m_scope->addItems({QStringLiteral("All albums"), QStringLiteral("Shown albums")});
    auto* scopeLabel = new QLabel(QStringLiteral("&Albums:"), this);
    scopeLabel->setBuddy(m_scope);
    scopeRow->addWidget(scopeLabel);
    scopeRow->addWidget(m_scope);
    scopeRow->addStretch();
    layout->addLayout(scopeRow);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    layout->addWidget(m_tabs, 1);
    buildTabs();
    layout->addWidget(buildButtons());

    connect(m_scope, &QComboBox::currentIndexChanged, this, &StatisticsWindow::listChanged);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] {
        updateButtons();
        showCurrentFigures();
    });
    connect(&m_document, &CVastryDoc::listFilled, this, &StatisticsWindow::listChanged);
    updateButtons();
    resize(860, 540);
}

StatisticsWindow::~StatisticsWindow()
{
    m_thread.quit();
    m_thread.wait();
}

void StatisticsWindow::buildTabs()
{
    using P = CollectionStatistics::Part;
    auto add = [this](const QString& title, int parts, const QStringList& views,
                      FigureTab::Kind kind, FigureTab::Builder build) {
        auto* tab = new FigureTab(parts, views, kind, std::move(build), m_settings, m_tabs);
        m_figureTabs.append(tab);
        m_tabs->addTab(tab, title);
    };
    add(QStringLiteral("&Overview"), P::TotalFigures, {}, FigureTab::TableOnly, overview);
    add(QStringLiteral("&Years"), P::YearFigures,
        {QStringLiteral("Albums per year"), QStringLiteral("Albums per decade")},
        FigureTab::BarsOnly, years);
    add(QStringLiteral("&Genres and Media"), P::NameFigures,
        {QStringLiteral("Genre"), QStringLiteral("Media type"), QStringLiteral("Label"),
         QStringLiteral("Country"), QStringLiteral("Language"), QStringLiteral("Location"),
         QStringLiteral("Grade")},
        FigureTab::BarsOrPie, names);
    add(QStringLiteral("&Spending"), P::PurchaseFigures | P::TotalFigures,
        {QStringLiteral("Money spent per year"), QStringLiteral("Albums bought per year"),
         QStringLiteral("Value against purchase price")},
        FigureTab::BarsOnly, spending);
    m_loans = new LoansTab(m_document, m_settings, m_tabs);
    m_tabs->addTab(m_loans, QStringLiteral("&Loans"));
}

QWidget* StatisticsWindow::buildButtons()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto button = [row, layout](const QString& text, const char* name) {
        auto* button = new QPushButton(text, row);
        button->setObjectName(QLatin1String(name));
        layout->addWidget(button);
        return button;
    };
    connect(button(QStringLiteral("&Copy"), "copy"), &QPushButton::clicked, this,
            &StatisticsWindow::copyTable);
    m_saveImage = button(QStringLiteral("Save &Image..."), "saveImage");
    connect(m_saveImage, &QPushButton::clicked, this, &StatisticsWindow::saveImage);
    connect(button(QStringLiteral("Export CS&V..."), "exportCsv"), &QPushButton::clicked, this,
            &StatisticsWindow::exportCsv);
    layout->addStretch();
    connect(button(QStringLiteral("Close"), "close"), &QPushButton::clicked, this, &QWidget::close);
    // Esc closes it as it closes a dialog.
    connect(new QShortcut(QKeySequence::Cancel, this), &QShortcut::activated, this,
            &QWidget::close);
    return row;
}

FigureTab* StatisticsWindow::figureTab(Tab tab) const
{
    return m_figureTabs.value(tab);
}

void StatisticsWindow::showTab(Tab tab)
{
    m_tabs->setCurrentIndex(tab);
}

void StatisticsWindow::listChanged()
{
    forgetFigures();
    if (isVisible())
        showCurrentFigures();
}

// Figures still on their way belong to the old list: their answers are dropped.
void StatisticsWindow::forgetFigures()
{
    m_known.clear();
    m_requested.clear();
    m_firstValidRequest = m_lastRequest + 1;
    for (FigureTab* tab : qAsConst(m_figureTabs))
        tab->showCounting();
}

void StatisticsWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    showCurrentFigures();
}

void StatisticsWindow::showCurrentFigures()
{
    if (m_tabs->currentWidget() == m_loans) {
        m_loans->reload();
        return;
    }
    auto* tab = static_cast<FigureTab*>(m_tabs->currentWidget());
    const int parts = tab->parts();
    if (m_known.contains(parts)) {
        tab->showFigures(m_known.value(parts));
        return;
    }
    if (m_requested.contains(parts))
        return;
    m_requested.insert(parts);
    const Database* database = m_document.database();
    emit startComputing(++m_lastRequest, database ? database->name() : QString(),
                        database ? database->connectString() : QString(), condition(), parts);
}

void StatisticsWindow::receive(int request, int parts, const Figures& figures, bool)
{
    if (request < m_firstValidRequest)
        return;
    m_requested.remove(parts);
    m_known.insert(parts, figures);
    for (FigureTab* tab : qAsConst(m_figureTabs))
        if (tab->parts() == parts)
            tab->showFigures(figures);
    if (m_requested.isEmpty())
        emit figuresShown();
}

QString StatisticsWindow::condition() const
{
    return m_scope->currentIndex() == ShownAlbums ? m_document.listCondition() : QString();
}

void StatisticsWindow::updateButtons()
{
    const FigureTab* tab = qobject_cast<FigureTab*>(m_tabs->currentWidget());
    m_saveImage->setEnabled(tab && tab->hasChart());
}

void StatisticsWindow::copyTable()
{
    const FigureTab* tab = qobject_cast<FigureTab*>(m_tabs->currentWidget());
    QApplication::clipboard()->setText(tab ? tab->tableText() : m_loans->tableText());
}

void StatisticsWindow::saveImage()
{
    const FigureTab* tab = qobject_cast<FigureTab*>(m_tabs->currentWidget());
    if (!tab || !tab->hasChart())
        return;
    const QString path = FileDialog::savePngFileName(this);
    if (!path.isEmpty() && !tab->saveImage(path))
        MessageBox::show(this, QLatin1String(Caption),
                         QStringLiteral("The image could not be saved to %1.").arg(path),
                         QMessageBox::Warning);
}

void StatisticsWindow::exportCsv()
{
    const FigureTab* tab = qobject_cast<FigureTab*>(m_tabs->currentWidget());
    const QString path = FileDialog::saveCsvFileName(this);
    if (path.isEmpty())
        return;
    QFile file(path);
    const QByteArray csv = tab ? tab->csvText() : m_loans->csvText();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(csv) != csv.size())
        MessageBox::show(this, QLatin1String(Caption),
                         QStringLiteral("The table could not be written to %1.").arg(path),
                         QMessageBox::Warning);
}
