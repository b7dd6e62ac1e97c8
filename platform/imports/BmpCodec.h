// Device-independent bitmap files (1, 4, 8, 24 and 32 bits, uncompressed,
// bottom-up or top-down). The header's size is checked against the pixel
// map limits and the file's length before any pixel memory is taken.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/pictures/JpegCodec.h"
#include "platform/pictures/PictPixels.h"

namespace platform {

ImageReadResult ReadBmpSize(const uint8_t* data, size_t size, int32_t* width, int32_t* height);
// Pixels as 0x00RRGGBB words.
ImageReadResult DecodeBmp(const uint8_t* data, size_t size, PictPixels* out);

}  // namespace platform
