#pragma once

#include <QStringList>

class QWidget;

// What a screen reader would have no name for: every visible control under `root` that takes
// the keyboard focus or is a button, list, tree or view, and whose accessible interface gives
// no name (neither its own, nor a buddy label's, nor its text). Each entry names the widget's
// class and object name, so a failure says what to fix.
QStringList unnamedControls(QWidget* root);
