// Script-aware comparison of Mac Roman text.
#include "platform/text/RomanCompare.h"
#include "toolbox/drawing/CompatFunctions.h"

namespace {

const uint8_t* TextOrEmpty(const void* text, int32_t* length)
{
    static const uint8_t kEmpty = 0;
    if (!text || *length <= 0) {
        *length = 0;
        return &kEmpty;
    }
    return static_cast<const uint8_t*>(text);
}

}  // namespace

int16_t myMagIDString(const void* first, const void* second, int32_t firstLength, int32_t secondLength)
{
    const uint8_t* a = TextOrEmpty(first, &firstLength);
    const uint8_t* b = TextOrEmpty(second, &secondLength);
    return platform::IdenticalText(a, firstLength, b, secondLength) == 0 ? 0 : 1;
}

int16_t myMagString(const void* first, const void* second, int32_t firstLength, int32_t secondLength)
{
    const uint8_t* a = TextOrEmpty(first, &firstLength);
    const uint8_t* b = TextOrEmpty(second, &secondLength);
    const int16_t order = platform::CompareText(a, firstLength, b, secondLength);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}
