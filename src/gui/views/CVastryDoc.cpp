#include "views/CVastryDoc.h"

#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "db/BackupWithProgress.h"
#include "db/CatalogIntegrity.h"
#include "db/CatalogPassword.h"
#include "db/CatalogProbe.h"
#include "db/CatalogTemplate.h"
#include "db/PasswordPrompt.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

CVastryDoc::CVastryDoc(AppSettings& settings) : m_settings(settings)
{
    m_columns.load(m_settings);
    m_query.load(m_settings);
}

CVastryDoc::~CVastryDoc()
{
    if (m_database) {
        m_settings.write(SettingsTable::LastDatabase, m_database->name());
        m_albumTable.CloseDatabase(&m_database);
    }
    m_query.save(m_settings);
    m_columns.save(m_settings);
    m_settings.sync();
    removeGeneratedPages();
}

void CVastryDoc::setPanes(QWidget* tree, QWidget* list, QWidget* page)
{
    m_treePane = tree;
    m_listPane = list;
    m_pagePane = page;
}

bool CVastryDoc::openCatalog(const QString& path)
{
    m_openCancelled = false;
    // The open catalogue stays until the new one is open: Cancel in the password prompt keeps
    // it. Any other failure leaves no catalogue open, as it always did.
    DatabaseHandle opened;
    bool needsPassword = false;
    bool done = m_albumTable.OpenDatabase(&opened, path, DatabaseEx::catalogConnectString(),
                                          &needsPassword);
    if (needsPassword) {
        QString connect;
        // Out of tries, the last one is refused with the engine's own error, as any file it
        // cannot read.
        if (!askPassword(path, &connect) && m_openCancelled)
            return false;
        done = m_albumTable.OpenDatabase(&opened, path, connect);
        connect.fill(QLatin1Char(' '));
    }
    closeCatalog();
    if (!done)
        return false;
    m_database = std::move(opened);
    adoptOpened();
    return true;
}

bool CVastryDoc::reopenWith(const QString& path, const QString& connect)
{
    closeCatalog();
    if (!m_albumTable.OpenDatabase(&m_database, path, connect)) {
        m_database.reset();
        return false;
    }
    adoptOpened();
    return true;
}

void CVastryDoc::adoptOpened()
{
    // Every change this program makes, from whichever window, passes the connection's hook: the
    // day's first one is preceded by the day's backup.
    m_database->setBeforeChange([this] { BackupWithProgress::takeDailyIfDue(*this, nullptr); });
    checkAtOpen();
}

// A damaged catalogue stays open, read-only: what can still be read can be seen and exported,
// and nothing written on top of the damage makes it worse.
void CVastryDoc::checkAtOpen()
{
    const QString path = m_database->name();
    QStringList problems;
    if (!CatalogIntegrity::isCheckedAtOpen(path) || !m_database->quickCheck(&problems) ||
        problems.isEmpty())
        return;
    if (!m_database->reopenReadOnly()) {
        m_database.reset();
        return;
    }
    QWidget* parent = QApplication::activeWindow();
    const QString caption = QLatin1String(DatabaseEx::MessageCaption);
    const QString damage = CatalogIntegrity::damageText(path, problems);
    const BackupEntry good =
        CatalogBackup::fromSettings(m_settings).newestGood(path, m_database->connectString());
    if (good.path.isEmpty()) {
        MessageBox::show(parent, caption,
                         damage + QStringLiteral("\n\nThere is no good backup of it."),
                         QMessageBox::Warning);
        return;
    }
    const QString offer =
        damage + QStringLiteral("\n\nThe newest good backup is from %1, with %2 albums "
                                "(%3). Restore it now?")
                     .arg(QLocale().toString(good.taken, QLocale::ShortFormat))
                     .arg(good.albums)
                     .arg(QDir::toNativeSeparators(good.path));
    if (MessageBox::offer(parent, caption, offer, QMessageBox::Warning, QStringLiteral("&Restore")))
        BackupWithProgress::restore(*this, good.path, parent);
}

// Asks until the password opens the file, up to three times. True with the password's connect
// string; false after Cancel (openCancelled()) or after the last wrong try, with that try's
// connect string.
bool CVastryDoc::askPassword(const QString& path, QString* connect)
{
    for (int attempt = 0; attempt < PasswordTries; ++attempt) {
        QString password;
        if (!PasswordPrompt::ask(QApplication::activeWindow(), path, attempt > 0, &password)) {
            m_openCancelled = true;
            return false;
        }
        *connect = CatalogPassword::connectString(password);
        password.fill(QLatin1Char(' '));
        if (CatalogProbe::opensWith(path, *connect))
            return true;
    }
    return false;
}

bool CVastryDoc::changePassword(const QString& password, QString* error,
                                const CatalogCopy::Progress& progress)
{
    if (!m_database)
        return false;
    BackupWithProgress::takeBefore(*this, CatalogBackup::Reason::PasswordChange,
                                   QApplication::activeWindow());
    if (!CatalogPassword::change(m_database.get(), password, error, progress))
        return false;
    // The connection still reads the file that was replaced.
    return reopenWith(m_database->name(), CatalogPassword::connectString(password));
}

void CVastryDoc::closeCatalog()
{
    m_albumTable.CloseDatabase(&m_database);
}

QString CVastryDoc::lastCatalog() const
{
    return m_settings.read(SettingsTable::LastDatabase);
}

bool CVastryDoc::makeNewCatalog(const QString& path)
{
    // The open file is never overwritten underneath its own connection.
    if (m_database && QFileInfo(m_database->name()) == QFileInfo(path))
        closeCatalog();
    if (!CatalogTemplate::copyTo(path))
        return false;
    return openCatalog(path);
}

void CVastryDoc::removeGeneratedPages()
{
    const QDir pages(AppPaths::pageDirectory());
    QFile::remove(pages.filePath(QStringLiteral("post.html")));
    QFile::remove(pages.filePath(QStringLiteral("print.html")));
}
