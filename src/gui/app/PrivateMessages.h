#pragma once

#include <QEvent>
#include <QPoint>

class QObject;

// The private messages the frame and the panes exchange. Each is a QEvent of its own type,
// numbered as the program has always numbered them, delivered synchronously with a result.
enum PrivateMessage : int {
    UWM_NODE_SELECTED = 0x8001,
    UWM_SHOW_ALBUM = 0x8002,
    UWM_EDIT_POST = 0x8003,
    UWM_NEW_POST = 0x8004,
    UWM_DELETE_POST = 0x8005,
    UWM_RELOAD = 0x8006,
    UWM_SELECT_ROOT = 0x8007,
    UWM_FIND = 0x8008,
    UWM_FREEDB_FILL = 0x8009,
    UWM_SORT_COLUMN = 0x800C,
    UWM_PRINT_ALBUM = 0x800D,
    UWM_PREVIEW_ALBUM = 0x800E,
    UWM_CHECK_TOGGLED = 0x800F,
    UWM_DISPLAYED_POSTS = 0x8010,
    UWM_TOTAL_POSTS = 0x8011,
    UWM_LIST_CONTEXT_MENU = 0x8012,
};

// UWM_SELECT_ROOT's lParam when the list already shows the root's albums: the tree only marks
// the node.
inline constexpr qintptr SelectQuietly = 1;

// UWM_RELOAD's wParam when another program changed the catalogue: the list keeps the selected
// album and its scroll position; lParam points to the tree's current TreeNodeData (or is 0).
inline constexpr quintptr ReloadKeepingAlbum = 1;

// A command id delivered to a window as a message, the way menu commands reach their handler.
inline constexpr int CommandMessageType = QEvent::User + 0x111;

class PaneMessage : public QEvent
{
public:
    PaneMessage(int message, quintptr wParam, qintptr lParam)
        : QEvent(QEvent::Type(message)), m_wParam(wParam), m_lParam(lParam)
    {
    }
    int message() const { return int(type()); }
    quintptr wParam() const { return m_wParam; }
    qintptr lParam() const { return m_lParam; }

private:
    quintptr m_wParam;
    qintptr m_lParam;
};

class CommandMessage : public QEvent
{
public:
    explicit CommandMessage(int commandId)
        : QEvent(QEvent::Type(CommandMessageType)), m_commandId(commandId)
    {
    }
    int commandId() const { return m_commandId; }

private:
    int m_commandId;
};

// Sends `message` to `target` and returns once it is handled; a null target gets nothing.
void SendPaneMessage(QObject* target, int message, quintptr wParam = 0, qintptr lParam = 0);
// Sends a command id to `target` as a command message; true when the target handled it.
bool SendCommandMessage(QObject* target, int commandId);

// The screen point of a context-menu message: x in the low 16 bits, y in the high 16 bits.
quintptr PackPoint(const QPoint& point);
QPoint UnpackPoint(quintptr packed);
