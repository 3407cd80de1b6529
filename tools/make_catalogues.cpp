// Build step: writes template.bin (the empty catalogue) and demo.muf (the demonstration
// catalogue) into the programs' folder.
#include "CatalogBuilder.h"
#include "db/DatabaseEx.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

namespace
{

bool writeCatalogue(const QString& target, const QByteArray& sql)
{
    // Written under a temporary name first, so an interrupted build never leaves half a file.
    const QString temporary = target + QLatin1String(".part");
    QString error;
    if (!CatalogBuilder::create(temporary, DatabaseEx::CatalogPassword, sql, &error)) {
        std::fprintf(stderr, "make_catalogues: %s: %s\n", qPrintable(target), qPrintable(error));
        return false;
    }
    QFile::remove(target);
    if (!QFile::rename(temporary, target)) {
        std::fprintf(stderr, "make_catalogues: cannot write %s\n", qPrintable(target));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: make_catalogues SCHEMA.sql DEMO.sql OUTPUT_FOLDER\n");
        return 2;
    }
    QString error;
    const QByteArray schema = CatalogBuilder::readFile(args[1], &error);
    const QByteArray demo = CatalogBuilder::readFile(args[2], &error);
    if (schema.isEmpty() || demo.isEmpty()) {
        std::fprintf(stderr, "make_catalogues: %s\n", qPrintable(error));
        return 1;
    }
    const QDir output(args[3]);
    if (!writeCatalogue(output.filePath(QStringLiteral("template.bin")), schema) ||
        !writeCatalogue(output.filePath(QStringLiteral("demo.muf")), schema + "\n" + demo))
        return 1;
    return 0;
}
