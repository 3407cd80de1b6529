#include "editors/EditorWidgets.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>

namespace
{

class EnterMovesOn : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        // Moving on as Tab does finds the next control that takes the focus.
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(watched, &tab);
        return true;
    }
};

} // namespace

QLineEdit* EditorWidgets::scannerEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->installEventFilter(new EnterMovesOn(edit));
    return edit;
}

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

void EditorWidgets::nameComboBox(QComboBox* box, const QString& name)
{
    box->setAccessibleName(name);
    if (box->lineEdit())
        box->lineEdit()->setAccessibleName(name);
    box->view()->setAccessibleName(name + QStringLiteral(" list"));
}

QLabel* EditorWidgets::addRow(QGridLayout* grid, int row, int column, const QString& label,
                              QWidget* field, int span)
{
    auto* text = new QLabel(label, grid->parentWidget());
    text->setBuddy(field);
    if (auto* box = qobject_cast<QComboBox*>(field)) {
        QString name = label;
        name.remove(QLatin1Char('*'));
        name.remove(QLatin1Char(':'));
        nameComboBox(box, name);
    }
    grid->addWidget(text, row, column);
    grid->addWidget(field, row, column + 1, 1, span);
    return text;
}
