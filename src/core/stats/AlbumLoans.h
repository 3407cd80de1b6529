#pragma once

#include "db/AlbumTable.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVector>

// The albums lent out now, and bringing one back.
class AlbumLoans
{
public:
    static constexpr int DefaultOverdueDays = 60;

    struct Loan {
        int musicId = -1;
        QString artist;
        QString title;
        QString person;
        QDateTime loanDate; // invalid when the album carries no loan date
        qint64 days = -1;   // out as of the day asked about; -1 when the loan date is unknown
    };

    explicit AlbumLoans(Database* database);

    // Every album not deleted whose on-loan-to name is not empty (the album page's "On Loan"),
    // out longest first, those without a loan date last. A loan dated after `asOf` is out 0
    // days. False, with the engine's error reported, when the query fails.
    bool current(const QDate& asOf, QVector<Loan>* loans);

    // Out more than `days` days; a loan without a date is never overdue.
    static bool isOverdue(const Loan& loan, int days);

    // The album is back: its loan cleared and saved just as the album editor does when "On
    // Loan" is cleared. False when the album is gone or deleted, or the save failed.
    bool markReturned(int musicId);

private:
    Database* m_database;
    AlbumTable m_albums;
};
