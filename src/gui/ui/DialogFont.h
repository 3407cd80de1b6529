#pragma once

#include <QFont>

class QWidget;

// The font of every dialog: Tahoma at 8 points where it is installed, otherwise the desktop's
// own interface font at 8 points.
class DialogFont
{
public:
    static QFont font();
    // Gives `dialog` and everything in it the dialog font.
    static void apply(QWidget* dialog);
};
