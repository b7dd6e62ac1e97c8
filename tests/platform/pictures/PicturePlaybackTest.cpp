// Pictures written by hand from the published layout play as that layout
// says; damaged ones stop at the first bad opcode and say so.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/PixelChanges.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/Fonts.h"
#include "platform/pictures/Pictures.h"
#include "tests/platform/drawing/DrawingTestSupport.h"
#include "tests/platform/pictures/ImageTestFiles.h"
#include "tests/platform/pictures/PictureTestSupport.h"

namespace {

using namespace platform;
using drawingtest::kBlack;
using drawingtest::kWhite;
using drawingtest::World;
using picturetest::Bytes;
using picturetest::Finish;
using picturetest::Version2;

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;
const Rect kFrame{0, 0, 32, 64};
const Rect kRect{2, 2, 8, 20};
const Rect kOval{4, 30, 14, 60};

// Plays the picture at its frame into a fresh white world.
OSErr Play(World& w, Handle pic, const Rect& dst = kFrame)
{
    DrawPicture(pic, &dst);
    OSErr err = QDError();
    DisposeHandle(pic);
    (void)w;
    return err;
}

// Pixel-map fields after rowBytes and bounds, 72 dpi, no table handle.
void PixMapTail(Bytes& b, int packType, int pixelType, int pixelSize, int cmpCount, int cmpSize)
{
    b.U16(0).U16(uint32_t(packType)).U32(0).U32(72 << 16).U32(72 << 16);
    b.U16(uint32_t(pixelType)).U16(uint32_t(pixelSize)).U16(uint32_t(cmpCount)).U16(uint32_t(cmpSize));
    b.U32(0).U32(0).U32(0);
}

TEST(PicturePlayback, PackedBitsAtOneAndEightBits)
{
    World w(64, 32);
    Bytes b = Version2(0, 0, 32, 64);
    // One bit, 64 wide: rows packed as a run of black bytes then white.
    b.Op(0x0098).U16(8).R(0, 0, 2, 64).R(0, 0, 2, 64).R(0, 0, 2, 64).U16(0);
    for (int row = 0; row < 2; ++row)
        b.U8(4).Raw({0xFD, 0xFF, 0xFD, 0x00});
    // Eight bits with a two-colour table: blue, then blue and red in turn.
    b.Op(0x0098).U16(0x8008).R(0, 0, 2, 8);
    PixMapTail(b, 0, 0, 8, 1, 8);
    b.U32(0).U16(0).U16(1).U16(0).U16(0xFFFF).U16(0).U16(0).U16(1).U16(0).U16(0).U16(0xFFFF);
    b.R(0, 0, 2, 8).R(10, 0, 12, 8).U16(0);
    b.U8(2).Raw({0xF9, 0x01});
    b.U8(9).Raw({0x07, 0, 1, 0, 1, 0, 1, 0, 1});
    EXPECT_EQ(Play(w, Finish(b)), noErr);
    EXPECT_EQ(w.At(0, 0), kBlack);
    EXPECT_EQ(w.At(31, 1), kBlack);
    EXPECT_EQ(w.At(32, 0), kWhite);
    EXPECT_EQ(w.At(0, 10), kBlue);
    EXPECT_EQ(w.At(7, 10), kBlue);
    EXPECT_EQ(w.At(0, 11), kRed);
    EXPECT_EQ(w.At(1, 11), kBlue);
}

// A table's entries land at their value, or in order for a device's table;
// a value past the pixel size's colours is ignored.
TEST(PicturePlayback, ColourTableEntriesLandWhereTheTableSays)
{
    World w(64, 32);
    Bytes b = Version2(0, 0, 32, 64);
    // One bit, 8 wide, rowBytes 2 (stored raw): the first pixel 1, the rest 0.
    b.Op(0x0098).U16(0x8002).R(0, 0, 1, 8);
    PixMapTail(b, 0, 0, 1, 1, 1);
    b.U32(0).U16(0).U16(2);  // three entries
    b.U16(0).U16(0xFFFF).U16(0).U16(0);        // 0: red
    b.U16(1).U16(0).U16(0).U16(0xFFFF);        // 1: blue
    b.U16(2).U16(0).U16(0xFFFF).U16(0);        // 2: no such colour at one bit
    b.R(0, 0, 1, 8).R(10, 0, 11, 8).U16(0);
    b.Raw({0x80, 0x00});
    // The same with a device's table: values 5 and 7 are entries 0 and 1.
    b.Op(0x0098).U16(0x8002).R(0, 0, 1, 8);
    PixMapTail(b, 0, 0, 1, 1, 1);
    b.U32(0).U16(0x8000).U16(1);
    b.U16(5).U16(0).U16(0).U16(0xFFFF);        // entry 0: blue
    b.U16(7).U16(0xFFFF).U16(0).U16(0);        // entry 1: red
    b.R(0, 0, 1, 8).R(12, 0, 13, 8).U16(0);
    b.Raw({0x80, 0x00});
    EXPECT_EQ(Play(w, Finish(b)), noErr);
    EXPECT_EQ(w.At(0, 10), kBlue);
    EXPECT_EQ(w.At(1, 10), kRed);
    EXPECT_EQ(w.At(7, 10), kRed);
    EXPECT_EQ(w.At(0, 12), kRed);
    EXPECT_EQ(w.At(1, 12), kBlue);
}

TEST(PicturePlayback, DirectBitsInEveryPacking)
{
    World w(64, 32);
    Bytes b = Version2(0, 0, 32, 64);
    auto direct = [&](int rowBytes, int width, int packType, int pixelSize, int top) {
        b.Op(0x009A).U32(0xFF).U16(uint32_t(0x8000 | rowBytes)).R(0, 0, 1, width);
        PixMapTail(b, packType, 16, pixelSize, 3, pixelSize == 16 ? 5 : 8);
        b.R(0, 0, 1, width).R(top, 0, top + 1, width).U16(0);
    };
    direct(8, 2, 1, 32, 0);  // unpacked 32-bit words
    b.Raw({0, 0xFF, 0, 0, 0, 0, 0xFF, 0});
    direct(16, 4, 2, 32, 2);  // the pad byte left out
    b.Raw({0xFF, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0xFF});
    direct(16, 4, 4, 32, 4);  // packed component planes
    b.U8(13).Raw({0x0B, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});
    direct(8, 4, 3, 16, 6);  // 16-bit pixels packed as words
    b.U8(3).Raw({0xFD, 0x7C, 0x00});
    EXPECT_EQ(Play(w, Finish(b)), noErr);
    EXPECT_EQ(w.At(0, 0), kRed);
    EXPECT_EQ(w.At(1, 0), kGreen);
    EXPECT_EQ(w.At(1, 2), kRed);
    EXPECT_EQ(w.At(2, 2), kBlue);
    EXPECT_EQ(w.At(3, 4), kGreen);
    EXPECT_EQ(w.At(3, 6), kRed);
}

TEST(PicturePlayback, PixelPatternFillsWithItsOwnColours)
{
    World w(64, 32);
    Bytes b = Version2(0, 0, 32, 64);
    b.Op(0x0014).U16(1).Raw({0, 0, 0, 0, 0, 0, 0, 0});
    b.U16(0x8002).R(0, 0, 2, 2);  // no base address in a pattern's map
    PixMapTail(b, 0, 0, 8, 1, 8);
    b.U32(0).U16(0).U16(1).U16(0).U16(0xFFFF).U16(0).U16(0).U16(1).U16(0).U16(0xFFFF).U16(0);
    b.Raw({0, 1, 1, 0});
    b.Op(0x0034).R(0, 0, 4, 4);
    // A plain pattern afterwards puts the one-bit pattern back.
    b.Op(0x000A).Raw({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    b.Op(0x0034).R(10, 10, 12, 12);
    EXPECT_EQ(Play(w, Finish(b)), noErr);
    EXPECT_EQ(w.At(0, 0), kRed);
    EXPECT_EQ(w.At(1, 0), kGreen);
    EXPECT_EQ(w.At(0, 1), kGreen);
    EXPECT_EQ(w.At(3, 3), kRed);
    EXPECT_EQ(w.At(4, 4), kWhite);
    EXPECT_EQ(w.At(10, 10), kBlack);
}

TEST(PicturePlayback, TextFollowsTheFontNameAndRelativeMoves)
{
    QDSwapTextFlags(kQDUseTrueTypeScalerGlyphs | kQDUseCGTextMetrics);
    std::string longText(300, 'x');
    std::vector<uint32_t> expected;
    {
        World w(64, 32);
        TextFont(kFontIDGeneva);
        TextSize(12);
        MoveTo(2, 12);
        DrawText("Hi", 0, 2);
        MoveTo(22, 12);
        DrawText("A", 0, 1);
        MoveTo(22, 27);
        DrawText("B", 0, 1);
        MoveTo(27, 30);
        DrawText("C", 0, 1);
        MoveTo(40, 30);
        DrawText(longText.data(), 0, 255);
        for (int v = 0; v < 32; ++v)
            for (int h = 0; h < 64; ++h)
                expected.push_back(w.At(h, v));
    }
    World w(64, 32);
    Bytes b = Version2(0, 0, 32, 64);
    // The picture's number 77 is Geneva by name.
    b.Op(0x002C).U16(9).U16(77).U8(6).Raw({'G', 'e', 'n', 'e', 'v', 'a'});
    b.Op(0x0003).U16(77).Op(0x000D).U16(12);
    b.Op(0x0028).U16(12).U16(2).U8(2).Raw({'H', 'i'});
    b.Op(0x0029).U8(20).U8(1).Raw({'A'});
    b.Op(0x002A).U8(15).U8(1).Raw({'B'});
    b.Op(0x002B).U8(5).U8(3).U8(1).Raw({'C'});
    b.Op(0x0028).U16(30).U16(40).U8(255);
    b.Raw(std::vector<uint8_t>(255, 'x'));
    EXPECT_EQ(Play(w, Finish(b)), noErr);
    QDSwapTextFlags(kQDUseTrueTypeScalerGlyphs | kQDUseCGTextRendering | kQDUseCGTextMetrics);
    int differ = 0, ink = 0;
    for (int v = 0; v < 32; ++v)
        for (int h = 0; h < 64; ++h) {
            differ += w.At(h, v) != expected[size_t(v * 64 + h)];
            ink += w.At(h, v) != kWhite;
        }
    EXPECT_EQ(differ, 0);
    EXPECT_GT(ink, 20);
    EXPECT_EQ(GetPortTextFont(w.get()), 0);  // the port's settings come back
}

TEST(PicturePlayback, PenFractionAndCharacterExtraPlayAndTheExtraWidensText)
{
    // Shapes and text with the pen's fraction (0x0015) and a character
    // extra (0x0016, 4.12) between them: the pixels of the same drawing
    // made directly with that extra (none for 0); the port keeps none.
    QDSwapTextFlags(kQDUseTrueTypeScalerGlyphs | kQDUseCGTextMetrics);
    for (const int16_t extra412 : {int16_t(0), int16_t(0x2800)}) {
        std::vector<uint32_t> expected;
        {
            World direct(64, 32);
            PaintRect(&kRect);
            TextFont(kFontIDGeneva), TextSize(12), CharExtra(Fixed(extra412) * 16), MoveTo(2, 28);
            DrawText("Hill", 0, 4);
            CharExtra(0);
            FrameOval(&kOval);
            for (int i = 0; i < 64 * 32; ++i) expected.push_back(direct.At(i % 64, i / 64));
        }
        World w(64, 32);
        Bytes b = Version2(0, 0, 32, 64);
        b.Op(0x0031).R(kRect.top, kRect.left, kRect.bottom, kRect.right);
        b.Op(0x0015).U16(0x4000).Op(0x0016).U16(uint16_t(extra412));
        b.Op(0x0003).U16(kFontIDGeneva).Op(0x000D).U16(12);
        b.Op(0x0028).U16(28).U16(2).U8(4).Raw({'H', 'i', 'l', 'l'});
        b.Op(0x0016).U16(0).Op(0x0050).R(kOval.top, kOval.left, kOval.bottom, kOval.right);
        EXPECT_EQ(Play(w, Finish(b)), noErr) << extra412;
        int differ = 0;
        for (int i = 0; i < 64 * 32; ++i) differ += w.At(i % 64, i / 64) != expected[size_t(i)];
        EXPECT_EQ(differ, 0) << extra412;
        EXPECT_EQ(w.get()->chExtra, 0);
    }
    QDSwapTextFlags(kQDUseTrueTypeScalerGlyphs | kQDUseCGTextRendering | kQDUseCGTextMetrics);
    World w(64, 32);
    const int16_t plain = TextWidth("Hill", 0, 4);
    CharExtra(Fixed(5) << 15);
    EXPECT_EQ(TextWidth("Hill", 0, 4), plain + 10);  // 2.5 pixels a character
    CharExtra(-(Fixed(100) << 16));
    EXPECT_EQ(TextWidth("Hill", 0, 4), 0);  // never backwards
}

TEST(PicturePlayback, VersionOneWithLongCommentAndReservedOpcodes)
{
    World w(64, 32);
    static std::vector<std::string> seen;
    seen.clear();
    QDProcs procs;
    SetStdProcs(&procs);
    procs.commentProc = [](int16_t kind, int16_t size, Handle h) {
        seen.push_back(std::to_string(kind) + ":" + (h ? std::string(*h, size_t(size)) : ""));
    };
    w.get()->grafProcs = &procs;
    Bytes v1;
    v1.U16(0).R(0, 0, 32, 64).U8(0x11).U8(0x01);
    v1.U8(0x31).R(2, 2, 6, 6);
    v1.U8(0xA1).U16(150).U16(3).Raw({'x', 'y', 'z'});  // no padding in version 1
    v1.U8(0xA0).U16(151);
    v1.U8(0x30).R(10, 10, 14, 14);
    EXPECT_EQ(Play(w, Finish(v1, false)), codecBadDataErr);  // no end opcode
    v1.U8(0xFF);
    EXPECT_EQ(Play(w, Finish(v1, false)), noErr);
    w.get()->grafProcs = nullptr;
    EXPECT_EQ(w.At(3, 3), kBlack);
    EXPECT_EQ(w.At(10, 10), kBlack);
    EXPECT_EQ(w.At(11, 11), kWhite);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0], "150:xyz");
    EXPECT_EQ(seen[1], "151:");

    // Version 2 opcodes kept for later are skipped by their published lengths.
    World w2(64, 32);
    Bytes b = Version2(0, 0, 32, 64);
    b.Op(0x0024).U16(4).U32(0xDEADBEEF);
    b.Op(0x00B0);
    b.Op(0x00D0).U32(6).Raw({1, 2, 3, 4, 5, 6});
    b.Op(0x0100).U16(0xFFFF);
    b.Op(0x7F00).Raw(std::vector<uint8_t>(254, 0x31));
    b.Op(0x8000);
    b.Op(0x8100).U32(3).Raw({7, 8, 9});
    b.Op(0x8201).U32(2).U16(0);
    b.Op(0x0031).R(0, 0, 4, 4);
    EXPECT_EQ(Play(w2, Finish(b)), noErr);
    EXPECT_EQ(w2.At(3, 3), kBlack);
}

// The compressed-image opcode around image bytes of the given codec.
void QuickTime(Bytes& b, const std::vector<uint8_t>& data, const char* codec, int width, int height, int left,
               int top)
{
    Bytes q;
    q.U16(0);
    const uint32_t matrix[9] = {0x10000, 0, 0, 0, 0x10000, 0, uint32_t(left) << 16, uint32_t(top) << 16,
                                0x40000000};
    for (uint32_t m : matrix)
        q.U32(m);
    q.U32(0).R(0, 0, 0, 0).U16(0).R(0, 0, height, width).U32(0).U32(0);
    q.U32(86).Raw({uint8_t(codec[0]), uint8_t(codec[1]), uint8_t(codec[2]), uint8_t(codec[3])});
    q.U32(0).U16(0).U16(0).U16(0).U16(0).U32(0).U32(0).U32(0);
    q.U16(uint32_t(width)).U16(uint32_t(height)).U32(72 << 16).U32(72 << 16).U32(uint32_t(data.size())).U16(1);
    q.Raw(std::vector<uint8_t>(32, 0)).U16(24).U16(0xFFFF);
    q.Raw(data);
    b.Op(0x8200).U32(uint32_t(q.size())).Raw(q.data());
}

TEST(PicturePlayback, CompressedImagesDecodeJpegAndShowOthersAsGrey)
{
    World w(64, 32);
    std::vector<uint32_t> px(16 * 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            px[size_t(y * 16 + x)] = x < 8 ? kRed : kBlue;
    Bytes b = Version2(0, 0, 32, 64);
    QuickTime(b, picturetest::EncodeJpeg(16, 8, px), "jpeg", 16, 8, 2, 3);
    QuickTime(b, {1, 2, 3, 4}, "rle ", 4, 4, 40, 20);
    EXPECT_EQ(Play(w, Finish(b)), noErr);
    auto near = [](uint32_t a, uint32_t e) {
        for (int s = 0; s <= 16; s += 8)
            if (std::abs(int((a >> s) & 0xFF) - int((e >> s) & 0xFF)) > 12)
                return false;
        return true;
    };
    EXPECT_TRUE(near(w.At(3, 4), kRed)) << std::hex << w.At(3, 4);
    EXPECT_TRUE(near(w.At(16, 9), kBlue)) << std::hex << w.At(16, 9);
    EXPECT_EQ(w.At(1, 2), kWhite);
    EXPECT_EQ(w.At(18, 3), kWhite);
    EXPECT_EQ(w.At(41, 21), 0x808080u);
    EXPECT_EQ(w.At(44, 24), kWhite);
}

// What later opcodes paint over is left out, and the pixels and the answer
// are those of every opcode drawn one by one, as a port with drawing
// procedures gets them. A picture recorded meanwhile gets them all.
TEST(PicturePlayback, OpcodesPaintedOverLeaveThePixelsOfEachDrawn)
{
    const std::vector<uint8_t> grey{0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}, none(8, 0), black(8, 0xFF);
    struct Case {
        const char* what;
        std::function<void(Bytes&)> ops;
        uint64_t paintings;  // at most this many paintings write pixels; 0: any
    };
    const Case cases[] = {
        {"a page and a frame painted again and again, under two paintings together, a wide frame over a part",
         [](Bytes& b) {
             b.Op(0x0031).R(0, 0, 32, 64).Op(0x0030).R(4, 4, 28, 60);
             for (uint32_t i = 0; i < 20; ++i)
                 b.Fore(i * 0x0C0A08).Op(0x0039);
             b.Fore(kBlue).Op(0x0031).R(0, 0, 32, 30).Fore(kGreen).Op(0x0031).R(0, 30, 32, 64);
             b.Op(0x0007).U16(3).U16(3).Op(0x0030).R(4, 4, 28, 60);
         },
         3},
        {"modes that read the pixels, a part in copy mode, then pixel patterns over a corner",
         [&](Bytes& b) {
             b.Op(0x0008).U16(patXor).Op(0x0031).R(2, 2, 30, 60).Op(0x0039).Op(0x0039);
             b.Op(0x0008).U16(patOr).Op(0x0009).Raw(grey).Op(0x0039).Op(0x0008).U16(blend).Op(0x0039);
             b.Op(0x0008).U16(notPatCopy).Op(0x0031).R(0, 0, 16, 64).Op(0x0008).U16(patCopy);
             b.Op(0x0031).R(16, 32, 32, 64).Op(0x0013).U16(2).Raw(none).U16(0).U16(0xFFFF).U16(0).Op(0x0039);
             b.Op(0x0014).U16(2).Raw(none).U16(0xFFFF).U16(0).U16(0xFFFF).Op(0x003C);
             b.Op(0x0012).U16(2).Raw(none).U16(0x8000).U16(0x8000).U16(0).Op(0x0032).R(20, 36, 28, 60);
         },
         0},
        {"through clips: a page through a part, a small clip under the page",
         [](Bytes& b) {
             b.Op(0x0031).R(0, 0, 32, 64).Op(0x0001).U16(10).R(0, 0, 20, 40).Fore(kBlue).Op(0x0039);
             b.Op(0x0001).U16(10).R(4, 4, 12, 12).Op(0x0031).R(0, 0, 32, 64).Fore(kGreen);
             b.Op(0x0001).U16(10).R(0, 0, 32, 64).Op(0x0031).R(0, 0, 16, 64);
         },
         0},
        {"every shape and verb, a line, text, bits and a highlight under a grey page, then the same ovals, rounded "
         "rectangles, arcs, polygons and regions again, one moved, and an inversion",
         [&](Bytes& b) {
             b.Op(0x0007).U16(3).U16(3).Op(0x0030).R(2, 2, 20, 20).Op(0x0051).R(4, 4, 28, 40);
             b.Op(0x000B).U16(6).U16(8).Op(0x0042).R(2, 30, 30, 62).Op(0x0064).R(0, 0, 32, 64).U16(30).U16(120);
             b.Op(0x0020).U16(0).U16(0).U16(31).U16(63).Op(0x0028).U16(20).U16(4).U8(3).Raw({'a', 'b', 'c'});
             b.Op(0x0098).U16(8).R(0, 0, 2, 64).R(0, 0, 2, 64).R(0, 0, 2, 64).U16(0);
             for (int row = 0; row < 2; ++row)
                 b.U8(4).Raw({0xFD, 0xFF, 0xFD, 0x00});
             b.Op(0x001D).U16(0xFFFF).U16(0xE000).U16(0x4000).Op(0x001C).Op(0x0033).R(5, 5, 9, 9);
             b.Op(0x0009).Raw(grey).Op(0x0031).R(0, 0, 32, 64).Op(0x0009).Raw(black);
             b.Op(0x0051).R(2, 2, 30, 40).Fore(kRed).Op(0x0059).Op(0x0007).U16(2).U16(2).Op(0x0058);
             b.Op(0x000B).U16(10).U16(12).Op(0x0041).R(4, 30, 28, 62).Op(0x004C).Op(0x004A);
             b.Op(0x0061).R(0, 0, 32, 64).U16(30).U16(90).Op(0x0069).U16(30).U16(90).Op(0x0069).U16(200).U16(60);
             b.Op(0x0071).U16(22).R(0, 0, 30, 60).U16(0).U16(0).U16(30).U16(10).U16(5).U16(60).Fore(kGreen);
             b.Op(0x0079).Op(0x0071).U16(22).R(0, 0, 30, 60).U16(0).U16(60).U16(30).U16(50).U16(10).U16(0);
             b.Op(0x0078).Op(0x0079).Op(0x000C).U16(4).U16(2).Op(0x0079);
             b.Op(0x0081).U16(10).R(2, 2, 20, 50).Op(0x0089).Op(0x0088).Op(0x0033).R(10, 10, 20, 20);
         },
         0},
        {"a damaged image the drawing ends at, before a page",
         [](Bytes& b) {
             b.Op(0x0031).R(2, 2, 10, 10);
             QuickTime(b, {1, 2, 3, 4}, "jpeg", 4, 4, 0, 0);
             b.Op(0x0031).R(0, 0, 32, 64);
         },
         0},
        {"packed bits whose second row runs past its end, the drawing ends at them, before a page",
         [](Bytes& b) {
             b.Op(0x0031).R(2, 2, 10, 10);
             b.Op(0x0098).U16(8).R(0, 0, 2, 64).R(0, 0, 2, 64).R(0, 0, 2, 64).U16(0);
             b.U8(4).Raw({0xFD, 0xFF, 0xFD, 0x00}).U8(2).Raw({0xF0, 0xFF});
             b.Op(0x0031).R(0, 0, 32, 64);
         },
         0},
    };
    QDProcs procs;
    procs.rectProc = StdRect, procs.rRectProc = StdRRect, procs.ovalProc = StdOval;
    procs.arcProc = StdArc, procs.polyProc = StdPoly, procs.rgnProc = StdRgn, procs.bitsProc = StdBits;
    for (const Case& c : cases) {
        std::vector<uint32_t> pixels[2];
        OSErr err[2] = {};
        for (const bool oneByOne : {false, true}) {
            World w(64, 32);
            for (int v = 0; v < 32; ++v)
                for (int h = 0; h < 64; ++h)
                    w.Set(h, v, uint32_t(h * 4) << 16 | uint32_t(v * 8) << 8 | 0x5A);
            w.get()->grafProcs = oneByOne ? &procs : nullptr;
            Bytes b = Version2(0, 0, 32, 64);
            c.ops(b);
            const uint64_t before = PixelWriteCount();
            err[oneByOne] = Play(w, Finish(b));
            if (!oneByOne && c.paintings) {
                EXPECT_LE(PixelWriteCount() - before, c.paintings) << c.what;
            }
            w.get()->grafProcs = nullptr;
            for (int v = 0; v < 32; ++v)
                for (int h = 0; h < 64; ++h)
                    pixels[oneByOne].push_back(w.At(h, v));
        }
        EXPECT_EQ(err[0], err[1]) << c.what;
        const auto differ = std::mismatch(pixels[0].begin(), pixels[0].end(), pixels[1].begin()).first;
        EXPECT_EQ(differ, pixels[0].end()) << c.what << ": first at " << (differ - pixels[0].begin());
    }
    World w(64, 32);
    Bytes b = Version2(0, 0, 32, 64);
    cases[0].ops(b);
    PicHandle recorded = OpenPicture(&kFrame);
    ShowPen();
    Play(w, Finish(b));
    ClosePicture();
    static int rects = 0;
    procs.rectProc = [](GrafVerb verb, const Rect* r) { ++rects, StdRect(verb, r); };
    w.get()->grafProcs = &procs;
    DrawPicture(recorded, &kFrame);
    w.get()->grafProcs = nullptr;
    EXPECT_EQ(rects, 25);
    KillPicture(recorded);
}

// Faults: a damaged opcode ends the picture, what came before stays drawn,
// and nothing of the damaged opcode is drawn.
TEST(PicturePlayback, DamageStopsAtTheFirstBadOpcode)
{
    auto withRect = [] {
        Bytes b = Version2(0, 0, 32, 64);
        b.Op(0x0031).R(0, 0, 4, 4);
        return b;
    };
    {
        World w(64, 32);
        Bytes b = withRect();
        b.Op(0x0098).U16(8).R(0, 0, 2, 64).R(0, 0, 2, 64).R(0, 0, 2, 64).U16(0);
        b.U8(4).Raw({0xFD, 0xFF});  // the row is cut short
        EXPECT_EQ(Play(w, Finish(b, false)), codecBadDataErr);
        EXPECT_EQ(w.At(0, 0), kBlack);
        EXPECT_EQ(w.At(10, 0), kWhite);
    }
    {
        World w(64, 32);
        Bytes b = withRect();
        b.Op(0x0098).U16(8).R(0, 0, 2, 64).R(0, 0, 2, 64).R(0, 0, 2, 64).U16(0);
        b.U8(2).Raw({0x09, 0xFF});  // ten literal bytes in a row of eight
        b.U8(2).Raw({0x09, 0xFF});
        b.Op(0x0031).R(10, 10, 20, 20);
        EXPECT_EQ(Play(w, Finish(b)), codecBadDataErr);
        EXPECT_EQ(w.At(10, 1), kWhite);
        EXPECT_EQ(w.At(12, 12), kWhite);  // nothing after the damage
    }
    {
        World w(64, 32);
        Bytes b = withRect();
        b.Op(0x0081).U16(18).R(0, 0, 10, 10).U16(0).U16(1).U16(0x7FFF).U16(0x7FFF);  // one point
        EXPECT_EQ(Play(w, Finish(b)), codecBadDataErr);
    }
    {
        World w(64, 32);
        Bytes b = withRect();
        b.Op(0x0098).U16(2).R(0, 0, 2, 64).R(0, 0, 2, 64).R(0, 0, 2, 64).U16(0);  // rows too short
        b.Raw(std::vector<uint8_t>(16, 0xFF));
        EXPECT_EQ(Play(w, Finish(b)), codecBadDataErr);
    }
    {
        // A huge map claimed by a few bytes is refused before allocating.
        World w(64, 32);
        int64_t before = MemoryInUse();
        Bytes b = withRect();
        b.Op(0x009A).U32(0xFF).U16(0x8000 | 16380).R(0, 0, 32767, 4095);
        PixMapTail(b, 4, 16, 32, 3, 8);
        b.R(0, 0, 32767, 4095).R(0, 0, 32, 64).U16(0);
        b.Raw(std::vector<uint8_t>(600, 0x02));
        EXPECT_EQ(Play(w, Finish(b)), codecBadDataErr);
        EXPECT_EQ(MemoryInUse(), before);
    }
    {
        World w(64, 32);
        Bytes b = withRect();
        b.Op(0x0070).U16(9);  // a polygon smaller than its header
        EXPECT_EQ(Play(w, Finish(b)), codecBadDataErr);
        Bytes c = withRect();
        c.Op(0x00A1).U16(1).U16(400).U16(1);  // a comment longer than the picture
        EXPECT_EQ(Play(w, Finish(c)), codecBadDataErr);
        Bytes d;
        d.U16(0).R(0, 0, 32, 64).U16(0x1234);  // no version
        EXPECT_EQ(Play(w, Finish(d)), codecBadDataErr);
    }
    {
        // Records whose inner lengths run past themselves.
        World w(64, 32);
        Bytes name = withRect();
        name.Op(0x002C).U16(5).U16(3).U8(3).Raw({'a', 'b'});  // a name of 3 in 2 bytes
        EXPECT_EQ(Play(w, Finish(name)), codecBadDataErr);
        Bytes whole = withRect();
        whole.Op(0x002C).U16(5).U16(3).U8(2).Raw({'a', 'b'});
        EXPECT_EQ(Play(w, Finish(whole)), noErr);
        Bytes odd = withRect();
        odd.Op(0x0070).U16(12).R(0, 0, 10, 10).U16(1);  // half a point
        EXPECT_EQ(Play(w, Finish(odd)), codecBadDataErr);
        Bytes empty = Version2(0, 0, 32, 0);  // a frame of no width
        EXPECT_EQ(Play(w, Finish(empty)), codecBadDataErr);
        Bytes narrow = Version2(0, 0, 32, 1);
        EXPECT_EQ(Play(w, Finish(narrow)), noErr);
    }
}

TEST(PicturePlayback, MemoryShortageIsReported)
{
    World w(64, 32);
    Bytes b = Version2(0, 0, 32, 64);
    b.Op(0x0098).U16(8).R(0, 0, 2, 64).R(0, 0, 2, 64).R(0, 0, 2, 64).U16(0);
    for (int row = 0; row < 2; ++row)
        b.U8(4).Raw({0xFD, 0xFF, 0xFD, 0x00});
    Handle pic = Finish(b);
    {
        ScopedFault fault(FaultKind::Allocation, 0, -1);
        DrawPicture(pic, &kFrame);
        EXPECT_EQ(QDError(), memFullErr);
    }
    EXPECT_EQ(w.At(0, 0), kWhite);
    DrawPicture(pic, &kFrame);
    EXPECT_EQ(QDError(), noErr);
    EXPECT_EQ(w.At(0, 0), kBlack);
    DisposeHandle(pic);
}

}  // namespace
