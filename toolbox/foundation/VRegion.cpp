#include "toolbox/foundation/VRegion.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <vector>

#include "platform/drawing/Regions.h"

using platform::Rect32;
using platform::RgnHandle;

namespace {

int32_t Saturate(int64_t v)
{
    return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// The region (0, 0, width, height) of a rectangle, in its own frame.
void SetLocalRect(RgnHandle rgn, const VRect& r)
{
    platform::SetRectRgn32(rgn, Rect32{0, 0, r.GetHeight(), r.GetWidth()});
}

}  // namespace

VRegion::VRegion() : fRgn(platform::NewRgn()) {}

VRegion::VRegion(const VRect& r) : fRgn(platform::NewRgn()) { From(r); }

VRegion::VRegion(const VRegion& other) : VShape(other), fRgn(platform::NewRgn())
{
    platform::CopyRgn(other.fRgn, fRgn);
    fOriginX = other.fOriginX;
    fOriginY = other.fOriginY;
}

VRegion& VRegion::operator=(const VRegion& other)
{
    if (this != &other) From(other);
    return *this;
}

VRegion::~VRegion() { platform::DisposeRgn(fRgn); }

void VRegion::From(const VRegion& other)
{
    if (this == &other) return;
    platform::CopyRgn(other.fRgn, fRgn);
    fOriginX = other.fOriginX;
    fOriginY = other.fOriginY;
    UpdateCoords();
}

void VRegion::From(const VRect& r)
{
    SetBounds(r.GetLeft(), r.GetTop(), r.GetWidth(), r.GetHeight());
    fOriginX = r.GetLeft();
    fOriginY = r.GetTop();
    SetLocalRect(fRgn, r);
}

void VRegion::FromRect(int32_t left, int32_t top, int32_t width, int32_t height)
{
    From(VRect(left, top, width, height));
}

void VRegion::Add(const VRect& r) { Combine(r, Op::Union); }
void VRegion::Substract(const VRect& r) { Combine(r, Op::Difference); }
void VRegion::Intersect(const VRect& r) { Combine(r, Op::Intersection); }

void VRegion::AddRect(int32_t left, int32_t top, int32_t width, int32_t height)
{
    Add(VRect(left, top, width, height));
}

void VRegion::SubstractRect(int32_t left, int32_t top, int32_t width, int32_t height)
{
    Substract(VRect(left, top, width, height));
}

void VRegion::IntersectRect(int32_t left, int32_t top, int32_t width, int32_t height)
{
    Intersect(VRect(left, top, width, height));
}

// The two regions meet in the frame of whichever origin is larger in
// magnitude; relative offsets stay 32-bit.
void VRegion::Combine(const VRect& r, Op op)
{
    RgnHandle other = platform::NewRgn();
    if (!other || !fRgn) {
        platform::DisposeRgn(other);
        return;
    }
    SetLocalRect(other, r);
    const int64_t magnitude = std::max(std::abs(int64_t(fOriginX)), std::abs(int64_t(fOriginY)));
    if (std::abs(int64_t(r.GetLeft())) <= magnitude && std::abs(int64_t(r.GetTop())) <= magnitude) {
        platform::OffsetRgn32(other, Saturate(int64_t(r.GetLeft()) - fOriginX),
                              Saturate(int64_t(r.GetTop()) - fOriginY));
    } else {
        platform::OffsetRgn32(fRgn, Saturate(int64_t(fOriginX) - r.GetLeft()),
                              Saturate(int64_t(fOriginY) - r.GetTop()));
        fOriginX = r.GetLeft();
        fOriginY = r.GetTop();
    }
    switch (op) {
    case Op::Union: platform::UnionRgn(fRgn, other, fRgn); break;
    case Op::Difference: platform::DiffRgn(fRgn, other, fRgn); break;
    case Op::Intersection: platform::SectRgn(fRgn, other, fRgn); break;
    }
    platform::DisposeRgn(other);
    UpdateCoords();
}

platform::RgnHandle VRegion::GetRgnRef(bool handOver)
{
    platform::OffsetRgn32(fRgn, fOriginX, fOriginY);
    fOriginX = 0;
    fOriginY = 0;
    RgnHandle former = fRgn;
    if (handOver) fRgn = platform::NewRgn();
    UpdateCoords();
    return former;
}

void VRegion::UpdateCoords()
{
    const Rect32 b = platform::GetRegionBounds32(fRgn);
    SetBounds(Saturate(int64_t(fOriginX) + b.left), Saturate(int64_t(fOriginY) + b.top),
              Saturate(int64_t(b.right) - b.left), Saturate(int64_t(b.bottom) - b.top));
}

void VRegion::SetPos(int32_t left, int32_t top)
{
    fOriginX = Saturate(int64_t(fOriginX) + left - GetLeft());
    fOriginY = Saturate(int64_t(fOriginY) + top - GetTop());
    SetBounds(left, top, GetWidth(), GetHeight());
}

void VRegion::SetSize(int32_t width, int32_t height)
{
    const Rect32 b = platform::GetRegionBounds32(fRgn);
    MapTo(b, Rect32{b.top, b.left, Saturate(int64_t(b.top) + height), Saturate(int64_t(b.left) + width)});
}

void VRegion::Inset(int32_t dx, int32_t dy)
{
    const Rect32 b = platform::GetRegionBounds32(fRgn);
    MapTo(b, Rect32{Saturate(int64_t(b.top) + dy), Saturate(int64_t(b.left) + dx),
                    Saturate(int64_t(b.bottom) - dy), Saturate(int64_t(b.right) - dx)});
}

// Scales the region from one rectangle to another, as the platform's
// MapRgn does, with 32-bit rectangles: regions relative to a far origin
// outgrow the 16-bit call.
void VRegion::MapTo(const Rect32& from, const Rect32& to)
{
    const int64_t sw = int64_t(from.right) - from.left, sh = int64_t(from.bottom) - from.top;
    const int64_t dw = int64_t(to.right) - to.left, dh = int64_t(to.bottom) - to.top;
    if (fRgn && sw > 0 && sh > 0) {
        const auto mapH = [&](int64_t x) { return Saturate((x - from.left) * dw / sw + to.left); };
        const auto mapV = [&](int64_t y) { return Saturate((y - from.top) * dh / sh + to.top); };
        const std::vector<Rect32> rects = platform::GetRegionRects(fRgn);
        platform::SetEmptyRgn(fRgn);
        for (const Rect32& r : rects)
            platform::UnionRectRgn32(fRgn, Rect32{mapV(r.top), mapH(r.left), mapV(r.bottom), mapH(r.right)});
    }
    UpdateCoords();
}

bool VRegion::HitTest(const VPoint& p) const
{
    int32_t x, y;
    p.GetPos(x, y);
    return platform::PtInRgn32(Saturate(int64_t(x) - fOriginX), Saturate(int64_t(y) - fOriginY), fRgn);
}

bool VRegion::HitTestNoOffset(const VPoint& p) const
{
    int32_t x, y;
    p.GetPos(x, y);
    return platform::PtInRgn32(Saturate(int64_t(GetLeft()) + x - fOriginX),
                               Saturate(int64_t(GetTop()) + y - fOriginY), fRgn);
}

bool VRegion::Overlaps(const VShape& s) const
{
    const int64_t left = int64_t(s.GetLeft()) - fOriginX, top = int64_t(s.GetTop()) - fOriginY;
    return platform::RectInRgn32(
        Rect32{Saturate(top), Saturate(left), Saturate(top + s.GetHeight()), Saturate(left + s.GetWidth())}, fRgn);
}

void VRegion::SetEmpty()
{
    platform::SetEmptyRgn(fRgn);
    fOriginX = 0;
    fOriginY = 0;
    SetBounds(0, 0, 0, 0);
}

bool VRegion::IsEmpty() const { return GetWidth() == 0 && GetHeight() == 0; }
