#pragma once

#include <QByteArray>

// The structure of a compiled help file, checked before the help reader is let near it. The
// reader follows the file's own offsets, counts and sizes as they stand: one damaged byte can
// make it divide by zero, start a decompressor it could not set up, or read far past a buffer.
// Everything it will follow is checked here against the file and against its own tables.
class ChmLayout
{
public:
    // True when the headers, every directory chunk and entry, the compression's control data
    // and reset table, and the place of every stored object agree with `file` (its whole
    // content) in every way the reader relies on.
    static bool isSound(const QByteArray& file);
};
