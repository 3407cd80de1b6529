#pragma once

#include <QString>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

// Small pieces every editor page builds its controls from.
class EditorWidgets
{
public:
    // An edit that takes digits only, at most `maxDigits` of them.
    static QLineEdit* digitsEdit(int maxDigits, QWidget* parent);
    // An edit for what a barcode scanner types: its digits and then Enter, which moves on to
    // the next control rather than closing the editor half filled in.
    static QLineEdit* scannerEdit(QWidget* parent);
    // A multi-line edit in which Enter starts a new line and Tab moves on to the next control.
    static QPlainTextEdit* multiLineEdit(QWidget* parent);
    // Names an editable combo box, its edit field and its drop-down list for screen readers,
    // which would otherwise call the box by the name it shows.
    static void nameComboBox(QComboBox* box, const QString& name);
    // A label in column `column` of `row`, naming `field` for the keyboard and screen readers,
    // with the field beside it spanning `span` columns.
    static QLabel* addRow(QGridLayout* grid, int row, int column, const QString& label,
                          QWidget* field, int span = 1);
};
