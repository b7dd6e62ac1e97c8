// A point of the toolbox's 32-bit plane.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VObject.h"

class VPoint : public VObject {
public:
    VPoint(int32_t x = 0, int32_t y = 0) : fX(x), fY(y) {}
    VPoint(const VPoint&) = default;
    VPoint& operator=(const VPoint&) = default;

    virtual void SetPos(int32_t x, int32_t y);
    virtual void GetPos(int32_t& x, int32_t& y) const;
    virtual void SetPosByOffset(int32_t dx, int32_t dy);

    void SetX(int32_t x) { SetPos(x, fY); }
    void SetY(int32_t y) { SetPos(fX, y); }

private:
    int32_t fX;
    int32_t fY;
};
