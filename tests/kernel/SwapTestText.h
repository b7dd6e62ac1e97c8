// Template text for the byte-swap tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kernel/byteswap/SwapTemplates.h"

namespace swaptest {

// Loads the lines, joined with the given line end.
inline int16_t Load(const std::vector<std::string>& lines, const std::string& eol = "\r")
{
    std::string text;
    for (const auto& l : lines) text += l + eol;
    return InitTokensFromText(text.data(), int32_t(text.size()));
}

inline std::vector<uint8_t> Reversed(std::vector<uint8_t> v, size_t from, size_t width)
{
    for (size_t i = from; i + width <= v.size() && i < from + width; i += width)
        for (size_t a = i, z = i + width - 1; a < z; ++a, --z) std::swap(v[a], v[z]);
    return v;
}

}  // namespace swaptest
