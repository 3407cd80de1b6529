#include "support/TestCatalog.h"

#include "db/DatabaseEx.h"

#include <QFile>

TestCatalog::TestCatalog() = default;

QString TestCatalog::programDirectory()
{
    return QStringLiteral(TUNVALE_PROGRAM_DIR);
}

QString TestCatalog::copyOfTemplate(const QString& name) const
{
    const QString target = filePath(name);
    QFile::remove(target);
    QFile::copy(programDirectory() + QLatin1String("/template.bin"), target);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

QString TestCatalog::copyOfDemo(const QString& name) const
{
    const QString target = filePath(name);
    QFile::remove(target);
    QFile::copy(programDirectory() + QLatin1String("/demo.muf"), target);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

QByteArray TestCatalog::schemaSql()
{
    return readBytes(QStringLiteral(TUNVALE_SCHEMA_PATH));
}

QByteArray TestCatalog::readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool TestCatalog::damagePage(const QString& path, bool firstPage)
{
    // The engine's pages are 1 024 bytes in the catalogues this program makes.
    constexpr qint64 pageSize = 1024;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || file.size() < 4 * pageSize)
        return false;
    return file.seek(firstPage ? 0 : file.size() - pageSize) &&
           file.write(QByteArray(pageSize, '\x5a')) == pageSize;
}

int TestCatalog::albumCount(const QString& path, const QString& connect)
{
    Database database;
    DatabaseEx layer;
    RecordsetHandle albums;
    if (!database.open(path, connect) ||
        !layer.OpenRecordset(&albums, &database,
                             QStringLiteral("SELECT * FROM music WHERE deleted = FALSE")))
        return -1;
    return layer.GetRecordCount(albums.get());
}

ReportRecorder::ReportRecorder()
{
    m_previous =
        ErrorReporter::setHandler([this](const Report& report) { m_reports.append(report); });
}

ReportRecorder::~ReportRecorder()
{
    ErrorReporter::setHandler(m_previous);
}
