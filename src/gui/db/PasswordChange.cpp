#include "db/PasswordChange.h"

#include "db/CatalogPassword.h"
#include "db/SetPasswordDialog.h"
#include "ui/DialogFont.h"
#include "ui/MessageBox.h"
#include "views/CVastryDoc.h"

#include <QProgressDialog>
#include <algorithm>

namespace
{

const char* const Caption = "Set Password";

void say(QWidget* parent, const QString& text, QMessageBox::Icon icon)
{
    MessageBox::show(parent, QLatin1String(Caption), text, icon);
}

QString doneText(bool hadPassword, bool hasPassword)
{
    if (!hasPassword)
        return QStringLiteral("The password is removed: the catalogue opens without one again.");
    return hadPassword ? QStringLiteral("The password is changed.")
                       : QStringLiteral("The password is set. It is asked for whenever the "
                                        "catalogue is opened.");
}

} // namespace

PasswordChange::Outcome PasswordChange::run(CVastryDoc& document, QWidget* parent)
{
    const Database* database = document.database();
    if (!database) {
        say(parent, QStringLiteral("Open a catalogue first."), QMessageBox::Information);
        return Outcome::Unchanged;
    }
    if (database->isReadOnly()) {
        say(parent, QStringLiteral("The catalogue is read-only; its password cannot be changed."),
            QMessageBox::Warning);
        return Outcome::Unchanged;
    }
    SetPasswordDialog dialog(*database, parent);
    if (dialog.exec() != QDialog::Accepted)
        return Outcome::Unchanged;
    QString password = dialog.newPassword();
    const bool hadPassword = CatalogPassword::hasOwnPassword(*database);
    if (CatalogPassword::isCurrent(*database, password))
        return Outcome::Unchanged;

    QProgressDialog progress(QStringLiteral("Writing the catalogue with its new key..."),
                             QStringLiteral("Cancel"), 0, 1, parent);
    progress.setWindowTitle(QLatin1String(Caption));
    progress.setAccessibleName(QLatin1String(Caption));
    // Shown at once and modal to every window: the copy lets events through between its steps,
    // and a change made meanwhile would go to the file being replaced.
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    DialogFont::apply(&progress);
    // Escape and the window's close button only hide a progress dialog: they must cancel too.
    QObject::connect(&progress, &QProgressDialog::rejected, &progress, &QProgressDialog::cancel);
    QString error;
    const bool changed =
        document.changePassword(password, &error, [&progress](int done, int total) {
            progress.setMaximum(std::max(total, 1));
            // setValue lets a modal dialog handle its events, Cancel included.
            progress.setValue(std::min(done, std::max(total, 1)));
            return !progress.wasCanceled();
        });
    progress.close();
    const bool hasPassword = !password.isEmpty();
    password.fill(QLatin1Char(' '));
    if (!document.database())
        return Outcome::CatalogueClosed;
    if (!changed) {
        say(parent, QStringLiteral("The password was not changed: %1").arg(error),
            QMessageBox::Warning);
        return Outcome::Unchanged;
    }
    say(parent, doneText(hadPassword, hasPassword), QMessageBox::Information);
    return Outcome::Changed;
}
