#include "kernel/numtext/IntegerText.h"

#include <charconv>
#include <cstring>
#include <limits>

namespace {

template <typename T>
void DecimalText(T value, platform::StringPtr dest)
{
    char text[32];
    const auto r = std::to_chars(text, text + sizeof text, value);
    const auto length = uint8_t(r.ptr - text);
    dest[0] = length;
    std::memcpy(dest + 1, text, length);
}

}  // namespace

void strint(int32_t value, platform::StringPtr dest) { DecimalText(value, dest); }

void str(platform::StringPtr dest, int32_t value) { strint(value, dest); }

void strlongHex(uint32_t value, platform::StringPtr dest, bool prefix)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    int32_t digits = 1;
    while (digits < 8 && (value >> (4 * digits)) != 0) ++digits;
    if (prefix) digits = digits <= 4 ? 4 : 8;
    uint8_t n = 0;
    if (prefix) {
        dest[++n] = '0';
        dest[++n] = 'x';
    }
    for (int32_t k = digits - 1; k >= 0; --k) dest[++n] = uint8_t(kDigits[(value >> (4 * k)) & 0xF]);
    dest[0] = n;
}

int32_t evalint(platform::ConstStr255Param text)
{
    const int32_t length = text[0] < 80 ? text[0] : 80;
    uint32_t value = 0;
    bool negative = false;
    for (int32_t i = 1; i <= length; ++i) {
        const uint8_t ch = text[i];
        if (ch >= '0' && ch <= '9')
            value = value * 10u + uint32_t(ch - '0');
        else if (ch == '-')
            negative = !negative;
    }
    return int32_t(negative ? 0u - value : value);
}

void strlong8(const int64_t* value, platform::StringPtr dest) { DecimalText(*value, dest); }

int32_t llong2integer(const int64_t* value)
{
    if (*value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (*value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return int32_t(*value);
}
