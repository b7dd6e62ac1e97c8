// UTF-8 against UTF-16 and Mac Roman: Linux file names, the display and the
// clipboard speak UTF-8.
//
// Decoding validates: an over-long form, an encoded surrogate, a value above
// U+10FFFF, a stray continuation byte or a sequence cut short by a foreign
// byte becomes one U+FFFD per maximal invalid part (the Unicode recommended
// practice). Encoding replaces a lone surrogate by U+FFFD. Neither ever
// produces invalid output.
//
// A character cut off by the end of the source is left unconsumed and the
// result says truncatedSource, so a caller reading in chunks can carry those
// units over. With endOfInput true nothing more will come: the cut-off units
// are consumed as one invalid character instead.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text/TextConversion.h"

namespace platform {

ConversionResult Utf8ToUtf16(const uint8_t* src, int32_t srcLength, char16_t* dst, int32_t dstCapacity,
                             bool endOfInput = false);
ConversionResult Utf16ToUtf8(const char16_t* src, int32_t srcLength, uint8_t* dst, int32_t dstCapacity,
                             bool endOfInput = false);

// Characters Mac Roman lacks, and invalid UTF-8, become kSubstituteByte
// (counted in the result's `substituted`).
ConversionResult MacRomanToUtf8(const uint8_t* src, int32_t srcLength, uint8_t* dst, int32_t dstCapacity);
ConversionResult Utf8ToMacRoman(const uint8_t* src, int32_t srcLength, uint8_t* dst, int32_t dstCapacity,
                                bool endOfInput = false);

// Whole-text forms for names and display strings; *substituted (when
// given) counts the characters Mac Roman lacks, each written as `substitute`.
std::string MacRomanToUtf8String(const uint8_t* text, int32_t length);
std::string Utf8ToMacRomanString(std::string_view utf8, int32_t* substituted = nullptr,
                                 uint8_t substitute = kSubstituteByte);

// Whether the text is UTF-8 throughout: no invalid or cut-off sequence.
bool IsUtf8(std::string_view text);

}  // namespace platform
