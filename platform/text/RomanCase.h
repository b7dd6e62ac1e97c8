// Case and diacritics over Mac Roman text. Upper and lower case follow
// Unicode wherever Mac Roman has both forms (é and É, æ and Æ, ÿ and Ÿ);
// a letter whose other form Mac Roman lacks (ß, µ, π) stays as it is.
// Stripping keeps the base letter: é -> e, Å -> A, Ø -> O.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/text/ScriptManager.h"
#include "platform/text/TextTables.h"

namespace platform {

inline uint8_t RomanUppercase(uint8_t ch) { return kMacRomanUppercase[ch]; }
inline uint8_t RomanLowercase(uint8_t ch) { return kMacRomanLowercase[ch]; }
inline uint8_t RomanStripDiacritics(uint8_t ch) { return kMacRomanStripped[ch]; }

// In place over `length` bytes (nothing when length <= 0). Only the Roman
// script exists, so every script code gets the Roman rules.
void UppercaseText(uint8_t* text, int32_t length, ScriptCode script = smSystemScript);
void LowercaseText(uint8_t* text, int32_t length, ScriptCode script = smSystemScript);
void StripDiacritics(uint8_t* text, int32_t length, ScriptCode script = smSystemScript);
void UppercaseStripDiacritics(uint8_t* text, int32_t length, ScriptCode script = smSystemScript);

}  // namespace platform
