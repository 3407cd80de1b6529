#include "editors/EditorWidgets.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>

QLineEdit* EditorWidgets::digitsEdit(int maxDigits, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(maxDigits);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

QPlainTextEdit* EditorWidgets::multiLineEdit(QWidget* parent)
{
    auto* edit = new QPlainTextEdit(parent);
    edit->setTabChangesFocus(true);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return edit;
}

QLabel* EditorWidgets::addRow(QGridLayout* grid, int row, int column, const QString& label,
                              QWidget* field, int span)
{
    auto* text = new QLabel(label, grid->parentWidget());
    text->setBuddy(field);
    grid->addWidget(text, row, column);
    grid->addWidget(field, row, column + 1, 1, span);
    return text;
}
