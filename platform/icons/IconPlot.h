// Plotting any icon image through its mask with a transform: the one
// place where icons turn into pixels.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

// Paints `image` (any depth; one bit is black on white) where `mask` has
// ink, scaled from the image's bounds to `dst`, transformed (none,
// disabled or selected), in the current port. False when memory runs out.
bool PlotMaskedImage(const BitMap* image, const BitMap* mask, const Rect* dst, int16_t transform);

}  // namespace platform
