// Writing the pixels of a port, world or bitmap as a PNG image (8-bit RGB).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

// Encodes the whole map into `out`; answers paramErr for an empty or
// unreadable map and memFullErr when encoding fails.
OSErr EncodePNG(const BitMap* bits, std::vector<uint8_t>& out);
// Writes a PNG file at a POSIX path (ioErr when it cannot be written).
OSErr WritePNG(const BitMap* bits, const char* path);
OSErr WritePortPNG(CGrafPtr port, const char* path);

}  // namespace platform
