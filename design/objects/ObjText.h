// Length-prefixed text helpers of the design objects.
#pragma once

#include <cstdint>
#include <string>

// Appends `more` (length-prefixed) to `text`, up to 255 characters.
void PAppend(unsigned char* text, const unsigned char* more);
void PAppend(unsigned char* text, const std::string& more);
void PAppendChar(unsigned char* text, char c);
void PSet(unsigned char* text, const std::string& value);
std::string PString(const unsigned char* text);
// The short date of a time in seconds since 1904 (the settings' order).
std::string ShortDate(uint32_t seconds);
