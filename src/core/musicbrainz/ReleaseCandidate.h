#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// One release a search found, as the collector picks among pressings. A value the answer does
// not carry (or carries empty) stays empty; nothing is made up.
struct ReleaseCandidate {
    QString id;
    QString title;
    QString artist; // the credited names with their join phrases
    QString date;   // "1977", "1977-02", "1977-02-04" or empty
    QString country;
    QString barcode;
    QString label;         // of the first label entry
    QString catalogNumber; // of the first label entry; MusicBrainz's "[none]" is none
    QString formats;       // as MusicBrainz shows them: "CD + Blu-ray", "2×12" Vinyl"
    int trackCount = 0;
    int score = 0;

    // The candidates of a search answer, best score first (the service's order among equals).
    // False when the answer is no search result at all.
    static bool fromSearchAnswer(const QByteArray& json, QVector<ReleaseCandidate>* candidates);

    // "2×CD + DVD": each format once in the order of first appearance, counted when repeated.
    // A medium without a format is "(unknown)" beside others; a release whose media have no
    // format at all has none.
    static QString formatsText(const QStringList& mediumFormats);
};
