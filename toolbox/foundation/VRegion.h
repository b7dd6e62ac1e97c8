// A region of the toolbox's 32-bit plane: a platform region whose points
// are relative to a 32-bit origin. The shape's bounds always hold the
// region's absolute bounds.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"
#include "toolbox/foundation/VRect.h"

class VRegion : public VShape {
public:
    VRegion();
    explicit VRegion(const VRect& r);
    VRegion(const VRegion& other);
    VRegion& operator=(const VRegion& other);
    ~VRegion() override;

    void From(const VRegion& other);
    void From(const VRect& r);
    void FromRect(int32_t left, int32_t top, int32_t width, int32_t height);

    void Add(const VRect& r);
    void Substract(const VRect& r);
    void Intersect(const VRect& r);
    void AddRect(int32_t left, int32_t top, int32_t width, int32_t height);
    void SubstractRect(int32_t left, int32_t top, int32_t width, int32_t height);
    void IntersectRect(int32_t left, int32_t top, int32_t width, int32_t height);

    // Makes the platform region absolute (origin 0) and answers it. With
    // handOver the caller owns it and this region starts again empty.
    platform::RgnHandle GetRgnRef(bool handOver);
    // Recomputes the bounds from the platform region and the origin.
    void UpdateCoords();

    int32_t GetOriginX() const { return fOriginX; }
    int32_t GetOriginY() const { return fOriginY; }

    // Moves the region: only the origin changes.
    void SetPos(int32_t left, int32_t top) override;
    // Scale the region to the new size (resp. its bounds inset by dx, dy).
    void SetSize(int32_t width, int32_t height) override;
    void Inset(int32_t dx, int32_t dy) override;
    bool HitTest(const VPoint& p) const override;
    bool HitTestNoOffset(const VPoint& p) const override;
    bool Overlaps(const VShape& s) const override;
    void SetEmpty() override;
    bool IsEmpty() const override;

private:
    enum class Op { Union, Difference, Intersection };
    void Combine(const VRect& r, Op op);
    void MapTo(const platform::Rect32& from, const platform::Rect32& to);

    platform::RgnHandle fRgn;
    int32_t fOriginX = 0;
    int32_t fOriginY = 0;
};
