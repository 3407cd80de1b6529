#pragma once

#include "db/CatalogCopy.h"

#include <QString>

class Database;

// The key of a catalogue: the program's built-in one, which every catalogue had until its
// collector chose a password of their own, or that password. Opening a catalogue on the
// built-in key stays exactly as it always was.
class CatalogPassword
{
public:
    static constexpr int MaxLength = 1000;

    // The connect string for `password`; an empty password stands for the built-in key.
    static QString connectString(const QString& password);
    // Whether the connection was opened with a password of the collector's own.
    static bool hasOwnPassword(const Database& database);
    // Whether `password` is the one the connection was opened with (empty: the built-in key).
    static bool isCurrent(const Database& database, const QString& password);
    // Why `password` cannot become a catalogue's password; empty when it can. The empty
    // password is accepted: it takes the catalogue back to the built-in key.
    static QString problem(const QString& password);

    // Rewrites the open catalogue under the key of `password`. The copy is written beside the
    // file, checked and renamed over it, so a kill at any moment leaves the file opening with
    // either the old or the new key. Other programs' writes wait until the copy is in place.
    // Afterwards the connection still reads the replaced file: the caller closes it and opens
    // the catalogue again with `connectString(password)`. False, with the reason in `error`,
    // when anything fails; the file is untouched then. Temporary files that killed changes left
    // beside the catalogue are removed once they are clearly abandoned.
    static bool change(Database* database, const QString& password, QString* error,
                       const CatalogCopy::Progress& progress = {});
};
