#include "views/SitePageWriter.h"

#include "views/HtmlPageWriter.h"

namespace
{

QString pageTitle(const AlbumRecord& record)
{
    if (record.artist.isEmpty() || record.title.isEmpty())
        return record.artist + record.title;
    return record.artist + QStringLiteral(" \u2013 ") + record.title;
}

QByteArray coverBlock(const QStringList& covers)
{
    if (covers.isEmpty())
        return {};
    QString block = QStringLiteral("<div class=\"covers\">");
    const QStringList captions = {QStringLiteral("Front cover"), QStringLiteral("Back cover")};
    for (int i = 0; i < covers.size(); ++i)
        block += QStringLiteral("<img src=\"../covers/%1\" alt=\"%2\">")
                     .arg(HtmlPageWriter::escapeHtml(covers[i]),
                          captions.value(i, QStringLiteral("Cover")));
    return (block + QLatin1String("</div>\n")).toUtf8();
}

bool writeAll(QIODevice* device, const QByteArray& bytes)
{
    return device->write(bytes) == bytes.size();
}

} // namespace

QByteArray SitePageWriter::head(const QString& title, const QString& root,
                                const QStringList& scripts)
{
    // The byte-order mark as well as the meta tag: a page saved elsewhere keeps its encoding.
    QString text =
        QStringLiteral(
            "\uFEFF<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
            "<meta http-equiv=\"Content-Security-Policy\" content=\"%1\">\n"
            "<meta name=\"referrer\" content=\"no-referrer\">\n"
            "<title>%2</title>\n<link rel=\"stylesheet\" href=\"%3site.css\">\n")
            .arg(QLatin1String(ContentPolicy), HtmlPageWriter::escapeHtml(title),
                 HtmlPageWriter::escapeHtml(root));
    for (const QString& script : scripts)
        text += QStringLiteral("<script src=\"%1%2\" defer></script>\n")
                    .arg(HtmlPageWriter::escapeHtml(root), HtmlPageWriter::escapeHtml(script));
    return (text + QLatin1String("</head>\n")).toUtf8();
}

bool SitePageWriter::writeAlbumPage(HtmlPageWriter& writer, QIODevice* device,
                                    const AlbumRecord& record, const QVector<TrackRecord>& tracks,
                                    const QStringList& covers)
{
    // The covers stand above the page in their own size; the body's small pictures would
    // point at the collector's own disk.
    AlbumRecord withoutPictures = record;
    withoutPictures.frontImage.clear();
    withoutPictures.backImage.clear();
    const bool top = writeAll(device, head(pageTitle(record), QStringLiteral("../")) +
                                          "<body class=\"album\">\n<nav class=\"bar\"><a "
                                          "href=\"../index.html\">All albums</a></nav>\n<main>\n" +
                                          coverBlock(covers));
    const bool body = writer.WriteAlbumBody(device, withoutPictures, tracks);
    const bool end = writeAll(device, "\n</main>\n</body>\n</html>\n");
    return top && body && end;
}
