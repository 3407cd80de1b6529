#include "musicbrainz/MusicBrainzJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QUuid>

bool MusicBrainzJson::object(const QByteArray& json, QJsonObject* object)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    *object = document.object();
    return true;
}

QString MusicBrainzJson::text(const QJsonValue& value)
{
    QString text = value.toString();
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    return text.trimmed();
}

QString MusicBrainzJson::credit(const QJsonValue& credits)
{
    QString joined;
    for (const QJsonValue& credit : credits.toArray()) {
        const QJsonObject object = credit.toObject();
        joined += object.value(QLatin1String("name")).toString() +
                  object.value(QLatin1String("joinphrase")).toString();
    }
    return text(joined);
}

void MusicBrainzJson::firstLabel(const QJsonObject& release, QString* label, QString* catalogNumber)
{
    // at() rather than first(): a release without label entries gives an empty object.
    const QJsonObject info = release.value(QLatin1String("label-info")).toArray().at(0).toObject();
    *label = text(info.value(QLatin1String("label")).toObject().value(QLatin1String("name")));
    *catalogNumber = text(info.value(QLatin1String("catalog-number")));
    if (catalogNumber->compare(QLatin1String("[none]"), Qt::CaseInsensitive) == 0)
        catalogNumber->clear();
}

QString MusicBrainzJson::canonicalId(const QString& id)
{
    const QUuid uuid = QUuid::fromString(id);
    if (uuid.isNull())
        return QString();
    const QString text = uuid.toString(QUuid::WithoutBraces);
    return text == id.toLower() ? text : QString();
}
