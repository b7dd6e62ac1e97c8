#include <gtest/gtest.h>

#include "platform/drawing/Blits.h"
#include "platform/drawing/PixMaps.h"
#include "platform/drawing/Recording.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "tests/platform/drawing/DrawingTestSupport.h"

using namespace platform;
using namespace drawingtest;

namespace {

// Ink (black) truth tables of the four boolean operations, with not forms.
bool Expected(int mode, bool dst, bool src)
{
    if (mode & 4)
        src = !src;
    switch (mode & 3) {
    case 0: return src;
    case 1: return dst || src;
    case 2: return dst != src;
    default: return dst && !src;
    }
}

// Row 0 is white, row 1 black; columns 0-3 get ink from the source.
void PrepareBackground(const World& w)
{
    for (int h = 0; h < 8; ++h) {
        w.Set(h, 0, kWhite);
        w.Set(h, 1, kBlack);
    }
}

void CheckTruthTable(const World& w, int mode)
{
    for (int v = 0; v < 2; ++v)
        for (int h = 0; h < 8; ++h) {
            bool want = Expected(mode, v == 1, h < 4);
            ASSERT_EQ(w.At(h, v), want ? kBlack : kWhite) << "mode " << mode << " at " << h << "," << v;
        }
}

}  // namespace

TEST(Modes, BooleanModesFollowTheirTruthTables)
{
    World w(8, 2);
    Pattern left{{0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0}};
    Rect all{0, 0, 2, 8};
    uint8_t srcBits[4] = {0xF0, 0, 0xF0, 0};  // two rows of 2 bytes
    BitMap src{reinterpret_cast<Ptr>(srcBits), 2, {0, 0, 2, 8}};
    for (int mode = 0; mode < 16; ++mode) {
        PrepareBackground(w);
        PenPat(&left);
        PenMode(int16_t(mode));
        PaintRect(&all);
        CheckTruthTable(w, mode);
        if (mode < 8) {
            PrepareBackground(w);
            CopyBits(&src, w.bits(), &all, &all, int16_t(mode), nullptr);
            CheckTruthTable(w, mode);
            // A 32-bit source gives the same answers.
            World colourSource(8, 2);
            colourSource.Set(0, 0, kBlack);
            for (int v = 0; v < 2; ++v)
                for (int h = 0; h < 8; ++h)
                    colourSource.Set(h, v, h < 4 ? kBlack : kWhite);
            SetGWorld(w.get(), nullptr);
            PrepareBackground(w);
            CopyBits(colourSource.bits(), w.bits(), &all, &all, int16_t(mode), nullptr);
            CheckTruthTable(w, mode);
        }
    }
    // Transparent: the source's background colour leaves the pixels alone.
    PrepareBackground(w);
    w.Set(5, 1, 0x123456);
    CopyBits(&src, w.bits(), &all, &all, transparent, nullptr);
    EXPECT_EQ(w.At(0, 0), kBlack);
    EXPECT_EQ(w.At(5, 0), kWhite);
    EXPECT_EQ(w.At(5, 1), 0x123456u);
    // Drawn with the pen, transparent paints the pattern's ink and leaves
    // its paper alone.
    PrepareBackground(w);
    w.Set(5, 1, 0x123456);
    PenMode(transparent);
    PaintRect(&all);
    EXPECT_EQ(w.At(0, 0), kBlack);
    EXPECT_EQ(w.At(3, 1), kBlack);
    EXPECT_EQ(w.At(5, 0), kWhite);
    EXPECT_EQ(w.At(5, 1), 0x123456u);
    // Pattern modes draw the fore colour for ink and the back colour for paper.
    RGBColor red{0xFFFF, 0, 0}, blue{0, 0, 0xFFFF};
    RGBForeColor(&red);
    RGBBackColor(&blue);
    PenMode(patCopy);
    PaintRect(&all);
    EXPECT_EQ(w.At(0, 0), 0xFF0000u);
    EXPECT_EQ(w.At(7, 1), 0x0000FFu);
    PenMode(patBic);
    PaintRect(&all);
    EXPECT_EQ(w.At(0, 0), 0x0000FFu);
}

TEST(Modes, XorTwiceRestoresAndInvertIsExact)
{
    World w;
    for (int v = 0; v < 64; ++v)
        for (int h = 0; h < 64; ++h)
            w.Set(h, v, uint32_t(h * 4) << 16 | uint32_t(v * 4) << 8 | 0x37);
    World copy;
    Rect all{0, 0, 64, 64};
    CopyBits(w.bits(), copy.bits(), &all, &all, srcCopy, nullptr);
    SetGWorld(w.get(), nullptr);
    Rect r{5, 6, 50, 60};
    PenMode(patXor);
    PenSize(3, 2);
    for (int pass = 0; pass < 2; ++pass) {
        FrameOval(&r);
        FrameRoundRect(&r, 10, 10);
        PaintArc(&r, 10, 100);
        MoveTo(1, 1);
        LineTo(60, 40);
    }
    InvertRect(&r);
    EXPECT_EQ(w.At(10, 10), (uint32_t(40) << 16 | uint32_t(40) << 8 | 0x37) ^ 0xFFFFFF);
    InvertRect(&r);
    for (int v = 0; v < 64; ++v)
        for (int h = 0; h < 64; ++h)
            ASSERT_EQ(w.At(h, v), copy.At(h, v)) << h << "," << v;
    CopyBits(copy.bits(), w.bits(), &r, &r, srcXor, nullptr);
    CopyBits(copy.bits(), w.bits(), &r, &r, srcXor, nullptr);
    for (int v = 0; v < 64; ++v)
        for (int h = 0; h < 64; ++h)
            ASSERT_EQ(w.At(h, v), copy.At(h, v)) << h << "," << v;
    // The highlight switch turns one inversion into a highlight.
    Rect cell{0, 0, 4, 4};
    w.Set(0, 0, kWhite);
    LMSetHiliteMode(uint8_t(LMGetHiliteMode() & 0x7F));
    InvertRect(&cell);
    EXPECT_EQ(w.At(0, 0), 0xB5D5FFu);
    EXPECT_TRUE(LMGetHiliteMode() & 0x80);
}

TEST(Modes, TheClipRegionLimitsEveryPrimitive)
{
    World w;
    World source;
    Rect all{0, 0, 64, 64};
    PaintRect(&all);  // source is black
    SetGWorld(w.get(), nullptr);
    Rect clip{20, 20, 30, 30};
    ClipRect(&clip);
    RgnHandle rgn = NewRgn();
    RectRgn(rgn, &all);
    PolyHandle poly = OpenPoly();
    MoveTo(0, 0);
    LineTo(63, 0);
    LineTo(0, 63);
    LineTo(0, 0);
    ClosePoly();
    PenSize(3, 3);
    auto outsideUntouched = [&](const char* what) {
        for (int v = 0; v < 64; ++v)
            for (int h = 0; h < 64; ++h)
                if (h < 20 || h >= 30 || v < 20 || v >= 30) {
                    ASSERT_EQ(w.At(h, v), kWhite) << what << " at " << h << "," << v;
                }
    };
    PaintRect(&all);
    outsideUntouched("rect");
    PaintOval(&all);
    FrameOval(&all);
    outsideUntouched("oval");
    PaintRoundRect(&all, 20, 20);
    PaintArc(&all, 0, 270);
    FrameArc(&all, 0, 270);
    outsideUntouched("round rect and arc");
    PaintPoly(poly);
    FramePoly(poly);
    outsideUntouched("polygon");
    PaintRgn(rgn);
    FrameRgn(rgn);
    MoveTo(0, 0);
    LineTo(63, 63);
    outsideUntouched("region and line");
    CopyBits(source.bits(), w.bits(), &all, &all, srcCopy, nullptr);
    outsideUntouched("CopyBits");
    InvertRect(&all);
    ScrollRect(&all, 5, 5, nullptr);
    outsideUntouched("invert and scroll");
    EXPECT_EQ(w.At(25, 25), kWhite);  // inverted back to white from black
    KillPoly(poly);
    DisposeRgn(rgn);
}
