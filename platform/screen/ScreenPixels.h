// Plain pixel work on 32-bit maps for the screen and the window frames:
// fills, copies and xors in global coordinates, clipped to the target.
#pragma once

#include <cstdint>

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

// A 32-bit pixel map seen in global coordinates: `bounds` is where it lies.
struct PixelTarget {
    uint32_t* pixels = nullptr;
    int32_t rowWords = 0;
    Rect bounds{0, 0, 0, 0};
    // Optional clip, in global coordinates; pixels outside it are left alone.
    RgnHandle clip = nullptr;
};

// A world's pixels, placed at `origin` on the screen (the port's global offset
// when origin is not given).
PixelTarget PixelTargetOf(CGrafPtr port);
PixelTarget PixelTargetAt(CGrafPtr port, Point origin);

uint32_t* PixelAddress(const PixelTarget& t, int32_t h, int32_t v);
void FillPixels(const PixelTarget& t, const Rect& r, uint32_t color);
void FramePixels(const PixelTarget& t, const Rect& r, uint32_t color);
void XorFramePixels(const PixelTarget& t, const Rect& r);
// Copies every pixel of `from` onto `to` where they overlap.
void CopyPixels(const PixelTarget& from, const PixelTarget& to);
// Xors every pixel of `from` onto `to`.
void XorPixels(const PixelTarget& from, const PixelTarget& to);

}  // namespace platform
