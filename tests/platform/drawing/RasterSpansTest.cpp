#include <gtest/gtest.h>

#include <vector>

#include "platform/drawing/Patterns.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "tests/platform/drawing/DrawingTestSupport.h"

using namespace platform;
using namespace drawingtest;

namespace {

constexpr int16_t kInvertRect = -1;  // InvertRect rather than a pen mode
constexpr uint32_t kFore = 0x123456, kBack = 0xFEDCBA;

uint32_t Seed(int32_t h, int32_t v) { return (uint32_t(h) * 2654435761u ^ uint32_t(v) * 40503u) & 0xFFFFFF; }

uint32_t Expected(int16_t mode, bool ink, uint32_t d)
{
    switch (mode) {
    case patCopy: return ink ? kFore : kBack;
    case patXor: return ink ? d ^ 0xFFFFFF : d;
    case notPatXor: return ink ? d : d ^ 0xFFFFFF;
    default: return d ^ 0xFFFFFF;
    }
}

}  // namespace

// The 32-bit row loops work in prepared spans of the eight-pixel pattern
// row, with short boxes, whole-row masks and tails handled apart: every
// width up past two spans, boxes starting mid-pattern, and a clip that cuts
// each row into two boxes must all give the pixel rule's result.
TEST(RasterSpans, PatternCopyXorAndInvertFollowThePixelRuleAtEveryWidth)
{
    constexpr int16_t kWidth = 160, kHeight = 12, kTop = 1, kBottom = 11;
    World w(kWidth, kHeight);
    const Pattern pat{{0x00, 0xFF, 0x81, 0x3C, 0xAA, 0x55, 0xF0, 0x0F}};
    const RGBColor fore{0x1212, 0x3434, 0x5656}, back{0xFEFE, 0xDCDC, 0xBABA};
    RGBForeColor(&fore);
    RGBBackColor(&back);
    PenPat(&pat);
    RgnHandle holed = NewRgn(), hole = NewRgn();
    SetRectRgn(holed, 0, 0, kWidth, kHeight);
    SetRectRgn(hole, 37, 0, 41, kHeight);
    DiffRgn(holed, hole, holed);
    const Rect all{0, 0, kHeight, kWidth};

    for (int16_t mode : {int16_t(patCopy), int16_t(patXor), int16_t(notPatXor), kInvertRect})
        for (bool clipped : {false, true})
            for (int16_t left : {int16_t(0), int16_t(3), int16_t(13)})
                for (int width : {1, 2, 7, 8, 9, 15, 63, 64, 65, 72, 129, 140}) {
                    for (int32_t v = 0; v < kHeight; ++v)
                        for (int32_t h = 0; h < kWidth; ++h)
                            w.Set(h, v, Seed(h, v));
                    if (clipped)
                        SetClip(holed);
                    else
                        ClipRect(&all);
                    const Rect r{kTop, left, kBottom, int16_t(left + width)};
                    if (mode == kInvertRect) {
                        InvertRect(&r);
                    } else {
                        PenMode(mode);
                        PaintRect(&r);
                    }
                    int32_t wrong = 0, firstH = -1, firstV = -1;
                    for (int32_t v = 0; v < kHeight; ++v)
                        for (int32_t h = 0; h < kWidth; ++h) {
                            const bool inside = v >= kTop && v < kBottom && h >= left && h < left + width &&
                                                !(clipped && h >= 37 && h < 41);
                            const uint32_t d = Seed(h, v);
                            const uint32_t want = inside ? Expected(mode, PatternBit(pat, h, v), d) : d;
                            if (w.At(h, v) != want && wrong++ == 0) {
                                firstH = h;
                                firstV = v;
                            }
                        }
                    ASSERT_EQ(wrong, 0) << "mode " << mode << " left " << left << " width " << width
                                        << (clipped ? " clipped" : "") << ", first at " << firstH << ","
                                        << firstV;
                }
    DisposeRgn(hole);
    DisposeRgn(holed);
}
