#include "db/UnicodeCollation.h"

#include <QString>
#include <sqlcipher/sqlite3.h>

namespace
{

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

int collate(void*, int leftLength, const void* left, int rightLength, const void* right)
{
    return UnicodeCollation::compare(static_cast<const char*>(left), leftLength,
                                     static_cast<const char*>(right), rightLength);
}

} // namespace

int UnicodeCollation::compare(const char* left, int leftLength, const char* right, int rightLength)
{
    // Most names are ASCII: compare bytes directly until a non-ASCII byte shows up, then hand
    // the rest (which starts on a character boundary) to Qt's case folding.
    int i = 0;
    const int common = leftLength < rightLength ? leftLength : rightLength;
    for (; i < common; ++i) {
        const unsigned char l = static_cast<unsigned char>(left[i]);
        const unsigned char r = static_cast<unsigned char>(right[i]);
        if (l >= 0x80 || r >= 0x80)
            break;
        const char lf = asciiLower(char(l));
        const char rf = asciiLower(char(r));
        if (lf != rf)
            return lf < rf ? -1 : 1;
    }
    if (i == common && (i == leftLength || i == rightLength))
        return leftLength == rightLength ? 0 : (leftLength < rightLength ? -1 : 1);
    const QString l = QString::fromUtf8(left + i, leftLength - i);
    const QString r = QString::fromUtf8(right + i, rightLength - i);
    const int result = l.compare(r, Qt::CaseInsensitive);
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

bool UnicodeCollation::install(sqlite3* connection)
{
    return sqlite3_create_collation(connection, "NOCASE", SQLITE_UTF8, nullptr, collate) ==
           SQLITE_OK;
}
