#include "platform/text/RomanCase.h"

namespace platform {

namespace {

void MapText(const uint8_t (&table)[256], uint8_t* text, int32_t length)
{
    for (int32_t i = 0; i < length; ++i)
        text[i] = table[text[i]];
}

}  // namespace

void UppercaseText(uint8_t* text, int32_t length, ScriptCode) { MapText(kMacRomanUppercase, text, length); }

void LowercaseText(uint8_t* text, int32_t length, ScriptCode) { MapText(kMacRomanLowercase, text, length); }

void StripDiacritics(uint8_t* text, int32_t length, ScriptCode) { MapText(kMacRomanStripped, text, length); }

void UppercaseStripDiacritics(uint8_t* text, int32_t length, ScriptCode)
{
    for (int32_t i = 0; i < length; ++i)
        text[i] = RomanUppercase(RomanStripDiacritics(text[i]));
}

}  // namespace platform
