// Mac Roman and Windows-1252 against Unicode and against each other.
//
// Mac Roman follows the published vendor mapping (0xDB is the euro sign).
// Windows-1252 leaves 0x81, 0x8D, 0x8F, 0x90 and 0x9D undefined; we map each
// to the C1 control of the same value (U+0081...), so every byte survives a
// trip through Unicode. A character the target set lacks becomes
// kSubstituteByte; a UTF-16 surrogate pair is one character, so one byte.
#pragma once

#include <cstdint>

#include "platform/text/TextConversion.h"

namespace platform {

char16_t MacRomanToUnicode(uint8_t byte);
char16_t Windows1252ToUnicode(uint8_t byte);

// False, with *byte untouched, when the set has no such character.
bool UnicodeToMacRoman(char16_t ch, uint8_t* byte);
bool UnicodeToWindows1252(char16_t ch, uint8_t* byte);

// kSubstituteByte when the other set has no such character.
uint8_t MacRomanToWindows1252(uint8_t byte);
uint8_t Windows1252ToMacRoman(uint8_t byte);

ConversionResult MacRomanToUtf16(const uint8_t* src, int32_t srcLength, char16_t* dst, int32_t dstCapacity);
ConversionResult Windows1252ToUtf16(const uint8_t* src, int32_t srcLength, char16_t* dst, int32_t dstCapacity);
ConversionResult Utf16ToMacRoman(const char16_t* src, int32_t srcLength, uint8_t* dst, int32_t dstCapacity);
ConversionResult Utf16ToWindows1252(const char16_t* src, int32_t srcLength, uint8_t* dst, int32_t dstCapacity);
ConversionResult MacRomanToWindows1252(const uint8_t* src, int32_t srcLength, uint8_t* dst, int32_t dstCapacity);
ConversionResult Windows1252ToMacRoman(const uint8_t* src, int32_t srcLength, uint8_t* dst, int32_t dstCapacity);

}  // namespace platform
