#include "platform/drawing/Raster.h"

#include <cstring>

#include "platform/drawing/Patterns.h"
#include "platform/drawing/PixelChanges.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"

namespace platform {

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

bool SolidPattern(const Pattern& p, bool* ink)
{
    for (int i = 0; i < 8; ++i)
        if (p.pat[i] != p.pat[0])
            return false;
    if (p.pat[0] != 0 && p.pat[0] != 0xFF)
        return false;
    *ink = p.pat[0] == 0xFF;
    return true;
}

template <typename F>
void ForEachBox(const pixman_region32_t* r, F f)
{
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(const_cast<pixman_region32_t*>(r), &n);
    for (int i = 0; i < n; ++i)
        f(boxes[i]);
}

void Fill32(const Surface& s, const pixman_box32_t& b, uint32_t color)
{
    pixman_fill(reinterpret_cast<uint32_t*>(s.base), s.rowBytes / 4, 32, b.x1 - s.bounds.left,
                b.y1 - s.bounds.top, b.x2 - b.x1, b.y2 - b.y1, color);
}

// The raster loops below read a box's bounds and the surface's fields into
// locals first: read through references, they could alias the pixels being
// written, which keeps the compiler from vectorising the inner loops.

// Pixels per prepared span of an eight-pixel pattern row.
constexpr int32_t kSpan = 64;

// Repeats the first min(8, width) entries of `eight` over a whole span.
void RepeatEight(uint32_t (&span)[kSpan], const uint32_t (&eight)[8])
{
    for (int32_t i = 0; i < kSpan; ++i)
        span[i] = eight[i & 7];
}

void PatternCopy32(const Surface& s, const pixman_box32_t& box, const Pattern& pat, const PixelOp& op)
{
    const int32_t x1 = box.x1, x2 = box.x2, y1 = box.y1, y2 = box.y2;
    const int32_t width = x2 - x1, columns = width < 8 ? width : 8;
    uint8_t* const base = s.base;
    const int64_t rowBytes = s.rowBytes;
    const int32_t top = s.bounds.top, left = s.bounds.left;
    uint32_t eight[8] = {}, span[kSpan];
    for (int32_t v = y1; v < y2; ++v) {
        for (int32_t i = 0; i < columns; ++i)
            eight[i] = op.FromBit(PatternBit(pat, x1 + i, v), 0);
        uint32_t* out = reinterpret_cast<uint32_t*>(base + (v - top) * rowBytes) + (x1 - left);
        if (width <= 8) {
            for (int32_t i = 0; i < width; ++i)
                out[i] = eight[i];
            continue;
        }
        RepeatEight(span, eight);
        int32_t h = 0;
        for (; h + kSpan <= width; h += kSpan)
            std::memcpy(out + h, span, sizeof span);
        std::memcpy(out + h, span, size_t(width - h) * 4);
    }
}

void Invert32(const Surface& s, const pixman_box32_t& box)
{
    const int32_t x1 = box.x1, x2 = box.x2, y1 = box.y1, y2 = box.y2;
    const int32_t width = x2 - x1;
    uint8_t* const base = s.base;
    const int64_t rowBytes = s.rowBytes;
    const int32_t top = s.bounds.top, left = s.bounds.left;
    for (int32_t v = y1; v < y2; ++v) {
        uint32_t* out = reinterpret_cast<uint32_t*>(base + (v - top) * rowBytes) + (x1 - left);
        for (int32_t i = 0; i < width; ++i)
            out[i] ^= kWhite;
    }
}

void PatternXor32(const Surface& s, const pixman_box32_t& box, const Pattern& pat, bool notSource)
{
    const int32_t x1 = box.x1, x2 = box.x2, y1 = box.y1, y2 = box.y2;
    const int32_t width = x2 - x1, columns = width < 8 ? width : 8;
    uint8_t* const base = s.base;
    const int64_t rowBytes = s.rowBytes;
    const int32_t top = s.bounds.top, left = s.bounds.left;
    uint32_t eight[8] = {}, span[kSpan];
    for (int32_t v = y1; v < y2; ++v) {
        const uint8_t bits = pat.pat[v & 7];
        uint32_t* out = reinterpret_cast<uint32_t*>(base + (v - top) * rowBytes) + (x1 - left);
        if (bits == 0x00 || bits == 0xFF) {  // one mask for the whole row
            const uint32_t mask = ((bits != 0) != notSource) ? kWhite : 0;
            if (mask)
                for (int32_t i = 0; i < width; ++i)
                    out[i] ^= mask;
            continue;
        }
        for (int32_t i = 0; i < columns; ++i)
            eight[i] = (PatternBit(pat, x1 + i, v) != notSource) ? kWhite : 0;
        if (width <= 8) {
            for (int32_t i = 0; i < width; ++i)
                out[i] ^= eight[i];
            continue;
        }
        RepeatEight(span, eight);
        int32_t h = 0;
        for (; h + kSpan <= width; h += kSpan)
            for (int32_t i = 0; i < kSpan; ++i)
                out[h + i] ^= span[i];
        for (int32_t i = 0; h + i < width; ++i)
            out[h + i] ^= span[i];
    }
}

void Generic(const Surface& s, const pixman_box32_t& b, const Pattern& pat, const PixelOp& op)
{
    for (int32_t v = b.y1; v < b.y2; ++v)
        for (int32_t h = b.x1; h < b.x2; ++h)
            s.WriteRGB(h, v, op.FromBit(PatternBit(pat, h, v), s.ReadRGB(h, v)));
}

}  // namespace

Surface ClipToPort(GrafPort* port, const pixman_region32_t* shape, pixman_region32_t* out)
{
    pixman_region32_clear(out);
    if (!port || !port->portPixMap || !*port->portPixMap)
        return {};
    Surface s = MakeSurface(*port->portPixMap);
    if (s.Empty() || (s.depth != 32 && s.depth != 1))
        return {};
    pixman_region32_t bounds;
    pixman_region32_init_rect(&bounds, s.bounds.left, s.bounds.top, uint32_t(s.bounds.right - s.bounds.left),
                              uint32_t(s.bounds.bottom - s.bounds.top));
    pixman_region32_intersect(out, const_cast<pixman_region32_t*>(shape), &bounds);
    pixman_region32_fini(&bounds);
    if (pixman_region32_t* clip = RegionData(port->clipRgn))
        pixman_region32_intersect(out, out, clip);
    if (pixman_region32_t* vis = RegionData(port->visRgn))
        pixman_region32_intersect(out, out, vis);
    if (pixman_region32_not_empty(out))
        NotePixelsWritten();
    return s;
}

void PaintShape(GrafPort* port, const pixman_region32_t* shape, const Pattern& pat, int16_t mode)
{
    pixman_region32_t area;
    pixman_region32_init(&area);
    Surface s = ClipToPort(port, shape, &area);
    if (!pixman_region32_not_empty(&area)) {
        pixman_region32_fini(&area);
        return;
    }
    // Source modes draw as the matching pattern modes.
    if (mode >= srcCopy && mode <= notSrcBic)
        mode = int16_t(mode + patCopy);
    PixelOp op = MakePixelOp(mode, PackRGB(port->rgbFgColor), PackRGB(port->rgbBkColor),
                             PackRGB(port->rgbHiliteColor), PackRGB(port->rgbOpColor));
    bool ink = false;
    bool solid = SolidPattern(pat, &ink);
    ForEachBox(&area, [&](const pixman_box32_t& b) {
        if (s.depth != 32) {
            Generic(s, b, pat, op);
        } else if (op.kind == OpKind::Copy) {
            if (solid)
                Fill32(s, b, op.FromBit(ink, 0));
            else
                PatternCopy32(s, b, pat, op);
        } else if (op.kind == OpKind::Xor) {
            PatternXor32(s, b, pat, op.notSource);
        } else if (solid && (ink != op.notSource) &&
                   (op.kind == OpKind::Or || op.kind == OpKind::Transparent || op.kind == OpKind::Bic)) {
            Fill32(s, b, op.FromBit(ink, 0));
        } else if (solid && (ink == op.notSource) && op.kind != OpKind::Blend) {
            // Paper only: or, bic and their kin leave the pixels alone.
        } else {
            Generic(s, b, pat, op);
        }
    });
    pixman_region32_fini(&area);
}

void InvertShape(GrafPort* port, const pixman_region32_t* shape)
{
    uint8_t hiliteMode = LMGetHiliteMode();
    if (!(hiliteMode & 0x80)) {
        // One highlight instead of an inversion; the switch turns back on.
        LMSetHiliteMode(uint8_t(hiliteMode | 0x80));
        Pattern black;
        GetQDGlobalsBlack(&black);
        PaintShape(port, shape, black, hilite);
        return;
    }
    pixman_region32_t area;
    pixman_region32_init(&area);
    Surface s = ClipToPort(port, shape, &area);
    PixelOp op;
    op.kind = OpKind::Invert;
    ForEachBox(&area, [&](const pixman_box32_t& b) {
        if (s.depth == 32)
            Invert32(s, b);
        else
            for (int32_t v = b.y1; v < b.y2; ++v)
                for (int32_t h = b.x1; h < b.x2; ++h)
                    s.WriteRGB(h, v, s.ReadRGB(h, v) ^ kWhite);
    });
    pixman_region32_fini(&area);
}

}  // namespace platform
