#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <initializer_list>
#include <random>

#include "platform/core/Errors.h"
#include "platform/core/Faults.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Recording.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "tests/platform/core/FailingNew.h"
#include "tests/platform/drawing/DrawingTestSupport.h"

using namespace platform;

namespace {

constexpr int kSize = 48;
using Mask = std::array<bool, kSize * kSize>;

Mask ToMask(RgnHandle rgn)
{
    Mask m{};
    for (const Rect32& r : GetRegionRects(rgn))
        for (int32_t v = std::max(r.top, 0); v < std::min(r.bottom, kSize); ++v)
            for (int32_t h = std::max(r.left, 0); h < std::min(r.right, kSize); ++h)
                m[size_t(v * kSize + h)] = true;
    return m;
}

// A rectangle, oval or polygon recorded as a region.
RgnHandle RandomShape(std::mt19937& rng)
{
    std::uniform_int_distribution<int> coord(-4, kSize + 4), kind(0, 2);
    auto rect = [&] {
        int16_t a = int16_t(coord(rng)), b = int16_t(coord(rng)), c = int16_t(coord(rng)), d = int16_t(coord(rng));
        return Rect{std::min(a, b), std::min(c, d), std::max(a, b), std::max(c, d)};
    };
    RgnHandle rgn = NewRgn();
    OpenRgn();
    switch (kind(rng)) {
    case 0: {
        Rect r = rect();
        FrameRect(&r);
        break;
    }
    case 1: {
        Rect r = rect();
        FrameOval(&r);
        break;
    }
    default: {
        PolyHandle poly = OpenPoly();
        MoveTo(int16_t(coord(rng)), int16_t(coord(rng)));
        Point first;
        GetPen(&first);
        for (int i = 0; i < 4; ++i)
            LineTo(int16_t(coord(rng)), int16_t(coord(rng)));
        LineTo(first.h, first.v);
        ClosePoly();
        FramePoly(poly);
        KillPoly(poly);
        break;
    }
    }
    CloseRgn(rgn);
    return rgn;
}

RgnHandle RectsRgn(std::initializer_list<Rect32> rects)
{
    RgnHandle rgn = NewRgn();
    for (const Rect32& r : rects)
        UnionRectRgn32(rgn, r);
    return rgn;
}

}  // namespace

TEST(Regions, SetOperationsAgreeWithMasks)
{
    drawingtest::World w;
    std::mt19937 rng(20240611);
    RgnHandle out = NewRgn();
    int nonTrivial = 0;
    for (int i = 0; i < 1000; ++i) {
        RgnHandle a = RandomShape(rng), b = RandomShape(rng);
        Mask ma = ToMask(a), mb = ToMask(b);
        nonTrivial += !EmptyRgn(a) && !EmptyRgn(b);
        SectRgn(a, b, out);
        Mask ms = ToMask(out);
        UnionRgn(a, b, out);
        Mask mu = ToMask(out);
        DiffRgn(a, b, out);
        Mask md = ToMask(out);
        XorRgn(a, b, out);
        Mask mx = ToMask(out);
        for (size_t p = 0; p < ma.size(); ++p) {
            ASSERT_EQ(ms[p], ma[p] && mb[p]) << i;
            ASSERT_EQ(mu[p], ma[p] || mb[p]) << i;
            ASSERT_EQ(md[p], ma[p] && !mb[p]) << i;
            ASSERT_EQ(mx[p], ma[p] != mb[p]) << i;
        }
        // Membership agrees with the rectangles too.
        Point pt{int16_t(i % kSize), int16_t((i * 7) % kSize)};
        ASSERT_EQ(bool(PtInRgn(pt, a)), ma[size_t(pt.v * kSize + pt.h)]);
        DisposeRgn(a);
        DisposeRgn(b);
    }
    EXPECT_GT(nonTrivial, 300);
    DisposeRgn(out);
}

TEST(Regions, RecordingAFrameGivesTheRectangle)
{
    drawingtest::World w;
    RgnHandle rgn = NewRgn(), rect = NewRgn();
    OpenRgn();
    Rect r{3, 4, 20, 30};
    FrameRect(&r);
    CloseRgn(rgn);
    RectRgn(rect, &r);
    EXPECT_TRUE(EqualRgn(rgn, rect));
    EXPECT_EQ((*rgn)->rgnBBox.right, 30);
    // Nothing was drawn while recording, and the pen shows again after.
    EXPECT_EQ(w.CountNot(drawingtest::kWhite), 0);
    PaintRect(&r);
    EXPECT_GT(w.CountNot(drawingtest::kWhite), 0);
    // Two nested frames make a ring.
    OpenRgn();
    FrameRect(&r);
    Rect inner{8, 8, 12, 12};
    FrameRect(&inner);
    CloseRgn(rgn);
    EXPECT_FALSE(PtInRgn({10, 10}, rgn));
    EXPECT_TRUE(PtInRgn({5, 5}, rgn));
    DisposeRgn(rgn);
    DisposeRgn(rect);
}

TEST(Regions, LargeCoordinatesAndInsetting)
{
    RgnHandle a = NewRgn(), b = NewRgn(), c = NewRgn();
    SetRectRgn32(a, {-1000000, -1000000, 1000000, 1000000});
    SetRectRgn32(b, {999990, 999990, 1000010, 1000010});
    SectRgn(a, b, c);
    EXPECT_EQ(GetRegionBounds32(c).left, 999990);
    EXPECT_EQ(GetRegionBounds32(c).right, 1000000);
    UnionRgn(a, b, c);
    EXPECT_TRUE(PtInRgn32(1000005, 1000005, c));
    EXPECT_FALSE(PtInRgn32(1000005, 0, c));
    // The 16-bit bounds are clamped, the 32-bit ones are not.
    EXPECT_EQ((*c)->rgnBBox.right, 32767);
    OffsetRgn32(c, -2000000, 0);
    EXPECT_TRUE(PtInRgn32(-1999000, 0, c));
    EXPECT_TRUE(RectInRgn32({-5, -1999990, 5, -1999980}, c));
    InsetRgn32(c, 10, 10);
    EXPECT_FALSE(PtInRgn32(-2999995, 0, c));

    // Insetting keeps apart what a narrow gap separates.
    SetRectRgn(a, 0, 0, 10, 10);
    SetRectRgn(b, 12, 0, 20, 10);
    UnionRgn(a, b, c);
    InsetRgn(c, 3, 0);
    EXPECT_TRUE(PtInRgn({5, 3}, c));
    EXPECT_FALSE(PtInRgn({5, 12}, c));
    EXPECT_TRUE(PtInRgn({5, 15}, c));
    InsetRgn(c, -3, 0);  // growing back restores both parts
    EXPECT_TRUE(PtInRgn({5, 0}, c));
    EXPECT_FALSE(PtInRgn({5, 11}, c));
    InsetRgn(c, -1, 0);  // one more pixel each side closes the gap
    EXPECT_TRUE(PtInRgn({5, 11}, c));
    EXPECT_TRUE(PtInRgn({5, -1}, c));
    EXPECT_FALSE(EmptyRgn(c));
    SetEmptyRgn(c);
    EXPECT_TRUE(EmptyRgn(c));

    // Null handles and failed allocations are harmless.
    UnionRgn(nullptr, a, c);
    EXPECT_FALSE(PtInRgn({0, 0}, nullptr));
    {
        ScopedFault fault(FaultKind::Allocation, 0);
        EXPECT_EQ(NewRgn(), nullptr);
        EXPECT_EQ(QDError(), memFullErr);
    }
    DisposeRgn(a);
    DisposeRgn(b);
    DisposeRgn(c);
}

// Each call is run short of standard memory at each of its allocations in
// turn: the shortage is QDError() memFullErr, never an exception, and the
// region keeps its value; given all it asks for, the call answers right.
TEST(Regions, AShortageOfStandardMemoryLeavesTheRegionAsItWas)
{
    static uint8_t bits[] = {0xF0, 0x0F, 0x00, 0x00};
    BitMap map;
    map.baseAddr = reinterpret_cast<Ptr>(bits);
    map.rowBytes = 2;
    map.bounds = {0, 0, 2, 16};
    const Rect from{0, 0, 20, 40}, to{0, 0, 40, 80};
    struct Case {
        const char* name;
        std::function<void(RgnHandle)> call;
        RgnHandle expected;
    };
    const Case cases[] = {
        // A new region is empty, copied over the one there.
        {"NewRgn",
         [](RgnHandle rgn) {
             RgnHandle made = NewRgn();
             CopyRgn(made, rgn);
             DisposeRgn(made);
         },
         RectsRgn({})},
        {"InsetRgn shrinking", [](RgnHandle rgn) { InsetRgn(rgn, 2, 1); },
         RectsRgn({{1, 2, 9, 8}, {1, 22, 9, 28}})},
        {"InsetRgn32 growing", [](RgnHandle rgn) { InsetRgn32(rgn, -2, -1); },
         RectsRgn({{-1, -2, 11, 12}, {-1, 18, 11, 32}})},
        {"MapRgn", [&](RgnHandle rgn) { MapRgn(rgn, &from, &to); }, RectsRgn({{0, 0, 20, 20}, {0, 40, 20, 60}})},
        // Its result must be the error too; a different one shows as paramErr.
        {"BitMapToRegion",
         [&](RgnHandle rgn) {
             if (BitMapToRegion(rgn, &map) != QDError())
                 SetQDError(paramErr);
         },
         RectsRgn({{0, 0, 1, 4}, {0, 12, 1, 16}})},
    };
    RgnHandle before = RectsRgn({{0, 0, 10, 10}, {0, 20, 10, 30}}), rgn = NewRgn();
    for (const Case& c : cases) {
        int shortages = 0;
        for (int64_t after = 0;; ++after) {
            CopyRgn(before, rgn);
            SetQDError(noErr);
            bool threw = false;
            testfaults::FailNthNew(after);
            try {
                c.call(rgn);
            } catch (...) {
                threw = true;
            }
            const bool fired = !testfaults::NewFailurePending();
            testfaults::StopFailingNew();
            ASSERT_FALSE(threw) << c.name << " " << after;
            if (!fired) {
                EXPECT_EQ(QDError(), noErr) << c.name;
                EXPECT_TRUE(EqualRgn(rgn, c.expected)) << c.name;
                break;
            }
            ++shortages;
            EXPECT_EQ(QDError(), memFullErr) << c.name << " " << after;
            EXPECT_TRUE(EqualRgn(rgn, before)) << c.name << " " << after;
            EXPECT_EQ((*rgn)->rgnBBox.right, 30) << c.name << " " << after;
        }
        EXPECT_GT(shortages, 0) << c.name;
        DisposeRgn(c.expected);
    }
    DisposeRgn(before);
    DisposeRgn(rgn);
}
