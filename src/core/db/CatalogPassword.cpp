#include "db/CatalogPassword.h"

#include "db/Database.h"
#include "db/DatabaseEx.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{

QString ownConnectString(const QString& password)
{
    return QLatin1String(";PWD=") + password;
}

// Holds a read lock on the catalogue while it lives: another program can then not commit
// (its write waits, and fails rather than being lost in the file that is about to be
// replaced), while the copy reads through the same connection.
class WriterBarrier
{
public:
    explicit WriterBarrier(Database* database) : m_database(database)
    {
        m_held = m_database->execute("BEGIN") &&
                 m_database->execute("SELECT count(*) FROM sqlite_master");
    }
    ~WriterBarrier() { m_database->execute("ROLLBACK"); }
    bool isHeld() const { return m_held; }

private:
    Database* m_database;
    bool m_held = false;
};

// A copy killed half-way leaves its temporary file behind, as large as the catalogue. One
// untouched for this long belongs to no copy still running.
constexpr qint64 AbandonedAfterSeconds = 600;

void removeAbandonedCopies(const QString& path)
{
    const QFileInfo catalogue(path);
    const QDir folder = catalogue.dir();
    const QStringList names = folder.entryList(
        {CatalogCopy::temporaryPrefix(path) + QLatin1Char('*')}, QDir::Files | QDir::Hidden);
    const QDateTime abandoned = QDateTime::currentDateTimeUtc().addSecs(-AbandonedAfterSeconds);
    for (const QString& name : names) {
        if (QFileInfo(folder.filePath(name)).lastModified().toUTC() < abandoned)
            QFile::remove(folder.filePath(name));
    }
}

} // namespace

QString CatalogPassword::connectString(const QString& password)
{
    return password.isEmpty() ? DatabaseEx::catalogConnectString() : ownConnectString(password);
}

bool CatalogPassword::hasOwnPassword(const Database& database)
{
    return database.connectString() != DatabaseEx::catalogConnectString();
}

bool CatalogPassword::isCurrent(const Database& database, const QString& password)
{
    return database.isOpen() && database.connectString() == connectString(password);
}

QString CatalogPassword::problem(const QString& password)
{
    if (password.contains(QChar(0)))
        return QStringLiteral("A password cannot contain a NUL character.");
    // Characters as the user sees them: a letter outside the basic plane is one, not two.
    if (password.toUcs4().size() > MaxLength)
        return QStringLiteral("A password can be at most %1 characters long.").arg(MaxLength);
    if (!password.isEmpty() && connectString(password) == DatabaseEx::catalogConnectString())
        return QStringLiteral("That password is the program's built-in key, which every copy "
                              "of the program knows. Choose another one.");
    return QString();
}

bool CatalogPassword::change(Database* database, const QString& password, QString* error,
                             const CatalogCopy::Progress& progress)
{
    if (!database || !database->isOpen()) {
        *error = QStringLiteral("The catalogue is not open.");
        return false;
    }
    const QString refused = problem(password);
    if (!refused.isEmpty()) {
        *error = refused;
        return false;
    }
    if (database->isReadOnly()) {
        *error = QStringLiteral("The catalogue is read-only; its password cannot be changed.");
        return false;
    }
    removeAbandonedCopies(database->name());
    const WriterBarrier barrier(database);
    if (!barrier.isHeld()) {
        *error = database->lastError().description;
        return false;
    }
    return CatalogCopy::write(database, database->name(), connectString(password), error, progress);
}
