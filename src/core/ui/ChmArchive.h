#pragma once

#include <QByteArray>
#include <QString>

struct chmFile;

// A compiled HTML help file, read-only: the pages and pictures stored in it by path. A file
// whose structure does not hold together is not opened at all.
class ChmArchive
{
public:
    explicit ChmArchive(const QString& path);
    ~ChmArchive();
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    bool isOpen() const { return m_file != nullptr; }
    // The whole object stored at `path` ("/html/index.htm"); false when the archive has no such
    // object or holds less of it than its directory promises (a cut-off file).
    bool read(const QString& path, QByteArray* data) const;

private:
    chmFile* m_file = nullptr;
};
