#pragma once

#include <QString>
#include <functional>

class Database;

// A copy of an open catalogue in another file, taken through the engine's online backup so it
// can be taken while this and other connections read and write. The copy is encrypted with the
// key of the given connect string: the same key for a backup, another for a password change.
// It is written under a hidden temporary name beside the target, checked, flushed to disk and
// only then renamed over the target, so a kill at any moment leaves the target either as it
// was or complete, and never a half file under the target's name. A copy under the source's
// own key needs no online backup: it is the file's bytes, read inside a read transaction that
// keeps every writer out meanwhile.
class CatalogCopy
{
public:
    // Told after each step how many pages are copied of how many; returning false cancels.
    using Progress = std::function<bool(int done, int total)>;

    // `source` must be used by this thread alone while the copy runs. False, with the reason
    // in `error`, when anything fails; the target is untouched then.
    static bool write(Database* source, const QString& target, const QString& connect,
                      QString* error, const Progress& progress = {});

    // The prefix of the temporary files: a folder may hold one left by a killed copy, and
    // whoever lists the folder skips (or removes) names that start with it.
    static QString temporaryPrefix(const QString& target);
};
