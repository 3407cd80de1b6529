#include "ui/DialogFont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QWidget>

QFont DialogFont::font()
{
    static const QFont chosen = [] {
        const QString tahoma = QStringLiteral("Tahoma");
        // Fontconfig would quietly substitute a missing family; only a real Tahoma is taken.
        QFont font = QFontDatabase::hasFamily(tahoma)
                         ? QFont(tahoma)
                         : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        font.setPointSize(8);
        return font;
    }();
    return chosen;
}

void DialogFont::apply(QWidget* dialog)
{
    if (dialog)
        dialog->setFont(font());
}
