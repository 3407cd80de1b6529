#pragma once

#include "db/AlbumTable.h"

#include <QString>
#include <QVector>

// The collection in figures: counts, playing time, money and loans, each worked out by the
// engine in one aggregate query over the albums the list shows (or all of them). Deleted
// albums never count; a soft-deleted name still names its albums.
class CollectionStatistics
{
public:
    // The bucket of albums without a value in a field.
    static constexpr const char* NoValue = "(none)";
    static constexpr const char* OtherName = "Other";
    // Amounts below 0 or above this are typing slips, not money: they are left out of every
    // sum and counted as unusable instead.
    static constexpr double MaxMoney = 1e12;

    struct Count {
        QString name; // a name, a year or a grade as text, or NoValue
        qint64 albums = 0;
    };
    struct Purchases {
        QString year; // or NoValue
        qint64 albums = 0;
        double spent = 0.0;
    };
    struct Figures {
        qint64 albums = 0;
        qint64 tracks = 0;
        qint64 playingTimeSeconds = 0;
        qint64 unknownLengths = 0;
        // Years and grades in ascending order, NoValue first; names most albums first.
        QVector<Count> byDecade; // "1980" counts the albums of 1980 to 1989
        QVector<Count> byYear;
        QVector<Count> byGenre;
        QVector<Count> byMediaType;
        QVector<Count> byLabel;
        QVector<Count> byCountry;
        QVector<Count> byLanguage;
        QVector<Count> byLocation;
        QVector<Count> byGrade;
        QVector<Purchases> purchasesByYear;
        double totalValue = 0.0;
        double totalPrice = 0.0;
        qint64 unusableValues = 0;
        qint64 unusablePrices = 0;
        qint64 inCollection = 0;
        qint64 onLoan = 0;
    };

    // Groups of figures, each a few queries that read every album once: a window can work out
    // the group its first tab shows and leave the rest for later.
    enum Part {
        TotalFigures = 0x1,    // albums, tracks, playing time, money, in collection, on loan
        YearFigures = 0x2,     // by decade, by year
        NameFigures = 0x4,     // by genre, media type, label, country, language, location, grade
        PurchaseFigures = 0x8, // purchases by year
        AllFigures = 0xf
    };

    explicit CollectionStatistics(Database* database);

    // The figures of the albums the list shows under `condition`, the list's own filter (the
    // artist chosen in the tree and the find condition); empty for every album. Only the
    // `parts` asked for are filled, the others stay empty. False, with the engine's error
    // reported, when a query fails.
    bool compute(const QString& condition, Figures* figures, int parts = AllFigures);

    // The `keep` largest counts (ties keep their order) and the rest summed as "Other", which is
    // left out when nothing remains: a chart stays readable with thousands of names.
    static QVector<Count> topWithOther(const QVector<Count>& counts, int keep = 15);

private:
    QString scope(const QString& condition) const;
    bool readTotals(const QString& scope, Figures* figures);
    bool readYears(const QString& scope, Figures* figures);
    bool readNames(const QString& scope, Figures* figures);
    bool readTracks(const QString& scope, Figures* figures);
    bool readCounts(const QString& sql, QVector<Count>* counts);
    bool readPurchases(const QString& scope, Figures* figures);

    Database* m_database;
    AlbumTable m_albums;
};
