#include "views/CBottomView.h"

#include "app/PrivateMessages.h"
#include "ui/PrintDialogs.h"
#include "ui/UrlOpener.h"
#include "views/CVastryDoc.h"

#include <QEventLoop>
#include <QPrinter>
#include <QWebEnginePage>
#include <QWebEngineSettings>

namespace
{

// Stands in for the window a link with a target asks for: its one address goes to the
// desktop, and the stand-in goes away.
class LinkWindow : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override
    {
        UrlOpener::open(url);
        deleteLater();
        return false;
    }
};

// The album page stays on its file: a followed link opens in the desktop's browser.
class AlbumPage : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override
    {
        if (type != NavigationTypeLinkClicked)
            return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
        UrlOpener::open(url);
        return false;
    }
    QWebEnginePage* createWindow(WebWindowType) override { return new LinkWindow(this); }
};

} // namespace

CBottomView::CBottomView(CVastryDoc& document, QWidget* parent)
    : QWebEngineView(parent), m_document(document)
{
    setObjectName(QStringLiteral("CBottomView"));
    setAccessibleName(QStringLiteral("Album page"));
    setPage(new AlbumPage(this));
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
