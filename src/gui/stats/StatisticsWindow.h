#pragma once

#include "stats/CollectionStatistics.h"

#include <QHash>
#include <QSet>
#include <QThread>
#include <QWidget>

class AppSettings;
class CVastryDoc;
class FigureTab;
class LoansTab;
class QComboBox;
class QPushButton;
class QTabWidget;
class StatisticsWorker;

// The collection in charts and tables, one tab per group of figures, over every album or the
// albums the main window lists. Figures are worked out on a thread of their own, one tab's at a
// time, so the window opens at once and the main window never waits for them.
class StatisticsWindow : public QWidget
{
    Q_OBJECT

public:
    enum Tab { OverviewTab, YearsTab, GenresTab, SpendingTab, LoansTabIndex };
    enum Scope { AllAlbums, ShownAlbums };

    StatisticsWindow(CVastryDoc& document, AppSettings& settings, QWidget* parent = nullptr);
    ~StatisticsWindow() override;

    void showTab(Tab tab);
    LoansTab* loansTab() const { return m_loans; }
    FigureTab* figureTab(Tab tab) const;
    // Whether the figures of the current tab are still being worked out.
    bool isCounting() const { return !m_requested.isEmpty(); }

public slots:
    // The main window's list was filled afresh: another filter, or albums changed.
    void listChanged();

signals:
    void startComputing(int request, const QString& path, const QString& connect,
                        const QString& condition, int parts);
    // Every tab shown so far has its figures (tests wait for this).
    void figuresShown();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildTabs();
    QWidget* buildButtons();
    void forgetFigures();
    void showCurrentFigures();
    void receive(int request, int parts, const CollectionStatistics::Figures& figures, bool ok);
    QString condition() const;
    void copyTable();
    void saveImage();
    void exportCsv();
    void updateButtons();

    CVastryDoc& m_document;
    AppSettings& m_settings;
    QThread m_thread;
    StatisticsWorker* m_worker;
    QTabWidget* m_tabs;
    QVector<FigureTab*> m_figureTabs;
    LoansTab* m_loans;
    QComboBox* m_scope;
    QPushButton* m_saveImage;
    // Figures worked out since the list last changed, by CollectionStatistics::Part.
    QHash<int, CollectionStatistics::Figures> m_known;
    // Parts asked of the worker and not yet answered.
    QSet<int> m_requested;
    int m_lastRequest = 0;
    int m_firstValidRequest = 1;
};
