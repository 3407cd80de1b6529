#include "ui/ChmArchive.h"

#include "ui/ChmLayout.h"

#include <QFile>
#include <chm_lib.h>

namespace
{

// Help pages and pictures are small; a directory entry claiming more is damage, and must not
// make the program allocate it.
constexpr quint64 LargestObject = 32 * 1024 * 1024;
// Our help file is some hundred kilobytes; one far larger is not it.
constexpr qint64 LargestFile = 64 * 1024 * 1024;

// The whole file, when it is a help file whose structure the reader can follow safely.
bool isSoundHelpFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > LargestFile)
        return false;
    return ChmLayout::isSound(file.readAll());
}

} // namespace

ChmArchive::ChmArchive(const QString& path)
{
    // The reader trusts every offset and size in the file; a damaged one could bring the
    // program down, so it only gets files whose structure has been checked.
    if (isSoundHelpFile(path))
        m_file = chm_open(QFile::encodeName(path).constData());
}

ChmArchive::~ChmArchive()
{
    if (m_file)
        chm_close(m_file);
}

bool ChmArchive::read(const QString& path, QByteArray* data) const
{
    if (!m_file)
        return false;
    chmUnitInfo unit{};
    if (chm_resolve_object(m_file, path.toUtf8().constData(), &unit) != CHM_RESOLVE_SUCCESS)
        return false;
    if (unit.length > LargestObject)
        return false;
    QByteArray bytes(int(unit.length), Qt::Uninitialized);
    const LONGINT64 got = chm_retrieve_object(
        m_file, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0, LONGINT64(unit.length));
    if (got != LONGINT64(unit.length))
        return false;
    *data = bytes;
    return true;
}
