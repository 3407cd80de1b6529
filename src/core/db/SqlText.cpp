#include "db/SqlText.h"

namespace
{

bool isWordChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || static_cast<unsigned char>(c) >= 0x80;
}

// Index just past a quoted run that starts at `start` with `open` and ends with `close`;
// a doubled closing character inside stays part of the run.
int skipQuoted(const QByteArray& sql, int start, char close)
{
    int i = start + 1;
    while (i < sql.size()) {
        if (sql[i] == close) {
            if (close != ']' && i + 1 < sql.size() && sql[i + 1] == close) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return sql.size();
}

int skipComment(const QByteArray& sql, int start)
{
    if (sql[start] == '-') {
        const int end = sql.indexOf('\n', start);
        return end < 0 ? sql.size() : end + 1;
    }
    const int end = sql.indexOf("*/", start + 2);
    return end < 0 ? sql.size() : end + 2;
}

} // namespace

QString SqlText::quoted(const QString& value)
{
    QString text = value;
    return text.replace(QLatin1Char('\''), QLatin1String("''"));
}

QByteArray SqlText::withBooleanLiterals(const QByteArray& sql)
{
    QByteArray out;
    out.reserve(sql.size());
    int i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        int end = i + 1;
        if (c == '\'' || c == '"' || c == '`') {
            end = skipQuoted(sql, i, c);
        } else if (c == '[') {
            end = skipQuoted(sql, i, ']');
        } else if ((c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') ||
                   (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*')) {
            end = skipComment(sql, i);
        } else if (isWordChar(c)) {
            while (end < sql.size() && isWordChar(sql[end]))
                ++end;
            const QByteArray word = sql.mid(i, end - i);
            if (word.compare("TRUE", Qt::CaseInsensitive) == 0) {
                out.append('1');
                i = end;
                continue;
            }
            if (word.compare("FALSE", Qt::CaseInsensitive) == 0) {
                out.append('0');
                i = end;
                continue;
            }
        }
        out.append(sql.constData() + i, end - i);
        i = end;
    }
    return out;
}

bool SqlText::isEnclosable(const QByteArray& expression)
{
    int depth = 0;
    int i = 0;
    while (i < expression.size()) {
        const char c = expression[i];
        if (c == '\'' || c == '"' || c == '`') {
            i = skipQuoted(expression, i, c);
            continue;
        }
        if (c == '[') {
            i = skipQuoted(expression, i, ']');
            continue;
        }
        // A comment could hide the closing parenthesis put after the expression.
        if ((c == '-' && i + 1 < expression.size() && expression[i + 1] == '-') ||
            (c == '/' && i + 1 < expression.size() && expression[i + 1] == '*'))
            return false;
        if (c == '(')
            ++depth;
        else if (c == ')' && --depth < 0)
            return false;
        else if (c == ';')
            return false;
        ++i;
    }
    return depth == 0;
}
