#pragma once

#include <QString>
#include <functional>

// The core never shows a window. Every message it has for the user goes through this one
// hook: the desktop program points it at a message box, the command-line program at standard
// error, and tests at a recorder.
enum class ReportIcon { Stop, Warning, Information, Question };

struct Report {
    QString caption;
    QString text;
    ReportIcon icon = ReportIcon::Stop;
    // A read refused because another program is writing to the catalogue: nothing is wrong,
    // and a reader that can wait (the desktop program) tries again once the writer is done.
    bool otherWriterBusy = false;
};

class ErrorReporter
{
public:
    using Handler = std::function<void(const Report&)>;

    // Returns the handler that was installed before, so a scope can put it back.
    static Handler setHandler(Handler handler);
    static void report(const Report& report);
    static void report(const QString& caption, const QString& text,
                       ReportIcon icon = ReportIcon::Stop);
};
