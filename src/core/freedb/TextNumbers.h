#pragma once

#include <QByteArray>
#include <cstdint>

// Numbers in CDDB text are read the way the C library reads them (leading white space skipped,
// digits up to the first other character, nothing read gives 0), but without its undefined
// behaviour: values beyond the range saturate instead of overflowing.
namespace TextNumbers
{

// Decimal, optional sign; saturates at the limits of int.
int leadingInt(const char* begin, const char* end);
inline int leadingInt(const QByteArray& text)
{
    return leadingInt(text.constData(), text.constData() + text.size());
}

// Hexadecimal, optional "0x"; saturates at 0xffffffff.
std::uint32_t leadingHex(const char* begin, const char* end);
inline std::uint32_t leadingHex(const QByteArray& text)
{
    return leadingHex(text.constData(), text.constData() + text.size());
}

bool isSpace(char c);

} // namespace TextNumbers
