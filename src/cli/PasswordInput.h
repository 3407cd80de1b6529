#pragma once

#include <QString>

// Where the command-line companion takes passwords from: the first line of a file (for
// scripts), or the terminal with the typed characters not shown.
class PasswordInput
{
public:
    // The longest line read: a password is at most 1000 characters of up to 4 bytes each.
    static constexpr qint64 MaxLineBytes = 4100;

    // The first line of `path`, without its line end. False, with the reason in `error`, when
    // the file cannot be read or is not UTF-8 text.
    static bool fromFile(const QString& path, QString* password, QString* error);
    // Asks with `prompt` on standard error and reads one line from the terminal on standard
    // input without echoing it. False when standard input is no terminal.
    static bool fromTerminal(const QString& prompt, QString* password, QString* error);
    static bool hasTerminal();
};
