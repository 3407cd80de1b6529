#include "cli/AlbumJson.h"

#include "db/AlbumField.h"
#include "editors/EditorFields.h"

#include <QJsonArray>

namespace
{

template <typename Record> struct Fields {
    QVector<QPair<const char*, QString Record::*>> texts;
    QVector<QPair<const char*, int Record::*>> numbers;
    QVector<QPair<const char*, QDateTime Record::*>> dates;
};

const Fields<AlbumRecord>& albumFields()
{
    // Keyed by the columns of the album query; names and money are texts.
    static const Fields<AlbumRecord> fields = [] {
        Fields<AlbumRecord> all;
        for (const AlbumField& field : AlbumField::all()) {
            const char* key = field.queryColumn.constData();
            if (field.text)
                all.texts.append({key, field.text});
            else if (field.whole)
                all.numbers.append({key, field.whole});
            else
                all.dates.append({key, field.date});
        }
        return all;
    }();
    return fields;
}

const Fields<TrackRecord>& trackFields()
{
    static const Fields<TrackRecord> fields{
        {{"title", &TrackRecord::title},
         {"artist_name", &TrackRecord::artist},
         {"cat_name", &TrackRecord::genre},
         {"subcat_name", &TrackRecord::subCategory},
         {"length", &TrackRecord::length},
         {"notes", &TrackRecord::notes},
         {"language_name", &TrackRecord::language},
         {"country_name", &TrackRecord::country},
         {"label_name", &TrackRecord::label},
         {"labelnumber", &TrackRecord::labelNumber},
         {"studio_name", &TrackRecord::studio},
         {"producer_name", &TrackRecord::producer},
         {"engineer_name", &TrackRecord::engineer},
         {"songwriter_name", &TrackRecord::songwriter},
         {"conductor_name", &TrackRecord::conductor},
         {"orchestra_name", &TrackRecord::orchestra},
         {"lyrics", &TrackRecord::lyrics},
         {"audiofile", &TrackRecord::audioFile}},
        {{"year", &TrackRecord::year},
         {"grade", &TrackRecord::grade},
         {"music_id", &TrackRecord::albumId},
         {"track_id", &TrackRecord::trackId},
         {"tracknumber", &TrackRecord::trackNumber}},
        {},
    };
    return fields;
}

const char* const IsoFormat = "yyyy-MM-ddTHH:mm:ss";

template <typename Record> QJsonObject write(const Record& record, const Fields<Record>& fields)
{
    QJsonObject object;
    for (const auto& [key, member] : fields.texts)
        object.insert(QLatin1String(key), record.*member);
    for (const auto& [key, member] : fields.numbers)
        object.insert(QLatin1String(key), record.*member);
    for (const auto& [key, member] : fields.dates)
        object.insert(QLatin1String(key), AlbumJson::dateText(record.*member));
    return object;
}

template <typename Record>
bool read(const QJsonObject& object, const Fields<Record>& fields, const QStringList& extraKeys,
          const QString& where, Record* record, QString* error)
{
    auto fail = [&](const QString& key, const char* expected) {
        *error = QStringLiteral("%1: '%2' must be %3.").arg(where, key, QLatin1String(expected));
        return false;
    };
    QStringList known = extraKeys;
    for (const auto& [key, member] : fields.texts) {
        known << QLatin1String(key);
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined())
            continue;
        if (!value.isString())
            return fail(QLatin1String(key), "text");
        // Names become part of SQL texts, where a NUL would end them early.
        if (value.toString().contains(QChar(0)))
            return fail(QLatin1String(key), "text without NUL characters");
        record->*member = value.toString();
    }
    for (const auto& [key, member] : fields.numbers) {
        known << QLatin1String(key);
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined())
            continue;
        const double number = value.toDouble(0.5);
        if (!value.isDouble() || number != std::trunc(number) || number < -2147483648.0 ||
            number > 2147483647.0)
            return fail(QLatin1String(key), "a whole number");
        record->*member = int(number);
    }
    for (const auto& [key, member] : fields.dates) {
        known << QLatin1String(key);
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined())
            continue;
        const QDateTime date = QDateTime::fromString(value.toString(), QLatin1String(IsoFormat));
        const QDate day = QDate::fromString(value.toString(), Qt::ISODate);
        if (!value.isString() || (!date.isValid() && !day.isValid()))
            return fail(QLatin1String(key), "a date such as \"2001-05-03T00:00:00\"");
        record->*member = date.isValid() ? QDateTime(date.date(), date.time(), Qt::UTC)
                                         : QDateTime(day, QTime(0, 0), Qt::UTC);
    }
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!known.contains(it.key())) {
            *error = QStringLiteral("%1: unknown key '%2'.").arg(where, it.key());
            return false;
        }
    }
    return true;
}

} // namespace

QString AlbumJson::dateText(const QDateTime& date)
{
    return date.toString(QLatin1String(IsoFormat));
}

QJsonObject AlbumJson::toJson(const TrackRecord& track)
{
    return write(track, trackFields());
}

QJsonObject AlbumJson::toJson(const AlbumRecord& album, int albumId,
                              const QVector<TrackRecord>& tracks)
{
    QJsonObject object = write(album, albumFields());
    object.insert(QStringLiteral("music_id"), albumId);
    QJsonArray list;
    for (const TrackRecord& track : tracks)
        list.append(toJson(track));
    object.insert(QStringLiteral("tracks"), list);
    return object;
}

bool AlbumJson::fromJson(const QJsonObject& object, int position, TrackRecord* track,
                         QString* error)
{
    const QString where = QStringLiteral("track %1").arg(position);
    if (!read(object, trackFields(), {}, where, track, error))
        return false;
    if (!object.contains(QStringLiteral("tracknumber")))
        track->trackNumber = position;
    return true;
}

// What the album editor refuses to store, refused here too.
bool AlbumJson::isStorable(const AlbumRecord& album, QString* error)
{
    if (album.artist.isEmpty() || album.title.isEmpty()) {
        *error = QStringLiteral("album: 'artist_name' and 'title' are required.");
        return false;
    }
    const QPair<const char*, QString> amounts[] = {{"value", album.currentValue},
                                                   {"purchaseprice", album.purchasePrice}};
    for (const auto& [key, text] : amounts) {
        if (!EditorFields::isMoney(text)) {
            *error = QStringLiteral("album: '%1' must be a number such as \"12.50\", not '%2'.")
                         .arg(QLatin1String(key), text);
            return false;
        }
    }
    return true;
}

bool AlbumJson::fromJson(const QJsonObject& object, AlbumRecord* album,
                         QVector<TrackRecord>* tracks, QString* error)
{
    if (!read(object, albumFields(), {QStringLiteral("tracks"), QStringLiteral("music_id")},
              QStringLiteral("album"), album, error))
        return false;
    const QJsonValue list = object.value(QStringLiteral("tracks"));
    if (list.isUndefined())
        return isStorable(*album, error);
    if (!list.isArray()) {
        *error = QStringLiteral("album: 'tracks' must be an array.");
        return false;
    }
    int position = 0;
    for (const QJsonValue& item : list.toArray()) {
        ++position;
        if (!item.isObject()) {
            *error = QStringLiteral("track %1 must be an object.").arg(position);
            return false;
        }
        TrackRecord track;
        if (!fromJson(item.toObject(), position, &track, error))
            return false;
        tracks->append(track);
    }
    return isStorable(*album, error);
}
