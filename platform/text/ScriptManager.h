// The Script Manager answers of a system whose only script is Roman: every
// character is one byte, text runs left to right, the language is English.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

namespace platform {

// Script codes.
constexpr ScriptCode smRoman = 0;
constexpr ScriptCode smSystemScript = -1;
constexpr ScriptCode smCurrentScript = -2;

// Selectors of GetScriptManagerVariable.
constexpr int16_t smVersion = 0;
constexpr int16_t smEnabled = 4;     // number of enabled scripts
constexpr int16_t smBidirect = 6;    // a right-to-left script is enabled
constexpr int16_t smFontForce = 8;
constexpr int16_t smIntlForce = 10;
constexpr int16_t smForced = 12;
constexpr int16_t smDefault = 14;
constexpr int16_t smSysScript = 18;
constexpr int16_t smLastScript = 20;
constexpr int16_t smKeyScript = 22;
constexpr int16_t smDoubleByte = 36;  // a two-byte script is enabled
constexpr int16_t smRegionCode = 40;

// Selectors of GetScriptVariable.
constexpr int16_t smScriptEnabled = 4;
constexpr int16_t smScriptRight = 6;   // the script runs right to left
constexpr int16_t smScriptFlags = 22;
constexpr int16_t smScriptLang = 28;
constexpr int16_t smScriptKeys = 32;   // keyboard layout id

constexpr int32_t smsfSingByte = 1 << 1;  // script flag: every character is one byte
constexpr int16_t langEnglish = 0;

// CharacterByteType answers.
constexpr int16_t smFirstByte = -1;
constexpr int16_t smSingleByte = 0;
constexpr int16_t smLastByte = 1;
constexpr int16_t smMiddleByte = 2;

// Unknown selectors answer 0, as do all selectors of scripts that are not enabled.
int32_t GetScriptManagerVariable(int16_t selector);
int32_t GetScriptVariable(ScriptCode script, int16_t selector);

// Every byte of every text is a single-byte character.
int16_t CharacterByteType(const uint8_t* text, int16_t offset, ScriptCode script);
int16_t CharByte(const uint8_t* text, int16_t offset);

// 0: left to right (the system's), -1: right to left; tests set the other.
int16_t GetSysDirection();
void SetSysDirection(int16_t direction);

}  // namespace platform
