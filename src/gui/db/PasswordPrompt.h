#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

// Asks for the password of a catalogue that has one of its own. After a wrong try it says so
// above the field, and the field is empty again.
class PasswordPrompt : public QDialog
{
    Q_OBJECT

public:
    PasswordPrompt(const QString& path, QWidget* parent);

    QString password() const;
    // Shown from the second try on.
    void showWrongPassword();

    // Asks once; false when the user cancels. `wrongBefore` says the last try was wrong.
    static bool ask(QWidget* parent, const QString& path, bool wrongBefore, QString* password);

private:
    QLineEdit* m_password = nullptr;
    QLabel* m_wrong = nullptr;
};
