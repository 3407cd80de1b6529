#pragma once

#include "io/CollectionImport.h"

#include <QStringList>

class AppSettings;
class CVastryDoc;
class QWidget;
struct LookupList;

// The dialogs the main frame opens itself: the name-list editor, the CD-ROM drive choice, the
// tip of the day, the about box and the help viewer. Without them, their commands are
// unavailable.
class FrameDialogs
{
public:
    virtual ~FrameDialogs() = default;
    // Returns when the user closes the editor, whatever was changed in it.
    virtual void editList(CVastryDoc& document, const LookupList& list, QWidget* parent) = 0;
    // `drives` are the machine's CD-ROM drives; without any, a disc image stands in for one.
    virtual void chooseCdDrive(AppSettings& settings, const QStringList& drives,
                               QWidget* parent) = 0;
    virtual void showTipOfTheDay(AppSettings& settings, QWidget* parent) = 0;
    virtual void showAbout(QWidget* parent) = 0;
    // `topic` names the help file and the page in it ("<folder>music.chm::/html/index.htm").
    virtual void showHelp(const QString& topic, QWidget* parent) = 0;
    // Asks for a CSV file and imports it into the open catalogue; true when albums were stored.
    virtual bool importCollection(CVastryDoc& document, CollectionImport::Format format,
                                  QWidget* parent) = 0;
    // Completes the selected album (-1: none) or every imported album without tracks from
    // MusicBrainz; true when an album was completed.
    virtual bool completeAlbums(CVastryDoc& document, int selectedAlbumId, QWidget* parent) = 0;
    // Offers the backups of the open catalogue; true when one replaced it (the catalogue is
    // then open again).
    virtual bool restoreFromBackup(CVastryDoc& document, QWidget* parent) = 0;
};
