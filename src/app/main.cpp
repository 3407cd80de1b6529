// The desktop program. Until its main window is built it prints the albums of the catalogue it
// would open at start-up, through the same core the window will use.
#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "db/CatalogTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace
{

class AlbumPrinter : public CatalogTable, private RowTable
{
public:
    bool print(Database* database)
    {
        return FillListFromHeader(
            database, this,
            QStringLiteral("SELECT music.music_id, a.artist_name, music.title, music.year FROM "
                           "music LEFT JOIN music_artists AS a ON music.artist_id = a.artist_id"),
            QStringLiteral("music_id"), QStringLiteral("artist_name ASC, title ASC"), QString(),
            false);
    }

private:
    void removeAllRows() override {}
    QStringList headerFields() const override
    {
        return {QStringLiteral("artist_name"), QStringLiteral("title"), QStringLiteral("year")};
    }
    void appendRow(const QStringList& cells, int) override
    {
        std::printf("%s\n", qPrintable(cells.join(QLatin1String("  |  "))));
    }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    AppSettings settings;
    QString path = app.arguments().value(1);
    if (path.isEmpty())
        path = settings.read(SettingsTable::LastDatabase);
    if (QDir::isRelativePath(path) && !QFileInfo::exists(path))
        path = AppPaths::programDirectory() + path;

    AlbumPrinter printer;
    DatabaseHandle database;
    if (!printer.OpenDatabase(&database, path, DatabaseEx::CatalogConnectString()))
        return 1;
    std::printf("Music - %s\n\n", qPrintable(QFileInfo(path).fileName()));
    return printer.print(database.get()) ? 0 : 1;
}
