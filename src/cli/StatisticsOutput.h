#pragma once

#include "stats/AlbumLoans.h"
#include "stats/CollectionStatistics.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QLocale>

// The collection's figures and loans as the command line prints them: JSON with plain numbers
// for scripts, or text with money and dates in the user's locale for people.
class StatisticsOutput
{
public:
    static QJsonObject toJson(const CollectionStatistics::Figures& figures);
    static QString toText(const CollectionStatistics::Figures& figures, const QLocale& locale);

    static QJsonArray loansToJson(const QVector<AlbumLoans::Loan>& loans);
    // One loan's cells: id, artist, title, person, loan date (locale short form, empty when
    // unknown), days out (empty when unknown).
    static QStringList loanCells(const AlbumLoans::Loan& loan, const QLocale& locale);

    // "H:MM:SS", hours as many as there are.
    static QString playingTime(qint64 seconds);
};
