#pragma once

#include "db/LoadedNames.h"
#include "db/OleDate.h"

#include <QDateTime>
#include <QString>

// One album's values in memory; lookup values are held by name.
struct AlbumRecord {
    QDateTime purchaseDate = OleDate::now();
    QString onLoanTo;
    QDateTime loanDate = OleDate::now();
    QDateTime returnDate = OleDate::now();
    int number = 0;
    int year = 1900;
    int grade = 1;
    QString title;
    QString artist;
    QString mediaType;
    QString genre;
    QString subCategory;
    QString currentValue; // money, as text
    QString purchasedFrom;
    QString frontImage;
    QString backImage;
    QString length;
    QString contents;
    QString notes;
    QString location;
    int inCollection = 1; // 1 true, 0 false
    QString condition;
    QString purchasePrice; // money, as text
    QString language;
    QString country;
    QString url;
    QString label;
    QString labelNumber;
    QString studio;
    QString producer;
    int ad = 0;
    QString engineer;
    QDateTime recordingDate = OleDate::zero();
    QString tourName;
    QString conductor;
    QString orchestra;
    QString freedbId = QStringLiteral("0000000000");
    // Kept in the album's ids table rather than in its own row; empty when unknown.
    QString barcode;
    QString musicBrainzReleaseId;
    QString discogsReleaseId;
    // Set by a load; a save keeps the entries of the names left unchanged.
    LoadedNames loadedNames;

    // The album is back: no one has it, and both loan dates are those of a fresh record (the
    // moment of the change), which is what the album editor saves when "On Loan" is cleared.
    void endLoan()
    {
        const AlbumRecord fresh;
        onLoanTo = fresh.onLoanTo;
        loanDate = fresh.loanDate;
        returnDate = fresh.returnDate;
    }
};
