#include "platform/text/RomanCompare.h"

#include <algorithm>
#include <cstring>

#include "platform/text/RomanCase.h"

namespace platform {

namespace {

uint8_t PrimaryWeight(uint8_t ch) { return RomanUppercase(RomanStripDiacritics(ch)); }

// 0 for a letter without diacritics, else the letter in upper case.
uint8_t DiacriticWeight(uint8_t ch)
{
    uint8_t upper = RomanUppercase(ch);
    return upper == PrimaryWeight(ch) ? 0 : upper;
}

// 0 for upper case and caseless characters, 1 for lower case.
uint8_t CaseWeight(uint8_t ch) { return RomanUppercase(ch) == ch ? 0 : 1; }

int16_t Sign(int32_t difference) { return difference < 0 ? -1 : difference > 0 ? 1 : 0; }

// The first difference of weight(a[i]) and weight(b[i]) over n bytes.
template <typename Weight>
int16_t CompareBy(const uint8_t* a, const uint8_t* b, int32_t n, Weight weight)
{
    for (int32_t i = 0; i < n; ++i) {
        int32_t d = int32_t(weight(a[i])) - int32_t(weight(b[i]));
        if (d != 0)
            return Sign(d);
    }
    return 0;
}

}  // namespace

int16_t CompareText(const uint8_t* a, int32_t aLength, const uint8_t* b, int32_t bLength)
{
    aLength = std::max(aLength, 0);
    bLength = std::max(bLength, 0);
    int32_t common = std::min(aLength, bLength);
    if (int16_t r = CompareBy(a, b, common, PrimaryWeight))
        return r;
    if (aLength != bLength)
        return aLength < bLength ? -1 : 1;
    if (int16_t r = CompareBy(a, b, common, DiacriticWeight))
        return r;
    if (int16_t r = CompareBy(a, b, common, CaseWeight))
        return r;
    return CompareBy(a, b, common, [](uint8_t ch) { return ch; });
}

int16_t IdenticalText(const uint8_t* a, int32_t aLength, const uint8_t* b, int32_t bLength)
{
    aLength = std::max(aLength, 0);
    bLength = std::max(bLength, 0);
    if (aLength != bLength)
        return 1;
    return (aLength == 0 || std::memcmp(a, b, size_t(aLength)) == 0) ? 0 : 1;
}

}  // namespace platform
