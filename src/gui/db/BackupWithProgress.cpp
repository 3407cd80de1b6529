#include "db/BackupWithProgress.h"

#include "app/AppSettings.h"
#include "db/Database.h"
#include "ui/DialogFont.h"
#include "ui/MessageBox.h"
#include "views/CVastryDoc.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QHash>
#include <QProgressDialog>
#include <QSet>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <memory>

namespace
{

constexpr int ProgressSteps = 1000;
constexpr int ShowAfterMs = 1000;
constexpr int PollMs = 50;
const char* const RestoreCaption = "Restore from Backup";

QWidget* dialogParent(QWidget* parent)
{
    if (parent)
        return parent;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

// Catalogues whose failed backup the user has heard of in this session.
QSet<QString>& toldFailures()
{
    static QSet<QString> told;
    return told;
}

// The day each catalogue's daily backup was last looked at, so a failed one is not tried
// again before every change.
QHash<QString, QDate>& dailyLooks()
{
    static QHash<QString, QDate> looks;
    return looks;
}

QString capitalised(const QString& text)
{
    return text.isEmpty() ? text : text.at(0).toUpper() + text.mid(1);
}

void tellFailureOnce(const QString& catalog, CatalogBackup::Reason reason, const QString& error,
                     QWidget* parent)
{
    if (toldFailures().contains(catalog))
        return;
    toldFailures().insert(catalog);
    MessageBox::show(dialogParent(parent), QLatin1String(BackupWithProgress::Caption),
                     QStringLiteral("%1 failed: %2\n\nYour change goes on without it. Until the "
                                    "program is started again, failed backups of this "
                                    "catalogue are not mentioned again.")
                         .arg(capitalised(CatalogBackup::reasonText(reason)), error),
                     QMessageBox::Warning);
}

} // namespace

bool BackupWithProgress::runWithProgress(
    const QString& caption, const QString& label,
    const std::function<bool(const CatalogCopy::Progress&)>& work, QWidget* parent)
{
    std::atomic<int> done{0};
    std::atomic<int> total{0};
    std::atomic<bool> cancelled{false};
    bool result = false;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        result = work([&](int pagesDone, int pagesTotal) {
            done = pagesDone;
            total = pagesTotal;
            return !cancelled;
        });
    }));

    QProgressDialog progress(label, QStringLiteral("Cancel"), 0, ProgressSteps,
                             dialogParent(parent));
    progress.setWindowTitle(caption);
    progress.setAccessibleName(caption);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(ShowAfterMs);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    DialogFont::apply(&progress);
    QObject::connect(&progress, &QProgressDialog::rejected, &progress, &QProgressDialog::cancel);

    QEventLoop loop;
    QTimer poll;
    poll.start(PollMs); // wakes the loop to move the bar
    worker->start();
    while (!worker->isFinished()) {
        // Keys and clicks meant for the window wait until the dialog is up: acting on them
        // now would start a second change inside the first.
        const QEventLoop::ProcessEventsFlags input =
            progress.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents;
        loop.processEvents(input | QEventLoop::WaitForMoreEvents);
        if (progress.wasCanceled())
            cancelled = true;
        const int pages = total;
        if (pages > 0)
            progress.setValue(int(qint64(done) * ProgressSteps / pages));
    }
    worker->wait();
    progress.close();
    return result;
}

bool BackupWithProgress::takeBefore(CVastryDoc& document, CatalogBackup::Reason reason,
                                    QWidget* parent)
{
    Database* database = document.database();
    if (!database)
        return false;
    const CatalogBackup backups = CatalogBackup::fromSettings(document.settings());
    if (!backups.isEnabled())
        return true;
    const QString path = database->name();
    const QString connect = database->connectString();
    QString error;
    const bool taken = runWithProgress(
        QLatin1String(Caption),
        QStringLiteral("Backing up \"%1\"...").arg(QFileInfo(path).fileName()),
        [&](const CatalogCopy::Progress& progress) {
            Database own;
            if (!own.open(path, connect)) {
                error = own.lastError().description;
                return false;
            }
            return backups.takeBefore(&own, reason, &error, progress);
        },
        parent);
    if (!taken)
        tellFailureOnce(path, reason, error, parent);
    return taken;
}

void BackupWithProgress::takeDailyIfDue(CVastryDoc& document, QWidget* parent)
{
    Database* database = document.database();
    if (!database)
        return;
    const QString path = database->name();
    const QDate today = QDate::currentDate();
    if (dailyLooks().value(path) == today)
        return;
    dailyLooks().insert(path, today);
    const CatalogBackup backups = CatalogBackup::fromSettings(document.settings());
    if (backups.isEnabled() && backups.isDailyDue(path))
        takeBefore(document, CatalogBackup::Reason::Daily, parent);
}

bool BackupWithProgress::restore(CVastryDoc& document, const QString& backupPath, QWidget* parent)
{
    Database* database = document.database();
    if (!database)
        return false;
    const QString path = database->name();
    const QString connect = database->connectString();
    QString error;
    if (!CatalogBackup::canReplace(path, &error)) {
        MessageBox::show(dialogParent(parent), QLatin1String(RestoreCaption), error,
                         QMessageBox::Warning);
        return false;
    }
    const CatalogBackup backups = CatalogBackup::fromSettings(document.settings());
    // The program's own connection is closed while the file is replaced under its name.
    document.closeCatalog();
    auto result = CatalogBackup::RestoreResult::Refused;
    const auto attempt = [&](bool force) {
        runWithProgress(
            QLatin1String(RestoreCaption),
            QStringLiteral("Restoring \"%1\"...").arg(QFileInfo(path).fileName()),
            [&](const CatalogCopy::Progress& progress) {
                result =
                    backups.restore(path, backupPath, connect, force, nullptr, &error, progress);
                return result == CatalogBackup::RestoreResult::Restored;
            },
            parent);
    };
    attempt(false);
    if (result == CatalogBackup::RestoreResult::CurrentNotBackedUp &&
        MessageBox::question(dialogParent(parent), QLatin1String(RestoreCaption),
                             error + QStringLiteral("\n\nRestore the backup anyway? The current "
                                                    "state of the catalogue is then lost.")) ==
            QMessageBox::Yes)
        attempt(true);
    const bool restored = result == CatalogBackup::RestoreResult::Restored;
    if (!restored && result != CatalogBackup::RestoreResult::CurrentNotBackedUp)
        MessageBox::show(dialogParent(parent), QLatin1String(RestoreCaption), error,
                         QMessageBox::Warning);
    // Opened again with the key it had: a catalogue with a password is not asked for it again.
    document.reopenWith(path, connect);
    return restored;
}
