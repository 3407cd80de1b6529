#include "app/CVastryApp.h"

#include "app/AppSettings.h"
#include "app/CMainFrame.h"
#include "app/ErrorReporter.h"
#include "ui/MessageBox.h"
#include "views/CVastryDoc.h"

#include <QCoreApplication>

CVastryApp::CVastryApp()
{
    QCoreApplication::setOrganizationName(QLatin1String(AppSettings::Organisation));
    QCoreApplication::setApplicationName(QLatin1String(AppSettings::Application));
    m_settings = std::make_unique<AppSettings>();
}

CVastryApp::~CVastryApp()
{
    shutDown();
}

void CVastryApp::routeReportsToMessageBoxes()
{
    ErrorReporter::setHandler([this](const Report& report) {
        const QMessageBox::Icon icons[] = {QMessageBox::Critical, QMessageBox::Warning,
                                           QMessageBox::Information, QMessageBox::Question};
        MessageBox::show(m_frame.get(), report.caption, report.text, icons[int(report.icon)]);
    });
}

bool CVastryApp::initInstance(const QStringList& arguments)
{
    routeReportsToMessageBoxes();
    // Creating the document opens the catalogue named on the command line or the last one.
    m_document = std::make_unique<CVastryDoc>(*m_settings, arguments.value(1));
    m_frame = std::make_unique<CMainFrame>(*m_document, *m_settings);
    m_frame->showAsRemembered();
    m_frame->repaint();
    showTipOfTheDayUnlessDisabled();
    return true;
}

void CVastryApp::showTipOfTheDayUnlessDisabled()
{
    if (m_settings->read(SettingsTable::DisableTips) != 0)
        return;
    // The tip-of-the-day dialog is shown here, modally, once it is part of the program.
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
