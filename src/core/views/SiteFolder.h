#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

// The folder a web site is published into. The site is written into a temporary folder beside
// it and takes the folder's place only once complete, so a failed or cancelled run leaves the
// old site (or nothing) behind. Only a new name, an empty folder or a site published before
// (it carries the marker file) is replaced: any other folder may hold the user's own files.
class SiteFolder
{
public:
    static constexpr const char* MarkerName = ".tunvale-site";

    // `catalogue` is the open catalogue's file, which the site must never replace.
    SiteFolder(const QString& target, const QString& catalogue);
    ~SiteFolder();

    // Why the target must not be replaced; empty text when it may.
    QString refusal() const;
    // Checks the target and makes the temporary folder; false with the reason in `error`.
    bool begin(QString* error);
    // Where the new site is written until commit.
    QString workPath() const;
    // Marks the written site and puts it in the target's place, the old folder removed; false
    // with the reason in `error`, the target then as it was.
    bool commit(QString* error);

private:
    bool isPreviousSite() const;
    bool holdsCatalogue() const;
    bool swapIn(QString* error);

    QString m_target;
    QString m_catalogue;
    std::unique_ptr<QTemporaryDir> m_work;
};
