#include "views/SiteDataFile.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace
{

// The years a record has when nobody gave one.
bool isKnownYear(int year)
{
    return year != 0 && year != 1900;
}

} // namespace

QByteArray SiteDataFile::scriptSafe(const QByteArray& json)
{
    // In JSON text these can only stand inside strings, where an escape means the same.
    QByteArray safe;
    safe.reserve(json.size());
    for (int i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '<')
            safe += "\\u003c";
        else if (c == '>')
            safe += "\\u003e";
        else if (c == '&')
            safe += "\\u0026";
        else if (c == '\xE2' && i + 2 < json.size() && json[i + 1] == '\x80' &&
                 (json[i + 2] == '\xA8' || json[i + 2] == '\xA9')) {
            safe += json[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
            i += 2;
        } else
            safe += c;
    }
    return safe;
}

void SiteDataFile::addAlbum(int id, const AlbumRecord& record)
{
    const QJsonArray row{id,
                         record.artist,
                         record.title,
                         isKnownYear(record.year) ? record.year : 0,
                         record.mediaType,
                         record.genre,
                         record.label,
                         record.labelNumber,
                         record.barcode};
    if (m_count++ > 0)
        m_rows += ",\n";
    m_rows += scriptSafe(QJsonDocument(row).toJson(QJsonDocument::Compact));
}

QByteArray SiteDataFile::script(const QString& title) const
{
    const QJsonObject about{
        {QStringLiteral("title"), title},
        {QStringLiteral("published"), QDate::currentDate().toString(Qt::ISODate)}};
    return "\"use strict\";\nwindow.tunvaleSite = " +
           scriptSafe(QJsonDocument(about).toJson(QJsonDocument::Compact)) +
           ";\nwindow.tunvaleSite.albums = [\n" + m_rows + "\n];\n";
}
