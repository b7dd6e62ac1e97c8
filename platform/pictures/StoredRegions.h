// Regions in the stored form of pictures: a 16-bit size, the bounding box,
// then, unless the region is a rectangle (size 10), rows of inversion
// points: a row's v, the h of each point where the region's row starts
// to differ from the row above, 32767; a final 32767 ends the region.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

// Appends the stored form of the region; false (nothing appended) when it
// does not fit in the 16-bit size.
bool AppendStoredRegion(RgnHandle rgn, std::vector<uint8_t>* out);

// Reads a stored region of `size` bytes (its own first word, which the
// caller has checked against the bytes at hand). False when the rows are
// damaged: out of order, an odd number of points, or past `size`.
bool ReadStoredRegion(const uint8_t* p, size_t size, RgnHandle into);

}  // namespace platform
