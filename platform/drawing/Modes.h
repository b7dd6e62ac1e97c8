// Transfer modes: what a source bit or colour does to a destination pixel,
// and views of pixel memory. For the drawing services; callers above use
// the mode constants of QuickDrawTypes.h.
//
// Boolean modes follow the ink model of the original: a set bit (or a dark
// source colour) is ink. Copy paints the fore colour for ink and the back
// colour elsewhere; or paints ink only; xor inverts the destination under
// ink; bic paints the back colour under ink; the not forms swap ink and
// paper first.
#pragma once

#include <cstdint>

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

// A clipped view of a bitmap or pixel map in its local coordinates.
struct Surface {
    uint8_t* base = nullptr;
    int32_t rowBytes = 0;
    int16_t depth = 0;  // 1, 2, 4, 8 (indexed) or 32
    Rect32 bounds{0, 0, 0, 0};
    const ColorSpec* table = nullptr;  // indexed maps
    int32_t tableCount = 0;
    bool indexedAsBits = false;  // a plain BitMap or a 1-bit map without table

    bool Empty() const { return !base || bounds.left >= bounds.right || bounds.top >= bounds.bottom; }
    uint32_t* Row32(int32_t v) const
    {
        return reinterpret_cast<uint32_t*>(base + int64_t(v - bounds.top) * rowBytes);
    }
    uint32_t ReadRGB(int32_t h, int32_t v) const;  // inside bounds
    bool ReadBit(int32_t h, int32_t v) const;     // ink or paper, any depth
    void WriteRGB(int32_t h, int32_t v, uint32_t rgb) const;
};

// Builds the view; a null or malformed map gives an empty view.
Surface MakeSurface(const BitMap* bits);

enum class OpKind : uint8_t { Copy, Or, Xor, Bic, Blend, Transparent, Hilite, Invert };

struct PixelOp {
    OpKind kind = OpKind::Copy;
    bool notSource = false;
    uint32_t fore = 0;          // 0x00RRGGBB
    uint32_t back = 0xFFFFFF;
    uint32_t hilite = 0xB5D5FF;
    uint32_t weight = 0x808080;  // blend weight per channel
    bool colorize = false;       // fore or back differ from black on white

    uint32_t FromBit(bool ink, uint32_t d) const;
    uint32_t FromColor(uint32_t c, uint32_t d) const;
};

// The operation of a transfer mode with the colours of a port.
PixelOp MakePixelOp(int16_t mode, uint32_t fore, uint32_t back, uint32_t hiliteColor, uint32_t weight);
// What a transfer mode does to the pixels it reaches, whatever the colours:
// a copy puts its own colours in them whatever they held.
OpKind KindOf(int16_t mode);

inline uint32_t Luma(uint32_t rgb)
{
    return (((rgb >> 16) & 0xFF) * 77 + ((rgb >> 8) & 0xFF) * 151 + (rgb & 0xFF) * 28) >> 8;
}

}  // namespace platform
