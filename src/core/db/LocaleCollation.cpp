#include "db/LocaleCollation.h"

#include <QVarLengthArray>
#include <algorithm>
#include <cstring>
#include <memory>
#include <sqlcipher/sqlite3.h>

namespace
{

QLocale orderingLocale(const QLocale& locale)
{
    // The collator would compare the C locale's texts code point by code point, which puts
    // "Åsa" after "Zoë". The international order (English follows it unchanged) fits better.
    return locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates)
                                           : locale;
}

using Utf16Buffer = QVarLengthArray<char16_t, 256>;

// Most names are ASCII and are widened in place; only other texts pay for a decoded copy.
QStringView widen(const char* text, int length, Utf16Buffer* buffer, QString* decoded)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    if (std::any_of(bytes, bytes + length, [](unsigned char byte) { return byte >= 0x80; })) {
        *decoded = QString::fromUtf8(text, length);
        return *decoded;
    }
    buffer->resize(length);
    std::copy(bytes, bytes + length, buffer->data());
    return QStringView(buffer->data(), length);
}

int sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

int collate(void* collation, int leftLength, const void* left, int rightLength, const void* right)
{
    return static_cast<const LocaleCollation*>(collation)->compareUtf8(
        static_cast<const char*>(left), leftLength, static_cast<const char*>(right), rightLength);
}

void destroy(void* collation)
{
    delete static_cast<LocaleCollation*>(collation);
}

} // namespace

LocaleCollation::LocaleCollation(const QLocale& locale)
    : m_locale(locale), m_collator(orderingLocale(locale.collation()))
{
    m_collator.setNumericMode(true);
    m_collator.setCaseSensitivity(Qt::CaseSensitive);
}

int LocaleCollation::compare(QStringView left, QStringView right) const
{
    return sign(m_collator.compare(left, right));
}

int LocaleCollation::compareUtf8(const char* left, int leftLength, const char* right,
                                 int rightLength) const
{
    // Sorting a list compares equal names (one artist's albums) again and again.
    if (leftLength == rightLength && std::memcmp(left, right, size_t(leftLength)) == 0)
        return 0;
    Utf16Buffer leftBuffer;
    Utf16Buffer rightBuffer;
    QString leftDecoded;
    QString rightDecoded;
    return compare(widen(left, leftLength, &leftBuffer, &leftDecoded),
                   widen(right, rightLength, &rightBuffer, &rightDecoded));
}

// Each text's key is made once; the sort then compares keys rather than texts.
std::vector<int> LocaleCollation::sortedOrder(const QStringList& texts) const
{
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(texts.size()));
    for (const QString& text : texts)
        keys.push_back(m_collator.sortKey(text));
    std::vector<int> order(keys.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&keys](int left, int right) {
        return keys[size_t(left)].compare(keys[size_t(right)]) < 0;
    });
    return order;
}

const LocaleCollation& LocaleCollation::current()
{
    thread_local std::unique_ptr<LocaleCollation> collation;
    const QLocale locale;
    if (!collation || collation->m_locale != locale)
        collation = std::make_unique<LocaleCollation>(locale);
    return *collation;
}

// Each connection gets a collator of its own: the engine may call it from whichever thread
// uses the connection.
bool LocaleCollation::install(sqlite3* connection)
{
    auto* collation = new LocaleCollation(QLocale());
    if (sqlite3_create_collation_v2(connection, SqlName, SQLITE_UTF8, collation, collate,
                                    destroy) == SQLITE_OK)
        return true;
    // A collation the engine refused is not the engine's to free.
    delete collation;
    return false;
}
