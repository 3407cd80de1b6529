#include "musicbrainz/CompleteWithProgress.h"

#include "app/AppSettings.h"
#include "musicbrainz/AlbumCompleter.h"
#include "ui/DialogFont.h"
#include "ui/MessageBox.h"
#include "views/CVastryDoc.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <memory>

namespace
{

const QString Caption = QString::fromLatin1(CompleteWithProgress::Caption);

// The albums to complete: the selected one, all imported ones without tracks, or none when
// the collector says no.
QVector<int> chooseAlbums(const QVector<int>& incomplete, int selectedAlbumId, QWidget* parent)
{
    const QString all =
        QStringLiteral("all %1 imported albums without tracks").arg(incomplete.size());
    if (selectedAlbumId < 0 && incomplete.isEmpty()) {
        MessageBox::show(parent, Caption,
                         QStringLiteral("No album is selected, and every imported album has "
                                        "its tracks."),
                         QMessageBox::Information);
        return {};
    }
    if (selectedAlbumId < 0) {
        if (MessageBox::question(parent, Caption,
                                 QStringLiteral("Complete %1 from MusicBrainz?").arg(all)) ==
            QMessageBox::Yes)
            return incomplete;
        return {};
    }
    if (incomplete.isEmpty()) {
        if (MessageBox::question(parent, Caption,
                                 QStringLiteral("Complete the selected album from MusicBrainz?")) ==
            QMessageBox::Yes)
            return {selectedAlbumId};
        return {};
    }
    const QMessageBox::StandardButton answer = MessageBox::question(
        parent, Caption,
        QStringLiteral("Complete from MusicBrainz:\n\nYes: the selected album\nYes to All: %1")
            .arg(all),
        QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        return {selectedAlbumId};
    if (answer == QMessageBox::YesToAll)
        return incomplete;
    return {};
}

// The service's waits on a thread of their own while this one keeps handling events.
void runOnWorker(const std::function<void()>& work)
{
    std::unique_ptr<QThread> worker(QThread::create(work));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
}

QMessageBox::Icon summaryIcon(const AlbumCompleter::Summary& summary)
{
    return summary.failed() > 0 ? QMessageBox::Warning : QMessageBox::Information;
}

} // namespace

QString CompleteWithProgress::remainingText(std::chrono::seconds remaining)
{
    const qint64 total = remaining.count();
    if (total >= 3600)
        return QStringLiteral("about %1 h %2 min").arg(total / 3600).arg(total % 3600 / 60);
    if (total >= 60)
        return QStringLiteral("about %1 min %2 s").arg(total / 60).arg(total % 60);
    return QStringLiteral("about %1 s").arg(total);
}

bool CompleteWithProgress::run(CVastryDoc& document, int selectedAlbumId, QWidget* parent)
{
    if (!document.database()) {
        MessageBox::show(parent, Caption, QStringLiteral("Open a catalogue first."),
                         QMessageBox::Information);
        return false;
    }
    AlbumCompleter completer(document.database(), LookupSettings::read(document.settings()));
    const QVector<int> ids = chooseAlbums(completer.albumsToComplete(), selectedAlbumId, parent);
    if (ids.isEmpty())
        return false;

    QProgressDialog progress(QStringLiteral("Completing albums from MusicBrainz..."),
                             QStringLiteral("Cancel"), 0, ids.size(), parent);
    progress.setWindowTitle(Caption);
    progress.setAccessibleName(Caption);
    progress.setWindowModality(Qt::WindowModal);
    // Shown at once: the window must take no command while the catalogue is being completed.
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    DialogFont::apply(&progress);
    // Escape and the window's close button only hide a progress dialog: they must cancel too.
    QObject::connect(&progress, &QProgressDialog::rejected, &progress, &QProgressDialog::cancel);

    progress.show();
    completer.setNetworkRunner(runOnWorker);
    const AlbumCompleter::Summary summary =
        completer.run(ids, false, [&progress](const AlbumCompleter::Progress& step) {
            const QString text =
                QStringLiteral("Completing album %1 of %2 from MusicBrainz, %3 left.")
                    .arg(qMin(step.done + 1, step.total))
                    .arg(step.total)
                    .arg(remainingText(step.remaining));
            progress.setLabelText(text);
            progress.setAccessibleDescription(text);
            progress.setValue(step.done);
            return !progress.wasCanceled();
        });
    progress.close();
    MessageBox::show(parent, Caption, summary.text(), summaryIcon(summary));
    return summary.completed > 0;
}
