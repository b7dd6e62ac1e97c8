#include "platform/drawing/Regions.h"

#include <algorithm>
#include <new>
#include <utility>

#include "platform/core/Errors.h"
#include "platform/core/Faults.h"
#include "platform/drawing/Ports.h"

namespace platform {

namespace {

// Coordinates stay well inside 32 bits so that widths never overflow.
constexpr int64_t kCoordLimit = 0x3FFFFFFF;

int32_t ClampCoord(int64_t v)
{
    return int32_t(std::clamp<int64_t>(v, -kCoordLimit, kCoordLimit));
}

struct RegionBlock {
    RegionRecord* master;
    RegionRecord record;
};

pixman_region32_t* Data(RgnHandle rgn)
{
    return rgn && *rgn ? &(*rgn)->data : nullptr;
}

// The region calls are C-style entries: running out of memory ends the
// work with QDError() memFullErr rather than an exception. False then.
template <typename F>
bool Guarded(F&& f)
{
    try {
        f();
        return true;
    } catch (const std::bad_alloc&) {
        SetQDError(memFullErr);
        return false;
    }
}

void SetRect32(pixman_region32_t* r, int64_t left, int64_t top, int64_t right, int64_t bottom)
{
    pixman_region32_fini(r);
    int32_t l = ClampCoord(left), t = ClampCoord(top), rr = ClampCoord(right), b = ClampCoord(bottom);
    if (l >= rr || t >= b)
        pixman_region32_init(r);
    else
        pixman_region32_init_rect(r, l, t, uint32_t(int64_t(rr) - l), uint32_t(int64_t(b) - t));
}

// Grows every rectangle by d horizontally (dh) or vertically (dv).
void Dilate(pixman_region32_t* r, int32_t dh, int32_t dv)
{
    int n = 0;
    pixman_box32_t* boxes = pixman_region32_rectangles(r, &n);
    std::vector<pixman_box32_t> grown(boxes, boxes + n);
    for (auto& b : grown) {
        b.x1 = ClampCoord(int64_t(b.x1) - dh);
        b.x2 = ClampCoord(int64_t(b.x2) + dh);
        b.y1 = ClampCoord(int64_t(b.y1) - dv);
        b.y2 = ClampCoord(int64_t(b.y2) + dv);
    }
    pixman_region32_fini(r);
    pixman_region32_init_rects(r, grown.data(), int(grown.size()));
}

// Shrinks by d: the complement (within the bounds and a margin) grown by d
// is cut away.
void Erode(pixman_region32_t* r, int32_t dh, int32_t dv)
{
    if (!pixman_region32_not_empty(r))
        return;
    pixman_box32_t* e = pixman_region32_extents(r);
    ScratchRegion outside;
    SetRect32(&outside.r, int64_t(e->x1) - dh - 1, int64_t(e->y1) - dv - 1, int64_t(e->x2) + dh + 1,
              int64_t(e->y2) + dv + 1);
    pixman_region32_subtract(&outside.r, &outside.r, r);
    Dilate(&outside.r, dh, dv);
    pixman_region32_subtract(r, r, &outside.r);
}

void Inset(pixman_region32_t* r, int32_t dh, int32_t dv)
{
    // Each direction separately, as two one-dimensional steps.
    if (dh > 0)
        Erode(r, dh, 0);
    else if (dh < 0)
        Dilate(r, -dh, 0);
    if (dv > 0)
        Erode(r, 0, dv);
    else if (dv < 0)
        Dilate(r, 0, -dv);
}

}  // namespace

int16_t ClampTo16(int32_t v)
{
    return int16_t(std::clamp<int32_t>(v, -32768, 32767));
}

Rect ClampToRect(const Rect32& r)
{
    return {ClampTo16(r.top), ClampTo16(r.left), ClampTo16(r.bottom), ClampTo16(r.right)};
}

RgnHandle NewRgn()
{
    auto* block = ShouldFail(FaultKind::Allocation) ? nullptr : new (std::nothrow) RegionBlock;
    if (!block) {
        SetQDError(memFullErr);
        return nullptr;
    }
    block->master = &block->record;
    block->record.rgnSize = 10;
    block->record.rgnBBox = {0, 0, 0, 0};
    pixman_region32_init(&block->record.data);
    return &block->master;
}

void DisposeRgn(RgnHandle rgn)
{
    if (!rgn)
        return;
    auto* block = reinterpret_cast<RegionBlock*>(rgn);
    pixman_region32_fini(&block->record.data);
    delete block;
}

pixman_region32_t* RegionData(RgnHandle rgn)
{
    return Data(rgn);
}

void RegionChanged(RgnHandle rgn)
{
    pixman_region32_t* d = Data(rgn);
    if (!d)
        return;
    RegionRecord& rec = **rgn;
    if (!pixman_region32_not_empty(d)) {
        rec.rgnBBox = {0, 0, 0, 0};
        rec.rgnSize = 10;
        return;
    }
    pixman_box32_t* e = pixman_region32_extents(d);
    rec.rgnBBox = ClampToRect({e->y1, e->x1, e->y2, e->x2});
    int n = pixman_region32_n_rects(d);
    rec.rgnSize = uint16_t(n == 1 ? 10 : std::min(10 + 8 * n, 0xFFFF));
}

void CopyRgn(RgnHandle src, RgnHandle dst)
{
    if (!Data(src) || !Data(dst) || src == dst)
        return;
    pixman_region32_copy(Data(dst), Data(src));
    RegionChanged(dst);
}

void SetEmptyRgn(RgnHandle rgn)
{
    if (!Data(rgn))
        return;
    pixman_region32_clear(Data(rgn));
    RegionChanged(rgn);
}

void SetRectRgn(RgnHandle rgn, int16_t left, int16_t top, int16_t right, int16_t bottom)
{
    SetRectRgn32(rgn, {top, left, bottom, right});
}

void RectRgn(RgnHandle rgn, const Rect* r)
{
    if (r)
        SetRectRgn32(rgn, ToRect32(*r));
}

void SetRectRgn32(RgnHandle rgn, const Rect32& r)
{
    if (!Data(rgn))
        return;
    SetRect32(Data(rgn), r.left, r.top, r.right, r.bottom);
    RegionChanged(rgn);
}

void UnionRectRgn32(RgnHandle rgn, const Rect32& r)
{
    if (!Data(rgn) || r.left >= r.right || r.top >= r.bottom)
        return;
    pixman_region32_t add;
    pixman_region32_init(&add);
    SetRect32(&add, r.left, r.top, r.right, r.bottom);
    pixman_region32_union(Data(rgn), Data(rgn), &add);
    pixman_region32_fini(&add);
    RegionChanged(rgn);
}

void OffsetRgn(RgnHandle rgn, int16_t dh, int16_t dv)
{
    OffsetRgn32(rgn, dh, dv);
}

void OffsetRgn32(RgnHandle rgn, int32_t dh, int32_t dv)
{
    pixman_region32_t* d = Data(rgn);
    if (!d || !pixman_region32_not_empty(d))
        return;
    pixman_box32_t* e = pixman_region32_extents(d);
    // Keep the result inside the coordinate limit.
    int64_t h = std::clamp<int64_t>(dh, -kCoordLimit - int64_t(e->x1), kCoordLimit - int64_t(e->x2));
    int64_t v = std::clamp<int64_t>(dv, -kCoordLimit - int64_t(e->y1), kCoordLimit - int64_t(e->y2));
    pixman_region32_translate(d, int(h), int(v));
    RegionChanged(rgn);
}

void InsetRgn(RgnHandle rgn, int16_t dh, int16_t dv)
{
    InsetRgn32(rgn, dh, dv);
}

void InsetRgn32(RgnHandle rgn, int32_t dh, int32_t dv)
{
    if (!Data(rgn))
        return;
    // Worked on a copy, so that a shortage between the two directions
    // leaves the region whole.
    ScratchRegion inset;
    if (!Guarded([&] {
            pixman_region32_copy(&inset.r, Data(rgn));
            Inset(&inset.r, ClampCoord(dh), ClampCoord(dv));
        }))
        return;
    std::swap(*Data(rgn), inset.r);
    RegionChanged(rgn);
}

void SectRgn(RgnHandle a, RgnHandle b, RgnHandle dst)
{
    if (!Data(a) || !Data(b) || !Data(dst))
        return;
    pixman_region32_intersect(Data(dst), Data(a), Data(b));
    RegionChanged(dst);
}

void UnionRgn(RgnHandle a, RgnHandle b, RgnHandle dst)
{
    if (!Data(a) || !Data(b) || !Data(dst))
        return;
    pixman_region32_union(Data(dst), Data(a), Data(b));
    RegionChanged(dst);
}

void DiffRgn(RgnHandle a, RgnHandle b, RgnHandle dst)
{
    if (!Data(a) || !Data(b) || !Data(dst))
        return;
    pixman_region32_subtract(Data(dst), Data(a), Data(b));
    RegionChanged(dst);
}

void XorRgn(RgnHandle a, RgnHandle b, RgnHandle dst)
{
    if (!Data(a) || !Data(b) || !Data(dst))
        return;
    pixman_region32_t aMinusB, bMinusA;
    pixman_region32_init(&aMinusB);
    pixman_region32_init(&bMinusA);
    pixman_region32_subtract(&aMinusB, Data(a), Data(b));
    pixman_region32_subtract(&bMinusA, Data(b), Data(a));
    pixman_region32_union(Data(dst), &aMinusB, &bMinusA);
    pixman_region32_fini(&aMinusB);
    pixman_region32_fini(&bMinusA);
    RegionChanged(dst);
}

Boolean PtInRgn(Point pt, RgnHandle rgn)
{
    return PtInRgn32(pt.h, pt.v, rgn);
}

bool PtInRgn32(int32_t h, int32_t v, RgnHandle rgn)
{
    return Data(rgn) && pixman_region32_contains_point(Data(rgn), h, v, nullptr);
}

Boolean RectInRgn(const Rect* r, RgnHandle rgn)
{
    return r && RectInRgn32(ToRect32(*r), rgn);
}

bool RectInRgn32(const Rect32& r, RgnHandle rgn)
{
    if (!Data(rgn) || r.left >= r.right || r.top >= r.bottom)
        return false;
    pixman_box32_t box{r.left, r.top, r.right, r.bottom};
    return pixman_region32_contains_rectangle(Data(rgn), &box) != PIXMAN_REGION_OUT;
}

Boolean EqualRgn(RgnHandle a, RgnHandle b)
{
    if (!Data(a) || !Data(b))
        return false;
    bool ea = !pixman_region32_not_empty(Data(a)), eb = !pixman_region32_not_empty(Data(b));
    if (ea || eb)
        return ea == eb;
    return pixman_region32_equal(Data(a), Data(b));
}

Boolean EmptyRgn(RgnHandle rgn)
{
    return !Data(rgn) || !pixman_region32_not_empty(Data(rgn));
}

Rect* GetRegionBounds(RgnHandle rgn, Rect* bounds)
{
    if (bounds)
        *bounds = Data(rgn) ? (*rgn)->rgnBBox : Rect{0, 0, 0, 0};
    return bounds;
}

Rect32 GetRegionBounds32(RgnHandle rgn)
{
    pixman_region32_t* d = Data(rgn);
    if (!d || !pixman_region32_not_empty(d))
        return {0, 0, 0, 0};
    pixman_box32_t* e = pixman_region32_extents(d);
    return {e->y1, e->x1, e->y2, e->x2};
}

Boolean IsRegionRectangular(RgnHandle rgn)
{
    return Data(rgn) && pixman_region32_n_rects(Data(rgn)) == 1;
}

std::vector<Rect32> GetRegionRects(RgnHandle rgn)
{
    std::vector<Rect32> out;
    if (!Data(rgn))
        return out;
    int n = 0;
    pixman_box32_t* boxes = pixman_region32_rectangles(Data(rgn), &n);
    out.reserve(size_t(n));
    for (int i = 0; i < n; ++i)
        out.push_back({boxes[i].y1, boxes[i].x1, boxes[i].y2, boxes[i].x2});
    return out;
}

void MapRgn(RgnHandle rgn, const Rect* src, const Rect* dst)
{
    pixman_region32_t* d = Data(rgn);
    if (!d || !src || !dst)
        return;
    int64_t sw = int64_t(src->right) - src->left, sh = int64_t(src->bottom) - src->top;
    int64_t dw = int64_t(dst->right) - dst->left, dh = int64_t(dst->bottom) - dst->top;
    if (sw <= 0 || sh <= 0)
        return;
    auto mapH = [&](int64_t x) { return ClampCoord((x - src->left) * dw / sw + dst->left); };
    auto mapV = [&](int64_t y) { return ClampCoord((y - src->top) * dh / sh + dst->top); };
    int n = 0;
    pixman_box32_t* boxes = pixman_region32_rectangles(d, &n);
    std::vector<pixman_box32_t> mapped;
    if (!Guarded([&] {
            mapped.reserve(size_t(n));
            for (int i = 0; i < n; ++i) {
                pixman_box32_t b{mapH(boxes[i].x1), mapV(boxes[i].y1), mapH(boxes[i].x2), mapV(boxes[i].y2)};
                if (b.x1 < b.x2 && b.y1 < b.y2)
                    mapped.push_back(b);
            }
        }))
        return;
    pixman_region32_fini(d);
    pixman_region32_init_rects(d, mapped.data(), int(mapped.size()));
    RegionChanged(rgn);
}

OSErr BitMapToRegion(RgnHandle rgn, const BitMap* bits)
{
    constexpr OSErr pixmapTooDeepErr = -148;
    if (!Data(rgn) || !bits)
        return paramErr;
    if (bits->rowBytes & kPixMapFlag) {
        auto* pm = static_cast<const PixMap*>(bits);
        if (pm->pixelSize != 1)
            return pixmapTooDeepErr;
    }
    const int32_t rowBytes = bits->rowBytes & kRowBytesMask;
    const Rect& b = bits->bounds;
    const int32_t width = int32_t(b.right) - b.left, height = int32_t(b.bottom) - b.top;
    std::vector<pixman_box32_t> boxes;
    if (bits->baseAddr && width > 0 && height > 0 && rowBytes * 8 >= width &&
        !Guarded([&] {
            auto* base = reinterpret_cast<const uint8_t*>(bits->baseAddr);
            for (int32_t y = 0; y < height; ++y) {
                const uint8_t* row = base + int64_t(y) * rowBytes;
                int32_t x = 0;
                while (x < width) {
                    while (x < width && !(row[x >> 3] & (0x80 >> (x & 7))))
                        ++x;
                    int32_t start = x;
                    while (x < width && (row[x >> 3] & (0x80 >> (x & 7))))
                        ++x;
                    if (x > start)
                        boxes.push_back({b.left + start, b.top + y, b.left + x, b.top + y + 1});
                }
            }
        }))
        return memFullErr;
    pixman_region32_fini(Data(rgn));
    pixman_region32_init_rects(Data(rgn), boxes.data(), int(boxes.size()));
    RegionChanged(rgn);
    return noErr;
}

}  // namespace platform
