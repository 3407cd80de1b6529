// The desktop program.
#include "app/CMainFrame.h"
#include "app/CVastryApp.h"
#include "app/TerminationSignals.h"
#include "app/UserFolders.h"
#include "app/WebEngineStart.h"
#include "views/CBottomView.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <cstring>

namespace
{

constexpr char QuitWhenFilledOption[] = "--quit-when-filled";

// Takes the option out of the arguments (Qt and the catalogue path never see it); true when it
// was there.
bool takeQuitWhenFilledOption(int& argc, char** argv)
{
    bool found = false;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], QuitWhenFilledOption) == 0)
            found = true;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;
    return found;
}

// For the start-up benchmark and the checks of the first run: the program writes "filled" on
// standard output and quits as soon as its window shows the catalogue. A window whose page pane
// could only say why it is empty reports that instead, so a check or benchmark never counts it
// as a full start.
void quitWhenFilled(const CMainFrame* frame)
{
    const auto quit = [frame] {
        std::fputs(frame->pagePane()->noticeText().isEmpty() ? "filled\n"
                                                             : "filled without the album page\n",
                   stdout);
        std::fflush(stdout);
        QCoreApplication::quit();
    };
    if (frame->isFilled())
        QTimer::singleShot(0, qApp, quit);
    else
        QObject::connect(frame, &CMainFrame::filled, qApp, quit);
}

// Answered before the application object exists: it needs a display, and the manual page is
// generated from this text at build time, where there may be none.
bool answeredInformationOption(int argc, char** argv)
{
    if (argc != 2)
        return false;
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("tunvale %s\n", CMainFrame::VersionText);
        return true;
    }
    if (std::strcmp(argv[1], "--help") != 0 && std::strcmp(argv[1], "-h") != 0)
        return false;
    std::fputs(
        "Usage: tunvale [CATALOGUE.muf]\n"
        "A desktop catalogue for a private music collection.\n"
        "\n"
        "Opens CATALOGUE.muf, or without it the catalogue that was open when the program\n"
        "last closed.\n"
        "\n"
        "  -h, --help           show this help and exit\n"
        "  --version            show the version and exit\n"
        "  --quit-when-filled   quit as soon as the window shows the catalogue, writing\n"
        "                       \"filled\" on standard output (for scripted checks; \"filled\n"
        "                       without the album page\" when the page cannot be shown)\n"
        "\n"
        "Qt's own options, such as -platform and -style, apply as well.\n"
        "Settings are kept in ~/.config/Quillon/Tunvale.conf; the command-line companion\n"
        "tunvale-cli works on the same catalogues.\n",
        stdout);
    return true;
}

// The icon the window, the task bar and the window switcher show; the sizes come from the same
// drawing as the installed theme icons. The desktop file name lets Wayland compositors match the
// window to its menu entry.
void setApplicationIcon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/desktop/icons/%1/org.tunvale.Tunvale.png").arg(size));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tunvale.Tunvale"));
}

} // namespace

int main(int argc, char** argv)
{
    if (answeredInformationOption(argc, argv))
        return 0;
    const bool quitOnceFilled = takeQuitWhenFilledOption(argc, argv) ||
                                qEnvironmentVariableIsSet("TUNVALE_QUIT_WHEN_FILLED");
    UserFolders::adoptAccountHomeIfUnset();
    WebEngineStart::prepareEnvironment();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    const TerminationSignals terminationSignals;
    setApplicationIcon();
    CVastryApp app;
    if (quitOnceFilled)
        app.leaveOutTipOfTheDay();
    if (!app.initInstance(application.arguments()))
        return 1;
    if (quitOnceFilled)
        quitWhenFilled(app.mainFrame());
    const int result = application.exec();
    app.shutDown();
    return result;
}
