// The base of the positioned shapes: left, top, width and height in 32-bit
// coordinates, with hit tests, overlap test and inset.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VObject.h"
#include "toolbox/foundation/VPoint.h"

class VShape : public VObject {
public:
    VShape() = default;
    // A negative width or height is taken by its absolute value.
    VShape(int32_t left, int32_t top, int32_t width, int32_t height);

    virtual void SetPos(int32_t left, int32_t top);
    virtual void SetSize(int32_t width, int32_t height);
    // Left and top edges are inside, right and bottom edges outside.
    virtual bool HitTest(const VPoint& p) const;
    // The point taken relative to the shape's top-left corner.
    virtual bool HitTestNoOffset(const VPoint& p) const;
    // Moves each edge inward by dx, dy (outward when negative), unclamped.
    virtual void Inset(int32_t dx, int32_t dy);
    // Shapes that only touch overlap.
    virtual bool Overlaps(const VShape& s) const;
    virtual void SetEmpty();
    virtual bool IsEmpty() const;

    int32_t GetLeft() const { return fLeft; }
    int32_t GetTop() const { return fTop; }
    int32_t GetWidth() const { return fWidth; }
    int32_t GetHeight() const { return fHeight; }
    int64_t GetRight() const { return int64_t(fLeft) + fWidth; }
    int64_t GetBottom() const { return int64_t(fTop) + fHeight; }

protected:
    // Sets the four fields without going through the virtual slots.
    void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
    static int32_t AbsoluteSize(int32_t size);

private:
    int32_t fLeft = 0;
    int32_t fTop = 0;
    int32_t fWidth = 0;
    int32_t fHeight = 0;
};
