#include "cli/PasswordInput.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <termios.h>
#include <unistd.h>

namespace
{

// Strict: a byte that is no UTF-8 would otherwise turn into a replacement character, and the
// key into another one than the collector typed.
bool decodeLine(QByteArray line, QString* password, QString* error)
{
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    *password = decoder.decode(line);
    line.fill('\0');
    if (decoder.hasError()) {
        password->fill(QLatin1Char(' '));
        password->clear();
        *error = QStringLiteral("the password is not UTF-8 text.");
        return false;
    }
    return true;
}

// Echo off for as long as it lives, whatever way the reading ends.
class EchoOff
{
public:
    EchoOff()
    {
        m_saved = tcgetattr(STDIN_FILENO, &m_settings) == 0;
        if (!m_saved)
            return;
        termios quiet = m_settings;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    ~EchoOff()
    {
        if (m_saved)
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_settings);
    }

private:
    termios m_settings{};
    bool m_saved = false;
};

} // namespace

bool PasswordInput::fromFile(const QString& path, QString* password, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error =
            QStringLiteral("cannot read the password file '%1': %2").arg(path, file.errorString());
        return false;
    }
    return decodeLine(file.readLine(MaxLineBytes), password, error);
}

bool PasswordInput::hasTerminal()
{
    return isatty(STDIN_FILENO) == 1;
}

bool PasswordInput::fromTerminal(const QString& prompt, QString* password, QString* error)
{
    if (!hasTerminal()) {
        *error = QStringLiteral("there is no terminal to ask for the password on.");
        return false;
    }
    char* buffer = nullptr;
    size_t capacity = 0;
    ssize_t length = -1;
    {
        // Echo goes off before the prompt shows: switching it off discards what was typed
        // before, and an answer typed right after the prompt must not be lost.
        const EchoOff echoOff;
        std::fputs(prompt.toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
        length = getline(&buffer, &capacity, stdin);
    }
    // The line end typed was not echoed either.
    std::fputc('\n', stderr);
    // Kept whole, NULs included: a password with one is refused, not cut short.
    QByteArray line = length > 0 ? QByteArray(buffer, int(std::min<ssize_t>(length, MaxLineBytes)))
                                 : QByteArray();
    if (buffer) {
        std::fill(buffer, buffer + capacity, '\0');
        std::free(buffer);
    }
    if (length < 0) {
        *error = QStringLiteral("no password was typed.");
        return false;
    }
    return decodeLine(line, password, error);
}
