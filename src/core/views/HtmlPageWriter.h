#pragma once

#include "db/AlbumRecord.h"
#include "db/ColumnInfo.h"
#include "db/DatabaseEx.h"
#include "db/TrackRecord.h"

#include <QByteArrayView>
#include <QHash>
#include <QIODevice>
#include <QVector>

// HTML output of the item tables: the album page and the list document. Both are UTF-8 with a
// byte-order mark, and every value is escaped, since names may come from a CDDB server and the
// pages are shown by a real browser engine.
//
// Each writer operation writes to an open device, stops at the first write that fails and
// then returns false, leaving what was written; the operations made of others (the album body
// and its blocks) run all of their parts and fail when any part failed.
class HtmlPageWriter : public DatabaseEx
{
public:
    ~HtmlPageWriter() override;

    bool WritePageHeader(QIODevice* file, const QString& title);
    bool WriteAlbumBody(QIODevice* file, const AlbumRecord& record,
                        const QVector<TrackRecord>& tracks);
    bool WritePageFooter(QIODevice* file);
    // The two-column row of the "Music Details" block; nothing when label or value is empty.
    bool WriteDetailRow(QIODevice* file, const QString& label, const QString& value);
    // A row of the "Personal Details" and "Product Details" blocks; a link row without a URL
    // is left out, and one whose URL is no web or mail address shows the URL as text.
    bool WritePlainRow(QIODevice* file, const QString& label, const QString& value, bool isLink,
                       const QString& url);

    // Fails without writing when the width text is empty.
    bool WriteListHeader(QIODevice* file, const QString& widthText, int border);
    bool WriteListFooter(QIODevice* file);
    // Writes every row of `sql` as the list document at `path`: the given columns, their
    // captions in a header row. The document replaces `path` only once it is complete. Fails,
    // having reported why and leaving `path` as it was, when `path` is no regular file or is
    // the catalogue, when the query cannot be opened or the file cannot be written.
    // With a `rowLimit` of 0 or more only that many rows are written, followed by a line saying
    // how many there are, when there are more; a list within the limit is written unchanged.
    bool WriteQueryAsTable(Database* database, const QString& sql,
                           const QVector<ColumnInfo>& columns, int gridLines, const QString& path,
                           int rowLimit = NoRowLimit);
    static constexpr int NoRowLimit = -1;

    // What a list cell's text is built from, kept from cell to cell of one list.
    struct ListCellScratch {
        QByteArray text;
        QHash<qint64, QByteArray> dateTexts;
    };
    // The text of the current row's value at `position` by the album list's rules, UTF-8 and
    // unescaped; empty when there is none. It lasts until the next cell or row is read.
    QByteArrayView listCellText(Recordset* recordset, int position, ListCellScratch* scratch);

    // `value` ready to stand in HTML text or a quoted attribute.
    static QString escapeHtml(const QString& value);
    // One line of the page's track block, "<BR>" included.
    static QString trackLine(const TrackRecord& track);
    static QString analogueDigitalText(int code);

private:
    bool WriteAlbumHeading(QIODevice* file, const AlbumRecord& record);
    bool WriteMusicDetails(QIODevice* file, const AlbumRecord& record);
    bool WriteTrackBlock(QIODevice* file, const QVector<TrackRecord>& tracks);
    bool WritePersonalDetails(QIODevice* file, const AlbumRecord& record);
    bool WriteProductDetails(QIODevice* file, const AlbumRecord& record);
    bool WriteNotesBlock(QIODevice* file, const AlbumRecord& record);
    bool WriteListRows(QIODevice* file, Recordset* recordset, const QVector<ColumnInfo>& columns,
                       int rowLimit);
    bool WriteListEnd(QIODevice* file, Recordset* recordset, int rowLimit);
    // The cell text of the list rules, escaped, or "&nbsp;" when empty.
    void appendListCell(QByteArray* row, Recordset* recordset, int position,
                        ListCellScratch* scratch);
};
