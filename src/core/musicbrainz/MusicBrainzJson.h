#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

// Reading the pieces every MusicBrainz answer shares: texts from anyone's edits, artist
// credits, label entries.
class MusicBrainzJson
{
public:
    // The answer's top-level object; false for anything else (HTML, a cut body, an array).
    // Qt's parser refuses nesting deeper than it can handle, so a hostile answer ends here too.
    static bool object(const QByteArray& json, QJsonObject* object);

    // Control characters (a line feed would split a list row or a line of the CLI's output)
    // become blanks; the text is trimmed.
    static QString text(const QJsonValue& value);
    // "Name" + join phrase, credit after credit: "A feat. B", "X & Y".
    static QString credit(const QJsonValue& credits);
    // The label name and catalogue number of the first label entry; "[none]", MusicBrainz's
    // word for a release known to have no number, is none.
    static void firstLabel(const QJsonObject& release, QString* label, QString* catalogNumber);
    // `id` as a MusicBrainz id (a UUID, lower case); empty for anything else, so an id from
    // the network or the command line can neither name another path nor change a request.
    static QString canonicalId(const QString& id);
};
