#pragma once

#include <QString>

// New catalogues are byte copies of the empty template beside the program.
class CatalogTemplate
{
public:
    // Copies the template to `path`, replacing a file there only once the copy is complete.
    // False (with a reason) when there is no template or the target cannot be written.
    static bool copyTo(const QString& path, QString* error = nullptr);
};
