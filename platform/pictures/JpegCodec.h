// JPEG decoding for pictures and image import. The size is read and
// checked before any pixel memory is taken.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/pictures/PictPixels.h"

namespace platform {

enum class ImageReadResult : uint8_t { Ok, Damaged, TooLarge, NoMemory };

// The image's width and height from its header.
ImageReadResult ReadJpegSize(const uint8_t* data, size_t size, int32_t* width, int32_t* height);
// Decodes to 32-bit pixels with bounds (0, 0, height, width). Images wider
// than 4,095 or taller than 32,767 pixels are refused as TooLarge.
ImageReadResult DecodeJpeg(const uint8_t* data, size_t size, PictPixels* out);

}  // namespace platform
