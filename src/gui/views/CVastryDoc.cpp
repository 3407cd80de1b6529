#include "views/CVastryDoc.h"

#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "db/CatalogTemplate.h"
#include "ui/FileDialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

CVastryDoc::CVastryDoc(AppSettings& settings, const QString& path, QWidget* dialogParent)
    : m_settings(settings)
{
    openAtStartUp(path.isEmpty() ? m_settings.read(SettingsTable::LastDatabase) : path,
                  dialogParent);
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

void CVastryDoc::openAtStartUp(const QString& path, QWidget* dialogParent)
{
    if (m_albumTable.OpenDatabase(&m_database, path, DatabaseEx::CatalogConnectString()))
        return;
    // The error box has been shown; the user may look for the file.
    const QString chosen = FileDialog::openFileName(dialogParent, QFileInfo(path).fileName());
    if (chosen.isEmpty() ||
        !m_albumTable.OpenDatabase(&m_database, chosen, DatabaseEx::CatalogConnectString()))
        m_database.reset();
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
    if (m_albumTable.OpenDatabase(&m_database, path, DatabaseEx::CatalogConnectString()))
        return true;
    m_database.reset();
    return false;
}

void CVastryDoc::closeCatalog()
{
    m_albumTable.CloseDatabase(&m_database);
}

bool CVastryDoc::openCatalogCommand(QWidget* parent)
{
    const QString path = FileDialog::openFileName(parent);
    if (path.isEmpty())
        return false;
    return openCatalog(path);
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
