#pragma once

#include <QDialog>

class Database;
class QLineEdit;

// Sets, changes or removes the password of the open catalogue. The current password is asked
// first when there is one; the new one is typed twice, and leaving it empty takes the
// catalogue back to the built-in key. OK closes only when everything typed is usable.
class SetPasswordDialog : public QDialog
{
    Q_OBJECT

public:
    SetPasswordDialog(const Database& database, QWidget* parent);

    QString newPassword() const;

public slots:
    void accept() override;

private:
    QLineEdit* addPasswordField(class QFormLayout* fields, const QString& label,
                                const QString& name);
    // Why OK cannot close the dialog yet, with the field to go back to; empty when it can.
    QString refusal(QLineEdit** field) const;

    const Database& m_database;
    QLineEdit* m_current = nullptr;
    QLineEdit* m_new = nullptr;
    QLineEdit* m_repeated = nullptr;
};
