#include "views/CBottomView.h"

#include "app/PrivateMessages.h"
#include "ui/PrintDialogs.h"
#include "views/CVastryDoc.h"

#include <QEventLoop>
#include <QPrinter>
#include <QWebEngineSettings>

CBottomView::CBottomView(CVastryDoc& document, QWidget* parent)
    : QWebEngineView(parent), m_document(document)
{
    setObjectName(QStringLiteral("CBottomView"));
    setAccessibleName(QStringLiteral("Album page"));
    // The page holds text from the catalogue and the network: no scripts run in it.
    QWebEngineSettings* web = settings();
    web->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    web->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    web->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    setContextMenuPolicy(Qt::NoContextMenu);
}

bool CBottomView::event(QEvent* event)
{
    switch (int(event->type())) {
    case UWM_SHOW_ALBUM:
        showAlbum(int(qintptr(static_cast<PaneMessage*>(event)->wParam())));
        return true;
    case UWM_PRINT_ALBUM:
        printWithDialog();
        return true;
    case UWM_PREVIEW_ALBUM:
        preview();
        return true;
    default:
        return QWebEngineView::event(event);
    }
}

void CBottomView::showAlbum(int albumId)
{
    m_shownPath = albumId == -1
                      ? QString()
                      : m_document.albumTable().WritePage(m_document.database(), albumId, false);
    if (m_shownPath.isEmpty()) {
        setHtml(QString());
        return;
    }
    // The file keeps its name from album to album: reload it even when the URL is unchanged.
    const QUrl url = QUrl::fromLocalFile(m_shownPath);
    if (this->url() == url)
        reload();
    else
        load(url);
}

bool CBottomView::printTo(QPrinter* printer)
{
    QEventLoop loop;
    bool succeeded = false;
    const auto connection =
        connect(this, &QWebEngineView::printFinished, &loop, [&loop, &succeeded](bool ok) {
            succeeded = ok;
            loop.quit();
        });
    print(printer);
    loop.exec();
    disconnect(connection);
    return succeeded;
}

void CBottomView::printWithDialog()
{
    QPrinter printer(QPrinter::HighResolution);
    if (PrintDialogs::choosePrinter(&printer, this))
        printTo(&printer);
}

void CBottomView::preview()
{
    QPrinter printer(QPrinter::HighResolution);
    PrintDialogs::preview(&printer, this, [this](QPrinter* target) { printTo(target); });
}
