#include "support/gui/RecordingFrameDialogs.h"

#include "db/LookupList.h"

void RecordingFrameDialogs::editList(CVastryDoc& document, const LookupList& list, QWidget* parent)
{
    calls << QStringLiteral("editList ") + list.table;
    parents << parent;
    if (duringEditList)
        duringEditList(document, list);
}

void RecordingFrameDialogs::chooseCdDrive(AppSettings&, const QStringList& drives, QWidget* parent)
{
    calls << QStringLiteral("chooseCdDrive ") + drives.join(QLatin1Char(' '));
    parents << parent;
}

void RecordingFrameDialogs::showTipOfTheDay(AppSettings&, QWidget* parent)
{
    calls << QStringLiteral("showTipOfTheDay");
    parents << parent;
}

void RecordingFrameDialogs::showAbout(QWidget* parent)
{
    calls << QStringLiteral("showAbout");
    parents << parent;
}

void RecordingFrameDialogs::showHelp(const QString& topic, QWidget* parent)
{
    calls << QStringLiteral("showHelp ") + topic;
    parents << parent;
}

bool RecordingFrameDialogs::importCollection(CVastryDoc&, CollectionImport::Format format,
                                             QWidget* parent)
{
    calls << (format == CollectionImport::Format::Discogs
                  ? QStringLiteral("importCollection discogs")
                  : QStringLiteral("importCollection csv"));
    parents << parent;
    return false;
}

bool RecordingFrameDialogs::completeAlbums(CVastryDoc&, int selectedAlbumId, QWidget* parent)
{
    calls << QStringLiteral("completeAlbums %1").arg(selectedAlbumId);
    parents << parent;
    return false;
}

bool RecordingFrameDialogs::restoreFromBackup(CVastryDoc&, QWidget* parent)
{
    calls << QStringLiteral("restoreFromBackup");
    parents << parent;
    return false;
}
