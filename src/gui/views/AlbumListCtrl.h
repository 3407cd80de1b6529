#pragma once

#include <QHeaderView>
#include <QTableView>

class AppSettings;
class SortHeaderCtrl;

// The album list control: a report list that tells its parent view about clicks, keys,
// header clicks and context menus through private messages.
class AlbumListCtrl : public QTableView
{
    Q_OBJECT

public:
    explicit AlbumListCtrl(QWidget* parent);

    // Grid lines, full-row selection and hot tracking as the General settings ask.
    void applyListLook(const AppSettings& settings);
    SortHeaderCtrl* sortHeader() const;
    int selectedRow() const;
    void selectRow(int row);
    // The last right-click point on the header, in the list's coordinates.
    QPoint headerClickPoint() const { return m_headerClickPoint; }

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void notifyParent(int message, quintptr wParam = 0, qintptr lParam = 0);

    QPoint m_headerClickPoint;
};
