#pragma once

#include <QMessageBox>

// Every message box of the program goes through here, so a test can answer the next one
// before it appears (and nothing modal blocks a test run).
class MessageBox
{
public:
    // Yes and No; Esc answers No.
    static QMessageBox::StandardButton question(QWidget* parent, const QString& caption,
                                                const QString& text);
    // A question with the given buttons (Yes, No, Cancel...) and the one Enter presses; Esc
    // answers Cancel when it is offered, otherwise No.
    static QMessageBox::StandardButton question(QWidget* parent, const QString& caption,
                                                const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton);
    static void show(QWidget* parent, const QString& caption, const QString& text,
                     QMessageBox::Icon icon);
    // A message with OK and one more button, labelled `actionText`, that offers a way on; true
    // when the user takes it. Enter and Esc answer OK; a test answers the button with Open.
    static bool offer(QWidget* parent, const QString& caption, const QString& text,
                      QMessageBox::Icon icon, const QString& actionText);

    // The next box is not shown; it returns `answer` at once.
    static void setNextAnswer(QMessageBox::StandardButton answer);
    // Every box from now on is answered with `answer` (NoButton: show them again).
    static void setAnswerForAll(QMessageBox::StandardButton answer);

    struct Shown {
        QString caption;
        QString text;
        QMessageBox::Icon icon;
    };
    // The boxes shown or answered so far (tests read and clear it).
    static QList<Shown>& history();

private:
    static QMessageBox::StandardButton ask(QWidget* parent, const QString& caption,
                                           const QString& text, QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton,
                                           const QString& openText = QString());
};
