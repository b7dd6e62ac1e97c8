// Upper-casing, truncation and substring search that respect two-byte
// characters.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

// In place; the length afterwards is left in lz3.
void upstr(uint8_t* text, int32_t length);   // upper case, diacritics removed
void pupstr(uint8_t* text, int32_t length);  // upper case, diacritics kept
// upstr through a length-prefixed copy (at most 255 bytes).
void upstr2(uint8_t* text, int32_t length);
// Cuts s to n characters when it is at least n long (n - 1 when the n-th
// byte starts a two-byte character).
void truncate(platform::StringPtr s, int16_t n);
// 1-based position of pattern in text; 0 when absent or pattern is empty.
int16_t Pos(platform::ConstStr255Param pattern, platform::ConstStr255Param text);
