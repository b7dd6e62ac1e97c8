// Copying pixels between bitmaps, pixel maps and ports.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

// Copies srcRect of src (in src's coordinates) to dstRect of dst (in dst's
// coordinates) in `mode`, scaling by pixel replication or sampling when the
// rectangles differ in size, limited by maskRgn (dst coordinates, may be
// null) and, when dst is the current port's map, by its clip and visible
// regions. 1-bit sources take the current port's fore and back colours.
// Sources of 1, 2, 4, 8 (with colour table) and 32 bits; destinations of 1
// and 32 bits. Routed through the port's bitsProc when it has one.
void CopyBits(const BitMap* src, const BitMap* dst, const Rect* srcRect, const Rect* dstRect, int16_t mode,
              RgnHandle maskRgn);
// The standard bit copy to the current port, for bottleneck procedures.
void StdBits(const BitMap* src, const Rect* srcRect, const Rect* dstRect, int16_t mode, RgnHandle maskRgn);
// Copies where the mask has ink (1-bit mask) or blends by the mask's
// darkness (deeper mask).
void CopyMask(const BitMap* src, const BitMap* mask, const BitMap* dst, const Rect* srcRect,
              const Rect* maskRect, const Rect* dstRect);
void CopyDeepMask(const BitMap* src, const BitMap* mask, const BitMap* dst, const Rect* srcRect,
                  const Rect* maskRect, const Rect* dstRect, int16_t mode, RgnHandle maskRgn);
// Moves the pixels of r (within the current port's clip and visible
// regions) by (dh, dv), erases what was uncovered with the background and
// answers it in updateRgn (may be null).
void ScrollRect(const Rect* r, int16_t dh, int16_t dv, RgnHandle updateRgn);

// CopyBits with explicit colours and no port clipping.
void CopyBitsWithColors(const BitMap* src, const BitMap* dst, const Rect* srcRect, const Rect* dstRect,
                        int16_t mode, RgnHandle maskRgn, RGBColor fore, RGBColor back);

// For text drawing: blends the fore colour of the current port into dstRect
// by an 8-bit coverage mask (0 paper, 255 ink) of the same size, within the
// port's clip and visible regions. Modes: srcOr and srcCopy blend
// (srcCopy also paints the back colour under paper), srcXor inverts where
// coverage is at least half, srcBic paints the back colour by coverage.
void DrawCoverageMask(const uint8_t* coverage, int32_t rowBytes, const Rect* dstRect, int16_t mode);

}  // namespace platform
