#include "db/PasswordPrompt.h"

#include "ui/DialogFont.h"
#include "ui/FlatButton.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PasswordPrompt::PasswordPrompt(const QString& path, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PasswordPrompt"));
    setWindowTitle(QStringLiteral("Password"));
    auto* intro = new QLabel(QStringLiteral("The catalogue '%1' is protected by a password.")
                                 .arg(QFileInfo(path).fileName()),
                             this);
    intro->setWordWrap(true);
    m_wrong = new QLabel(QStringLiteral("The password is wrong. Try again."), this);
    m_wrong->setObjectName(QStringLiteral("wrongPassword"));
    m_wrong->setVisible(false);
    QFont bold = m_wrong->font();
    bold.setBold(true);
    m_wrong->setFont(bold);

    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setMinimumWidth(260);
    auto* label = new QLabel(QStringLiteral("&Password:"), this);
    label->setBuddy(m_password);
    auto* fields = new QFormLayout;
    fields->addRow(label, m_password);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PasswordPrompt::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PasswordPrompt::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_wrong);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    DialogFont::apply(this);
    for (QAbstractButton* button : buttons->buttons())
        MakeButtonFlat(this, button);
    m_password->setFocus();
}

QString PasswordPrompt::password() const
{
    return m_password->text();
}

void PasswordPrompt::showWrongPassword()
{
    m_wrong->setVisible(true);
    // A screen reader reads the field's description when the focus lands on it.
    m_password->setAccessibleDescription(m_wrong->text());
}

bool PasswordPrompt::ask(QWidget* parent, const QString& path, bool wrongBefore, QString* password)
{
    PasswordPrompt prompt(path, parent);
    if (wrongBefore)
        prompt.showWrongPassword();
    if (prompt.exec() != QDialog::Accepted)
        return false;
    *password = prompt.password();
    return true;
}
