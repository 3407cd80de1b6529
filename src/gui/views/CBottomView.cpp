#include "views/CBottomView.h"

#include "app/PrivateMessages.h"
#include "app/WebEngineStart.h"
#include "ui/PrintDialogs.h"
#include "ui/UrlOpener.h"
#include "ui/WebViewFailures.h"
#include "views/CVastryDoc.h"

#include <QEventLoop>
#include <QLabel>
#include <QPrinter>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <cstdio>

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
    : QWebEngineView(parent), m_document(document),
      m_engineMissing(WebEngineStart::unavailableReason())
{
    setObjectName(QStringLiteral("CBottomView"));
    setAccessibleName(QStringLiteral("Album page"));
    setContextMenuPolicy(Qt::NoContextMenu);
    if (m_engineMissing.isEmpty())
        setUpPage();
    else
        showNotice(m_engineMissing);
}

void CBottomView::setUpPage()
{
    setPage(new AlbumPage(this));
    connect(this, &QWebEngineView::loadFinished, this, &CBottomView::pageLoaded);
    connect(new WebViewFailures(this), &WebViewFailures::changed, this,
            [this](const QString& reason) {
                if (!reason.isEmpty())
                    showNotice(reason);
            });
    // The page holds text from the catalogue and the network: no scripts run in it.
    QWebEngineSettings* web = settings();
    web->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    web->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    web->setAttribute(QWebEngineSettings::PluginsEnabled, false);
}

QString CBottomView::noticeText() const
{
    return m_notice && !m_notice->isHidden() ? m_notice->text() : QString();
}

// A plain label over the view: whatever broke the engine, the rest of the window works on.
void CBottomView::showNotice(const QString& reason)
{
    if (!m_notice) {
        m_notice = new QLabel(this);
        m_notice->setObjectName(QStringLiteral("PageNotice"));
        m_notice->setAlignment(Qt::AlignCenter);
        m_notice->setWordWrap(true);
        m_notice->setAutoFillBackground(true);
        m_notice->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        m_notice->setFocusPolicy(Qt::StrongFocus);
        m_notice->setGeometry(rect());
    }
    const QString text = QStringLiteral("The album page cannot be shown: %1").arg(reason);
    if (m_notice->text() != text || m_notice->isHidden()) {
        std::fprintf(stderr, "tunvale: %s\n", qPrintable(text));
        std::fputs("tunvale: starting it with QTWEBENGINE_CHROMIUM_FLAGS=\"--disable-gpu\" may "
                   "help; see the README.\n",
                   stderr);
    }
    m_notice->setText(text);
    m_notice->setAccessibleName(text);
    m_notice->show();
    m_notice->raise();
    emit settled();
}

void CBottomView::pageLoaded(bool ok)
{
    // A failed load has put up the notice already; one that succeeds takes it down.
    if (ok && m_notice)
        m_notice->hide();
    emit settled();
}

// The view's own handlers of these start the engine: without it, the pane is a plain widget.
void CBottomView::showEvent(QShowEvent* event)
{
    if (m_engineMissing.isEmpty())
        QWebEngineView::showEvent(event);
    else
        QWidget::showEvent(event);
}

void CBottomView::hideEvent(QHideEvent* event)
{
    if (m_engineMissing.isEmpty())
        QWebEngineView::hideEvent(event);
    else
        QWidget::hideEvent(event);
}

void CBottomView::closeEvent(QCloseEvent* event)
{
    if (m_engineMissing.isEmpty())
        QWebEngineView::closeEvent(event);
    else
        QWidget::closeEvent(event);
}

void CBottomView::resizeEvent(QResizeEvent* event)
{
    QWebEngineView::resizeEvent(event);
    if (m_notice)
        m_notice->setGeometry(rect());
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
        return m_engineMissing.isEmpty() ? QWebEngineView::event(event) : QWidget::event(event);
    }
}

void CBottomView::showAlbum(int albumId)
{
    if (!m_engineMissing.isEmpty()) {
        emit settled();
        return;
    }
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
    if (!m_engineMissing.isEmpty())
        return false;
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
    if (!m_engineMissing.isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (PrintDialogs::choosePrinter(&printer, this))
        printTo(&printer);
}

void CBottomView::preview()
{
    if (!m_engineMissing.isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    PrintDialogs::preview(&printer, this, [this](QPrinter* target) { printTo(target); });
}
