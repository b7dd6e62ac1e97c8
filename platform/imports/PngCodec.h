// PNG decoding for image import. The size is read and checked before any
// pixel memory is taken; transparency is composed over white.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/pictures/JpegCodec.h"
#include "platform/pictures/PictPixels.h"

namespace platform {

ImageReadResult ReadPngSize(const uint8_t* data, size_t size, int32_t* width, int32_t* height);
// 32-bit pixels with bounds (0, 0, height, width); images wider than 4,095
// or taller than 32,767 pixels are refused as TooLarge.
ImageReadResult DecodePng(const uint8_t* data, size_t size, PictPixels* out);

}  // namespace platform
