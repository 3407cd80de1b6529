#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

// What the program does about the web engine before its first web view: the engine refuses to
// run as root with its sandbox on, and aborts the whole process when its helper program is
// missing. Both would take the window down with them; here they become a note and a pane that
// says why it is empty.
class WebEngineStart
{
public:
    // The engine's flags for a root run: "--no-sandbox" first, so whatever the user set after
    // it wins where the two disagree; the user's flags unchanged when they already turn the
    // sandbox off.
    static QByteArray flagsForRoot(const QByteArray& userFlags);
    // Call before the application object exists (the engine reads its flags once). As root,
    // turns the sandbox off and says so once on standard error; for anyone else does nothing.
    static void prepareEnvironment();
    // Empty when the engine can start; otherwise why it cannot, for the user. Call after the
    // application object exists.
    static QString unavailableReason();
    // For a window that is nothing but a web view: true when the engine can start; otherwise
    // the user is told that `what` cannot be shown, and why.
    static bool usableFor(const QString& what, QWidget* parent);
};
