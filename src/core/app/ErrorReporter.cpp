#include "app/ErrorReporter.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

namespace
{

void printToStandardError(const Report& report)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(report.caption), qPrintable(report.text));
}

ErrorReporter::Handler& currentHandler()
{
    static ErrorReporter::Handler handler = printToStandardError;
    return handler;
}

} // namespace

ErrorReporter::Handler ErrorReporter::setHandler(Handler handler)
{
    Handler previous = std::move(currentHandler());
    currentHandler() = handler ? std::move(handler) : Handler(printToStandardError);
    return previous;
}

// A report made on a worker thread (a disc read during a lookup) is handed to the thread of the
// application object, since the handler shows windows. It is posted, not waited for, so a worker
// never blocks on an interface thread that may itself be waiting for it.
void ErrorReporter::report(const Report& report)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application && QThread::currentThread() != application->thread()) {
        QMetaObject::invokeMethod(
            application, [report] { currentHandler()(report); }, Qt::QueuedConnection);
        return;
    }
    currentHandler()(report);
}

void ErrorReporter::report(const QString& caption, const QString& text, ReportIcon icon)
{
    report(Report{caption, text, icon});
}
