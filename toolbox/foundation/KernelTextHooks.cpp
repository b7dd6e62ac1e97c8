#include "toolbox/foundation/KernelTextHooks.h"

#include <charconv>
#include <cmath>
#include <cstring>

KernelTextHooks gKernelTextHooks = {RoundTripRealToText, nullptr, nullptr, nullptr, nullptr, nullptr};

void RoundTripRealToText(const double* value, uint8_t* dest, int32_t)
{
    char text[64];
    int32_t length = 0;
    // An undefined real has no text.
    if (std::isfinite(*value)) {
        const auto result = std::to_chars(text, text + sizeof text, *value);
        length = static_cast<int32_t>(result.ptr - text);
    }
    dest[0] = static_cast<uint8_t>(length);
    std::memcpy(dest + 1, text, static_cast<size_t>(length));
    std::memcpy(dest + 1 + length, value, sizeof(double));
}

void ResetKernelTextHooks() { gKernelTextHooks = {RoundTripRealToText, nullptr, nullptr, nullptr, nullptr, nullptr}; }
