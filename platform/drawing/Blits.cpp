#include "platform/core/Errors.h"
#include "platform/drawing/Blits.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/drawing/CallCounts.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/PixelChanges.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Raster.h"
#include "platform/drawing/Regions.h"
#include "platform/pictures/PictureHooks.h"

namespace platform {

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

struct Mapping {
    Rect32 src, dst;
    int64_t sw, sh, dw, dh;
    bool Scaled() const { return sw != dw || sh != dh; }
    int32_t SrcH(int32_t h) const { return int32_t(src.left + (int64_t(h) - dst.left) * sw / dw); }
    int32_t SrcV(int32_t v) const { return int32_t(src.top + (int64_t(v) - dst.top) * sh / dh); }
    // The destination span whose samples fall in [lo, hi) of the source.
    int32_t DstFromSrcH(int64_t s) const { return int32_t(dst.left + CeilDiv((s - src.left) * dw, sw)); }
    int32_t DstFromSrcV(int64_t s) const { return int32_t(dst.top + CeilDiv((s - src.top) * dh, sh)); }
    static int64_t CeilDiv(int64_t a, int64_t b) { return a >= 0 ? (a + b - 1) / b : -((-a) / b); }
};

bool MakeMapping(const Rect* srcRect, const Rect* dstRect, Mapping& m)
{
    if (!srcRect || !dstRect)
        return false;
    m.src = ToRect32(*srcRect);
    m.dst = ToRect32(*dstRect);
    m.sw = int64_t(m.src.right) - m.src.left;
    m.sh = int64_t(m.src.bottom) - m.src.top;
    m.dw = int64_t(m.dst.right) - m.dst.left;
    m.dh = int64_t(m.dst.bottom) - m.dst.top;
    return m.sw > 0 && m.sh > 0 && m.dw > 0 && m.dh > 0;
}

void IntersectRect(pixman_region32_t* r, int64_t l, int64_t t, int64_t rr, int64_t b)
{
    if (l >= rr || t >= b) {
        pixman_region32_clear(r);
        return;
    }
    pixman_region32_t box;
    pixman_region32_init_rect(&box, int32_t(l), int32_t(t), uint32_t(rr - l), uint32_t(b - t));
    pixman_region32_intersect(r, r, &box);
    pixman_region32_fini(&box);
}

// The destination pixels whose source sample lies inside `s`'s bounds.
void LimitToSource(pixman_region32_t* area, const Mapping& m, const Surface& s)
{
    int64_t l = std::max(m.src.left, s.bounds.left), t = std::max(m.src.top, s.bounds.top);
    int64_t r = std::min(m.src.right, s.bounds.right), b = std::min(m.src.bottom, s.bounds.bottom);
    if (l >= r || t >= b) {
        pixman_region32_clear(area);
        return;
    }
    IntersectRect(area, m.DstFromSrcH(l), m.DstFromSrcV(t), m.DstFromSrcH(r), m.DstFromSrcV(b));
}

// When source and destination share memory, reads go to a copy of the
// source rows so that overlapping copies see the original pixels.
struct Snapshot {
    std::vector<uint8_t> bytes;
    void Take(Surface& s, int32_t top, int32_t bottom)
    {
        top = std::max(top, s.bounds.top);
        bottom = std::min(bottom, s.bounds.bottom);
        if (top >= bottom)
            return;
        bytes.assign(s.base + int64_t(top - s.bounds.top) * s.rowBytes,
                     s.base + int64_t(bottom - s.bounds.top) * s.rowBytes);
        s.base = bytes.data();
        s.bounds.top = top;
        s.bounds.bottom = bottom;
    }
};

struct CopyJob {
    Surface src, dst, mask;
    Mapping map, maskMap;
    bool hasMask = false;
    PixelOp op;
};

void CopyBox(const CopyJob& job, const pixman_box32_t& b)
{
    const Surface& s = job.src;
    const Surface& d = job.dst;
    const Mapping& m = job.map;
    const bool fast = s.depth == 32 && d.depth == 32 && !m.Scaled() && !job.hasMask &&
                      job.op.kind == OpKind::Copy && !job.op.notSource && !job.op.colorize;
    if (fast) {
        int32_t dh = m.src.left - m.dst.left, dv = m.src.top - m.dst.top;
        size_t bytes = size_t(b.x2 - b.x1) * 4;
        auto copyRow = [&](int32_t v) {
            std::memmove(d.Row32(v) + (b.x1 - d.bounds.left), s.Row32(v + dv) + (b.x1 + dh - s.bounds.left),
                         bytes);
        };
        if (s.base == d.base && dv < 0)
            for (int32_t v = b.y2 - 1; v >= b.y1; --v)
                copyRow(v);
        else
            for (int32_t v = b.y1; v < b.y2; ++v)
                copyRow(v);
        return;
    }
    std::vector<int32_t> srcH(size_t(b.x2 - b.x1)), maskH;
    for (int32_t h = b.x1; h < b.x2; ++h)
        srcH[size_t(h - b.x1)] = m.SrcH(h);
    if (job.hasMask) {
        maskH.resize(srcH.size());
        for (int32_t h = b.x1; h < b.x2; ++h)
            maskH[size_t(h - b.x1)] = job.maskMap.SrcH(h);
    }
    const bool bits = s.indexedAsBits;
    for (int32_t v = b.y1; v < b.y2; ++v) {
        int32_t sv = m.SrcV(v);
        if (sv < s.bounds.top || sv >= s.bounds.bottom)
            continue;
        int32_t mv = job.hasMask ? job.maskMap.SrcV(v) : 0;
        bool maskRowOk = !job.hasMask || (mv >= job.mask.bounds.top && mv < job.mask.bounds.bottom);
        if (!maskRowOk)
            continue;
        for (int32_t h = b.x1; h < b.x2; ++h) {
            int32_t sh = srcH[size_t(h - b.x1)];
            if (sh < s.bounds.left || sh >= s.bounds.right)
                continue;
            uint32_t weight = 255;
            if (job.hasMask) {
                int32_t mh = maskH[size_t(h - b.x1)];
                if (mh < job.mask.bounds.left || mh >= job.mask.bounds.right)
                    continue;
                if (job.mask.indexedAsBits)
                    weight = job.mask.ReadBit(mh, mv) ? 255 : 0;
                else
                    weight = 255 - Luma(job.mask.ReadRGB(mh, mv));
                if (!weight)
                    continue;
            }
            uint32_t old = d.ReadRGB(h, v);
            uint32_t out = bits ? job.op.FromBit(s.ReadBit(sh, sv), old) : job.op.FromColor(s.ReadRGB(sh, sv), old);
            if (weight < 255) {
                uint32_t mixed = 0;
                for (int shift = 0; shift <= 16; shift += 8) {
                    uint32_t oc = (old >> shift) & 0xFF, nc = (out >> shift) & 0xFF;
                    mixed |= ((nc * weight + oc * (255 - weight) + 127) / 255) << shift;
                }
                out = mixed;
            }
            d.WriteRGB(h, v, out);
        }
    }
}

void CopyCore(const BitMap* src, const BitMap* mask, const BitMap* dst, const Rect* srcRect,
              const Rect* maskRect, const Rect* dstRect, int16_t mode, RgnHandle maskRgn, GrafPort* clipPort,
              RGBColor fore, RGBColor back, RGBColor hiliteColor, RGBColor weight)
{
    NotePixelsWritten();
    CopyJob job;
    if (!MakeMapping(srcRect, dstRect, job.map))
        return;
    job.src = MakeSurface(src);
    job.dst = MakeSurface(dst);
    if (job.src.Empty() || job.dst.Empty() || (job.dst.depth != 32 && job.dst.depth != 1))
        return;
    if (mask) {
        job.hasMask = true;
        job.mask = MakeSurface(mask);
        if (job.mask.Empty() || !MakeMapping(maskRect, dstRect, job.maskMap))
            return;
    }
    job.op = MakePixelOp(mode, PackRGB(fore), PackRGB(back), PackRGB(hiliteColor), PackRGB(weight));

    pixman_region32_t area;
    const Rect32& d = job.map.dst;
    pixman_region32_init_rect(&area, d.left, d.top, uint32_t(d.right - d.left), uint32_t(d.bottom - d.top));
    IntersectRect(&area, job.dst.bounds.left, job.dst.bounds.top, job.dst.bounds.right, job.dst.bounds.bottom);
    LimitToSource(&area, job.map, job.src);
    if (job.hasMask)
        LimitToSource(&area, job.maskMap, job.mask);
    if (maskRgn)
        pixman_region32_intersect(&area, &area, RegionData(maskRgn));
    if (clipPort) {
        if (pixman_region32_t* clip = RegionData(clipPort->clipRgn))
            pixman_region32_intersect(&area, &area, clip);
        if (pixman_region32_t* vis = RegionData(clipPort->visRgn))
            pixman_region32_intersect(&area, &area, vis);
    }
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&area, &n);
    Snapshot snap;
    bool singleFast = n == 1 && job.src.depth == 32 && job.dst.depth == 32 && !job.map.Scaled() &&
                      !job.hasMask && job.op.kind == OpKind::Copy && !job.op.notSource && !job.op.colorize;
    if (n > 0 && job.src.base == job.dst.base && !singleFast) {
        const pixman_box32_t* e = pixman_region32_extents(&area);
        snap.Take(job.src, job.map.SrcV(e->y1), job.map.SrcV(e->y2 - 1) + 1);
    }
    for (int i = 0; i < n; ++i)
        CopyBox(job, boxes[i]);
    pixman_region32_fini(&area);
}

GrafPort* PortDrawingInto(const BitMap* dst)
{
    GrafPtr port = GetQDGlobalsThePort();
    return port && dst && GetPortBitMapForCopyBits(port) == dst ? port : nullptr;
}

const RGBColor kBlack{0, 0, 0}, kWhiteRGB{0xFFFF, 0xFFFF, 0xFFFF};

}  // namespace

void CopyBitsWithColors(const BitMap* src, const BitMap* dst, const Rect* srcRect, const Rect* dstRect,
                        int16_t mode, RgnHandle maskRgn, RGBColor fore, RGBColor back)
{
    CopyCore(src, nullptr, dst, srcRect, nullptr, dstRect, mode, maskRgn, nullptr, fore, back,
             {0xB5B5, 0xD5D5, 0xFFFF}, {0x8000, 0x8000, 0x8000});
}

void StdBits(const BitMap* src, const Rect* srcRect, const Rect* dstRect, int16_t mode, RgnHandle maskRgn)
{
    GrafPtr port = GetQDGlobalsThePort();
    if (!port)
        return;
    PictRecordBits(port, src, srcRect, dstRect, mode, maskRgn);
    CopyCore(src, nullptr, GetPortBitMapForCopyBits(port), srcRect, nullptr, dstRect, mode, maskRgn, port,
             port->rgbFgColor, port->rgbBkColor, port->rgbHiliteColor, port->rgbOpColor);
}

void CopyBits(const BitMap* src, const BitMap* dst, const Rect* srcRect, const Rect* dstRect, int16_t mode,
              RgnHandle maskRgn)
{
    CountDrawingCall(DrawingCall::CopyBits);
    GrafPort* port = PortDrawingInto(dst);
    if (port) {
        if (port->grafProcs && port->grafProcs->bitsProc)
            port->grafProcs->bitsProc(src, srcRect, dstRect, mode, maskRgn);
        else
            StdBits(src, srcRect, dstRect, mode, maskRgn);
        return;
    }
    GrafPtr cur = GetQDGlobalsThePort();
    CopyCore(src, nullptr, dst, srcRect, nullptr, dstRect, mode, maskRgn, nullptr,
             cur ? cur->rgbFgColor : kBlack, cur ? cur->rgbBkColor : kWhiteRGB,
             cur ? cur->rgbHiliteColor : RGBColor{0xB5B5, 0xD5D5, 0xFFFF},
             cur ? cur->rgbOpColor : RGBColor{0x8000, 0x8000, 0x8000});
}

void CopyMask(const BitMap* src, const BitMap* mask, const BitMap* dst, const Rect* srcRect,
              const Rect* maskRect, const Rect* dstRect)
{
    CopyDeepMask(src, mask, dst, srcRect, maskRect, dstRect, srcCopy, nullptr);
}

void CopyDeepMask(const BitMap* src, const BitMap* mask, const BitMap* dst, const Rect* srcRect,
                  const Rect* maskRect, const Rect* dstRect, int16_t mode, RgnHandle maskRgn)
{
    if (!mask) {
        CopyBits(src, dst, srcRect, dstRect, mode, maskRgn);
        return;
    }
    GrafPort* clipPort = PortDrawingInto(dst);
    GrafPtr cur = GetQDGlobalsThePort();
    CopyCore(src, mask, dst, srcRect, maskRect, dstRect, mode, maskRgn, clipPort,
             cur ? cur->rgbFgColor : kBlack, cur ? cur->rgbBkColor : kWhiteRGB,
             cur ? cur->rgbHiliteColor : RGBColor{0xB5B5, 0xD5D5, 0xFFFF},
             cur ? cur->rgbOpColor : RGBColor{0x8000, 0x8000, 0x8000});
}

void ScrollRect(const Rect* r, int16_t dh, int16_t dv, RgnHandle updateRgn)
{
    NotePixelsWritten();
    GrafPtr port = GetQDGlobalsThePort();
    if (updateRgn)
        SetEmptyRgn(updateRgn);
    if (!port || !r || r->left >= r->right || r->top >= r->bottom)
        return;
    pixman_region32_t shape, area, moved;
    pixman_region32_init_rect(&shape, r->left, r->top, uint32_t(r->right - r->left), uint32_t(r->bottom - r->top));
    pixman_region32_init(&area);
    pixman_region32_init(&moved);
    Surface s = ClipToPort(port, &shape, &area);
    if (!s.Empty()) {
        pixman_region32_copy(&moved, &area);
        pixman_region32_translate(&moved, dh, dv);
        pixman_region32_intersect(&moved, &moved, &area);
        if (pixman_region32_not_empty(&moved)) {
            RgnHandle maskRgn = NewRgn();
            if (maskRgn) {
                pixman_region32_copy(RegionData(maskRgn), &moved);
                RegionChanged(maskRgn);
                const pixman_box32_t* e = pixman_region32_extents(&moved);
                Rect dst = ClampToRect({e->y1, e->x1, e->y2, e->x2});
                Rect src = dst;
                src = ClampToRect({int32_t(dst.top) - dv, int32_t(dst.left) - dh, int32_t(dst.bottom) - dv,
                                   int32_t(dst.right) - dh});
                const BitMap* bits = GetPortBitMapForCopyBits(port);
                CopyCore(bits, nullptr, bits, &src, nullptr, &dst, srcCopy, maskRgn, nullptr, kBlack, kWhiteRGB,
                         kBlack, kBlack);
                DisposeRgn(maskRgn);
            }
        }
        // The uncovered part takes the background.
        pixman_region32_subtract(&area, &area, &moved);
        PaintShape(port, &area, port->bkPat, patCopy);
        if (updateRgn) {
            pixman_region32_copy(RegionData(updateRgn), &area);
            RegionChanged(updateRgn);
        }
    }
    pixman_region32_fini(&shape);
    pixman_region32_fini(&area);
    pixman_region32_fini(&moved);
}

void DrawCoverageMask(const uint8_t* coverage, int32_t rowBytes, const Rect* dstRect, int16_t mode)
{
    NotePixelsWritten();
    GrafPtr port = GetQDGlobalsThePort();
    if (!port || !coverage || !dstRect || dstRect->left >= dstRect->right || dstRect->top >= dstRect->bottom)
        return;
    int32_t width = int32_t(dstRect->right) - dstRect->left;
    if (rowBytes < width)
        return;
    pixman_region32_t shape, area;
    pixman_region32_init_rect(&shape, dstRect->left, dstRect->top, uint32_t(width),
                              uint32_t(dstRect->bottom - dstRect->top));
    pixman_region32_init(&area);
    Surface s = ClipToPort(port, &shape, &area);
    const uint32_t fore = PackRGB(port->rgbFgColor), back = PackRGB(port->rgbBkColor);
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&area, &n);
    auto mix = [](uint32_t a, uint32_t b, uint32_t w) {
        uint32_t out = 0;
        for (int shift = 0; shift <= 16; shift += 8)
            out |= ((((b >> shift) & 0xFF) * w + ((a >> shift) & 0xFF) * (255 - w) + 127) / 255) << shift;
        return out;
    };
    for (int i = 0; i < n && !s.Empty(); ++i) {
        const pixman_box32_t& b = boxes[i];
        for (int32_t v = b.y1; v < b.y2; ++v) {
            const uint8_t* row = coverage + int64_t(v - dstRect->top) * rowBytes;
            for (int32_t h = b.x1; h < b.x2; ++h) {
                uint32_t c = row[h - dstRect->left];
                uint32_t d = s.ReadRGB(h, v), out = d;
                switch (mode & 7) {
                case srcCopy: out = mix(back, fore, c); break;
                case srcXor: out = c >= 128 ? d ^ kWhite : d; break;
                case srcBic: out = mix(d, back, c); break;
                default: out = mix(d, fore, c); break;
                }
                s.WriteRGB(h, v, out);
            }
        }
    }
    pixman_region32_fini(&shape);
    pixman_region32_fini(&area);
}

}  // namespace platform
