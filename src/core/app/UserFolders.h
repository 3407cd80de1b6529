#pragma once

#include <QString>
#include <QStringList>

// The per-user places the programs write to (settings, generated pages), and what to tell the
// user when one of them cannot be written.
class UserFolders
{
public:
    // Without HOME every per-user path would fall back to "/", so the account's own home
    // folder stands in for it. Call before anything asks for a standard location.
    static void adoptAccountHomeIfUnset();

    // Empty when a file can be created in `folder` (made if missing), otherwise the reason.
    static QString writeError(const QString& folder);

    // One sentence per place that cannot be written: the settings file and the page folder.
    static QStringList problems(const QString& settingsFile, const QString& pageFolder);
};
