#pragma once

#include <QCollator>
#include <QLocale>
#include <QStringList>
#include <vector>

struct sqlite3;

// Names and titles in the order of the user's language: letters as the language sorts them
// (accents and letter case weigh less than the letters themselves) and numbers inside a text by
// their value, so "Vol. 9" comes before "Vol. 10". It is an order only: whether two names are
// the same stays with the catalogue's case-insensitive NOCASE. The C locale names no language;
// the common international order serves then.
class LocaleCollation
{
public:
    // The collation's name in SQL: "ORDER BY artist_name COLLATE LOCALE ASC".
    static constexpr const char* SqlName = "LOCALE";

    explicit LocaleCollation(const QLocale& locale = QLocale());

    int compare(QStringView left, QStringView right) const;
    bool less(const QString& left, const QString& right) const { return compare(left, right) < 0; }
    // Three-way comparison of two UTF-8 texts, as the engine hands them over.
    int compareUtf8(const char* left, int leftLength, const char* right, int rightLength) const;
    // The positions of `texts` in this order; equal texts keep their positions' order.
    std::vector<int> sortedOrder(const QStringList& texts) const;

    // The order of the locale in use now, kept per thread while that locale stays.
    static const LocaleCollation& current();
    // Registers the order of the locale in use now on `connection`, under SqlName.
    static bool install(sqlite3* connection);

private:
    QLocale m_locale;
    QCollator m_collator;
};
