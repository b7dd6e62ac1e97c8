// Four-character codes: 32-bit values with the first character in the
// high byte, as they are stored.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

constexpr uint32_t FourCC(const char (&code)[5])
{
    return (uint32_t(uint8_t(code[0])) << 24) | (uint32_t(uint8_t(code[1])) << 16) |
           (uint32_t(uint8_t(code[2])) << 8) | uint32_t(uint8_t(code[3]));
}

// The four characters of a code, for messages and tests.
inline std::string FourCCText(uint32_t code)
{
    std::string text(4, ' ');
    for (int i = 0; i < 4; ++i) text[i] = char((code >> (24 - 8 * i)) & 0xFF);
    return text;
}

}  // namespace platform
