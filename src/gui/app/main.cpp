// The desktop program.
#include "app/CVastryApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    CVastryApp app;
    if (!app.initInstance(application.arguments()))
        return 1;
    const int result = application.exec();
    app.shutDown();
    return result;
}
