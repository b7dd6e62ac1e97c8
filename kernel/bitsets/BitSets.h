// Packed bit sets: an array of `size` bytes holding the elements
// 0 .. size*8-1. The set reads as one big-endian number whose bit n is
// element n, so element n lives in byte size-1-(n/8) under mask 1 << (n%8).
#pragma once

#include <cstdint>

// The largest set: 32768 elements.
using Bool32768 = uint8_t[4096];

// Adds first..last, clamped to the set; nothing when the range misses it.
void AddRangeToSet(uint8_t* set, int16_t first, int16_t last, int16_t size);
// Zero when the element is outside the set or absent, else its masked byte.
uint8_t TestElementInSet(const uint8_t* set, int16_t element, int16_t size);
void ClearSet(uint8_t* set, int16_t size);
// Zeroes count 16-bit words (callers pass the bit count divided by 16).
void _raz(void* set, int16_t count);

// Bits 0..31 of a flag word; other bit numbers read as 0 and change nothing.
int16_t pbittest(uint32_t value, int16_t bit);
void pbitclear(uint32_t* word, int16_t bit);
