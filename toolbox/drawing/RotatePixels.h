// Turning an image of pixels by an angle, as rotated text is drawn.
#pragma once

#include <cstdint>

// The bytes of one row of `width` pixels of `depth` bits (1, 2, 4, 8, 16,
// 24 or 32), rounded up to a multiple of `alignment` when it is 2, 4, 8
// or 16.
int16_t GetRowBytes(int32_t width, int16_t depth, int16_t alignment);

// A new buffer (freed with gMemory->DisposePtr) holding the source turned
// by `angle` degrees counter-clockwise about a centre; null when it cannot
// be allocated. The source's top left corner lies at (originX, originY)
// from the centre (y downward); outLeft, outTop, outWidth and outHeight
// give the turned image's bounds from the centre, and the buffer is
// exactly outHeight rows of GetRowBytes(outWidth, depth, alignment).
// Angles within 0.01 degree of a right angle are taken as that angle;
// pixels no source pixel reaches hold `fill`. Pixels below 8 bits are
// packed most significant first.
char* RotatePixels(double angle, const void* source, int32_t sourceRowBytes, int32_t originX, int32_t originY,
                   int32_t width, int32_t height, int32_t& outLeft, int32_t& outTop, int32_t& outWidth,
                   int32_t& outHeight, int16_t depth, int16_t alignment, uint8_t fill);
