// Byte-order reversal of words, longs and reals, and the conversions
// between 8-byte reals and 10-byte extended reals.
#pragma once

#include <cstdint>

void ByteSwapWord(int16_t* word);
void ByteSwapLong(int32_t* value);
// Reverse each of count elements (nothing when count <= 0).
void ByteSwapWordArray(int16_t* words, int32_t count);
void ByteSwapLongArray(int32_t* longs, int32_t count);
void ByteSwapReal8(double* real);

// Both conversions work on big-endian forms, the stored order: src/dst of
// 8 bytes hold an IEEE double big-endian; those of 10 bytes hold sign and
// 15-bit exponent, then a 64-bit significand with an explicit integer bit.
// Widening is exact; narrowing rounds to nearest, ties to even.
void Real8toReal10(const void* src, void* dst);
void Real10toReal8(const void* src, void* dst);
