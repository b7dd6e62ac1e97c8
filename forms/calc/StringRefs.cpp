#include "forms/calc/StringRefs.h"

#include <cstdint>
#include <cstring>

#include "kernel/helpers/ResourceStrings.h"

namespace {

// Reads decimal digits from text[*at] on (1-based, within the length),
// with a leading "-" when allowed; false without a digit or past 16 bits.
bool ReadNumber(const unsigned char* text, int32_t* at, bool sign, int32_t* value)
{
    const int32_t end = text[0];
    bool negative = false;
    if (sign && *at <= end && text[*at] == '-') {
        negative = true;
        ++*at;
    }
    int32_t v = 0;
    const int32_t start = *at;
    for (; *at <= end && text[*at] >= '0' && text[*at] <= '9'; ++*at) {
        v = v * 10 + (text[*at] - '0');
        if (v > 32768) return false;
    }
    if (*at == start) return false;
    *value = negative ? -v : v;
    return *value >= -32768 && *value <= 32767;
}

}  // namespace

void getstrstr(unsigned char* text)
{
    if (text[0] < 4 || text[1] != ':') return;
    int32_t at = 2, id = 0, index = 0;
    if (!ReadNumber(text, &at, true, &id) || at > text[0] || text[at] != ',') return;
    ++at;
    if (!ReadNumber(text, &at, false, &index) || at != text[0] + 1) return;
    gs(text, int16_t(id), int16_t(index));
}

void ShownStringText(const unsigned char* stored, unsigned char* out)
{
    unsigned char resolved[256];
    std::memcpy(resolved, stored, size_t(stored[0]) + 1);
    getstrstr(resolved);
    const unsigned char* shown = resolved[0] || !stored[0] ? resolved : stored;
    std::memmove(out, shown, size_t(shown[0]) + 1);
}

bool ShownStringText(const uint8_t* text, size_t length, unsigned char* out)
{
    if (length > 255) return false;
    out[0] = uint8_t(length);
    if (length) std::memmove(out + 1, text, length);
    ShownStringText(out, out);
    return true;
}
