#pragma once

#include <QStringList>
#include <memory>

class AppSettings;
class CMainFrame;
class CVastryDoc;
class FrameDialogs;
class PostDialogs;

// The application object: roots the settings store, creates the document and the main window
// at start-up, and is the one place every part reads and writes settings through.
class CVastryApp
{
public:
    CVastryApp();
    ~CVastryApp();
    CVastryApp(const CVastryApp&) = delete;
    CVastryApp& operator=(const CVastryApp&) = delete;

    // The dialogs the frame and the album list open, set before start-up in place of the
    // program's own (tests put in recorders).
    void setDialogs(std::unique_ptr<FrameDialogs> frameDialogs,
                    std::unique_ptr<PostDialogs> postDialogs);

    // For a run that checks the start-up and ends by itself: nothing may wait for a person.
    void leaveOutTipOfTheDay() { m_tipLeftOut = true; }

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
    void openCatalogAtStartUp(const QString& argument);
    void warnAboutUnwritableFolders();
    void showTipOfTheDayUnlessDisabled();

    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<FrameDialogs> m_frameDialogs;
    std::unique_ptr<PostDialogs> m_postDialogs;
    std::unique_ptr<CVastryDoc> m_document;
    std::unique_ptr<CMainFrame> m_frame;
    bool m_tipLeftOut = false;
};
