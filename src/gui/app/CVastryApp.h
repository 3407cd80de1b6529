#pragma once

#include <QStringList>
#include <memory>

class AppSettings;
class CMainFrame;
class CVastryDoc;

// The application object: roots the settings store, creates the document and the main window
// at start-up, and is the one place every part reads and writes settings through.
class CVastryApp
{
public:
    CVastryApp();
    ~CVastryApp();
    CVastryApp(const CVastryApp&) = delete;
    CVastryApp& operator=(const CVastryApp&) = delete;

    // Start-up; `arguments` are the program's (a catalogue path may follow the program name).
    // False when the program cannot start.
    bool initInstance(const QStringList& arguments);

    AppSettings& settings() { return *m_settings; }
    CMainFrame* mainFrame() const { return m_frame.get(); }
    CVastryDoc* document() const { return m_document.get(); }

    // Closes the window and the document in the order the program exits in.
    void shutDown();

private:
    void routeReportsToMessageBoxes();
    void showTipOfTheDayUnlessDisabled();

    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<CVastryDoc> m_document;
    std::unique_ptr<CMainFrame> m_frame;
};
