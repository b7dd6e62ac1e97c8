// The kernel's drawing services for forms: text boxes, tiled and
// transparent pictures, cached bitmaps, each compared pixel for pixel with
// the same drawing made by the platform's own calls.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "forms/drawing/CachedBitmap.h"
#include "forms/drawing/PictureDrawing.h"
#include "forms/drawing/TextBoxes.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Text.h"
#include "platform/pictures/Pictures.h"
#include "tests/forms/DrawnPage.h"

using namespace platform;
using drawntest::PixelPicture;

namespace {

constexpr int16_t kGeneva = 3;

void Font()
{
    TextFont(kGeneva);
    TextSize(12);
    TextFace(normal);
    TextMode(srcOr);
}

int16_t LineHeight()
{
    FontInfo fi{};
    GetFontInfo(&fi);
    return int16_t(fi.ascent + fi.descent + fi.leading);
}

int16_t Ascent()
{
    FontInfo fi{};
    GetFontInfo(&fi);
    return fi.ascent;
}

void TextAt(const std::string& s, int h, int v)
{
    MoveTo(int16_t(h), int16_t(v));
    DrawText(s.data(), 0, int16_t(s.size()));
}

void Box(const std::string& s, const Rect& r, int16_t just)
{
    MyTextBox(reinterpret_cast<const uint8_t*>(s.data()), int32_t(s.size()), r, just);
}

// A 10 x 10 tile: a black square in its top-left quarter and a red line.
Handle Tile()
{
    return PixelPicture(10, 10, [] {
        const Rect q{0, 0, 5, 5};
        PaintRect(&q);
        const RGBColor red{0xFFFF, 0, 0};
        RGBForeColor(&red);
        MoveTo(9, 0);
        LineTo(0, 9);
    });
}

void FillRed(int16_t w, int16_t h)
{
    const RGBColor red{0xFFFF, 0, 0};
    RGBForeColor(&red);
    const Rect all{0, 0, h, w};
    PaintRect(&all);
    ForeColor(blackColor);
}

}  // namespace

TEST(TextBoxes, ThirdLineOnlyWhenItsTopIsInside)
{
    drawntest::Page page(120, 80);
    ASSERT_TRUE(page.Made());
    Font();
    const int16_t lh = LineHeight(), asc = Ascent();
    struct Case {
        int16_t height;
        bool third;
    } cases[] = {{int16_t(2 * lh), false}, {int16_t(2 * lh + 1), true}, {int16_t(2 * lh - 1), false}};
    for (const Case& c : cases) {
        const Rect r{4, 6, int16_t(4 + c.height), 110};
        const auto got = page.Drawn([&] {
            Font();
            Box("ab\rcd\ref", r, -2);
        });
        const auto want = page.Drawn([&] {
            Font();
            TextAt("ab", 7, 4 + asc);
            TextAt("cd", 7, 4 + lh + asc);
            if (c.third) TextAt("ef", 7, 4 + 2 * lh + asc);
        });
        EXPECT_EQ(page.Differ(got, want), "") << c.height;
    }
}

TEST(TextBoxes, OneLineByJustification)
{
    drawntest::Page page(120, 30);
    ASSERT_TRUE(page.Made());
    Font();
    const int16_t asc = Ascent(), lh = LineHeight();
    const int16_t w = TextWidth("Total", 0, 5);
    struct Case {
        int16_t just;
        int x;
    } cases[] = {{-1, 10 + 100 - w}, {1, 10 + (100 - w) / 2}, {-2, 11}, {0, 10}, {7, 10}};
    const Rect r{2, 10, int16_t(2 + lh), 110};
    for (const Case& c : cases) {
        const auto got = page.Drawn([&] {
            Font();
            Box("Total\rnext", r, c.just);
        });
        const auto want = page.Drawn([&] {
            Font();
            TextAt("Total", c.x, 2 + asc);
        });
        EXPECT_EQ(page.Differ(got, want), "") << c.just;
    }
    // Wider than the box: cut after the last character that fits, at least one.
    const int16_t four = TextWidth("abcd", 0, 4);
    const Rect narrow{2, 10, int16_t(2 + lh), int16_t(10 + four + 1)};
    EXPECT_EQ(page.Differ(page.Drawn([&] { Font(), Box("abcdefgh", narrow, -2); }),
                          page.Drawn([&] { Font(), TextAt("abcd", 11, 2 + asc); })),
              "");
    const Rect tiny{2, 10, int16_t(2 + lh), 11};
    EXPECT_EQ(page.Differ(page.Drawn([&] { Font(), Box("Wide", tiny, 0); }),
                          page.Drawn([&] { Font(), TextAt("W", 10, 2 + asc); })),
              "");
}

TEST(TextBoxes, SizesOfBrokenTexts)
{
    drawntest::Page page(10, 10);
    Font();
    const int16_t lh = LineHeight();
    const int16_t ab = TextWidth("ab", 0, 2), abcd = TextWidth("ab cd", 0, 5);
    struct Case {
        std::string text;
        int16_t max, width, height;
    } cases[] = {
        {"ab cd", 200, abcd, lh},
        {"ab cd", int16_t(ab + 2), TextWidth("cd", 0, 2) > ab ? TextWidth("cd", 0, 2) : ab, int16_t(2 * lh)},
        {"ab\r\rcd", 200, TextWidth("cd", 0, 2) > ab ? TextWidth("cd", 0, 2) : ab, int16_t(3 * lh)},
        {"", 200, 0, 0},
    };
    for (const Case& c : cases) {
        int16_t w = -1, h = -1;
        EXPECT_EQ(TextBoxSize(reinterpret_cast<const uint8_t*>(c.text.data()), int32_t(c.text.size()), &w, &h, c.max),
                  lh);
        EXPECT_EQ(w, c.width) << c.text;
        EXPECT_EQ(h, c.height) << c.text;
    }
    unsigned char s[] = "\x05" "ab cd";
    int16_t w = 0, h = 0;
    StringBoxSize(s, &w, &h, 200);
    EXPECT_EQ(w, abcd);
}

TEST(FormPictures, TilesEqualNineClippedPictures)
{
    drawntest::Page page(40, 40);
    ASSERT_TRUE(page.Made());
    Handle tile = Tile();
    ASSERT_NE(tile, nullptr);
    const Rect r{3, 5, 28, 30};  // 25 x 25
    const auto got = page.Drawn([&] { DrawReplicatedPicture(tile, r, false, false); });
    // Nine DrawPicture calls clipped to `clip`.
    auto nine = [&](const Rect& clip) {
        ClipRect(&clip);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x) {
                const Rect at{int16_t(3 + 10 * y), int16_t(5 + 10 * x), int16_t(13 + 10 * y), int16_t(15 + 10 * x)};
                DrawPicture(tile, &at);
            }
        const Rect all{0, 0, 40, 40};
        ClipRect(&all);
    };
    const auto want = page.Drawn([&] { nine(r); });
    EXPECT_EQ(page.Differ(got, want), "");

    // Clipped to a corner: the tiles still start at the rectangle's corner.
    const Rect corner{20, 22, 40, 40};
    const auto part = page.Drawn([&] {
        ClipRect(&corner);
        DrawReplicatedPicture(tile, r, false, false);
        const Rect all{0, 0, 40, 40};
        ClipRect(&all);
    });
    const auto partWant = page.Drawn([&] {
        Rect both{};
        SectRect(&r, &corner, &both);
        nine(both);
    });
    EXPECT_EQ(page.Differ(part, partWant), "");
    KillPicture(tile);
}

TEST(FormPictures, AFrameOfNoSizeDrawsNothing)
{
    drawntest::Page page(20, 20);
    ASSERT_TRUE(page.Made());
    for (Rect frame : {Rect{0, 0, 10, 0}, Rect{0, 0, 0, 10}, Rect{0, 5, 10, 2}}) {
        Handle pict = PixelPicture(10, 10, [] {
            const Rect q{0, 0, 10, 10};
            PaintRect(&q);
        });
        ASSERT_NE(pict, nullptr);
        WriteBE16(reinterpret_cast<uint8_t*>(*pict) + 2, uint16_t(frame.top));
        WriteBE16(reinterpret_cast<uint8_t*>(*pict) + 4, uint16_t(frame.left));
        WriteBE16(reinterpret_cast<uint8_t*>(*pict) + 6, uint16_t(frame.bottom));
        WriteBE16(reinterpret_cast<uint8_t*>(*pict) + 8, uint16_t(frame.right));
        const Rect r{0, 0, 20, 20};
        EXPECT_EQ(page.Differ(page.Drawn([&] { DrawReplicatedPicture(pict, r, false, false); }), page.Drawn([] {})),
                  "");
        KillPicture(pict);
    }
}

TEST(FormPictures, TransparentPicturesLeaveWhiteAlone)
{
    drawntest::Page page(10, 10);
    ASSERT_TRUE(page.Made());
    Handle tile = Tile();
    const Rect r{0, 0, 10, 10};
    for (bool transparent : {true, false}) {
        for (bool tiled : {false, true}) {
            const auto got = page.Drawn([&] {
                FillRed(10, 10);
                if (tiled) DrawReplicatedPicture(tile, r, transparent, false);
                else DrawPictureTransparent(tile, r, transparent, false);
            });
            EXPECT_EQ(got[0], 0x000000u);            // the black quarter
            EXPECT_EQ(got[9 * 10 + 9], transparent ? 0xFF0000u : 0xFFFFFFu) << "white corner";
            EXPECT_EQ(got[9 * 10 + 0], 0xFF0000u);   // on the red line
        }
    }
    // The port's procedures are its own again afterwards.
    GrafPtr port = nullptr;
    GetPort(&port);
    EXPECT_EQ(port->grafProcs, nullptr);
    KillPicture(tile);
}

TEST(CachedBitmaps, DrawnPlainTransparentAndThroughAMask)
{
    drawntest::Page page(10, 10);
    ASSERT_TRUE(page.Made());
    Handle tile = Tile();
    Handle mask = PixelPicture(10, 10, [] {
        const Rect left{0, 0, 10, 3};
        PaintRect(&left);  // only the three left columns come through
    });
    VCachedBitmap plain(tile, nullptr, 0, 0);
    VCachedBitmap masked(tile, mask, 0, 0);
    ASSERT_TRUE(plain.HasPixels());
    ASSERT_TRUE(masked.HasMask());
    EXPECT_EQ(plain.GetWidth(), 10);
    const Rect r{0, 0, 10, 10};
    const auto opaque = page.Drawn([&] { FillRed(10, 10), plain.Draw(r, false, 0xFFFFFF, false); });
    EXPECT_EQ(opaque[9 * 10 + 9], 0xFFFFFFu);
    const auto clear = page.Drawn([&] { FillRed(10, 10), plain.Draw(r, true, 0xFFFFFF, false); });
    EXPECT_EQ(clear[9 * 10 + 9], 0xFF0000u);
    const auto through = page.Drawn([&] { FillRed(10, 10), masked.Draw(r, false, 0xFFFFFF, false); });
    EXPECT_EQ(through[0], 0x000000u) << "inside the mask: the picture";
    EXPECT_EQ(through[1 * 10 + 2], 0x000000u);
    EXPECT_EQ(through[9 * 10 + 9], 0xFF0000u) << "outside the mask: what was there";
    EXPECT_EQ(through[4 * 10 + 4], 0xFF0000u);
    // A damaged picture leaves no pixels: drawing does nothing.
    Handle cut = NewHandleClear(12);
    WriteBE16(reinterpret_cast<uint8_t*>(*cut) + 6, 10);
    WriteBE16(reinterpret_cast<uint8_t*>(*cut) + 8, 10);
    EXPECT_EQ(VCachedBitmap::FromPicHandle(cut), nullptr);
    DisposeHandle(cut);
    KillPicture(mask);
    KillPicture(tile);
}

TEST(CachedBitmaps, DeletingOneTakesItOutOfTheCache)
{
    VResBitmapCache::Init();
    VResBitmapCache* cache = VResBitmapCache::sBitmapResCache;
    ASSERT_NE(cache, nullptr);
    Handle tile = Tile();
    auto* first = new VCachedBitmap(tile, nullptr, 0, 0);
    auto* second = new VCachedBitmap(tile, nullptr, 4, 4);
    EXPECT_EQ(second->GetWidth(), 4);
    ASSERT_TRUE(cache->Add(7, first));
    ASSERT_TRUE(cache->Add(8, second));
    EXPECT_FALSE(cache->Add(8, first)) << "an id holds one bitmap";
    EXPECT_TRUE(first->InCache());
    EXPECT_EQ(first->CacheKey(), 7);
    first->Release();
    EXPECT_EQ(cache->Find(7), nullptr);
    EXPECT_EQ(cache->Find(8), second);
    EXPECT_EQ(cache->Count(), 1);
    cache->Clear();
    EXPECT_EQ(cache->Count(), 0);
    KillPicture(tile);
}
