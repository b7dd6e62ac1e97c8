// Pictures at their edges: stored regions refused for each kind of damage,
// pixel-pattern tiles of no size and the pattern modes, frames and
// resolutions in headers, state recorded once, reserved opcodes skipped by
// their lengths, 16-bit pixels widened, and text scaled from frames wider
// than 16 bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/pictures/Pictures.h"
#include "platform/pictures/JpegCodec.h"
#include "platform/pictures/PictPixels.h"
#include "platform/pictures/PixPats.h"
#include "platform/pictures/StoredRegions.h"
#include "tests/platform/drawing/DrawingTestSupport.h"
#include "tests/platform/pictures/ImageTestFiles.h"
#include "tests/platform/pictures/PictureTestSupport.h"

namespace {

using namespace platform;
using drawingtest::World;
using picturetest::Bytes;

std::vector<uint8_t> Stored(std::initializer_list<int> words)
{
    std::vector<uint8_t> b;
    for (int w : words) {
        b.push_back(uint8_t(uint16_t(w) >> 8));
        b.push_back(uint8_t(w));
    }
    b[0] = uint8_t(b.size() >> 8);
    b[1] = uint8_t(b.size());
    return b;
}

TEST(StoredRegionEdges, DamagedRowsAreRefusedAndTheRegionKept)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool ok;
    };
    const Case cases[] = {
        // A 4 x 4 square at (2, 2), then the same with its rows damaged.
        {"whole", Stored({0, 2, 2, 6, 6, 2, 2, 6, 0x7FFF, 6, 2, 6, 0x7FFF, 0x7FFF}), true},
        {"rows out of order", Stored({0, 2, 2, 6, 6, 6, 2, 6, 0x7FFF, 2, 2, 6, 0x7FFF, 0x7FFF}), false},
        {"a row repeated", Stored({0, 2, 2, 6, 6, 2, 2, 6, 0x7FFF, 2, 2, 6, 0x7FFF, 0x7FFF}), false},
        {"points not increasing", Stored({0, 2, 2, 6, 6, 2, 2, 2, 6, 6, 0x7FFF, 0x7FFF}), false},
        {"an odd number of points", Stored({0, 2, 2, 6, 6, 2, 2, 0x7FFF, 0x7FFF}), false},
        {"no end", Stored({0, 2, 2, 6, 6, 2, 2, 6, 0x7FFF}), false},
    };
    for (const Case& k : cases) {
        RgnHandle rgn = NewRgn();
        const Rect before{0, 0, 1, 1};
        RectRgn(rgn, &before);
        EXPECT_EQ(ReadStoredRegion(k.bytes.data(), k.bytes.size(), rgn), k.ok) << k.what;
        Rect bounds{};
        GetRegionBounds(rgn, &bounds);
        const Rect want = k.ok ? Rect{2, 2, 6, 6} : before;
        EXPECT_EQ(bounds.top, want.top) << k.what;
        EXPECT_EQ(bounds.left, want.left) << k.what;
        EXPECT_EQ(bounds.bottom, want.bottom) << k.what;
        EXPECT_EQ(bounds.right, want.right) << k.what;
        DisposeRgn(rgn);
    }
    // A rectangle is its 10 bytes; 9 are too few (and not one more is read).
    const std::vector<uint8_t> rect = Stored({10, 1, 2, 3, 4});
    const std::vector<uint8_t> nine(rect.begin(), rect.begin() + 9);
    RgnHandle rgn = NewRgn();
    EXPECT_TRUE(ReadStoredRegion(rect.data(), 10, rgn));
    EXPECT_FALSE(ReadStoredRegion(nine.data(), 9, rgn));
    Rect bounds{};
    GetRegionBounds(rgn, &bounds);
    EXPECT_EQ(bounds.right, 4);
    DisposeRgn(rgn);
}

TEST(PixPatEdges, TilesOfNoSizePaintNothingAndPatternModesAreSourceModes)
{
    World w(8, 8);
    const Rect all{0, 0, 8, 8};
    RgnHandle shape = NewRgn();
    RectRgn(shape, &all);
    EraseRect(&all);
    for (const PixPatTile& empty : {PixPatTile{0, 2, {1, 2}}, PixPatTile{2, 0, {1, 2}}, PixPatTile{2, 2, {1, 2, 3}}}) {
        PaintPixPatShape(w.get(), RegionData(shape), empty, patCopy);
        EXPECT_EQ(w.CountNot(0xFFFFFF), 0) << empty.width << "x" << empty.height;
    }
    // Red and blue columns; the port's colours do not tint them.
    const PixPatTile tile{2, 1, {0xFF0000, 0x0000FF}};
    const RGBColor green{0, 0xFFFF, 0}, yellow{0xFFFF, 0xFFFF, 0};
    RGBForeColor(&green);
    RGBBackColor(&yellow);
    PaintPixPatShape(w.get(), RegionData(shape), tile, patCopy);
    EXPECT_EQ(w.At(0, 0), 0xFF0000u);
    EXPECT_EQ(w.At(1, 5), 0x0000FFu);
    // Each pattern mode draws as its source mode.
    for (int16_t mode = patCopy; mode <= notPatBic; ++mode) {
        World a(8, 8), b(8, 8);
        for (World* x : {&a, &b}) {
            SetGWorld(x->get(), nullptr);
            for (int16_t v = 0; v < 8; ++v)
                for (int16_t h = 0; h < 8; ++h) x->Set(h, v, (h + v) % 3 ? 0x336699 : 0xFFFFFF);
        }
        PaintPixPatShape(a.get(), RegionData(shape), tile, mode);
        PaintPixPatShape(b.get(), RegionData(shape), tile, int16_t(mode - patCopy));
        for (int16_t v = 0; v < 8; ++v)
            for (int16_t h = 0; h < 8; ++h) ASSERT_EQ(a.At(h, v), b.At(h, v)) << "mode " << mode << " at " << h << "," << v;
    }
    DisposeRgn(shape);
}

TEST(PictureHeaderEdges, TheFrameIsReadFromItsPlaceAndResolutionsAreKept)
{
    Bytes b = picturetest::Version2(-3, 5, 40, 70);
    Handle pic = picturetest::Finish(b);
    Rect frame{};
    QDGetPictureBounds(reinterpret_cast<PicHandle>(pic), &frame);
    EXPECT_EQ(frame.top, -3);
    EXPECT_EQ(frame.left, 5);
    EXPECT_EQ(frame.bottom, 40);
    EXPECT_EQ(frame.right, 70);
    SetHandleSize(pic, 9);
    frame = Rect{1, 1, 1, 1};
    QDGetPictureBounds(reinterpret_cast<PicHandle>(pic), &frame);
    EXPECT_EQ(frame.bottom, 0) << "nine bytes hold no frame";
    DisposeHandle(pic);

    World w(16, 16);
    struct Case {
        Fixed asked, stored;
    };
    for (const Case& k : {Case{0, 72 << 16}, Case{-1, 72 << 16}, Case{1, 1}, Case{144 << 16, 144 << 16}}) {
        OpenCPicParams params{Rect{0, 0, 16, 16}, k.asked, k.asked, -2, 0, 0};
        PicHandle p = OpenCPicture(&params);
        ASSERT_NE(p, nullptr);
        ClosePicture();
        const auto* bytes = reinterpret_cast<const uint8_t*>(*p);
        EXPECT_EQ(Fixed(ReadBE32(bytes + 20)), k.stored) << k.asked;
        EXPECT_EQ(Fixed(ReadBE32(bytes + 24)), k.stored) << k.asked;
        KillPicture(p);
    }
}

// The bytes of a picture recorded by `draw` into a 32 x 32 frame.
template <typename Draw>
std::vector<uint8_t> Recorded(Draw draw)
{
    World w(32, 32);
    const Rect frame{0, 0, 32, 32};
    PicHandle p = OpenPicture(&frame);
    draw(w);
    ClosePicture();
    std::vector<uint8_t> bytes = picturetest::FromHandle(reinterpret_cast<Handle>(p));
    KillPicture(p);
    return bytes;
}

TEST(PictureRecordingEdges, StateThatDoesNotChangeIsRecordedOnce)
{
    Pattern gray;
    for (int i = 0; i < 8; ++i) gray.pat[i] = i % 2 ? 0x55 : 0xAA;
    const Rect r{2, 2, 10, 10};
    const size_t once = Recorded([&](World&) { FillRect(&r, &gray); }).size();
    const size_t twice = Recorded([&](World&) {
                             FillRect(&r, &gray);
                             FillRect(&r, &gray);
                         }).size();
    EXPECT_EQ(twice - once, 10u) << "the second fill: its opcode and rectangle, no pattern again";

    const size_t oneText = Recorded([](World&) {
                               CharExtra(Fixed(3) << 16);
                               MoveTo(2, 20);
                               DrawText("ab", 0, 2);
                           }).size();
    const size_t twoTexts = Recorded([](World&) {
                                CharExtra(Fixed(3) << 16);
                                MoveTo(2, 20);
                                DrawText("ab", 0, 2);
                                DrawText("ab", 0, 2);
                            }).size();
    EXPECT_EQ(twoTexts - oneText, 6u) << "the second text: its opcode, offset, count and characters, no extra again";

    // A copied 32-bit image keeps 72 dpi in its pixel map.
    const std::vector<uint8_t> copied = Recorded([](World& w) {
        const Rect from{0, 0, 4, 4}, to{8, 8, 12, 12};
        CopyBits(w.bits(), w.bits(), &from, &to, srcCopy, nullptr);
    });
    const uint8_t direct[] = {0x00, 0x9A, 0x00, 0x00, 0x00, 0xFF};
    const auto at = std::search(copied.begin(), copied.end(), std::begin(direct), std::end(direct));
    ASSERT_NE(at, copied.end());
    const size_t op = size_t(at - copied.begin());
    EXPECT_EQ(ReadBE32(&copied[op + 24]), uint32_t(72 << 16));
    EXPECT_EQ(ReadBE32(&copied[op + 28]), uint32_t(72 << 16));
}

TEST(PictureRecordingEdges, BitRowsOfExactly250BytesAndOneMoreComeBackWhole)
{
    // Rows of up to 250 bytes count their packed bytes in one byte, longer
    // ones in two.
    for (const int16_t rowBytes : {250, 252}) {
        const int16_t width = int16_t(rowBytes * 8);
        std::vector<uint8_t> bits(static_cast<size_t>(rowBytes));
        for (size_t i = 0; i < bits.size(); ++i) bits[i] = uint8_t(i * 37 + 11);
        BitMap map{};
        map.baseAddr = reinterpret_cast<Ptr>(bits.data());
        map.rowBytes = rowBytes;
        map.bounds = Rect{0, 0, 1, width};
        const Rect area{0, 0, 1, width};
        World w(width, 1);
        PicHandle p = OpenPicture(&area);
        CopyBits(&map, w.bits(), &area, &area, srcCopy, nullptr);
        ClosePicture();
        World back(width, 1);
        EraseRect(&area);
        DrawPicture(p, &area);
        EXPECT_EQ(QDError(), noErr) << rowBytes;
        int differ = 0;
        for (int16_t h = 0; h < width; ++h) {
            const bool ink = (bits[size_t(h / 8)] >> (7 - h % 8)) & 1;
            differ += back.At(h, 0) != (ink ? 0x000000u : 0xFFFFFFu);
        }
        EXPECT_EQ(differ, 0) << rowBytes;
        KillPicture(p);
    }
}

TEST(PicturePlaybackEdges, ReservedShapeOpcodesAreSkippedByTheirFamilysLengths)
{
    // 0x0035 (a rectangle's reserved slot) holds 8 bytes, 0x0065 and 0x006D
    // (arcs' reserved slots) 12 and 4.
    World w(32, 32);
    EraseRect(&w.get()->portRect);
    Bytes b = picturetest::Version2(0, 0, 32, 32);
    b.Op(0x0035).R(0x31, 0x31, 0x31, 0x31);
    b.Op(0x0065).R(0x31, 0x31, 0x31, 0x31).U32(0x00310031);
    b.Op(0x006D).U32(0x00310031);
    b.Op(0x0031).R(4, 4, 8, 8);  // paintRect
    Handle pic = picturetest::Finish(b);
    const Rect frame{0, 0, 32, 32};
    DrawPicture(reinterpret_cast<PicHandle>(pic), &frame);
    EXPECT_EQ(QDError(), noErr);
    EXPECT_EQ(w.At(5, 5), 0x000000u);
    EXPECT_EQ(w.CountNot(0xFFFFFF), 16);
    DisposeHandle(pic);
}

TEST(PicturePlaybackEdges, ARoundedRectangleBeforeAnyOvalSizeHasSquareCorners)
{
    World w(32, 32);
    EraseRect(&w.get()->portRect);
    Bytes b = picturetest::Version2(0, 0, 32, 32);
    b.Op(0x0041).R(4, 4, 28, 28);  // paintRRect with no oval size given
    Handle pic = picturetest::Finish(b);
    const Rect frame{0, 0, 32, 32};
    DrawPicture(reinterpret_cast<PicHandle>(pic), &frame);
    EXPECT_EQ(w.At(4, 4), 0x000000u) << "the corner pixel";
    EXPECT_EQ(w.CountNot(0xFFFFFF), 24 * 24);
    DisposeHandle(pic);
}

TEST(PicturePlaybackEdges, SixteenBitPixelsWidenEachComponentExactly)
{
    World w(4, 1);
    Bytes b = picturetest::Version2(0, 0, 1, 4);
    b.Op(0x009A).U32(0x000000FF);
    b.U16(0x8000 | 8).R(0, 0, 1, 4).U16(0).U16(1).U32(0).U32(72 << 16).U32(72 << 16);
    b.U16(16).U16(16).U16(3).U16(5).U32(0).U32(0).U32(0);
    b.R(0, 0, 1, 4).R(0, 0, 1, 4).U16(srcCopy);
    // Components 31, 16, 1 and 0.
    b.U16(0x7FFF).U16((16 << 10) | (16 << 5) | 16).U16((1 << 10) | (1 << 5) | 1).U16(0);
    Handle pic = picturetest::Finish(b);
    const Rect frame{0, 0, 1, 4};
    DrawPicture(reinterpret_cast<PicHandle>(pic), &frame);
    EXPECT_EQ(w.At(0, 0), 0xFFFFFFu);
    EXPECT_EQ(w.At(1, 0), 0x848484u);
    EXPECT_EQ(w.At(2, 0), 0x080808u);
    EXPECT_EQ(w.At(3, 0), 0x000000u);
    DisposeHandle(pic);
}

// Draws the finished picture over a white frame: whether it played whole.
bool DrawnWhole(Bytes& b, const Rect& frame)
{
    Handle pic = picturetest::Finish(b);
    EraseRect(&frame);
    DrawPicture(reinterpret_cast<PicHandle>(pic), &frame);
    const bool whole = QDError() == noErr;
    DisposeHandle(pic);
    return whole;
}

TEST(PictureImageEdges, ImagesUpToTheLargestSizeAreReadAndOneLargerIsRefused)
{
    // A JPEG exactly as tall as a pixel map may be, then one taller.
    struct Case {
        int height;
        ImageReadResult result;
    };
    for (const Case& k : {Case{32767, ImageReadResult::Ok}, Case{32768, ImageReadResult::TooLarge}}) {
        const std::vector<uint8_t> jpeg =
            picturetest::EncodeJpeg(1, k.height, std::vector<uint32_t>(size_t(k.height), 0x808080), true);
        PictPixels pixels;
        EXPECT_EQ(DecodeJpeg(jpeg.data(), jpeg.size(), &pixels), k.result) << k.height;
        int32_t w = 0, h = 0;
        EXPECT_EQ(ReadJpegSize(jpeg.data(), jpeg.size(), &w, &h), ImageReadResult::Ok);
        EXPECT_EQ(h, k.height);
    }

    // A 16-bit pixel map of the widest direct width plays; one pixel wider
    // is damage, though its rows are all there.
    for (const int width : {4095, 4096}) {
        World w(8, 1);
        Bytes b = picturetest::Version2(0, 0, 1, 8);
        b.Op(0x009A).U32(0x000000FF);
        b.U16(0x8000 | (2 * width)).R(0, 0, 1, width).U16(0).U16(1).U32(0).U32(72 << 16).U32(72 << 16);
        b.U16(16).U16(16).U16(3).U16(5).U32(0).U32(0).U32(0);
        b.R(0, 0, 1, 8).R(0, 0, 1, 8).U16(srcCopy);
        b.Raw(std::vector<uint8_t>(size_t(2 * width), 0));
        EXPECT_EQ(DrawnWhole(b, Rect{0, 0, 1, 8}), width == 4095) << width;
        EXPECT_EQ(w.At(0, 0), width == 4095 ? 0x000000u : 0xFFFFFFu) << width;
    }
}

TEST(PictureImageEdges, PlanarRowsNeedThreeComponents)
{
    // 32-bit rows packed by component (R, G, B planes): a map claiming two
    // components has no blue plane to read.
    for (const int16_t components : {3, 2}) {
        World w(2, 1);
        Bytes b = picturetest::Version2(0, 0, 1, 2);
        b.Op(0x009A).U32(0x000000FF);
        b.U16(0x8000 | 8).R(0, 0, 1, 2).U16(0).U16(4).U32(0).U32(72 << 16).U32(72 << 16);
        b.U16(16).U16(32).U16(uint32_t(components)).U16(8).U32(0).U32(0).U32(0);
        b.R(0, 0, 1, 2).R(0, 0, 1, 2).U16(srcCopy);
        const uint8_t planes = uint8_t(2 * components);
        b.U8(planes + 1).U8(planes - 1);
        for (uint8_t i = 0; i < planes; ++i) b.U8(0);
        EXPECT_EQ(DrawnWhole(b, Rect{0, 0, 1, 2}), components == 3) << components;
        EXPECT_EQ(w.At(0, 0), components == 3 ? 0x000000u : 0xFFFFFFu) << components;
    }
}

Point gNumer, gDenom;
void NoteRatio(int16_t, const void*, Point numer, Point denom)
{
    gNumer = numer;
    gDenom = denom;
}

TEST(PicturePlaybackEdges, TextFromAFrameWiderThanSixteenBitsKeepsAScaleOfAtLeastOne)
{
    World w(8, 8);
    QDProcs procs;
    SetStdProcs(&procs);
    procs.textProc = NoteRatio;
    w.get()->grafProcs = &procs;
    Bytes b = picturetest::Version2(0, -32768, 100, 32767);  // 65,535 wide
    b.Op(0x0028).U16(50).U16(0).U8(1).U8('A');
    Handle pic = picturetest::Finish(b);
    const Rect dst{0, 0, 100, 1};
    gNumer = gDenom = Point{0, 0};
    DrawPicture(reinterpret_cast<PicHandle>(pic), &dst);
    w.get()->grafProcs = nullptr;
    // Every side is halved together until the widest fits.
    EXPECT_EQ(gNumer.h, 1);
    EXPECT_EQ(gDenom.h, 32767);
    EXPECT_EQ(gNumer.v, 50);
    EXPECT_EQ(gDenom.v, 50);
    DisposeHandle(pic);
}

}  // namespace
