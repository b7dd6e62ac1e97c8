// Filling regions of a port's pixels with a pattern in a transfer mode, or
// inverting them: the one place where shapes turn into pixels.
#pragma once

#include <pixman.h>

#include "platform/drawing/Modes.h"

namespace platform {

// The port's drawable pixels within `shape` (local coordinates): the shape
// cut to the clip and visible regions and to the pixel map. Answers the
// surface of the map; `out` must be initialised. Pixels to draw count as
// written (PixelChanges.h).
Surface ClipToPort(GrafPort* port, const pixman_region32_t* shape, pixman_region32_t* out);

// Draws `pat` through the shape in `mode` with the port's colours.
void PaintShape(GrafPort* port, const pixman_region32_t* shape, const Pattern& pat, int16_t mode);
// Inverts every pixel of the shape (each channel), or highlights it when
// the highlight switch is cleared.
void InvertShape(GrafPort* port, const pixman_region32_t* shape);

}  // namespace platform
