#include "ui/HelpWindow.h"

#include "ui/ChmArchive.h"
#include "ui/HelpPage.h"
#include "ui/HelpSchemeHandler.h"
#include "ui/MessageBox.h"
#include "ui/WebViewFailures.h"

#include <QAction>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace
{

const QString ContentsPage = QStringLiteral("/html/index.htm");
const QString WindowName = QStringLiteral("Tunvale Help");

// "<file>::<page>"; a topic without a page opens the contents.
void splitTopic(const QString& topic, QString* file, QString* page)
{
    // A folder may hold "::" in its name; the page part never does.
    const int separator = topic.lastIndexOf(QLatin1String("::"));
    *file = separator < 0 ? topic : topic.left(separator);
    *page = separator < 0 ? ContentsPage : topic.mid(separator + 2);
}

void reportUnreadable(const QString& file, QWidget* parent)
{
    MessageBox::show(parent, QStringLiteral("Tunvale"),
                     QStringLiteral("The help file \"%1\" is missing or damaged, so the help "
                                    "cannot be shown.")
                         .arg(QFileInfo(file).absoluteFilePath()),
                     QMessageBox::Warning);
}

} // namespace

HelpWindow* HelpWindow::showTopic(const QString& topic, QWidget* parent)
{
    QString file;
    QString page;
    splitTopic(topic, &file, &page);
    // The page asked for is read once here, so a cut-off file is found before a window opens.
    auto archive = std::make_unique<ChmArchive>(file);
    QByteArray probe;
    if (!archive->read(page, &probe)) {
        reportUnreadable(file, parent);
        return nullptr;
    }
    HelpWindow* window = parent ? parent->findChild<HelpWindow*>() : nullptr;
    if (!window || window->helpFile() != file) {
        delete window;
        window = new HelpWindow(file, std::move(archive), parent);
    }
    window->go(page);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

HelpWindow::HelpWindow(const QString& helpFile, std::unique_ptr<ChmArchive> archive,
                       QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_helpFile(helpFile), m_archive(std::move(archive))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(WindowName);
    resize(760, 560);

    // A profile of the help's own keeps its scheme away from the album page's view. A damaged
    // help file must not reach out of it either: no scripts, no plugins, nothing remote.
    m_profile = new QWebEngineProfile(this);
    QWebEngineSettings* web = m_profile->settings();
    web->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    web->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    web->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    m_profile->installUrlSchemeHandler(HelpSchemeHandler::Scheme,
                                       new HelpSchemeHandler(*m_archive, m_profile));
    m_view = new QWebEngineView(this);
    m_view->setPage(new HelpPage(m_profile, m_view));
    m_view->setAccessibleName(QStringLiteral("Help page"));
    connect(m_view, &QWebEngineView::titleChanged, this, &HelpWindow::showPageTitle);
    connect(new WebViewFailures(m_view), &WebViewFailures::changed, this, &HelpWindow::showFailure);

    createToolBar();
    setCentralWidget(m_view);
    m_notice = new QLabel(this);
    m_notice->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(m_notice, 1);
    statusBar()->hide();
}

// The window stays: Contents, Back or Forward load a page afresh, with a new page process.
void HelpWindow::showFailure(const QString& reason)
{
    const QString text = reason.isEmpty()
                             ? QString()
                             : QStringLiteral("The help page could not be shown: %1").arg(reason);
    m_notice->setText(text);
    m_notice->setAccessibleName(text);
    statusBar()->setVisible(!text.isEmpty());
}

QString HelpWindow::noticeText() const
{
    return m_notice->text();
}

// The page goes before its profile, as the web engine requires.
HelpWindow::~HelpWindow()
{
    delete m_view;
}

void HelpWindow::createToolBar()
{
    auto* bar = new QToolBar(this);
    bar->setAccessibleName(QStringLiteral("Help toolbar"));
    // The button that shows the commands a narrow window has no room for.
    if (auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More commands"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_contents = bar->addAction(QStringLiteral("&Contents"), this, [this] { go(ContentsPage); });
    m_back = m_view->pageAction(QWebEnginePage::Back);
    m_back->setText(QStringLiteral("&Back"));
    m_back->setShortcut(QKeySequence::Back);
    m_forward = m_view->pageAction(QWebEnginePage::Forward);
    m_forward->setText(QStringLiteral("&Forward"));
    m_forward->setShortcut(QKeySequence::Forward);
    bar->addAction(m_back);
    bar->addAction(m_forward);
    auto* close = new QAction(QStringLiteral("Close"), this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
    addAction(m_back);
    addAction(m_forward);
    bar->setMovable(false);
    addToolBar(bar);
}

// The contents page is titled like the window itself; saying it twice reads badly aloud.
void HelpWindow::showPageTitle(const QString& pageTitle)
{
    const bool sameName = pageTitle.isEmpty() || pageTitle == WindowName;
    setWindowTitle(sameName ? WindowName : WindowName + QStringLiteral(" - ") + pageTitle);
}

void HelpWindow::go(const QString& objectPath)
{
    m_view->load(HelpSchemeHandler::urlOf(objectPath));
}
