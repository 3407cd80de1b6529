#pragma once

#include <QMainWindow>
#include <memory>

class ChmArchive;
class QAction;
class QWebEngineProfile;
class QLabel;
class QWebEngineView;

// The program's help: the pages of the help file in a window of their own, with contents,
// back and forward. The pages come straight out of the file; nothing is unpacked to disk. It is a
// main window of its own, so a screen reader lists it among the program's windows.
class HelpWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Shows `topic` ("<folder>/music.chm::/html/index.htm") in the help window of `parent`,
    // opening one when there is none. A help file that is missing or cannot be read gives a
    // message instead, and nullptr.
    static HelpWindow* showTopic(const QString& topic, QWidget* parent);

    ~HelpWindow() override;

    QWebEngineView* view() const { return m_view; }
    QString helpFile() const { return m_helpFile; }
    QAction* backAction() const { return m_back; }
    QAction* forwardAction() const { return m_forward; }
    QAction* contentsAction() const { return m_contents; }
    // Why the page is not shown ("The help page could not be shown: ..."), or empty.
    QString noticeText() const;

private:
    HelpWindow(const QString& helpFile, std::unique_ptr<ChmArchive> archive, QWidget* parent);
    void createToolBar();
    void go(const QString& objectPath);
    void showPageTitle(const QString& pageTitle);
    void showFailure(const QString& reason);

    QString m_helpFile;
    std::unique_ptr<ChmArchive> m_archive;
    QWebEngineProfile* m_profile = nullptr;
    QWebEngineView* m_view = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
    QAction* m_contents = nullptr;
    QLabel* m_notice = nullptr;
};
