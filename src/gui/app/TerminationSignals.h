#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGHUP and SIGINT end the desktop program the way closing it does: the event loops
// are left and everything after them runs, so settings are stored and the page folder (a plain
// copy of an album from the encrypted catalogue) is removed. The handler only writes the
// signal's number to a socket, as little as a handler may safely do; the event loop reads it.
class TerminationSignals : public QObject
{
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    void quitApplication();

    QSocketNotifier* m_notifier = nullptr;
};
