// Any file as the help file: the structure check, then chmlib on whatever passes it, reading
// the pages and tables our own help file has. A damaged help file must never crash the program.
#include "ui/ChmArchive.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace
{

// chmlib opens files by name: the input goes into one file in memory, rewritten each time.
QString inputFile(const uint8_t* data, size_t size)
{
    static const int file = memfd_create("help", 0);
    if (file < 0 || ftruncate(file, 0) != 0)
        return QString();
    if (size > 0 && pwrite(file, data, size, 0) != ssize_t(size))
        return QString();
    return QStringLiteral("/proc/self/fd/%1").arg(file);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = inputFile(data, size);
    if (path.isEmpty())
        return 0;
    ChmArchive archive(path);
    if (!archive.isOpen())
        return 0;
    QByteArray content;
    for (const char* object : {"/html/index.htm", "/html/help.css", "/html/find.htm",
                               "/html/keyboard.htm", "/#SYSTEM", "/#STRINGS", "/toc.hhc"})
        archive.read(QString::fromLatin1(object), &content);
    return 0;
}
