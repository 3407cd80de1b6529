#pragma once

#include <QByteArray>
#include <QString>

// Writes new catalogue files from SQL text. Used at build time (template and demo catalogues),
// by the benchmark generator and by tests that need unusual files; the program itself never
// creates tables.
class CatalogBuilder
{
public:
    // Creates `path` anew (replacing any file there), keyed with `key` when it is not empty,
    // and runs `sql` in it as one transaction.
    static bool create(const QString& path, const QByteArray& key, const QByteArray& sql,
                       QString* error);
    static QByteArray readFile(const QString& path, QString* error);
};
