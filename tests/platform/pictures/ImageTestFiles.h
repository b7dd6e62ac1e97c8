// PNG and JPEG images made by the tests with the image libraries.
#pragma once

#include <cstdint>
#include <vector>

namespace picturetest {

// Pixels are 0x00RRGGBB. JPEG at the highest quality, without subsampling.
std::vector<uint8_t> EncodeJpeg(int width, int height, const std::vector<uint32_t>& pixels, bool grey = false);

enum class PngKind { RGBA, Palette, Grey };
// RGBA takes its alpha from the top byte of each pixel.
std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint32_t>& pixels, PngKind kind);

}  // namespace picturetest
