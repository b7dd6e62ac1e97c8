// The alert icons of the system file: Stop, Note and Caution, 32 x 32
// one-bit 'ICON' images (128 bytes, 4 bytes a row), drawn by geometry.
#pragma once

#include <array>
#include <cstdint>

namespace platform {

// Ids 0 (Stop), 1 (Note), 2 (Caution); other ids give a blank image.
std::array<uint8_t, 128> AlertIconImage(int16_t id);

}  // namespace platform
