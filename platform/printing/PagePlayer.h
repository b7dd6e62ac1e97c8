// Plays a page's picture onto a Cairo context: shapes become paths, text
// becomes text in the pinned faces, bit images become images. The
// picture's own opcode walk does the reading: the page player is a port
// whose drawing procedures speak Cairo. A page drawn with transfer modes a
// PDF cannot hold (xor, bic, the not forms, blends, inversions, pixel
// patterns) is placed as one 300-dpi image from our own rasteriser.
#pragma once

#include <cairo.h>

#include "platform/drawing/GWorlds.h"
#include "platform/pictures/Pictures.h"

namespace platform {

constexpr double kPageImageDpi = 300.0;

// Cairo's user space must be the page's coordinates (points at 100 %).
// Answers noErr, memFullErr or the picture's error (what was drawn stays).
OSErr PlayPageOnCairo(cairo_t* cr, PicHandle picture, const Rect& page);
// Draws the picture into a new 32-bit world of the page at `dpi`.
OSErr RenderPageImage(PicHandle picture, const Rect& page, double dpi, GWorldPtr* world);

// The comment that sets the line width: its data is a fraction of two
// big-endian 16-bit words, numerator then denominator, scaling the pen.
constexpr int16_t kSetLineWidthComment = 182;

}  // namespace platform
