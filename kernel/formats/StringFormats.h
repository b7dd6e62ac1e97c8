// String display formats, real-number text and character search.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

using platform::ConstStr255Param;
using platform::StringPtr;

// 1-based position of the first ch in s, 0 when absent; in two-byte-script
// mode only single-byte characters match.
int16_t poschar(int16_t ch, ConstStr255Param s);

// Pours the characters of text (a 256-byte buffer) into the placeholders of
// the format, right-aligned; unused diese placeholders vanish.
void sstransusing(StringPtr text, ConstStr255Param format);

// The number text of *value in dest (256 bytes), the value stored in the 8
// bytes after the text. dotSeparator non-zero: '.', else the system's.
void strreel2(const double* value, StringPtr dest, int32_t dotSeparator);

// Reads a real leniently (characters that cannot belong to a number are
// dropped); 0 for text without digits.
void evalreel(ConstStr255Param text, double* value, int32_t dotSeparator);
