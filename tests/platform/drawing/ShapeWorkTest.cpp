// Shapes made only where they can be drawn: a line's rows found without
// walking to them, and outlines made row by row, are exactly the stepping
// walk's pixels and the shape less its inset; cut to a band of rows they
// are the whole shape cut there.
#include <gtest/gtest.h>

#include <pixman.h>

#include <set>
#include <utility>

#include "platform/drawing/ShapeRegions.h"

using namespace platform;

namespace {

struct Region {
    pixman_region32_t r;
    Region() { pixman_region32_init(&r); }
    ~Region() { pixman_region32_fini(&r); }
};

// The pixels, those of rows outside [top, bottom) left out.
std::set<std::pair<int32_t, int32_t>> Pixels(pixman_region32_t* r, int32_t top = -99999, int32_t bottom = 99999)
{
    std::set<std::pair<int32_t, int32_t>> out;
    int n = 0;
    const pixman_box32_t* b = pixman_region32_rectangles(r, &n);
    for (int i = 0; i < n; ++i)
        for (int32_t v = std::max(b[i].y1, top); v < std::min(b[i].y2, bottom); ++v)
            for (int32_t h = b[i].x1; h < b[i].x2; ++h) out.insert({h, v});
    return out;
}

const Rect32 kBand{3, -100, 8, 100};  // rows 3 to 7

}  // namespace

TEST(ShapeWork, LineRowsFoundAtOnceAreThoseOfTheWalk)
{
    // Every line of up to 12 pixels each way with a thin, a wide and a tall
    // pen, beside the pen stamped along the walk from top to bottom (the
    // error dx - dy; an x step when twice it exceeds -dy, a y step when it
    // is below dx).
    for (const Point pen : {Point{1, 1}, Point{2, 3}, Point{7, 1}})
        for (int16_t dx = -12; dx <= 12; ++dx)
            for (int16_t dy = -12; dy <= 12; ++dy) {
                Point from{4, 5}, to{int16_t(4 + dy), int16_t(5 + dx)};
                Region line, cut, walked;
                LineShape(&line.r, from, to, pen);
                LineShape(&cut.r, from, to, pen, kBand);
                if (to.v < from.v) std::swap(from, to);
                int32_t x = from.h, y = from.v, err = std::abs(dx) - std::abs(dy);
                for (;;) {
                    pixman_region32_union_rect(&walked.r, &walked.r, x, y, uint32_t(pen.h), uint32_t(pen.v));
                    if (x == to.h && y == to.v) break;
                    const int32_t e2 = 2 * err;
                    if (e2 > -std::abs(dy)) err -= std::abs(dy), x += from.h < to.h ? 1 : -1;
                    if (e2 < std::abs(dx)) err += std::abs(dx), ++y;
                }
                ASSERT_EQ(Pixels(&line.r), Pixels(&walked.r)) << dx << "," << dy << " pen " << pen.h << "x" << pen.v;
                ASSERT_EQ(Pixels(&cut.r), Pixels(&walked.r, kBand.top, kBand.bottom)) << dx << "," << dy;
            }
}

TEST(ShapeWork, OutlinesMadeRowByRowAreTheShapeLessItsInset)
{
    // Rectangles, round rectangles and ovals, pens thin, wide, tall and
    // larger than the shape.
    const std::pair<Rect32, Point> shapes[] = {
        {{0, 0, 20, 30}, {0, 0}},  {{0, 0, 20, 30}, {20, 30}}, {{2, 3, 17, 9}, {6, 6}},    {{0, 0, 40, 12}, {40, 12}},
        {{5, 5, 6, 40}, {1, 35}},  {{0, 0, 25, 25}, {15, 9}},  {{-7, -3, 31, 22}, {38, 25}},
    };
    for (const auto& [r, corners] : shapes)
        for (const Point pen : {Point{1, 1}, Point{3, 2}, Point{1, 5}, Point{6, 1}, Point{13, 13}, Point{2, 40}}) {
            Region whole, framed, cut;
            RoundRectShape(&whole.r, r, corners.h, corners.v, kAllRows);
            FrameOf(&whole.r, pen.h, pen.v);
            FramedRoundRectShape(&framed.r, r, corners.h, corners.v, pen.h, pen.v, kAllRows);
            FramedRoundRectShape(&cut.r, r, corners.h, corners.v, pen.h, pen.v, kBand);
            EXPECT_EQ(Pixels(&framed.r), Pixels(&whole.r))
                << r.top << "," << r.left << "," << r.bottom << "," << r.right << " pen " << pen.h << "x" << pen.v;
            EXPECT_EQ(Pixels(&cut.r), Pixels(&whole.r, kBand.top, kBand.bottom));
        }
}
