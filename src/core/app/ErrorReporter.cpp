#include "app/ErrorReporter.h"

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

void ErrorReporter::report(const Report& report)
{
    currentHandler()(report);
}

void ErrorReporter::report(const QString& caption, const QString& text, ReportIcon icon)
{
    report(Report{caption, text, icon});
}
