#include "platform/text/NumberStrings.h"

#include <cstdio>
#include <cstring>
#include <limits>

namespace platform {

void NumToString(int32_t number, Str255 text)
{
    char digits[16];
    const int n = std::snprintf(digits, sizeof digits, "%d", int(number));
    text[0] = uint8_t(n);
    std::memcpy(text + 1, digits, size_t(n));
}

void StringToNum(ConstStr255Param text, int32_t* number)
{
    *number = 0;
    if (!text) return;
    const int length = text[0];
    int i = 1;
    bool negative = false;
    if (i <= length && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i <= length && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        // Past 32 bits the rest can only push further out.
        if (value > int64_t(std::numeric_limits<int32_t>::max()) + 1) value = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) value = std::numeric_limits<int32_t>::max();
    *number = int32_t(value);
}

}  // namespace platform
