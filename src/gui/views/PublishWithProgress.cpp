#include "views/PublishWithProgress.h"

#include "ui/DialogFont.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/UrlOpener.h"
#include "views/CVastryDoc.h"
#include "views/JpegCoverScaler.h"
#include "views/SitePublisher.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QUrl>

namespace
{

// A small list is done before the dialog would be worth showing.
constexpr int ShowAfterMs = 400;
// The dialog is brought up to date this often; each update lets the window handle its events.
constexpr int UpdateEveryMs = 50;

QString caption()
{
    return QLatin1String(PublishWithProgress::Caption);
}

QString sentence(const QString& text)
{
    return text.isEmpty() ? text : text.left(1).toUpper() + text.mid(1);
}

void reportPublished(const SitePublisher& publisher, const QString& folder, QWidget* parent)
{
    const QString index = QDir(folder).absoluteFilePath(QStringLiteral("index.html"));
    const QString text =
        QStringLiteral("%1 albums and %2 covers were published to \"%3\".\n\nOpen index.html "
                       "in that folder with any browser; no server or network is needed. To take "
                       "the collection along, copy the whole folder to a phone or to any web "
                       "host.")
            .arg(publisher.albumCount())
            .arg(publisher.coverCount())
            .arg(QDir::toNativeSeparators(folder));
    if (MessageBox::offer(parent, caption(), text, QMessageBox::Information,
                          QStringLiteral("&Open Site")))
        UrlOpener::open(QUrl::fromLocalFile(index));
}

} // namespace

bool PublishWithProgress::run(CVastryDoc& document, QWidget* parent)
{
    if (!document.database()) {
        MessageBox::show(parent, caption(), QStringLiteral("Open a catalogue first."),
                         QMessageBox::Information);
        return false;
    }
    const QString folder = FileDialog::siteFolder(parent);
    if (folder.isEmpty())
        return false;

    QProgressDialog progress(QStringLiteral("Publishing the web site..."), QStringLiteral("Cancel"),
                             0, 1, parent);
    progress.setWindowTitle(caption());
    progress.setAccessibleName(caption());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(ShowAfterMs);
    progress.setAutoReset(false);
    DialogFont::apply(&progress);
    // Escape and the window's close button only hide a progress dialog: they must cancel too.
    QObject::connect(&progress, &QProgressDialog::rejected, &progress, &QProgressDialog::cancel);

    JpegCoverScaler covers;
    SitePublisher publisher(document.database(), &covers);
    QElapsedTimer sinceUpdate;
    sinceUpdate.start();
    publisher.setProgress([&](int done, int total) {
        if (done == 0 || done == total || sinceUpdate.elapsed() >= UpdateEveryMs) {
            progress.setMaximum(qMax(total, 1));
            // setValue lets a modal dialog handle its events, Cancel included.
            progress.setValue(done);
            sinceUpdate.restart();
        }
        return !progress.wasCanceled();
    });
    SitePublisher::Options options;
    options.condition = document.filter();
    const SitePublisher::Outcome outcome = publisher.publish(folder, options);
    progress.close();
    switch (outcome) {
    case SitePublisher::Outcome::Published:
        reportPublished(publisher, folder, parent);
        return true;
    case SitePublisher::Outcome::Failed:
        MessageBox::show(parent, caption(), sentence(publisher.errorText()), QMessageBox::Warning);
        return false;
    case SitePublisher::Outcome::Cancelled:
        break;
    }
    return false;
}
