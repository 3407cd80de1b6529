#include "app/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

constexpr int HandledSignals[] = {SIGTERM, SIGHUP, SIGINT};

// [0] is written by the handler, [1] read by the event loop.
int signalSocket[2] = {-1, -1};

void writeSignalNumber(int number)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    // A full socket already holds a request to quit: a lost byte changes nothing.
    [[maybe_unused]] const ssize_t written = ::write(signalSocket[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket) != 0)
        return;
    // The handler must never block, however many signals arrive.
    ::fcntl(signalSocket[0], F_SETFL, ::fcntl(signalSocket[0], F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::quitApplication);
    struct sigaction action {
    };
    action.sa_handler = writeSignalNumber;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : HandledSignals)
        ::sigaction(number, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    for (const int number : HandledSignals)
        std::signal(number, SIG_DFL);
    for (int& socket : signalSocket) {
        if (socket >= 0)
            ::close(socket);
        socket = -1;
    }
}

void TerminationSignals::quitApplication()
{
    unsigned char number = 0;
    if (::read(signalSocket[1], &number, 1) != 1)
        return;
    // The status a shell expects of a program ended by a signal.
    const int status = 128 + number;
    QCoreApplication::exit(status);
    // A signal that came during start-up ended only the loop of a dialog shown then (the tip of
    // the day); the main loop, which has not begun yet, is left as soon as it does.
    QTimer::singleShot(0, this, [status] { QCoreApplication::exit(status); });
}
