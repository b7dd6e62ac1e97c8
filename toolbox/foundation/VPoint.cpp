#include "toolbox/foundation/VPoint.h"

void VPoint::SetPos(int32_t x, int32_t y)
{
    fX = x;
    fY = y;
}

void VPoint::GetPos(int32_t& x, int32_t& y) const
{
    x = fX;
    y = fY;
}

void VPoint::SetPosByOffset(int32_t dx, int32_t dy)
{
    fX = int32_t(int64_t(fX) + dx);
    fY = int32_t(int64_t(fY) + dy);
}
