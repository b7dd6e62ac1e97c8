// GIF files: the first image of the file on its logical screen (white
// where the image leaves it or is transparent). Sizes are checked against
// the pixel map limits and the file's length before pixels are made.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/pictures/JpegCodec.h"
#include "platform/pictures/PictPixels.h"

namespace platform {

ImageReadResult ReadGifSize(const uint8_t* data, size_t size, int32_t* width, int32_t* height);
// Pixels as 0x00RRGGBB words.
ImageReadResult DecodeGif(const uint8_t* data, size_t size, PictPixels* out);

}  // namespace platform
