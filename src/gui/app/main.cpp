// The desktop program.
#include "app/CMainFrame.h"
#include "app/CVastryApp.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

namespace
{

// The start-up benchmark's hook: with TUNVALE_QUIT_WHEN_FILLED set, the program writes
// "filled" on standard output and quits as soon as its window shows the catalogue.
void quitWhenFilledIfAsked(const CMainFrame* frame)
{
    if (!qEnvironmentVariableIsSet("TUNVALE_QUIT_WHEN_FILLED"))
        return;
    const auto quit = [] {
        std::fputs("filled\n", stdout);
        std::fflush(stdout);
        QCoreApplication::quit();
    };
    if (frame->isFilled())
        QTimer::singleShot(0, qApp, quit);
    else
        QObject::connect(frame, &CMainFrame::filled, qApp, quit);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    CVastryApp app;
    if (!app.initInstance(application.arguments()))
        return 1;
    quitWhenFilledIfAsked(app.mainFrame());
    const int result = application.exec();
    app.shutDown();
    return result;
}
