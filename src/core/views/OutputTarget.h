#pragma once

#include <QString>

class QFileDevice;

// The file a page or a list document is written to. New content goes to a temporary file beside
// it and replaces it only once complete, so only a regular file (or a new name) can be a target:
// renaming over a link, a pipe or a device would replace that rather than write through it.
class OutputTarget
{
public:
    // Why `path` must not be written, or empty text when it may: it exists and is not a regular
    // file, or it is the catalogue file `catalogue` (by any name).
    static QString refusal(const QString& path, const QString& catalogue);
    // What went wrong writing `path` through `file`, in the same words for every kind of output.
    static QString cannotWrite(const QString& path, const QFileDevice& file);
};
