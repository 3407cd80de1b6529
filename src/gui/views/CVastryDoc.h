#pragma once

#include "db/AlbumTable.h"
#include "db/CatalogCopy.h"
#include "views/AlbumColumns.h"
#include "views/AlbumListQuery.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

class AppSettings;

// The one open catalogue: its database, the album table every album query runs through, the
// album list's columns, sort text, filter and collection view, and the handles of the three
// panes.
class CVastryDoc : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* ItemCaption = "Music";

    // Starts without a catalogue, with the list layout and sort the settings remember.
    explicit CVastryDoc(AppSettings& settings);
    ~CVastryDoc() override;

    Database* database() const { return m_database.get(); }
    AlbumTable& albumTable() { return m_albumTable; }
    AlbumColumns& columns() { return m_columns; }
    AppSettings& settings() { return m_settings; }
    QString itemCaption() const { return QLatin1String(ItemCaption); }

    AlbumListQuery& query() { return m_query; }
    QString sortText() const { return m_query.sortText(); }
    void setSortText(const QString& text) { m_query.setSortText(text); }
    QString filter() const { return m_query.filter(); }
    void setFilter(const QString& condition) { m_query.setFilter(condition); }
    // The filter within the collection view: the albums the list shows.
    QString listCondition() const { return m_query.condition(); }
    int treeSelectionType() const { return m_treeSelectionType; }
    void setTreeSelectionType(int type) { m_treeSelectionType = type; }

    QWidget* treePane() const { return m_treePane; }
    QWidget* listPane() const { return m_listPane; }
    QWidget* pagePane() const { return m_pagePane; }
    void setPanes(QWidget* tree, QWidget* list, QWidget* page);

    // File > New Database, after the user chose `path`: a copy of the empty template, opened.
    // False when nothing changed (no template, copy failed) or the new file failed to open.
    bool makeNewCatalog(const QString& path);
    // Closes the open catalogue, then opens `path`; false (no catalogue open) when that fails.
    // A catalogue with a password of its own is opened only once the user has typed it: three
    // tries, then it is refused as a file that cannot be read. Cancelling the password prompt
    // changes nothing: the catalogue open before stays open.
    bool openCatalog(const QString& path);
    // Closes the open catalogue and opens `path` with a key already known (after a restore or
    // a password change): nothing is asked.
    bool reopenWith(const QString& path, const QString& connect);
    // Whether the last open stopped because the user cancelled the password prompt.
    bool openCancelled() const { return m_openCancelled; }
    // Gives the open catalogue `password` (empty: back to the built-in key) and opens it again
    // with it. False, with the reason in `error`, when the catalogue kept its key (still
    // open), or when it could not be opened again (then closed, the reason already shown).
    bool changePassword(const QString& password, QString* error,
                        const CatalogCopy::Progress& progress = {});
    // The catalogue open when the program last closed.
    QString lastCatalog() const;
    void closeCatalog();

signals:
    // The album list was filled afresh: another filter, or albums that changed.
    void listFilled();

private:
    static constexpr int PasswordTries = 3;

    void removeGeneratedPages();
    bool askPassword(const QString& path, QString* connect);
    void adoptOpened();
    void checkAtOpen();

    AppSettings& m_settings;
    QPointer<QWidget> m_treePane;
    QPointer<QWidget> m_listPane;
    QPointer<QWidget> m_pagePane;
    int m_treeSelectionType = -1;
    DatabaseHandle m_database;
    AlbumTable m_albumTable;
    AlbumColumns m_columns;
    AlbumListQuery m_query;
    bool m_openCancelled = false;
};
