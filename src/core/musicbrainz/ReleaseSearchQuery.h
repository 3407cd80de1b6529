#pragma once

#include <QString>

// A release search as the MusicBrainz search server reads it (Lucene syntax), built from what
// the collector gave: a barcode, a catalogue number, or an artist and a title. Text from the
// collector is quoted and every Lucene special character in it escaped, so "AC/DC: "Live""
// searches for exactly that. A query that cannot be sent (nothing given, a barcode that is no
// barcode, an absurdly long text) carries the reason instead, and no request is made for it.
class ReleaseSearchQuery
{
public:
    // Longer user text is refused: no title or catalogue number comes near it, and the search
    // server would only spend its time on it.
    static constexpr int MaxTextLength = 200;

    // 8 to 14 digits (EAN-8, UPC-A with or without its check digit, EAN-13, ITF-14); the
    // leading zeros stay, they are part of the code.
    static ReleaseSearchQuery barcode(const QString& digits);
    static ReleaseSearchQuery catalogNumber(const QString& text);
    static ReleaseSearchQuery artistAndTitle(const QString& artist, const QString& title);
    // One search box: a barcode (blanks and hyphens between the digits allowed, as printed),
    // "artist - title", or else a catalogue number or title.
    static ReleaseSearchQuery fromSearchText(const QString& text);

    bool isValid() const { return m_error.isEmpty(); }
    // The Lucene query, empty when refused.
    const QString& lucene() const { return m_lucene; }
    // Why the query was refused, as one line for the collector.
    const QString& error() const { return m_error; }

    // `text` with every Lucene special character escaped by a backslash.
    static QString escaped(const QString& text);

private:
    static ReleaseSearchQuery refused(const QString& error);
    static ReleaseSearchQuery built(const QString& lucene);
    // "field:"text"", or the reason `text` cannot be searched for.
    static bool phrase(const char* field, const QString& what, const QString& text, QString* result,
                       QString* error);

    QString m_lucene;
    QString m_error;
};
