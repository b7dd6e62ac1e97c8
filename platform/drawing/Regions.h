// Regions: sets of pixels made of rectangles, kept by pixman. This is the
// only region engine of the program: the classic 16-bit calls work on
// `Rect`, the *32 calls on 32-bit coordinates for code that outgrows 16
// bits. Every call accepts a null handle and then does nothing (or answers
// false / empty). Running out of memory ends a call with QDError()
// memFullErr and the region as it was.
#pragma once

#include <pixman.h>

#include <vector>

#include "platform/core/Errors.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

struct RegionRecord {
    uint16_t rgnSize;  // 10 for a rectangle, more for anything else
    Rect rgnBBox;      // the bounds, clamped to 16 bits
    pixman_region32_t data;
};

// Null when allocation fails (fault injection included).
RgnHandle NewRgn();
void DisposeRgn(RgnHandle rgn);
void CopyRgn(RgnHandle src, RgnHandle dst);
void SetEmptyRgn(RgnHandle rgn);
void SetRectRgn(RgnHandle rgn, int16_t left, int16_t top, int16_t right, int16_t bottom);
void RectRgn(RgnHandle rgn, const Rect* r);
void OffsetRgn(RgnHandle rgn, int16_t dh, int16_t dv);
// Positive amounts shrink the region, negative ones grow it.
void InsetRgn(RgnHandle rgn, int16_t dh, int16_t dv);
void SectRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
void UnionRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
void DiffRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
void XorRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
Boolean PtInRgn(Point pt, RgnHandle rgn);
Boolean RectInRgn(const Rect* r, RgnHandle rgn);
Boolean EqualRgn(RgnHandle a, RgnHandle b);
Boolean EmptyRgn(RgnHandle rgn);
Rect* GetRegionBounds(RgnHandle rgn, Rect* bounds);
Boolean IsRegionRectangular(RgnHandle rgn);
// Maps the region from the frame of `src` to the frame of `dst` (scaling).
void MapRgn(RgnHandle rgn, const Rect* src, const Rect* dst);
// The region of the set bits of a 1-bit map, in the map's coordinates.
OSErr BitMapToRegion(RgnHandle rgn, const BitMap* bits);

// 32-bit coordinates.
void SetRectRgn32(RgnHandle rgn, const Rect32& r);
void UnionRectRgn32(RgnHandle rgn, const Rect32& r);
void OffsetRgn32(RgnHandle rgn, int32_t dh, int32_t dv);
void InsetRgn32(RgnHandle rgn, int32_t dh, int32_t dv);
bool PtInRgn32(int32_t h, int32_t v, RgnHandle rgn);
bool RectInRgn32(const Rect32& r, RgnHandle rgn);
Rect32 GetRegionBounds32(RgnHandle rgn);
// The rectangles of the region, in bands from top to bottom. A call for the
// drawing code: a shortage throws std::bad_alloc, since an empty list could
// not be told from an empty region.
std::vector<Rect32> GetRegionRects(RgnHandle rgn);

// The pixman region behind a handle (null for a null handle), for the
// drawing code; call RegionChanged after changing it directly.
pixman_region32_t* RegionData(RgnHandle rgn);
void RegionChanged(RgnHandle rgn);

// A pixman region of the drawing code's own, freed however the call ends.
struct ScratchRegion {
    ScratchRegion() { pixman_region32_init(&r); }
    ~ScratchRegion() { pixman_region32_fini(&r); }
    ScratchRegion(const ScratchRegion&) = delete;
    ScratchRegion& operator=(const ScratchRegion&) = delete;
    pixman_region32_t r;
};

// For code that calls regions inside an entry point of its own and must
// answer their shortage itself: true when `calls` ran out of memory
// (QDError() memFullErr); QDError() is left as it was otherwise.
template <typename F>
bool RanShort(F&& calls)
{
    const OSErr before = QDError();
    SetQDError(noErr);
    calls();
    if (QDError() == memFullErr)
        return true;
    SetQDError(before);
    return false;
}

// Rectangle helpers shared by the drawing code.
inline Rect32 ToRect32(const Rect& r) { return {r.top, r.left, r.bottom, r.right}; }
Rect ClampToRect(const Rect32& r);
int16_t ClampTo16(int32_t v);

}  // namespace platform
