#include "stats/AlbumLoans.h"

#include "db/OleDate.h"
#include "db/Recordset.h"

#include <algorithm>

namespace
{

const char* const CurrentLoans =
    "SELECT music.music_id, a.artist_name, music.title, p.person_name, "
    "CASE WHEN music.loandate > 0 THEN music.loandate END AS loan "
    "FROM (music LEFT JOIN music_artists AS a ON music.artist_id = a.artist_id) "
    "JOIN persons AS p ON music.person_id = p.person_id "
    "WHERE music.deleted = FALSE AND p.person_name <> '' "
    "ORDER BY loan IS NULL, loan, music.music_id";

QString textOf(Recordset* recordset, int column)
{
    QVariant value;
    recordset->field(column, &value);
    return value.toString();
}

} // namespace

AlbumLoans::AlbumLoans(Database* database) : m_database(database) {}

bool AlbumLoans::current(const QDate& asOf, QVector<Loan>* loans)
{
    if (!m_database || !loans)
        return false;
    loans->clear();
    RecordsetHandle recordset;
    if (!m_albums.OpenRecordset(&recordset, m_database, QLatin1String(CurrentLoans)))
        return false;
    while (!recordset->isEOF()) {
        Loan loan;
        QVariant id;
        recordset->field(0, &id);
        loan.musicId = id.toInt();
        loan.artist = textOf(recordset.get(), 1);
        loan.title = textOf(recordset.get(), 2);
        loan.person = textOf(recordset.get(), 3);
        QVariant days;
        recordset->field(4, &days);
        if (!days.isNull()) {
            // A date past what a calendar holds comes back as the zero date: unknown, too.
            const QDateTime date = OleDate::fromDays(days.toDouble());
            if (date != OleDate::zero()) {
                loan.loanDate = date;
                loan.days = std::max<qint64>(0, date.date().daysTo(asOf));
            }
        }
        loans->append(loan);
        if (!recordset->moveNext())
            break;
    }
    return true;
}

bool AlbumLoans::isOverdue(const Loan& loan, int days)
{
    return loan.days >= 0 && loan.days > days;
}

bool AlbumLoans::markReturned(int musicId)
{
    if (m_albums.albumState(m_database, musicId) != AlbumTable::AlbumState::Stored)
        return false;
    AlbumRecord record;
    if (!m_albums.Load(m_database, musicId, &record))
        return false;
    record.endLoan();
    return m_albums.Save(m_database, record, musicId) == musicId;
}
