#pragma once

#include <QHash>
#include <QToolBar>

class AppSettings;
class QMainWindow;
class QMenu;

// The main window's toolbar: pictures that brighten under the mouse, optional labels beside
// two chosen buttons, drop-down arrows on chosen buttons, and a context menu that switches the
// labels off and on. The label mode and the toolbar's place survive between runs.
class TextToolBar : public QToolBar
{
    Q_OBJECT

public:
    enum TextMode { NoText = 0, SelectiveText = 1 };
    static constexpr int NoTextCommand = 35001;
    static constexpr int SelectiveTextCommand = 35002;

    TextToolBar(AppSettings& settings, QMainWindow* frame);

    int textMode() const { return m_textMode; }
    // Labels the button at `index` (separators count) and records the new mode.
    void setButtonText(int index, const QString& text, int newMode);
    // The two context-menu commands; each does nothing when its mode is already on.
    void showNoText();
    void showSelectiveText();

    // Gives the button of `action` an arrow that opens `menu`; false when it has one already.
    bool addDropDownButton(QAction* action, QMenu* menu);
    int dropDownCount() const { return int(m_dropDowns.size()); }

    // The mode and the toolbar's place in the window, written under the toolbar's own key;
    // the frame calls these once its toolbars exist and before it goes.
    void saveState();
    void restoreState();

    // The menu the right mouse button opens.
    QMenu* createTextMenu(QWidget* parent);

protected:
    void actionEvent(QActionEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void giveHotImage(QAction* action);

    AppSettings& m_settings;
    QMainWindow* m_frame;
    int m_textMode = NoText;
    QHash<QAction*, QMenu*> m_dropDowns;
};
