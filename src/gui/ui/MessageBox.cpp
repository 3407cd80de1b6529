#include "ui/MessageBox.h"

#include <QAbstractButton>

namespace
{

QMessageBox::StandardButton nextAnswer = QMessageBox::NoButton;
QMessageBox::StandardButton answerForAll = QMessageBox::NoButton;

QMessageBox::StandardButton escapeAnswer(QMessageBox::StandardButtons buttons)
{
    if (buttons.testFlag(QMessageBox::Cancel))
        return QMessageBox::Cancel;
    if (buttons.testFlag(QMessageBox::No))
        return QMessageBox::No;
    return QMessageBox::Ok;
}

} // namespace

QList<MessageBox::Shown>& MessageBox::history()
{
    static QList<Shown> shown;
    return shown;
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton answer)
{
    nextAnswer = answer;
}

void MessageBox::setAnswerForAll(QMessageBox::StandardButton answer)
{
    answerForAll = answer;
}

QMessageBox::StandardButton MessageBox::ask(QWidget* parent, const QString& caption,
                                            const QString& text, QMessageBox::Icon icon,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton,
                                            const QString& openText)
{
    history().append({caption, text, icon});
    if (nextAnswer != QMessageBox::NoButton) {
        const QMessageBox::StandardButton answer = nextAnswer;
        nextAnswer = QMessageBox::NoButton;
        return answer;
    }
    if (answerForAll != QMessageBox::NoButton)
        return answerForAll;
    QMessageBox box(icon, caption, text, buttons, parent);
    // Texts carry names the user typed; one that looks like markup is still shown as typed.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    if (!openText.isEmpty())
        box.button(QMessageBox::Open)->setText(openText);
    box.exec();
    // Closing the box by its frame answers what Esc would.
    QAbstractButton* clicked = box.clickedButton();
    return clicked ? box.standardButton(clicked) : escapeAnswer(buttons);
}

QMessageBox::StandardButton MessageBox::question(QWidget* parent, const QString& caption,
                                                 const QString& text)
{
    return question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
}

QMessageBox::StandardButton MessageBox::question(QWidget* parent, const QString& caption,
                                                 const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton)
{
    return ask(parent, caption, text, QMessageBox::Question, buttons, defaultButton);
}

void MessageBox::show(QWidget* parent, const QString& caption, const QString& text,
                      QMessageBox::Icon icon)
{
    ask(parent, caption, text, icon, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBox::offer(QWidget* parent, const QString& caption, const QString& text,
                       QMessageBox::Icon icon, const QString& actionText)
{
    return ask(parent, caption, text, icon, QMessageBox::Ok | QMessageBox::Open, QMessageBox::Ok,
               actionText) == QMessageBox::Open;
}
