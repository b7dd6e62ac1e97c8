// Text drawn into a port with one-bit glyphs: where the pen goes, where
// ink may fall, and what each transfer mode, the clip, the space extra and
// the faces do.
#include <gtest/gtest.h>

#include <vector>

#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/Fonts.h"
#include "tests/platform/drawing/DrawingTestSupport.h"

namespace {

using namespace platform;
using drawingtest::kBlack;
using drawingtest::kWhite;
using drawingtest::World;

const unsigned char* P(const char* s) { return reinterpret_cast<const unsigned char*>(s); }

// A world with one-bit glyphs and the application font at 12.
struct TextWorld : World {
    TextWorld() : World(80, 40)
    {
        QDSwapTextFlags(kQDUseTrueTypeScalerGlyphs | kQDUseCGTextMetrics);
        TextFont(applFont);
        TextSize(12);
        Rect all{0, 0, 40, 80};
        EraseRect(&all);
    }
    ~TextWorld() { QDSwapTextFlags(kQDUseTrueTypeScalerGlyphs | kQDUseCGTextRendering | kQDUseCGTextMetrics); }
    std::vector<uint32_t> Pixels() const
    {
        std::vector<uint32_t> p;
        for (int v = 0; v < 40; ++v)
            for (int h = 0; h < 80; ++h) p.push_back(At(h, v));
        return p;
    }
    bool InkOutside(const Rect& r) const
    {
        for (int v = 0; v < 40; ++v)
            for (int h = 0; h < 80; ++h)
                if (At(h, v) != kWhite && !(h >= r.left && h < r.right && v >= r.top && v < r.bottom)) return true;
        return false;
    }
    int32_t Count(uint32_t rgb, const Rect& r) const
    {
        int32_t n = 0;
        for (int v = r.top; v < r.bottom; ++v)
            for (int h = r.left; h < r.right; ++h) n += At(h, v) == rgb;
        return n;
    }
};

TEST(TextDrawing, HelloMovesThePenByItsWidthAndInksOnlyItsBox)
{
    TextWorld w;
    MoveTo(10, 20);
    DrawString(P("\x05Hello"));
    Point pen;
    GetPen(&pen);
    EXPECT_EQ(pen.h, 39);
    EXPECT_EQ(pen.v, 20);
    const Rect box{8, 10, 23, 39};
    EXPECT_FALSE(w.InkOutside(box));
    EXPECT_GT(w.Count(kBlack, box), 40);
    for (uint32_t p : w.Pixels()) EXPECT_TRUE(p == kBlack || p == kWhite) << "one-bit glyphs are exact";
}

TEST(TextDrawing, TransferModesTreatInkAndPaperAsTheyShould)
{
    TextWorld w;
    const Rect box{8, 10, 23, 39};
    // Xor twice gives the world back, over any picture.
    Rect stripe{12, 0, 18, 80};
    PaintRect(&stripe);
    const std::vector<uint32_t> before = w.Pixels();
    TextMode(srcXor);
    MoveTo(10, 20);
    DrawString(P("\x05Hello"));
    EXPECT_NE(w.Pixels(), before);
    MoveTo(10, 20);
    DrawString(P("\x05Hello"));
    EXPECT_EQ(w.Pixels(), before);

    // Or leaves the paper alone; copy paints the back colour in the box.
    TextMode(srcOr);
    MoveTo(10, 20);
    DrawString(P("\x05Hello"));
    EXPECT_EQ(w.At(20, 13), kBlack) << "the stripe stays under or";
    TextMode(srcCopy);
    MoveTo(10, 20);
    DrawString(P("\x05Hello"));
    EXPECT_GT(w.Count(kWhite, Rect{12, 10, 18, 39}), 0) << "copy clears the stripe inside the box";
    EXPECT_EQ(w.At(9, 13), kBlack) << "but not outside it";
    EXPECT_EQ(w.At(39, 13), kBlack);
    EXPECT_EQ(w.Count(kBlack, Rect{12, 10, 18, 39}) + w.Count(kWhite, Rect{12, 10, 18, 39}), 6 * 29);

    // Bic paints the back colour under the ink.
    Rect all{0, 0, 40, 80};
    PaintRect(&all);
    TextMode(srcBic);
    MoveTo(10, 20);
    DrawString(P("\x05Hello"));
    EXPECT_GT(w.Count(kWhite, box), 40);
    EXPECT_EQ(w.Count(kWhite, Rect{0, 0, 40, 80}), w.Count(kWhite, box)) << "bic touches only the ink";

    // notSrcCopy: the box in the fore colour, the glyphs in the back colour.
    EraseRect(&all);
    TextMode(notSrcCopy);
    MoveTo(10, 20);
    DrawString(P("\x05Hello"));
    EXPECT_GT(w.Count(kBlack, box), 15 * 29 / 2);
    EXPECT_FALSE(w.InkOutside(box));
}

TEST(TextDrawing, TheClipLimitsTheInk)
{
    TextWorld w;
    Rect left{0, 0, 40, 20};
    ClipRect(&left);
    MoveTo(10, 20);
    DrawString(P("\x05Hello"));
    EXPECT_FALSE(w.InkOutside(Rect{8, 10, 23, 20}));
    EXPECT_GT(w.Count(kBlack, Rect{8, 10, 23, 20}), 0);
    Point pen;
    GetPen(&pen);
    EXPECT_EQ(pen.h, 39) << "the pen moves by the whole text";
}

TEST(TextDrawing, SpacingFacesAndPositionsAgreeWithTheWidths)
{
    TextWorld w;
    const int16_t plain = StringWidth(P("\x03" "a b"));
    SpaceExtra(2 << 16);
    EXPECT_EQ(StringWidth(P("\x03" "a b")), plain + 2);
    SpaceExtra(0);

    // A negative extra narrows spaces but never moves the pen back.
    SpaceExtra(-40 << 16);
    int16_t spaced[4] = {};
    MeasureText(3, "a b", spaced);
    EXPECT_EQ(spaced[2], spaced[1]);
    EXPECT_EQ(spaced[3], CharWidth('a') + CharWidth('b'));
    EXPECT_EQ(StringWidth(P("\x03" "a b")), spaced[3]);
    SpaceExtra(0);

    const int16_t hello = StringWidth(P("\x05Hello"));
    TextFace(condense);
    EXPECT_EQ(StringWidth(P("\x05Hello")), hello - 5);
    TextFace(extend);
    EXPECT_EQ(StringWidth(P("\x05Hello")), hello + 5);
    TextFace(normal);

    int16_t locs[6] = {};
    MeasureText(5, "Hello", locs);
    EXPECT_EQ(locs[0], 0);
    for (int i = 1; i <= 5; ++i) EXPECT_GT(locs[i], locs[i - 1]);
    EXPECT_EQ(locs[5], TextWidth("Hello", 0, 5));
    EXPECT_EQ(locs[1], CharWidth('H'));

    // Faces that draw more than ink draw outside the plain glyphs.
    TextFace(underline);
    MoveTo(10, 20);
    DrawString(P("\x05Hello"));
    EXPECT_EQ(w.Count(kBlack, Rect{21, 10, 22, 39}), 29) << "the underline runs pen to pen";
}

TEST(TextDrawing, OneBitPortsTakeTheSameInkAndLongLinesOnlyWhatShows)
{
    World deep(80, 40), flat(80, 40, 1);
    QDSwapTextFlags(kQDUseTrueTypeScalerGlyphs);  // after the worlds' reset
    for (World* w : {&deep, &flat}) {
        SetGWorld(w->get(), nullptr);
        TextFont(applFont);
        TextSize(12);
        Rect all{0, 0, 40, 80};
        EraseRect(&all);
        MoveTo(10, 20);
        DrawString(P("\x05Hello"));
    }
    for (int v = 0; v < 40; ++v)
        for (int h = 0; h < 80; ++h) ASSERT_EQ(deep.At(h, v), flat.At(h, v)) << h << "," << v;

    // A line far longer than the port, outlined: drawn where it shows, and
    // the pen still moves by all of it.
    SetGWorld(deep.get(), nullptr);
    std::vector<char> line(2000, 'W');
    TextFace(outline);
    const int16_t width = TextWidth(line.data(), 0, 2000);
    EXPECT_GT(width, 20000);
    MoveTo(-20000, 20);
    DrawText(line.data(), 0, 2000);
    Point pen;
    GetPen(&pen);
    EXPECT_EQ(pen.h, -20000 + width);
    EXPECT_GT(deep.CountNot(kWhite), 100);
    QDSwapTextFlags(kQDUseTrueTypeScalerGlyphs | kQDUseCGTextRendering | kQDUseCGTextMetrics);
}

TEST(TextDrawing, GreyGlyphsAreDeterministicAndSpecialBytesDraw)
{
    World a(80, 40), b(80, 40);
    for (World* w : {&a, &b}) {
        SetGWorld(w->get(), nullptr);
        TextFont(kFontIDTimes);
        TextSize(14);
        MoveTo(2, 20);
        DrawString(P("\x06Grey\x11\x12"));
    }
    bool grey = false, same = true;
    for (int v = 0; v < 40; ++v)
        for (int h = 0; h < 80; ++h) {
            const uint32_t p = a.At(h, v);
            grey = grey || (p != kBlack && p != kWhite);
            same = same && p == b.At(h, v);
        }
    EXPECT_TRUE(grey) << "anti-aliased by default";
    EXPECT_TRUE(same);
    // The command key and the check mark come from the fallback font.
    SetGWorld(a.get(), nullptr);
    EXPECT_GT(CharWidth(0x11), 0);
    EXPECT_GT(CharWidth(0x12), 0);
    EXPECT_EQ(CharWidth(0x0D), 0) << "control bytes draw nothing";
}

TEST(TextDrawing, TheMenuFamilyDrawsTheMenusGlyphs)
{
    TextWorld w;
    TextFont(systemFont);
    const int16_t f1 = StringWidth(P("\x02" "F1"));
    const int16_t zero = CharWidth('0');
    const int16_t letter = CharWidth('Z');
    TextFont(kFontIDMenuGlyphs);
    EXPECT_EQ(CharWidth(5), f1) << "function keys are spelled out";
    EXPECT_NE(CharWidth('0'), zero) << "'0' is the check mark";
    EXPECT_GT(CharWidth(2), 0);
    EXPECT_EQ(CharWidth('Z'), letter) << "other bytes are plain text";
    MoveTo(4, 20);
    DrawChar(16);  // F12
    Point pen;
    GetPen(&pen);
    EXPECT_EQ(pen.h, 4 + CharWidth(16));
    EXPECT_GT(w.Count(kBlack, Rect{0, 0, 40, 80}), 10);
    EXPECT_FALSE(w.InkOutside(Rect{4, 3, 25, pen.h}));
}

}  // namespace
