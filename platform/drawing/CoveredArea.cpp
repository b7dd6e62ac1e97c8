#include "platform/drawing/CoveredArea.h"

#include <algorithm>
#include <utility>

namespace platform {

namespace {

// Pieces the area may hold beyond those of the clip it is given: enough for
// any page of objects side by side, few enough that each question costs
// little.
constexpr int kMostPieces = 256;

bool Proper(const Rect32& r) { return r.left < r.right && r.top < r.bottom; }

// r within the clip; false when memory ran short.
bool Within(pixman_region32_t* out, const Rect32& r, RgnHandle clip)
{
    pixman_region32_fini(out);
    pixman_region32_init_rect(out, r.left, r.top, uint32_t(int64_t(r.right) - r.left),
                              uint32_t(int64_t(r.bottom) - r.top));
    pixman_region32_t* c = RegionData(clip);
    return !c || pixman_region32_intersect(out, out, c);
}

}  // namespace

bool CoveredArea::Covers(const Rect32& r, RgnHandle clip) const
{
    if (!Proper(r))
        return true;
    auto* area = const_cast<pixman_region32_t*>(&area_.r);
    if (!RegionData(clip)) {
        const pixman_box32_t box{r.left, r.top, r.right, r.bottom};
        return pixman_region32_contains_rectangle(area, &box) == PIXMAN_REGION_IN;
    }
    ScratchRegion piece;
    return Within(&piece.r, r, clip) && pixman_region32_subtract(&piece.r, &piece.r, area) &&
           !pixman_region32_not_empty(&piece.r);
}

void CoveredArea::Add(const Rect32& r, RgnHandle clip)
{
    if (!Proper(r))
        return;
    ScratchRegion piece, joined;
    if (!Within(&piece.r, r, clip) || !pixman_region32_union(&joined.r, &area_.r, &piece.r)) {
        Clear();
        return;
    }
    if (pixman_region32_n_rects(&joined.r) > std::max(kMostPieces, 2 * pixman_region32_n_rects(&piece.r)))
        return;
    std::swap(area_.r, joined.r);
}

void CoveredArea::Clear() { pixman_region32_clear(&area_.r); }

}  // namespace platform
