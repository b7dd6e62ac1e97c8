#include "toolbox/foundation/VRect.h"

#include <algorithm>

namespace {

FrameBoundsProc gFrameBounds = nullptr;

int16_t Clamp16(int64_t v) { return int16_t(std::clamp<int64_t>(v, -32768, 32767)); }

}  // namespace

void SetFrameBoundsProc(FrameBoundsProc proc) { gFrameBounds = proc; }

VRect::VRect(const VFrame& frame) { FromFrame(frame); }

VRect::VRect(const platform::Rect& r)
    : VShape(r.left, r.top, int32_t(r.right) - r.left, int32_t(r.bottom) - r.top)
{
}

VRect& VRect::operator=(const VRect& other)
{
    SetPos(other.GetLeft(), other.GetTop());
    SetSize(other.GetWidth(), other.GetHeight());
    return *this;
}

void VRect::FromFrame(const VFrame& frame)
{
    int32_t left = 0, top = 0, width = 0, height = 0;
    if (gFrameBounds) gFrameBounds(frame, left, top, width, height);
    SetPos(left, top);
    SetSize(width, height);
}

void VRect::Intersect(const VShape& s)
{
    const int64_t left = std::max<int64_t>(GetLeft(), s.GetLeft());
    const int64_t top = std::max<int64_t>(GetTop(), s.GetTop());
    const int64_t right = std::min(GetRight(), s.GetRight());
    const int64_t bottom = std::min(GetBottom(), s.GetBottom());
    if (right > left && bottom > top) {
        SetPos(int32_t(left), int32_t(top));
        SetSize(int32_t(right - left), int32_t(bottom - top));
    } else {
        SetPos(0, 0);
        SetSize(0, 0);
    }
}

void VRect::ToMacRect(platform::Rect& r) const
{
    r.top = Clamp16(GetTop());
    r.left = Clamp16(GetLeft());
    r.bottom = Clamp16(GetBottom());
    r.right = Clamp16(GetRight());
}
