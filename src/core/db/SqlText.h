#pragma once

#include <QByteArray>
#include <QString>

// Helpers for the SQL texts the program builds from templates.
class SqlText
{
public:
    // A text value ready to stand between single quotes: every quote doubled, so a name such as
    // "Guns N' Roses" is found and stored exactly as written.
    static QString quoted(const QString& value);

    // The engine has no TRUE/FALSE literals; the program's SQL uses them for booleans. Bare
    // TRUE and FALSE words (outside strings, quoted identifiers and comments) become 1 and 0.
    static QByteArray withBooleanLiterals(const QByteArray& sql);

    // Whether `expression` stays one expression when put between parentheses inside a larger
    // statement: its parentheses balance (outside strings and quoted names), and it holds no
    // statement end and no comment. (An unclosed string swallows the rest of the statement,
    // which the engine then refuses.)
    static bool isEnclosable(const QByteArray& expression);
};
