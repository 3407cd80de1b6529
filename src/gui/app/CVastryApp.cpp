#include "app/CVastryApp.h"

#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/CMainFrame.h"
#include "app/DesktopFrameDialogs.h"
#include "app/DesktopPostDialogs.h"
#include "app/ErrorReporter.h"
#include "app/FrameDialogs.h"
#include "app/UserFolders.h"
#include "ui/FileDialog.h"
#include "ui/GlintMenu.h"
#include "ui/HelpSchemeHandler.h"
#include "ui/MessageBox.h"
#include "views/CVastryDoc.h"
#include "views/PostDialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>

CVastryApp::CVastryApp()
{
    QCoreApplication::setOrganizationName(QLatin1String(AppSettings::Organisation));
    QCoreApplication::setApplicationName(QLatin1String(AppSettings::Application));
    m_settings = std::make_unique<AppSettings>();
    // Before the first web view: the engine learns its schemes only while it starts.
    HelpSchemeHandler::registerScheme();
}

CVastryApp::~CVastryApp()
{
    shutDown();
}

void CVastryApp::routeReportsToMessageBoxes()
{
    ErrorReporter::setHandler([this](const Report& report) {
        // Another program writing to the catalogue is no fault: the window waits for it.
        if (report.otherWriterBusy && m_frame) {
            m_frame->waitForOtherWriter();
            return;
        }
        const QMessageBox::Icon icons[] = {QMessageBox::Critical, QMessageBox::Warning,
                                           QMessageBox::Information, QMessageBox::Question};
        // A modal dialog (the album editor reading a disc) owns the box over the frame.
        QWidget* modal = QApplication::activeModalWidget();
        MessageBox::show(modal ? modal : m_frame.get(), report.caption, report.text,
                         icons[int(report.icon)]);
    });
}

void CVastryApp::setDialogs(std::unique_ptr<FrameDialogs> frameDialogs,
                            std::unique_ptr<PostDialogs> postDialogs)
{
    m_frameDialogs = std::move(frameDialogs);
    m_postDialogs = std::move(postDialogs);
}

// The catalogue named on the command line, else the last one; when that fails (the error box
// has been shown) the user may look for the file, else the program runs without a catalogue.
// Cancelling its password prompt opens nothing at all.
void CVastryApp::openCatalogAtStartUp(const QString& argument)
{
    const QString path = argument.isEmpty() ? m_document->lastCatalog() : argument;
    if (m_document->openCatalog(path) || m_document->openCancelled())
        return;
    const QString chosen = FileDialog::openFileName(nullptr, QFileInfo(path).fileName());
    if (!chosen.isEmpty())
        m_document->openCatalog(chosen);
}

bool CVastryApp::initInstance(const QStringList& arguments)
{
    routeReportsToMessageBoxes();
    if (!m_frameDialogs)
        m_frameDialogs = std::make_unique<DesktopFrameDialogs>();
    if (!m_postDialogs)
        m_postDialogs = std::make_unique<DesktopPostDialogs>();
    m_document = std::make_unique<CVastryDoc>(*m_settings);
    openCatalogAtStartUp(arguments.value(1));
    m_frame = std::make_unique<CMainFrame>(*m_document, *m_settings, m_frameDialogs.get(),
                                           m_postDialogs.get());
    GlintMenu::install(*m_settings, m_frame.get());
    m_frame->showAsRemembered();
    m_frame->repaint();
    warnAboutUnwritableFolders();
    showTipOfTheDayUnlessDisabled();
    return true;
}

void CVastryApp::warnAboutUnwritableFolders()
{
    // Said once at start-up: otherwise the loss shows only later, as settings that were not
    // kept or an album pane that stays empty.
    const QStringList problems =
        UserFolders::problems(m_settings->fileName(), AppPaths::pageDirectory());
    if (!problems.isEmpty())
        MessageBox::show(m_frame.get(), QStringLiteral("Tunvale"),
                         problems.join(QLatin1String("\n\n")), QMessageBox::Warning);
}

void CVastryApp::showTipOfTheDayUnlessDisabled()
{
    if (m_tipLeftOut || m_settings->read(SettingsTable::DisableTips) != 0)
        return;
    // Through the frame's dialogs, like the menu command: tests answer it there.
    m_frameDialogs->showTipOfTheDay(*m_settings, m_frame.get());
}

void CVastryApp::shutDown()
{
    // The window goes first: its panes store their column state in the document, which then
    // writes everything to the settings as it closes.
    if (m_frame) {
        m_frame->close();
        m_frame.reset();
    }
    m_document.reset();
    ErrorReporter::setHandler(nullptr);
}
