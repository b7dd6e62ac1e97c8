// Helpers shared by the display formats: working copies of length-prefixed
// strings and the character tests of the two-byte-script mode.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/MacTypes.h"

namespace formattext {

// The string's characters, at most `limit` of them.
std::string Take(platform::ConstStr255Param s, size_t limit = 255);
// Writes text as a length-prefixed string (at most `limit` characters).
void Put(const std::string& text, platform::StringPtr dest, size_t limit = 255);

// True when text[i] is the character ch and, in two-byte-script mode, a
// single-byte character of the system script.
bool IsFormatChar(const std::string& text, size_t i, uint8_t ch);
// True when text[i] is one of the four digit placeholders (diese,
// zeroforce, star, hardspace) as a format character.
bool IsPlaceholder(const std::string& text, size_t i);
// The first such position at or after `from`, npos when none.
size_t FindFormatChar(const std::string& text, uint8_t ch, size_t from = 0);

bool IsDigit(uint8_t ch);         // '0'..'9' (two-byte mode: the three digit ranges)
bool IsNonZeroDigit(uint8_t ch);  // '1'..'9' (two-byte mode: likewise)
bool IsZeroDigit(uint8_t ch);     // '0' (two-byte mode: the three zero characters)

}  // namespace formattext
