#pragma once

struct sqlite3;

// The engine's own NOCASE folds ASCII letters only. Name columns are declared COLLATE NOCASE
// (so files stay readable elsewhere) and every connection of ours replaces NOCASE with a
// comparison of Unicode case-folded text, so "BJÖRK" finds "Björk".
class UnicodeCollation
{
public:
    static bool install(sqlite3* connection);
    // Three-way comparison of two UTF-8 texts, ignoring case; exposed for tests.
    static int compare(const char* left, int leftLength, const char* right, int rightLength);
};
