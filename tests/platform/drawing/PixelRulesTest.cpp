#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/drawing/Patterns.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/pictures/Pictures.h"
#include "tests/platform/drawing/DrawingTestSupport.h"
#include "tests/platform/pictures/PictureTestSupport.h"

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

TEST(PixelRules, ThickLinesAreThePenStampedAlongTheThinLine)
{
    World thin, thick;
    uint32_t seed = 12345;
    auto next = [&](int32_t n) {
        seed = seed * 1103515245u + 12345u;
        return int32_t((seed >> 16) % uint32_t(n));
    };
    for (int i = 0; i < 40; ++i) {
        const int16_t h1 = int16_t(next(40)), v1 = int16_t(next(40)), h2 = int16_t(next(40)), v2 = int16_t(next(40));
        const int16_t pw = int16_t(1 + next(9)), ph = int16_t(1 + next(9));
        SetGWorld(thin.get(), nullptr);
        EraseRect(&thin.get()->portRect);
        PenNormal();
        MoveTo(h1, v1);
        LineTo(h2, v2);
        SetGWorld(thick.get(), nullptr);
        EraseRect(&thick.get()->portRect);
        PenSize(pw, ph);
        MoveTo(h1, v1);
        LineTo(h2, v2);
        for (int32_t v = 0; v < 64; ++v)
            for (int32_t h = 0; h < 64; ++h) {
                bool stamped = false;
                for (int32_t j = 0; j < ph && !stamped; ++j)
                    for (int32_t k = 0; k < pw && !stamped; ++k)
                        stamped = h - k >= 0 && v - j >= 0 && thin.At(h - k, v - j) == kBlack;
                ASSERT_EQ(thick.At(h, v), stamped ? kBlack : kWhite)
                    << "line " << i << " pixel " << h << "," << v << " pen " << pw << "x" << ph;
            }
    }
    // A pen as tall as the coordinate space along the longest line still
    // draws at once and covers the whole world.
    SetGWorld(thick.get(), nullptr);
    EraseRect(&thick.get()->portRect);
    PenSize(32767, 32767);
    MoveTo(-32768, -32768);
    LineTo(32767, 32767);
    EXPECT_EQ(thick.CountNot(kBlack), 0);
}

TEST(PixelRules, LinesDrawnTogetherAreTheLinesDrawnOneByOne)
{
    // Over a gradient, through a clip of two rectangles: a grid whose lines
    // overlap, one line drawn twice, diagonals, lines partly and wholly
    // outside the world, in every kind of mode, with thin, wide and huge pens.
    std::vector<std::pair<Point, Point>> lines{
        {{10, 10}, {10, 40}}, {{10, 10}, {10, 40}}, {{0, 0}, {63, 40}}, {{60, 5}, {3, 30}}, {{-300, 200}, {-100, 300}}};
    for (int16_t x = 4; x < 60; x += 3) lines.push_back({Point{2, x}, Point{50, x}});
    for (int16_t y = 6; y < 60; y += 7) lines.push_back({Point{y, -20}, Point{y, 90}});
    auto draw = [&](bool asOne) {
        if (asOne) DrawLines(lines);
        else for (const auto& [from, to] : lines) MoveTo(from.h, from.v), LineTo(to.h, to.v);
        Point at{};
        GetPen(&at);
        return std::make_pair(at.h, at.v);
    };
    World together, oneByOne;
    RgnHandle clip = NewRgn(), second = NewRgn();
    SetRectRgn(clip, 0, 0, 40, 30);
    SetRectRgn(second, 20, 25, 64, 64);
    UnionRgn(clip, second, clip);
    const Rect all{0, 0, 64, 64};
    const RGBColor fore{0xC000, 0x2000, 0x1000}, back{0x1000, 0x8000, 0xE000};
    Pattern grey;
    for (const Point pen : {Point{1, 1}, Point{2, 3}, Point{9, 12}, Point{4000, 4000}})
        for (const int16_t mode : {patCopy, patOr, patXor, patBic, notPatCopy, notPatXor, blend, hilite, srcCopy})
            for (const bool clipped : {false, true}) {
                std::pair<int16_t, int16_t> at[2];
                for (const bool asOne : {true, false}) {
                    const World& w = asOne ? together : oneByOne;
                    SetGWorld(w.get(), nullptr);
                    for (int v = 0; v < 64; ++v)
                        for (int h = 0; h < 64; ++h) w.Set(h, v, uint32_t(h * 4) << 16 | uint32_t(v * 4) << 8 | 0x5A);
                    ClipRect(&all);
                    if (clipped) SetClip(clip);
                    PenNormal();
                    PenPat(GetQDGlobalsGray(&grey));
                    PenSize(pen.h, pen.v);
                    PenMode(mode);
                    RGBForeColor(&fore);
                    RGBBackColor(&back);
                    at[asOne] = draw(asOne);
                }
                EXPECT_EQ(at[0], at[1]);
                for (int v = 0; v < 64; ++v)
                    for (int h = 0; h < 64; ++h)
                        ASSERT_EQ(together.At(h, v), oneByOne.At(h, v))
                            << "pen " << pen.h << "x" << pen.v << " mode " << mode << (clipped ? " clipped" : "")
                            << " at " << h << "," << v;
            }
    // A picture being recorded gets every line, as LineTo gives it.
    auto recorded = [&](bool asOne) {
        const OpenCPicParams params{all, 72 << 16, 72 << 16, -2, 0, 0};
        PicHandle picture = OpenCPicture(&params);
        draw(asOne);
        ClosePicture();
        std::vector<uint8_t> bytes = picturetest::FromHandle(picture);
        KillPicture(picture);
        return bytes;
    };
    EXPECT_EQ(recorded(true), recorded(false));
    DisposeRgn(second);
    DisposeRgn(clip);
}
