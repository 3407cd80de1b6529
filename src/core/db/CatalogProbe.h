#pragma once

#include <QString>

// Tells, without writing to it, whether a file opens with the program's built-in key, looks
// like a catalogue under a password of its own, or is no catalogue at all.
//
// An encrypted catalogue is indistinguishable from random bytes: its first page begins with a
// random salt and the rest is cipher text. So a file counts as needing a password when the
// built-in key cannot read it, it holds whole pages (at least 1024 bytes, a multiple of 512),
// it does not begin with the header of an unencrypted database, and its first 1024 bytes use
// at least 128 different byte values. Text, an unencrypted database, an empty or truncated
// file all fail that last test by far (text uses well under 100 values; random bytes about
// 250). Random garbage of the right size does pass it: it is asked for a password that no
// one knows, and refused like a wrong password.
//
// The one write a probe may cause is the engine's own crash recovery: a file left with the
// journal of a killed write is played back to its last committed state (the old pages are
// copied back as they are, with any key) before it can be read at all.
class CatalogProbe
{
public:
    enum class Kind { BuiltInKey, NeedsPassword, NotCatalog };

    static Kind kind(const QString& path);
    // The part of the rule that needs no key: whether the file's bytes look like cipher text.
    // Every catalogue does; what the built-in key cannot open and passes this needs a password.
    static bool looksEncrypted(const QString& path);
    // Whether the file opens with the key of `connect`; a wrong key leaves the file as it was.
    static bool opensWith(const QString& path, const QString& connect);
};
