// Reversal of single 16-bit and 32-bit values and of runs of them, in
// place. Values read back are taken as stored records hold them
// (big-endian).
#pragma once

#include <cstdint>

int16_t vInvertsWord(int16_t value);
int32_t vInvertsLong(int32_t value);
// Reverse in place and return the new value (16-bit sign-extended).
int32_t InvertWord(void* p);
int32_t InvertLong(void* p);
void ASI_ByteSwapWORD(void* p);
void ASI_ByteSwapLONG(void* p);
// Reverse each whole value within length bytes; a trailing part is left alone.
void ASI_ByteSwapWORDS(void* p, int32_t length);
void ASI_ByteSwapLONGS(void* p, int32_t length);
