#include <gtest/gtest.h>

#include "platform/drawing/Patterns.h"
#include "platform/drawing/Shapes.h"
#include "tests/platform/drawing/DrawingTestSupport.h"

using namespace platform;
using namespace drawingtest;

namespace {

void ExpectOnlyRect(const World& w, int32_t l, int32_t t, int32_t r, int32_t b, bool outline)
{
    for (int32_t v = 0; v < 64; ++v)
        for (int32_t h = 0; h < 64; ++h) {
            bool inside = h >= l && h < r && v >= t && v < b;
            if (outline)
                inside = inside && (h == l || h == r - 1 || v == t || v == b - 1);
            ASSERT_EQ(w.At(h, v), inside ? kBlack : kWhite) << h << "," << v;
        }
}

}  // namespace

TEST(PixelRules, FramePaintAndLinesHangBelowRight)
{
    World w;
    Rect r{10, 10, 20, 20};
    FrameRect(&r);
    // Four sides of 10 pixels share their 4 corners: 36 distinct pixels.
    EXPECT_EQ(w.CountNot(kWhite), 36);
    ExpectOnlyRect(w, 10, 10, 20, 20, true);

    EraseRect(&w.get()->portRect);
    PaintRect(&r);
    EXPECT_EQ(w.CountNot(kWhite), 100);
    ExpectOnlyRect(w, 10, 10, 20, 20, false);

    EraseRect(&w.get()->portRect);
    PenSize(2, 2);
    MoveTo(0, 0);
    LineTo(9, 0);
    ExpectOnlyRect(w, 0, 0, 11, 2, false);
    Point pen;
    GetPen(&pen);
    EXPECT_EQ(pen.h, 9);

    // A diagonal line with a 1x1 pen sets one pixel per step, both ends included.
    EraseRect(&w.get()->portRect);
    PenNormal();
    MoveTo(3, 3);
    Line(5, 5);
    EXPECT_EQ(w.CountNot(kWhite), 6);
    EXPECT_EQ(w.At(8, 8), kBlack);
}

TEST(PixelRules, SetOriginMovesEverythingByTheOffset)
{
    World w;
    SetOrigin(-5, -5);
    Rect r{10, 10, 20, 20};
    FrameRect(&r);
    ExpectOnlyRect(w, 15, 15, 25, 25, true);
    EraseRect(&w.get()->portRect);
    PaintRect(&r);
    ExpectOnlyRect(w, 15, 15, 25, 25, false);
    EraseRect(&w.get()->portRect);
    PenSize(2, 2);
    MoveTo(0, 0);
    LineTo(9, 0);
    ExpectOnlyRect(w, 5, 5, 16, 7, false);
    // The clip region keeps its local place.
    EXPECT_EQ(w.get()->portRect.left, -5);
}

TEST(PixelRules, ShapesStayInsideTheirRectangle)
{
    World w;
    Rect r{5, 7, 25, 40};
    PaintOval(&r);
    PaintRoundRect(&r, 12, 8);
    PaintArc(&r, 30, 200);
    FrameOval(&r);
    for (int32_t v = 0; v < 64; ++v)
        for (int32_t h = 0; h < 64; ++h) {
            if (h < 7 || h >= 40 || v < 5 || v >= 25) {
                ASSERT_EQ(w.At(h, v), kWhite) << h << "," << v;
            }
        }
    // The oval touches the middle of each side.
    EXPECT_EQ(w.At(7, 15), kBlack);
    EXPECT_EQ(w.At(39, 15), kBlack);
    EXPECT_EQ(w.At(23, 5), kBlack);
    EXPECT_EQ(w.At(23, 24), kBlack);
    EXPECT_EQ(w.At(7, 5), kWhite);  // corner left out

    // An arc of 90 degrees from 0 is the top right quarter.
    EraseRect(&w.get()->portRect);
    Rect square{0, 0, 40, 40};
    PaintArc(&square, 0, 90);
    EXPECT_EQ(w.At(30, 10), kBlack);
    EXPECT_EQ(w.At(10, 10), kWhite);
    EXPECT_EQ(w.At(30, 30), kWhite);
}

TEST(Patterns, GrayJoinsSeamlesslyAndFollowsTheOrigin)
{
    World w;
    Pattern gray;
    GetQDGlobalsGray(&gray);
    Rect left{0, 0, 32, 13}, right{0, 13, 32, 40};
    FillRect(&left, &gray);
    FillRect(&right, &gray);
    for (int32_t v = 0; v < 32; ++v)
        for (int32_t h = 0; h < 40; ++h)
            ASSERT_EQ(w.At(h, v), ((h + v) % 2 == 0) ? kBlack : kWhite) << h << "," << v;

    SetOrigin(-3, 0);
    Rect all{0, 0, 10, 10};
    FillRect(&all, &gray);
    // Local (0, 0) is pixel (3, 0): the checkerboard starts there.
    EXPECT_EQ(w.At(3, 0), kBlack);
    EXPECT_EQ(w.At(4, 0), kWhite);

    Pattern p;
    GetIndPattern(&p, sysPatListID, 1);
    EXPECT_EQ(p.pat[0], 0xFF);
    GetIndPattern(&p, sysPatListID, 7);
    EXPECT_EQ(p.pat[3], 0x00);
    GetIndPattern(&p, sysPatListID, 37);  // out of the list: unchanged
    EXPECT_EQ(p.pat[3], 0x00);
}
