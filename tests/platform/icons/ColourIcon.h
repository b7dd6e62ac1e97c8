// A small colour icon resource for icon and dialog tests.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/platform/pictures/PictureTestSupport.h"

namespace icontest {

// An 8 x 8 'cicn' at 8 bits: red on the left half, blue on the right,
// the mask covering the top half only.
inline std::vector<uint8_t> ColourIcon(int tableEntries = 2, int pixRowBytes = 8)
{
    picturetest::Bytes b;
    b.U32(0).U16(uint32_t(0x8000 | pixRowBytes)).R(0, 0, 8, 8).U16(0).U16(0).U32(0).U32(72 << 16).U32(72 << 16);
    b.U16(0).U16(8).U16(1).U16(8).U32(0).U32(0).U32(0);
    b.U32(0).U16(2).R(0, 0, 8, 8);  // mask
    b.U32(0).U16(2).R(0, 0, 8, 8);  // black-and-white image
    b.U32(0);
    for (int row = 0; row < 8; ++row)
        b.U16(row < 4 ? 0xFF00 : 0);
    for (int row = 0; row < 8; ++row)
        b.U16(0xF000);
    b.U32(0).U16(0).U16(uint32_t(tableEntries - 1));
    b.U16(0).U16(0xFFFF).U16(0).U16(0);
    b.U16(1).U16(0).U16(0).U16(0xFFFF);
    for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 8; ++col)
            b.U8(col < 4 ? 0 : 1);
    return b.data();
}

}  // namespace icontest
