#include "platform/drawing/Modes.h"

#include "platform/drawing/PixMaps.h"
#include "platform/drawing/Regions.h"

namespace platform {

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

uint32_t Mix(uint32_t d, uint32_t s, uint32_t w)
{
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        uint32_t dc = (d >> shift) & 0xFF, sc = (s >> shift) & 0xFF, wc = (w >> shift) & 0xFF;
        out |= ((sc * wc + dc * (255 - wc) + 127) / 255) << shift;
    }
    return out;
}

uint32_t Colorize(uint32_t c, uint32_t fore, uint32_t back)
{
    // Black goes to the fore colour, white to the back colour.
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int32_t f = (fore >> shift) & 0xFF, b = (back >> shift) & 0xFF, v = (c >> shift) & 0xFF;
        out |= uint32_t(f + ((b - f) * v + (b >= f ? 127 : -127)) / 255) << shift;
    }
    return out;
}

uint32_t SwapHilite(uint32_t d, uint32_t back, uint32_t hilite)
{
    d &= kWhite;
    if (d == back)
        return hilite;
    if (d == hilite)
        return back;
    return d;
}

}  // namespace

uint32_t Surface::ReadRGB(int32_t h, int32_t v) const
{
    int32_t col = h - bounds.left;
    const uint8_t* row = base + int64_t(v - bounds.top) * rowBytes;
    if (depth == 32)
        return reinterpret_cast<const uint32_t*>(row)[col] & kWhite;
    int32_t bit = col * depth;
    uint32_t index = (row[bit >> 3] >> (8 - depth - (bit & 7))) & ((1u << depth) - 1);
    if (indexedAsBits || !table)
        return index ? 0 : kWhite;
    if (int32_t(index) < tableCount) {
        const RGBColor& c = table[index].rgb;
        return (uint32_t(c.red >> 8) << 16) | (uint32_t(c.green >> 8) << 8) | uint32_t(c.blue >> 8);
    }
    return index ? 0 : kWhite;
}

bool Surface::ReadBit(int32_t h, int32_t v) const
{
    if (depth == 1 && (indexedAsBits || !table)) {
        int32_t col = h - bounds.left;
        const uint8_t* row = base + int64_t(v - bounds.top) * rowBytes;
        return (row[col >> 3] >> (7 - (col & 7))) & 1;
    }
    return ReadRGB(h, v) != kWhite;
}

void Surface::WriteRGB(int32_t h, int32_t v, uint32_t rgb) const
{
    int32_t col = h - bounds.left;
    uint8_t* row = base + int64_t(v - bounds.top) * rowBytes;
    if (depth == 32) {
        reinterpret_cast<uint32_t*>(row)[col] = rgb & kWhite;
        return;
    }
    // Only 1-bit destinations are written besides 32-bit ones.
    uint8_t mask = uint8_t(0x80 >> (col & 7));
    if (Luma(rgb & kWhite) < 128)
        row[col >> 3] |= mask;
    else
        row[col >> 3] &= uint8_t(~mask);
}

Surface MakeSurface(const BitMap* bits)
{
    Surface s;
    if (!bits || !bits->baseAddr)
        return s;
    int32_t rowBytes = bits->rowBytes & kRowBytesMask;
    int16_t depth = 1;
    if (bits->rowBytes & kPixMapFlag) {
        auto* pm = static_cast<const PixMap*>(bits);
        depth = pm->pixelSize;
        if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 32)
            return s;
        if (depth != 32 && pm->pmTable) {
            s.table = CTabEntries(pm->pmTable);
            s.tableCount = CTabEntryCount(pm->pmTable);
        }
        s.indexedAsBits = depth == 1 && !pm->pmTable;
    } else {
        s.indexedAsBits = true;
    }
    Rect32 b = ToRect32(bits->bounds);
    // Never read past the row: the usable width follows rowBytes.
    int64_t maxWidth = int64_t(rowBytes) * 8 / depth;
    if (int64_t(b.right) - b.left > maxWidth)
        b.right = int32_t(b.left + maxWidth);
    s.base = reinterpret_cast<uint8_t*>(bits->baseAddr);
    s.rowBytes = rowBytes;
    s.depth = depth;
    s.bounds = b;
    return s;
}

PixelOp MakePixelOp(int16_t mode, uint32_t fore, uint32_t back, uint32_t hiliteColor, uint32_t weight)
{
    PixelOp op;
    op.fore = fore & kWhite;
    op.back = back & kWhite;
    op.hilite = hiliteColor & kWhite;
    op.weight = weight & kWhite;
    op.colorize = op.fore != 0 || op.back != kWhite;
    op.kind = KindOf(mode);
    mode &= ~64;
    op.notSource = mode >= 0 && mode <= 15 && (mode & 4) != 0;
    return op;
}

OpKind KindOf(int16_t mode)
{
    mode &= ~64;  // dither is a request we can ignore
    if (mode >= 0 && mode <= 15) {
        static constexpr OpKind kinds[4] = {OpKind::Copy, OpKind::Or, OpKind::Xor, OpKind::Bic};
        return kinds[mode & 3];
    }
    switch (mode) {
    case blend: return OpKind::Blend;
    case transparent: return OpKind::Transparent;
    case hilite: return OpKind::Hilite;
    default: return OpKind::Copy;  // unknown modes copy
    }
}

uint32_t PixelOp::FromBit(bool ink, uint32_t d) const
{
    if (notSource)
        ink = !ink;
    switch (kind) {
    case OpKind::Copy: return ink ? fore : back;
    case OpKind::Or:
    case OpKind::Transparent: return ink ? fore : d;
    case OpKind::Xor: return ink ? (d ^ kWhite) & kWhite : d;
    case OpKind::Bic: return ink ? back : d;
    case OpKind::Blend: return Mix(d, ink ? fore : back, weight);
    case OpKind::Hilite: return ink ? SwapHilite(d, back, hilite) : d;
    case OpKind::Invert: return (d ^ kWhite) & kWhite;
    }
    return d;
}

uint32_t PixelOp::FromColor(uint32_t c, uint32_t d) const
{
    c &= kWhite;
    d &= kWhite;
    if (notSource)
        c ^= kWhite;
    switch (kind) {
    case OpKind::Copy: return colorize ? Colorize(c, fore, back) : c;
    case OpKind::Or: return d & (colorize ? Colorize(c, fore, back) : c);
    case OpKind::Xor: return d ^ (c ^ kWhite);
    case OpKind::Bic: return d | (c ^ kWhite);
    case OpKind::Transparent: return c == back ? d : c;
    case OpKind::Blend: return Mix(d, c, weight);
    case OpKind::Hilite: return c != back ? SwapHilite(d, back, hilite) : d;
    case OpKind::Invert: return d ^ kWhite;
    }
    return d;
}

}  // namespace platform
