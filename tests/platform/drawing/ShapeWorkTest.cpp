// Shapes made only where they can be drawn: a line's rows found without
// walking to them, and outlines made row by row, give exactly the pixels of
// the plain walk and of the shape less its inset; cut to a limit they are
// the whole shape cut there, and a huge shape with a huge pen makes no row
// outside it.
#include <gtest/gtest.h>

#include <pixman.h>

#include <algorithm>
#include <set>
#include <tuple>
#include <vector>

#include "platform/drawing/ShapeRegions.h"

using namespace platform;

namespace {

struct Region {
    pixman_region32_t r;
    Region() { pixman_region32_init(&r); }
    ~Region() { pixman_region32_fini(&r); }
    Region(const Region&) = delete;
    Region& operator=(const Region&) = delete;
};

using Pixels = std::set<std::pair<int32_t, int32_t>>;

Pixels PixelsOf(const pixman_region32_t* r)
{
    Pixels out;
    int n = 0;
    const pixman_box32_t* b = pixman_region32_rectangles(const_cast<pixman_region32_t*>(r), &n);
    for (int i = 0; i < n; ++i)
        for (int32_t v = b[i].y1; v < b[i].y2; ++v)
            for (int32_t h = b[i].x1; h < b[i].x2; ++h) out.insert({h, v});
    return out;
}

Pixels Cut(const Pixels& all, const Rect32& limit)
{
    Pixels out;
    for (const auto& [h, v] : all)
        if (v >= limit.top && v < limit.bottom) out.insert({h, v});
    return out;
}

// The pen stamped at every pixel a stepping walk visits, top to bottom: the
// error dx - dy, an x step when twice the error exceeds -dy, a y step when
// it is below dx.
Pixels WalkedLine(Point from, Point to, Point pen)
{
    if (to.v < from.v) std::swap(from, to);
    Pixels out;
    int32_t x = from.h, y = from.v;
    const int32_t dx = std::abs(to.h - from.h), dy = to.v - from.v, sx = from.h < to.h ? 1 : -1;
    int32_t err = dx - dy;
    for (;;) {
        for (int32_t v = 0; v < pen.v; ++v)
            for (int32_t h = 0; h < pen.h; ++h) out.insert({x + h, y + v});
        if (x == to.h && y == to.v) break;
        const int32_t e2 = 2 * err;
        if (e2 > -dy) err -= dy, x += sx;
        if (e2 < dx) err += dx, ++y;
    }
    return out;
}

}  // namespace

TEST(ShapeWork, LineRowsFoundAtOnceAreThoseOfTheWalk)
{
    // Every line of up to 12 pixels each way, in every direction, with a
    // thin, a wide and a tall pen; then cut to rows 3 to 7.
    const Rect32 cut{3, -100, 8, 100};
    for (const Point pen : {Point{1, 1}, Point{2, 3}, Point{7, 1}})
        for (int16_t dx = -12; dx <= 12; ++dx)
            for (int16_t dy = -12; dy <= 12; ++dy) {
                const Point from{4, 5}, to{int16_t(4 + dy), int16_t(5 + dx)};
                Region line;
                LineShape(&line.r, from, to, pen);
                const Pixels walked = WalkedLine(from, to, pen);
                ASSERT_EQ(PixelsOf(&line.r), walked) << dx << "," << dy << " pen " << pen.h << "x" << pen.v;
                Region cutLine;
                LineShape(&cutLine.r, from, to, pen, cut);
                ASSERT_EQ(PixelsOf(&cutLine.r), Cut(walked, cut)) << dx << "," << dy;
            }
}

TEST(ShapeWork, OutlinesMadeRowByRowAreTheShapeLessItsInset)
{
    struct Case {
        Rect32 r;
        int32_t ovalWidth, ovalHeight;
    };
    const std::vector<Case> shapes = {
        {{0, 0, 20, 30}, 0, 0},     {{0, 0, 20, 30}, 30, 20}, {{2, 3, 17, 9}, 6, 6},
        {{0, 0, 40, 12}, 12, 40},   {{5, 5, 6, 40}, 35, 1},   {{0, 0, 25, 25}, 9, 15},
        {{-7, -3, 31, 22}, 25, 38},
    };
    const std::vector<std::pair<int32_t, int32_t>> pens = {{1, 1}, {2, 3}, {5, 1}, {1, 6}, {13, 13}, {40, 2}};
    for (const Case& c : shapes)
        for (const auto& [pw, ph] : pens) {
            Region whole, framed;
            RoundRectShape(&whole.r, c.r, c.ovalWidth, c.ovalHeight, kAllRows);
            FrameOf(&whole.r, pw, ph);
            FramedRoundRectShape(&framed.r, c.r, c.ovalWidth, c.ovalHeight, pw, ph, kAllRows);
            const Pixels expected = PixelsOf(&whole.r);
            EXPECT_EQ(PixelsOf(&framed.r), expected)
                << c.r.top << "," << c.r.left << "," << c.r.bottom << "," << c.r.right << " corners " << c.ovalWidth
                << "x" << c.ovalHeight << " pen " << pw << "x" << ph;
            const Rect32 cut{4, -100, 11, 100};
            Region cutFrame;
            FramedRoundRectShape(&cutFrame.r, c.r, c.ovalWidth, c.ovalHeight, pw, ph, cut);
            EXPECT_EQ(PixelsOf(&cutFrame.r), Cut(expected, cut));
        }
}

TEST(ShapeWork, HugeShapesWithHugePensMakeNoRowOutsideTheLimit)
{
    const Rect32 huge{-30000, -30000, 30000, 30000}, limit{0, 0, 40, 60};
    auto rowsWithin = [&](const pixman_region32_t* r) {
        int n = 0;
        const pixman_box32_t* b = pixman_region32_rectangles(const_cast<pixman_region32_t*>(r), &n);
        for (int i = 0; i < n; ++i)
            if (b[i].y1 < limit.top || b[i].y2 > limit.bottom) return false;
        return n <= 2 * (limit.bottom - limit.top);
    };
    Region oval, frame, line;
    OvalShape(&oval.r, huge, limit);
    EXPECT_TRUE(rowsWithin(&oval.r));
    FramedRoundRectShape(&frame.r, huge, 60000, 60000, 20000, 20000, limit);
    EXPECT_TRUE(rowsWithin(&frame.r));
    EXPECT_TRUE(pixman_region32_not_empty(&frame.r));
    LineShape(&line.r, Point{-30000, -30000}, Point{30000, 30000}, Point{3000, 3000}, limit);
    EXPECT_TRUE(rowsWithin(&line.r));
    EXPECT_TRUE(pixman_region32_not_empty(&line.r));
}
