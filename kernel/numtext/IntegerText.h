// Integers as length-prefixed text and back.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

// Decimal text of value.
void strint(int32_t value, platform::StringPtr dest);
void str(platform::StringPtr dest, int32_t value);
// Upper-case hexadecimal without leading zeros; with prefix, "0x" and the
// digits padded to 4 (values up to 0xFFFF) or 8. At most 31 characters.
void strlongHex(uint32_t value, platform::StringPtr dest, bool prefix);
// Digits accumulate (wrapping at 32 bits), every '-' flips the sign, all
// other characters are skipped. At most 80 characters are looked at.
int32_t evalint(platform::ConstStr255Param text);
// Decimal text of a 64-bit value.
void strlong8(const int64_t* value, platform::StringPtr dest);
// The 64-bit value as a 32-bit one, held at the 32-bit limits.
int32_t llong2integer(const int64_t* value);
