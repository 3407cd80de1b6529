#include "views/CVastryDoc.h"

#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "db/BackupWithProgress.h"
#include "db/CatalogTemplate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    closeCatalog();
    if (!m_albumTable.OpenDatabase(&m_database, path, DatabaseEx::catalogConnectString())) {
        m_database.reset();
        return false;
    }
    // Every change this program makes, from whichever window, passes the connection's hook: the
    // day's first one is preceded by the day's backup.
    m_database->setBeforeChange([this] { BackupWithProgress::takeDailyIfDue(*this, nullptr); });
    return true;
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
