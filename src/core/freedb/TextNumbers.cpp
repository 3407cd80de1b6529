#include "freedb/TextNumbers.h"

#include <limits>

namespace TextNumbers
{

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

namespace
{

const char* skipSpace(const char* p, const char* end)
{
    while (p < end && isSpace(*p))
        ++p;
    return p;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

int leadingInt(const char* begin, const char* end)
{
    const char* p = skipSpace(begin, end);
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // Accumulate as a magnitude one past INT_MAX so INT_MIN stays reachable.
    constexpr long long limit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    long long magnitude = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    if (negative)
        return static_cast<int>(-magnitude);
    return magnitude >= limit ? std::numeric_limits<int>::max() : static_cast<int>(magnitude);
}

std::uint32_t leadingHex(const char* begin, const char* end)
{
    const char* p = skipSpace(begin, end);
    if (end - p >= 3 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && hexDigit(p[2]) >= 0)
        p += 2;
    std::uint64_t value = 0;
    for (; p < end && hexDigit(*p) >= 0; ++p) {
        value = value * 16 + static_cast<std::uint64_t>(hexDigit(*p));
        if (value > 0xffffffffu)
            value = 0xffffffffu;
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace TextNumbers
