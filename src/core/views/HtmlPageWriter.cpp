#include "views/HtmlPageWriter.h"

#include "views/OutputTarget.h"
#include "views/PageLinks.h"

#include <QLocale>
#include <QSaveFile>
#include <algorithm>
#include <cstdio>
#include <initializer_list>

namespace
{

// Written as the first character, it becomes the UTF-8 byte-order mark.
const QChar ByteOrderMark(0xFEFF);

const char* const TableStart =
    "<TABLE border=\"0\" cellspacing=\"0\" cellpadding=\"0\" width=\"100%\">\n";

// The style block keeps the length the page has always had; the tab runs between the rules
// mean nothing to a browser.
QString styleBlock()
{
    const QString gap = QString(117, QLatin1Char('\t'));
    return QLatin1String("<STYLE>\n<!--\n BODY,TABLE,TR,TD,p { font-family: Verdana, sans-serif; "
                         "font-size: 12px; COLOR: #000000 }\n-->\n") +
           gap + QLatin1Char('\t') +
           QLatin1String(".subtitle { font-family: Verdana, sans-serif; font-size: 12px; "
                         "FONT-WEIGHT: normal; COLOR: #000000 }\n") +
           gap +
           QLatin1String(".title { font-family: Verdana, sans-serif; font-size: 14px; "
                         "FONT-WEIGHT: bold; COLOR: #000000 }\n</STYLE>");
}

bool writeBytes(QIODevice* file, const QByteArray& bytes)
{
    return file && file->write(bytes) == bytes.size();
}

bool writeText(QIODevice* file, const QString& text)
{
    return writeBytes(file, text.toUtf8());
}

// The pieces are written in list order (a braced list is evaluated left to right), every one
// of them whatever became of the one before.
bool allWritten(std::initializer_list<bool> pieces)
{
    return std::all_of(pieces.begin(), pieces.end(), [](bool written) { return written; });
}

QString localDate(const QDate& date)
{
    return QLocale().toString(date, QLocale::ShortFormat);
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("Yes") : QStringLiteral("No");
}

// Pictures come from local files only; any other address leaves the picture out.
QString imageCell(const QString& path)
{
    const QString source = PageLinks::imageSource(path);
    if (source.isEmpty())
        return QString();
    return QLatin1String("<TD width=\"1\"><BR>\n<IMG src=\"") + HtmlPageWriter::escapeHtml(source) +
           QLatin1String("\" BORDER=\"0\" HEIGHT=\"76\"/><BR>\n</TD><TD width=\"4\"></TD>\n");
}

// Escapes UTF-8 text straight into the output, so a cell costs no extra conversions. Runs
// without special characters, nearly all of them, are copied whole.
void appendEscaped(QByteArray* out, const char* text, int size)
{
    int runStart = 0;
    for (int i = 0; i < size; ++i) {
        const char* entity = nullptr;
        switch (text[i]) {
        case '&':
            entity = "&amp;";
            break;
        case '<':
            entity = "&lt;";
            break;
        case '>':
            entity = "&gt;";
            break;
        case '"':
            entity = "&quot;";
            break;
        default:
            continue;
        }
        out->append(text + runStart, i - runStart);
        out->append(entity);
        runStart = i + 1;
    }
    out->append(text + runStart, size - runStart);
}

void appendEscaped(QByteArray* out, const QByteArray& text)
{
    appendEscaped(out, text.constData(), text.size());
}

} // namespace

HtmlPageWriter::~HtmlPageWriter() = default;

QString HtmlPageWriter::escapeHtml(const QString& value)
{
    QByteArray escaped;
    appendEscaped(&escaped, value.toUtf8());
    return QString::fromUtf8(escaped);
}

QString HtmlPageWriter::analogueDigitalText(int code)
{
    static const char* const Codes[] = {"N/A", "AAD", "ADD", "DAD", "DDD"};
    if (code < 0 || code >= int(sizeof Codes / sizeof *Codes))
        return QString();
    return QLatin1String(Codes[code]);
}

QString HtmlPageWriter::trackLine(const TrackRecord& track)
{
    const QString number = QString::asprintf("%02d", track.trackNumber);
    QString line = number + QLatin1Char(' ');
    if (!track.artist.isEmpty())
        line += escapeHtml(track.artist) + QLatin1String(" - ");
    line += escapeHtml(track.title);
    if (track.year > 1900)
        line += QStringLiteral(" (%1)").arg(track.year);
    if (!track.length.isEmpty())
        line += QLatin1String(" (") + escapeHtml(track.length) + QLatin1Char(')');
    return line + QLatin1String("<BR>");
}

bool HtmlPageWriter::WritePageHeader(QIODevice* file, const QString& title)
{
    return writeText(file, ByteOrderMark + QLatin1String("<HTML>\n<HEAD>\n<TITLE>") +
                               escapeHtml(title) + QLatin1String("</TITLE>\n") + styleBlock() +
                               QLatin1String("</HEAD>\n<BODY>\n<font face=\"Verdana\">\n"));
}

bool HtmlPageWriter::WritePageFooter(QIODevice* file)
{
    return writeText(file, QStringLiteral("</FONT></BODY>\n</HTML>"));
}

bool HtmlPageWriter::WriteDetailRow(QIODevice* file, const QString& label, const QString& value)
{
    if (label.isEmpty() || value.isEmpty())
        return true;
    return writeText(
        file, QLatin1String("<TR valign=\"top\"><TD width=\"30%\">\n<B>") + escapeHtml(label) +
                  QLatin1String("</B></TD>\n<TD><TABLE border=\"0\" cellspacing=\"1\" "
                                "cellpadding=\"0\" width=\"100%\"><TR>\n<TD>") +
                  escapeHtml(value) + QLatin1String("</TD>\n</TR></TABLE></TD></TR>\n"));
}

bool HtmlPageWriter::WritePlainRow(QIODevice* file, const QString& label, const QString& value,
                                   bool isLink, const QString& url)
{
    if (label.isEmpty() || value.isEmpty() || (isLink && url.isEmpty()))
        return true;
    // Only web and mail addresses become links; any other address shows as its text.
    const QString target = isLink ? PageLinks::linkTarget(url) : QString();
    const QString shown = escapeHtml(value);
    QString content = shown;
    if (isLink && target.isEmpty())
        content = escapeHtml(url);
    else if (isLink)
        content = QStringLiteral("<A href=\"%1\", title=\"%2\" target=\"_view\">%2</A>\n")
                      .arg(escapeHtml(target), shown);
    return writeText(file, QLatin1String("<TR valign=\"top\"><TD><B>\n") + escapeHtml(label) +
                               QLatin1String("</B></TD><TD>\n") + content +
                               QLatin1String("</TD></TR>\n"));
}

// A failed piece leaves a gap, not a cut: the pieces after it are still written, and the
// page as a whole reports the failure.
bool HtmlPageWriter::WriteAlbumBody(QIODevice* file, const AlbumRecord& record,
                                    const QVector<TrackRecord>& tracks)
{
    return allWritten({WriteAlbumHeading(file, record), WriteMusicDetails(file, record),
                       WriteTrackBlock(file, tracks), WritePersonalDetails(file, record),
                       WriteProductDetails(file, record), WriteNotesBlock(file, record),
                       writeText(file, QStringLiteral("</TR></TABLE>\n"))});
}

bool HtmlPageWriter::WriteAlbumHeading(QIODevice* file, const AlbumRecord& record)
{
    QString text;
    if (!record.artist.isEmpty())
        text += QLatin1String("<SPAN class=\"title\">") + escapeHtml(record.artist) +
                QLatin1String("</SPAN>");
    if (!record.title.isEmpty())
        text += QLatin1String("<SPAN class=\"subtitle\"> - ") + escapeHtml(record.title) +
                QLatin1String("</SPAN>");
    if (record.year != 1900 && record.year != 0)
        text += QStringLiteral(" (%1)").arg(record.year);
    text += QLatin1String("<BR>\n<TABLE border=\"0\" cellspacing=\"0\" cellpadding=\"0\" "
                          "width=\"100%\"><tr valign=\"top\">\n");
    text += imageCell(record.frontImage) + imageCell(record.backImage);
    return writeText(file, text);
}

bool HtmlPageWriter::WriteMusicDetails(QIODevice* file, const AlbumRecord& record)
{
    return allWritten(
        {writeText(file, QLatin1String("<TD>") + QLatin1String(TableStart) +
                             QLatin1String("<TH align=\"left\" colspan=\"2\" "
                                           "bgcolor=\"#e0e0e0\">Music Details</th>\n")),
         WriteDetailRow(file, QStringLiteral("Artist"), record.artist),
         WriteDetailRow(file, QStringLiteral("Conductor"), record.conductor),
         WriteDetailRow(file, QStringLiteral("Orchestra"), record.orchestra),
         WriteDetailRow(file, QStringLiteral("Label"), record.label),
         WriteDetailRow(file, QStringLiteral("Label Number"), record.labelNumber),
         WriteDetailRow(file, QStringLiteral("Length"), record.length),
         WriteDetailRow(file, QStringLiteral("Media Type"), record.mediaType),
         WriteDetailRow(file, QStringLiteral("Genre"), record.genre),
         WriteDetailRow(file, QStringLiteral("Language"), record.language),
         WriteDetailRow(file, QStringLiteral("Barcode"), record.barcode),
         writeText(file, QStringLiteral("</TABLE></TD></TR></TABLE><BR>\n"))});
}

// Written in pieces of bounded size: an album of many thousand tracks costs no page-sized
// intermediate text.
bool HtmlPageWriter::WriteTrackBlock(QIODevice* file, const QVector<TrackRecord>& tracks)
{
    if (tracks.isEmpty())
        return true;
    constexpr int ChunkSize = 64 * 1024;
    QByteArray chunk = QByteArray(TableStart) +
                       "<TH align=\"left\" bgcolor=\"#e0e0e0\">\n<B>Tracks</B></TH><TR><TD>\n";
    bool written = true;
    for (const TrackRecord& track : tracks) {
        chunk += trackLine(track).toUtf8();
        if (chunk.size() >= ChunkSize) {
            written = writeBytes(file, chunk) && written;
            chunk.resize(0);
        }
    }
    chunk += "</TR></TABLE><BR>\n";
    return writeBytes(file, chunk) && written;
}

bool HtmlPageWriter::WritePersonalDetails(QIODevice* file, const AlbumRecord& record)
{
    const bool onLoan = !record.onLoanTo.isEmpty();
    return allWritten(
        {writeText(file, QLatin1String("<TABLE border=\"0\" cellspacing=\"0\" cellpadding=\"0\" "
                                       "width=\"100%\"><TR>\n<TD valign=\"top\">\n") +
                             QLatin1String(TableStart) +
                             QLatin1String("<TH align=\"left\" colspan=\"2\" "
                                           "bgcolor=\"#e0e0e0\">Personal Details</TH>\n")),
         WritePlainRow(file, QStringLiteral("In Collection"), yesNo(record.inCollection != 0),
                       false, QString()),
         WritePlainRow(file, QStringLiteral("URL"), QStringLiteral("This item on the Internet"),
                       true, record.url),
         WritePlainRow(file, QStringLiteral("Location"), record.location, false, QString()),
         WritePlainRow(file, QStringLiteral("Purchase Price"), record.purchasePrice, false,
                       QString()),
         WritePlainRow(file, QStringLiteral("Current Value"), record.currentValue, false,
                       QString()),
         WritePlainRow(file, QStringLiteral("Purchase Date"), localDate(record.purchaseDate.date()),
                       false, QString()),
         WritePlainRow(file, QStringLiteral("Purchased From"), record.purchasedFrom, false,
                       QString()),
         WritePlainRow(file, QStringLiteral("Condition"), record.condition, false, QString()),
         WritePlainRow(file, QStringLiteral("Grade"), QString::number(record.grade), false,
                       QString()),
         WritePlainRow(file, QStringLiteral("On Loan"), yesNo(onLoan), false, QString()),
         WritePlainRow(file, QStringLiteral("On Loan To"), record.onLoanTo, false, QString())});
}

bool HtmlPageWriter::WriteProductDetails(QIODevice* file, const AlbumRecord& record)
{
    return allWritten(
        {writeText(file, QLatin1String("</TABLE></TD>\n<TD valign=\"top\">\n") +
                             QLatin1String(TableStart) +
                             QLatin1String("<TH align=\"left\" colspan=\"2\" "
                                           "bgcolor=\"#e0e0e0\">Product Details</TH>\n")),
         WritePlainRow(file, QStringLiteral("Studio"), record.studio, false, QString()),
         WritePlainRow(file, QStringLiteral("Producer"), record.producer, false, QString()),
         WritePlainRow(file, QStringLiteral("Engineer"), record.engineer, false, QString()),
         WritePlainRow(file, QStringLiteral("A/D"), analogueDigitalText(record.ad), false,
                       QString()),
         WritePlainRow(file, QStringLiteral("Tourname"), record.tourName, false, QString()),
         WritePlainRow(file, QStringLiteral("Country"), record.country, false, QString()),
         WritePlainRow(file, QStringLiteral("FreeDB ID"), record.freedbId, false, QString()),
         writeText(file, QStringLiteral("</TABLE></TD></TR></TABLE><BR>\n"))});
}

bool HtmlPageWriter::WriteNotesBlock(QIODevice* file, const AlbumRecord& record)
{
    if (record.notes.isEmpty())
        return true;
    QString notes = escapeHtml(record.notes);
    notes.remove(QLatin1Char('\r'));
    notes.replace(QLatin1Char('\n'), QLatin1String("<BR>"));
    return writeText(file, QLatin1String(TableStart) +
                               QLatin1String("<TH align=\"left\" bgcolor=\"#e0e0e0\">\n"
                                             "<B>Notes</B></TH><TR><TD>\n") +
                               notes + QLatin1String("</TR></TABLE><BR>\n"));
}

bool HtmlPageWriter::WriteListHeader(QIODevice* file, const QString& widthText, int border)
{
    if (widthText.isEmpty())
        return false;
    return writeText(
        file, ByteOrderMark +
                  QStringLiteral("<HTML>\n<HEAD>\n<TITLE>Di Vuror list %1</TITLE>\n")
                      .arg(escapeHtml(localDate(QDate::currentDate()))) +
                  QLatin1String("<style>\n<!--\n BODY,TABLE,TR,TD,p { font-family: Verdana, "
                                "sans-serif; font-size: 11px; COLOR: #000000 }\n-->\n</style>"
                                "</HEAD>\n<BODY>\n") +
                  QStringLiteral("<TABLE width=\"%1\" border=\"%2\" cellpadding=\"0\" "
                                 "cellspacing=\"0\" style=\"border-collapse: collapse\" "
                                 "bordercolor=\"#e0e0e0\">\n")
                      .arg(escapeHtml(widthText), QString::number(border)));
}

bool HtmlPageWriter::WriteListFooter(QIODevice* file)
{
    return writeText(file, QStringLiteral("</TABLE></BODY>\n</HTML>"));
}

bool HtmlPageWriter::WriteQueryAsTable(Database* database, const QString& sql,
                                       const QVector<ColumnInfo>& columns, int gridLines,
                                       const QString& path, int rowLimit)
{
    if (!database)
        return false;
    const QString refused = OutputTarget::refusal(path, database->name());
    if (!refused.isEmpty()) {
        reportEngineError(DbError{refused, 1});
        return false;
    }
    RecordsetHandle recordset;
    if (!OpenRecordset(&recordset, database, sql))
        return false;
    // Widths are bounded where they are read; the sum is taken wide all the same.
    qint64 totalWidth = 0;
    for (const ColumnInfo& column : columns)
        totalWidth += column.width;
    // The document replaces the file only once it is complete: a failure leaves the old one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        reportEngineError(DbError{OutputTarget::cannotWrite(path, file), 1});
        return false;
    }
    QByteArray captions = "<TR>";
    for (const ColumnInfo& column : columns) {
        captions +=
            "<TD width=\"" + QByteArray::number(column.width) + "\" bgcolor=\"#e0e0e0\"><B>";
        appendEscaped(&captions, column.caption.toUtf8());
        captions += "</B></TD>";
    }
    captions += "</TR>";
    const bool written =
        WriteListHeader(&file, QStringLiteral("%1px").arg(totalWidth), gridLines) &&
        writeBytes(&file, captions) && WriteListRows(&file, recordset.get(), columns, rowLimit) &&
        WriteListEnd(&file, recordset.get(), rowLimit);
    CloseRecordset(&recordset);
    // A short write at the final flush sets no error that commit() would see: flush first.
    if (!written || !file.flush() || !file.commit()) {
        reportEngineError(DbError{OutputTarget::cannotWrite(path, file), 1});
        return false;
    }
    return true;
}

// Stops after `rowLimit` rows (all of them when it is negative) with the recordset on the first
// row left unwritten.
bool HtmlPageWriter::WriteListRows(QIODevice* file, Recordset* recordset,
                                   const QVector<ColumnInfo>& columns, int rowLimit)
{
    // Field positions and cell openings are worked out once; a long list is all rows.
    QVector<int> positions;
    QVector<QByteArray> cellStarts;
    for (const ColumnInfo& column : columns) {
        positions.append(recordset->columnIndex(column.field));
        cellStarts.append("<TD width=\"" + QByteArray::number(column.width) + "\">");
    }
    constexpr int ChunkSize = 256 * 1024;
    ListCellScratch scratch;
    QByteArray chunk;
    chunk.reserve(ChunkSize + 64 * 1024);
    for (int written = 0; !recordset->isEOF() && written != rowLimit; ++written) {
        chunk.append("<TR>");
        for (int i = 0; i < positions.size(); ++i) {
            chunk.append(cellStarts[i]);
            appendListCell(&chunk, recordset, positions[i], &scratch);
            chunk.append("</TD>");
        }
        chunk.append("</TR>");
        if (chunk.size() >= ChunkSize) {
            if (!writeBytes(file, chunk))
                return false;
            chunk.resize(0);
        }
        if (!recordset->moveNext())
            break;
    }
    return writeBytes(file, chunk);
}

// Rows cut off by the limit are only counted, for the line that says so under the table.
bool HtmlPageWriter::WriteListEnd(QIODevice* file, Recordset* recordset, int rowLimit)
{
    if (rowLimit < 0 || recordset->isEOF())
        return WriteListFooter(file);
    qint64 total = rowLimit;
    do
        ++total;
    while (recordset->moveNext() && !recordset->isEOF());
    return writeText(file, QStringLiteral("</TABLE>\n<P>Showing the first %1 of %2 albums; Print, "
                                          "Print Preview and Save As use all of them</P></BODY>\n"
                                          "</HTML>")
                               .arg(rowLimit)
                               .arg(total));
}

QByteArrayView HtmlPageWriter::listCellText(Recordset* recordset, int position,
                                            ListCellScratch* scratch)
{
    int size = 0;
    if (const char* text = recordset->textBytes(position, &size))
        return QByteArrayView(text, size);
    QVariant value;
    if (position < 0 || !recordset->field(position, &value))
        return {};
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::Double: {
        char number[64];
        const int length = value.typeId() == QMetaType::Int
                               ? std::snprintf(number, sizeof number, "%d", value.toInt())
                               : std::snprintf(number, sizeof number, "%.2f", value.toDouble());
        scratch->text = QByteArray(number, length);
        return scratch->text;
    }
    case QMetaType::QDateTime: {
        // Dates repeat a lot and locale formatting is slow: each day is formatted once.
        const qint64 day = value.toDateTime().date().toJulianDay();
        auto found = scratch->dateTexts.constFind(day);
        if (found == scratch->dateTexts.constEnd())
            found = scratch->dateTexts.insert(day, VariantToText(value).toUtf8());
        return found.value();
    }
    default:
        scratch->text = VariantToText(value).toUtf8();
        return scratch->text;
    }
}

// The text rules of the album list, applied without building a text object per cell: long
// lists are nearly all cells.
void HtmlPageWriter::appendListCell(QByteArray* row, Recordset* recordset, int position,
                                    ListCellScratch* scratch)
{
    const QByteArrayView text = listCellText(recordset, position, scratch);
    if (text.isEmpty())
        row->append("&nbsp;");
    else
        appendEscaped(row, text.data(), int(text.size()));
}
