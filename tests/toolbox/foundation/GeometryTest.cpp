#include <gtest/gtest.h>

#include "platform/drawing/Regions.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VRegion.h"

namespace {

using platform::Rect;
using platform::Rect32;

struct Bounds {
    int32_t left, top, width, height;
    bool operator==(const Bounds&) const = default;
};

Bounds BoundsOf(const VShape& s) { return {s.GetLeft(), s.GetTop(), s.GetWidth(), s.GetHeight()}; }

bool Hit(const VShape& s, int32_t x, int32_t y) { return s.HitTest(VPoint(x, y)); }

TEST(Rect, SizesEdgesAndOverlaps)
{
    EXPECT_EQ(BoundsOf(VRect(10, 20, -5, -6)), (Bounds{10, 20, 5, 6}));
    EXPECT_EQ(BoundsOf(VRect(Rect{20, 10, 26, 15})), (Bounds{10, 20, 5, 6}));

    const VRect r(10, 20, 5, 6);
    EXPECT_TRUE(Hit(r, 10, 20));
    EXPECT_TRUE(Hit(r, 14, 25));
    EXPECT_FALSE(Hit(r, 15, 20));
    EXPECT_FALSE(Hit(r, 10, 26));
    EXPECT_TRUE(r.HitTestNoOffset(VPoint(0, 0)));
    EXPECT_FALSE(r.HitTestNoOffset(VPoint(5, 0)));

    // Edge-sharing rectangles overlap, but their intersection is empty.
    VRect left(0, 0, 10, 10);
    const VRect right(10, 0, 10, 10);
    EXPECT_TRUE(left.Overlaps(right));
    EXPECT_FALSE(left.Overlaps(VRect(11, 0, 10, 10)));
    // The same along the other axis: sharing the bottom edge overlaps.
    EXPECT_TRUE(VRect(0, 10, 10, 10).Overlaps(left));
    EXPECT_FALSE(VRect(0, 11, 10, 10).Overlaps(left));
    EXPECT_TRUE(VRect(0, 0, 10, 0).IsEmpty());
    EXPECT_TRUE(VRect(0, 0, 0, 10).IsEmpty());
    EXPECT_FALSE(VRect(0, 0, 1, 1).IsEmpty());
    // Assigning takes the place as well as the size.
    VRect moved(1, 2, 3, 4);
    moved = VRect(10, 20, 5, 6);
    EXPECT_EQ(BoundsOf(moved), (Bounds{10, 20, 5, 6}));
    left.Intersect(right);
    EXPECT_TRUE(left.IsEmpty());
    EXPECT_EQ(BoundsOf(left), (Bounds{0, 0, 0, 0}));

    VRect a(0, 0, 10, 10);
    a.Intersect(VRect(5, -5, 20, 8));
    EXPECT_EQ(BoundsOf(a), (Bounds{5, 0, 5, 3}));
    a.Inset(3, -2);
    EXPECT_EQ(BoundsOf(a), (Bounds{8, -2, -1, 7}));
    EXPECT_TRUE(a.IsEmpty());
}

TEST(Rect, ToMacRectClampsToSixteenBits)
{
    Rect mac;
    VRect(100000, -100000, 10, 20).ToMacRect(mac);
    EXPECT_EQ(mac.left, 32767);
    EXPECT_EQ(mac.right, 32767);
    EXPECT_EQ(mac.top, -32768);
    EXPECT_EQ(mac.bottom, -32768);
    VRect(30000, 5, 5000, 10).ToMacRect(mac);
    EXPECT_EQ(mac.left, 30000);
    EXPECT_EQ(mac.right, 32767);
    EXPECT_EQ(mac.bottom, 15);
    VRect(0x7FFFFFF0, 0, 0x7FFFFFFF, 1).ToMacRect(mac);  // right past 32 bits
    EXPECT_EQ(mac.right, 32767);
}

TEST(Region, FarRegionsKeepThirtyTwoBitOffsets)
{
    VRegion region(VRect(100000, 100000, 50, 50));
    EXPECT_EQ(region.GetOriginX(), 100000);
    EXPECT_EQ(region.GetOriginY(), 100000);
    EXPECT_TRUE(Hit(region, 100010, 100010));
    EXPECT_FALSE(Hit(region, 100050, 100010));

    region.Add(VRect(0, 0, 10, 10));
    EXPECT_EQ(region.GetOriginX(), 100000);  // the larger origin is the frame
    EXPECT_EQ(BoundsOf(region), (Bounds{0, 0, 100050, 100050}));
    EXPECT_TRUE(Hit(region, 5, 5));
    EXPECT_FALSE(Hit(region, 50, 50));
    EXPECT_TRUE(Hit(region, 100049, 100049));
    EXPECT_TRUE(region.Overlaps(VRect(9, 9, 5, 5)));
    EXPECT_FALSE(region.Overlaps(VRect(20, 20, 5, 5)));

    region.Substract(VRect(0, 0, 5, 10));
    EXPECT_EQ(BoundsOf(region), (Bounds{5, 0, 100045, 100050}));
    region.Intersect(VRect(-200000, -200000, 205000, 205000));
    EXPECT_EQ(BoundsOf(region), (Bounds{5, 0, 5, 10}));
    EXPECT_EQ(region.GetOriginX(), -200000);  // the rectangle's origin is larger

    // Regions on both sides of zero, 200000 apart.
    VRegion wide(VRect(-100000, 0, 10, 10));
    wide.AddRect(100000, 0, 10, 10);
    EXPECT_EQ(BoundsOf(wide), (Bounds{-100000, 0, 200010, 10}));
    EXPECT_TRUE(Hit(wide, 100005, 5));
    EXPECT_FALSE(Hit(wide, 0, 5));
}

TEST(Region, MovesScalesAndHandsOver)
{
    VRegion region;
    EXPECT_TRUE(region.IsEmpty());
    region.FromRect(70000, 10, -20, 20);
    region.AddRect(70000, 30, 10, 10);  // an L: 20 x 20 above, 10 x 10 below
    EXPECT_EQ(BoundsOf(region), (Bounds{70000, 10, 20, 30}));

    VRegion copy(region);
    region.SetPos(-5, -5);
    EXPECT_EQ(BoundsOf(region), (Bounds{-5, -5, 20, 30}));
    EXPECT_TRUE(Hit(region, 0, 20));
    EXPECT_FALSE(Hit(region, 10, 20));
    EXPECT_TRUE(region.HitTestNoOffset(VPoint(5, 25)));
    EXPECT_TRUE(Hit(copy, 70015, 15));  // the copy stays where it was
    EXPECT_EQ(copy.GetOriginY(), 10);

    region.SetSize(40, 60);  // scaled by two
    EXPECT_EQ(BoundsOf(region), (Bounds{-5, -5, 40, 60}));
    EXPECT_TRUE(Hit(region, 10, 50));
    EXPECT_FALSE(Hit(region, 20, 50));
    region.Inset(10, 15);
    EXPECT_EQ(BoundsOf(region), (Bounds{5, 10, 20, 30}));

    copy.From(region);
    EXPECT_EQ(BoundsOf(copy), BoundsOf(region));

    // Emptied, a region and a rectangle are at 0, 0 with no size.
    copy.SetEmpty();
    VRect rect(3, 4, 5, 6);
    rect.SetEmpty();
    for (const VShape* shape : {static_cast<const VShape*>(&copy), static_cast<const VShape*>(&rect)})
        EXPECT_EQ(BoundsOf(*shape), (Bounds{0, 0, 0, 0}));
    EXPECT_EQ(copy.GetOriginX() + copy.GetOriginY(), 0);

    platform::RgnHandle kept = region.GetRgnRef(false);
    EXPECT_EQ(region.GetOriginX(), 0);
    EXPECT_EQ(BoundsOf(region), (Bounds{5, 10, 20, 30}));
    const Rect32 absolute = platform::GetRegionBounds32(kept);
    EXPECT_EQ(absolute.left, 5);
    EXPECT_EQ(absolute.bottom, 40);

    platform::RgnHandle owned = region.GetRgnRef(true);
    EXPECT_EQ(owned, kept);
    EXPECT_TRUE(region.IsEmpty());
    EXPECT_EQ(BoundsOf(region), (Bounds{0, 0, 0, 0}));
    EXPECT_TRUE(platform::PtInRgn32(6, 11, owned));
    platform::DisposeRgn(owned);

    region.AddRect(1, 1, 2, 2);  // the region is usable again
    EXPECT_TRUE(Hit(region, 2, 2));
    region.SetEmpty();
    EXPECT_FALSE(Hit(region, 2, 2));
    EXPECT_EQ(BoundsOf(region), (Bounds{0, 0, 0, 0}));
    EXPECT_EQ(region.GetOriginX(), 0);
}

}  // namespace
