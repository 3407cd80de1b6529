#include "ui/MessageBox.h"

namespace
{

QMessageBox::StandardButton nextAnswer = QMessageBox::NoButton;
QMessageBox::StandardButton answerForAll = QMessageBox::NoButton;

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
                                            QMessageBox::StandardButton fallback)
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
    const int result = box.exec();
    return result == 0 ? fallback : QMessageBox::StandardButton(result);
}

QMessageBox::StandardButton MessageBox::question(QWidget* parent, const QString& caption,
                                                 const QString& text)
{
    return ask(parent, caption, text, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
               QMessageBox::No);
}

void MessageBox::show(QWidget* parent, const QString& caption, const QString& text,
                      QMessageBox::Icon icon)
{
    ask(parent, caption, text, icon, QMessageBox::Ok, QMessageBox::Ok);
}
