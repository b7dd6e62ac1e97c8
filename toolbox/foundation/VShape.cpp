#include "toolbox/foundation/VShape.h"

#include <cstdlib>
#include <limits>

VShape::VShape(int32_t left, int32_t top, int32_t width, int32_t height)
    : fLeft(left), fTop(top), fWidth(AbsoluteSize(width)), fHeight(AbsoluteSize(height))
{
}

int32_t VShape::AbsoluteSize(int32_t size)
{
    if (size == std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::max();
    return std::abs(size);
}

void VShape::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height)
{
    fLeft = left;
    fTop = top;
    fWidth = width;
    fHeight = height;
}

void VShape::SetPos(int32_t left, int32_t top)
{
    fLeft = left;
    fTop = top;
}

void VShape::SetSize(int32_t width, int32_t height)
{
    fWidth = width;
    fHeight = height;
}

bool VShape::HitTest(const VPoint& p) const
{
    int32_t x, y;
    p.GetPos(x, y);
    return fLeft <= x && x < GetRight() && fTop <= y && y < GetBottom();
}

bool VShape::HitTestNoOffset(const VPoint& p) const
{
    int32_t x, y;
    p.GetPos(x, y);
    return 0 <= x && x < fWidth && 0 <= y && y < fHeight;
}

void VShape::Inset(int32_t dx, int32_t dy)
{
    fLeft = int32_t(int64_t(fLeft) + dx);
    fWidth = int32_t(int64_t(fWidth) - 2 * int64_t(dx));
    fTop = int32_t(int64_t(fTop) + dy);
    fHeight = int32_t(int64_t(fHeight) - 2 * int64_t(dy));
}

bool VShape::Overlaps(const VShape& s) const
{
    return fLeft <= s.GetRight() && fTop <= s.GetBottom() && GetRight() >= s.fLeft && GetBottom() >= s.fTop;
}

void VShape::SetEmpty() { SetBounds(0, 0, 0, 0); }

bool VShape::IsEmpty() const { return fWidth < 1 || fHeight < 1; }
