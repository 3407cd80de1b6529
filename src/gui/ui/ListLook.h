#pragma once

#include <QStyledItemDelegate>

class AppSettings;
class QAbstractItemView;

// The look the program's report lists share, from the General settings: grid lines
// (ShowGridlines), the whole row selected (FullrowSelect) and the row under the mouse
// underlined (HotTrack). It fits any item view: a table draws its own grid, a tree or a list
// gets it from here. The look is the view's item delegate and belongs to the view.
class ListLook : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // Some lists (the album editor's page list) never draw a grid, whatever the settings say.
    enum class Grid { AsSettingsSay, Never };

    // Gives `view` the look, or updates the look it already has.
    static ListLook* apply(QAbstractItemView* view, const AppSettings& settings,
                           Grid grid = Grid::AsSettingsSay);
    // The look `view` was given, or null.
    static ListLook* of(const QAbstractItemView* view);

    bool drawsGrid() const { return m_grid; }
    bool hotTracking() const { return m_hotTracking; }
    // The row under the mouse while hot tracking is on, else -1.
    int hotRow() const { return m_hotRow; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ListLook(QAbstractItemView* view);
    void setHotRow(int row);

    QAbstractItemView* m_view;
    bool m_grid = false;
    bool m_hotTracking = false;
    int m_hotRow = -1;
};
