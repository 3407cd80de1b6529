#include "io/ImportWithProgress.h"

#include "db/BackupWithProgress.h"
#include "ui/DialogFont.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "views/CVastryDoc.h"

#include <QFileInfo>
#include <QProgressDialog>

namespace
{

// The bar counts thousandths of the file, whatever its size.
constexpr int ProgressSteps = 1000;
// A short import finishes before the dialog would be worth showing.
constexpr int ShowAfterMs = 400;

QMessageBox::Icon summaryIcon(const ImportSummary& summary)
{
    switch (summary.outcome) {
    case ImportSummary::Outcome::Stored:
    case ImportSummary::Outcome::DryRun:
        return summary.badRowCount > 0 ? QMessageBox::Warning : QMessageBox::Information;
    case ImportSummary::Outcome::Cancelled:
        return QMessageBox::Information;
    default:
        return QMessageBox::Warning;
    }
}

} // namespace

QString ImportWithProgress::caption(CollectionImport::Format format)
{
    switch (format) {
    case CollectionImport::Format::Discogs:
        return QStringLiteral("Import Discogs Collection");
    case CollectionImport::Format::DiscogsWantlist:
        return QStringLiteral("Import Discogs Want List");
    default:
        return QStringLiteral("Import CSV File");
    }
}

QString ImportWithProgress::menuText(CollectionImport::Format format)
{
    switch (format) {
    case CollectionImport::Format::Discogs:
        return QStringLiteral("&Discogs Collection (CSV)...");
    case CollectionImport::Format::DiscogsWantlist:
        return QStringLiteral("Discogs &Want List (CSV)...");
    default:
        return QStringLiteral("&CSV File...");
    }
}

bool ImportWithProgress::run(CVastryDoc& document, CollectionImport::Format format, QWidget* parent)
{
    if (!document.database()) {
        MessageBox::show(parent, caption(format), QStringLiteral("Open a catalogue first."),
                         QMessageBox::Information);
        return false;
    }
    const QString path = FileDialog::openExistingFile(parent, QLatin1String(FileDialog::CsvFilter));
    if (path.isEmpty())
        return false;
    BackupWithProgress::takeBefore(document, CatalogBackup::Reason::Import, parent);

    QProgressDialog progress(QStringLiteral("Importing \"%1\"...").arg(QFileInfo(path).fileName()),
                             QStringLiteral("Cancel"), 0, ProgressSteps, parent);
    progress.setWindowTitle(caption(format));
    progress.setAccessibleName(caption(format));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(ShowAfterMs);
    progress.setAutoReset(false);
    DialogFont::apply(&progress);
    // Escape and the window's close button only hide a progress dialog: they must cancel too.
    QObject::connect(&progress, &QProgressDialog::rejected, &progress, &QProgressDialog::cancel);

    CollectionImport import(document.database());
    const QString wantlistItem =
        menuText(CollectionImport::Format::DiscogsWantlist).remove(QLatin1Char('&'));
    import.setWantlistCommand(QStringLiteral("File > Import > \"%1\"").arg(wantlistItem));
    import.setProgress([&progress](qint64 done, qint64 total) {
        // setValue lets a modal dialog handle its events, Cancel included.
        progress.setValue(total > 0 ? int(done * ProgressSteps / total) : 0);
    return !progress.wasCanceled();
});
const ImportSummary summary = import.run(path, format, false);
progress.close();
MessageBox::show(parent, caption(format), summary.text(), summaryIcon(summary));
return summary.outcome == ImportSummary::Outcome::Stored && summary.imported > 0;
}
