#include "db/SetPasswordDialog.h"

#include "db/CatalogPassword.h"
#include "db/Database.h"
#include "ui/DialogFont.h"
#include "ui/FlatButton.h"
#include "ui/MessageBox.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

SetPasswordDialog::SetPasswordDialog(const Database& database, QWidget* parent)
    : QDialog(parent), m_database(database)
{
    setObjectName(QStringLiteral("SetPasswordDialog"));
    setWindowTitle(QStringLiteral("Set Password"));
    const bool hasPassword = CatalogPassword::hasOwnPassword(database);
    auto* intro = new QLabel(
        hasPassword
            ? QStringLiteral("Type the current password, then the new one twice. Leave the new "
                             "password empty to remove the password.")
            : QStringLiteral("Anyone with the program can open this catalogue. With a password "
                             "of your own, only those who know it can. Type it twice."),
        this);
    intro->setWordWrap(true);
    intro->setMinimumWidth(340);
    auto* fields = new QFormLayout;
    if (hasPassword)
        m_current = addPasswordField(fields, QStringLiteral("&Current password:"),
                                     QStringLiteral("current"));
    m_new = addPasswordField(fields, QStringLiteral("&New password:"), QStringLiteral("new"));
    m_repeated = addPasswordField(fields, QStringLiteral("&Repeat new password:"),
                                  QStringLiteral("repeated"));
    auto* warning = new QLabel(QStringLiteral("A forgotten password cannot be recovered: the "
                                              "catalogue then opens no more."),
                               this);
    warning->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SetPasswordDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SetPasswordDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(fields);
    layout->addWidget(warning);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    DialogFont::apply(this);
    for (QAbstractButton* button : buttons->buttons())
        MakeButtonFlat(this, button);
    (m_current ? m_current : m_new)->setFocus();
}

QLineEdit* SetPasswordDialog::addPasswordField(QFormLayout* fields, const QString& label,
                                               const QString& name)
{
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setEchoMode(QLineEdit::Password);
    // Room for a long pass phrase; anything beyond the limit is refused with a reason.
    field->setMaxLength(CatalogPassword::MaxLength * 2 + 1);
    auto* caption = new QLabel(label, this);
    caption->setBuddy(field);
    fields->addRow(caption, field);
    return field;
}

QString SetPasswordDialog::newPassword() const
{
    return m_new->text();
}

QString SetPasswordDialog::refusal(QLineEdit** field) const
{
    *field = m_current;
    if (m_current && !CatalogPassword::isCurrent(m_database, m_current->text()))
        return QStringLiteral("The current password is wrong.");
    *field = m_new;
    if (m_new->text() != m_repeated->text())
        return QStringLiteral("The two new passwords differ. Type the new password again in "
                              "both fields.");
    if (!m_current && m_new->text().isEmpty())
        return QStringLiteral("Type the new password in both fields.");
    return CatalogPassword::problem(m_new->text());
}

void SetPasswordDialog::accept()
{
    QLineEdit* field = nullptr;
    const QString problem = refusal(&field);
    if (problem.isEmpty()) {
        QDialog::accept();
        return;
    }
    MessageBox::show(this, windowTitle(), problem, QMessageBox::Warning);
    if (field == m_new)
        m_repeated->clear();
    field->selectAll();
    field->setFocus();
}
