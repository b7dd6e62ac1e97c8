// Two thousand damaged pictures: cut short, with wrong lengths, huge
// regions and rows that unpack past their end. Each plays without reading
// or writing out of bounds (the sanitizers watch), reports its damage, and
// leaves every pixel outside the destination alone.
#include <gtest/gtest.h>

#include <cstddef>

#include <random>
#include <vector>

#include "platform/core/Memory.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/PixMaps.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Recording.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/Fonts.h"
#include "platform/pictures/Pictures.h"
#include "tests/platform/drawing/DrawingTestSupport.h"
#include "tests/platform/pictures/ImageTestFiles.h"
#include "tests/platform/pictures/PictureTestSupport.h"

namespace {

using namespace platform;
using drawingtest::World;
using picturetest::Bytes;

constexpr uint32_t kSentinel = 0x123456;
const Rect kFrame{0, 0, 40, 60};

// A recorded picture with a little of everything.
std::vector<uint8_t> RecordedPicture()
{
    World w(60, 40);
    std::vector<uint8_t> pixels8(16 * 4);
    for (size_t i = 0; i < pixels8.size(); ++i)
        pixels8[i] = uint8_t(i * 3);
    CTabHandle table = NewCTable(256);
    PixMap eight{};
    eight.baseAddr = reinterpret_cast<Ptr>(pixels8.data());
    eight.rowBytes = int16_t(kPixMapFlag | 16);
    eight.bounds = {0, 0, 4, 16};
    eight.pixelSize = 8;
    eight.cmpSize = 8;
    eight.pmTable = table;
    PicHandle pic = OpenPicture(&kFrame);
    Rect r{2, 2, 20, 30};
    Rect clip{0, 0, 35, 55};
    ClipRect(&clip);
    PaintOval(&r);
    RGBColor c{0x1234, 0x8000, 0xFFFF};
    RGBForeColor(&c);
    PenSize(2, 2);
    FrameRoundRect(&r, 6, 6);
    MoveTo(1, 1);
    LineTo(50, 30);
    RgnHandle rgn = NewRgn();
    OpenRgn();
    Rect a{5, 5, 15, 25}, b{10, 20, 30, 40};
    FrameOval(&a);
    FrameRect(&b);
    CloseRgn(rgn);
    InvertRgn(rgn);
    DisposeRgn(rgn);
    PolyHandle poly = OpenPoly();
    MoveTo(30, 5);
    LineTo(55, 20);
    LineTo(35, 35);
    ClosePoly();
    PaintPoly(poly);
    KillPoly(poly);
    TextFont(kFontIDTimes);
    TextSize(10);
    MoveTo(3, 38);
    DrawString(reinterpret_cast<const unsigned char*>("\x04" "Damn"));
    Rect s{0, 0, 4, 16}, d{20, 40, 24, 56}, d2{30, 10, 38, 58};
    CopyBits(reinterpret_cast<const BitMap*>(&eight), GetPortBitMapForCopyBits(w.get()), &s, &d, srcCopy, nullptr);
    CopyBits(GetPortBitMapForCopyBits(w.get()), GetPortBitMapForCopyBits(w.get()), &r, &d2, srcCopy, nullptr);
    PicComment(1, 0, nullptr);
    ClosePicture();
    std::vector<uint8_t> bytes = picturetest::FromHandle(pic);
    KillPicture(pic);
    DisposeCTable(table);
    return bytes;
}

// Hand-written opcodes the recorder does not write: version 1, 16-bit
// pixels, pixel patterns, JPEG.
std::vector<std::vector<uint8_t>> WrittenPictures()
{
    std::vector<std::vector<uint8_t>> out;
    Bytes v1;
    v1.U16(0).R(0, 0, 40, 60).U8(0x11).U8(0x01).U8(0x34).R(1, 1, 9, 9).U8(0x81).U16(10).R(3, 3, 30, 30);
    v1.U8(0x90).U16(2).R(0, 0, 2, 16).R(0, 0, 2, 16).R(5, 5, 7, 21).U16(0).Raw({0xAA, 0x55, 0x55, 0xAA});
    v1.U8(0xFF);
    out.push_back(v1.data());

    Bytes b = picturetest::Version2(0, 0, 40, 60);
    b.Op(0x0013).U16(1).Raw({0, 0, 0, 0, 0, 0, 0, 0}).U16(0x8002).R(0, 0, 2, 2);
    b.U16(0).U16(0).U32(0).U32(72 << 16).U32(72 << 16).U16(0).U16(8).U16(1).U16(8).U32(0).U32(0).U32(0);
    b.U32(0).U16(0).U16(1).U16(0).U16(0xFFFF).U16(0).U16(0).U16(1).U16(0).U16(0xFFFF).U16(0).Raw({0, 1, 1, 0});
    b.Op(0x0051).R(0, 0, 30, 30);
    b.Op(0x009A).U32(0xFF).U16(0x8008).R(0, 0, 2, 4);
    b.U16(0).U16(3).U32(0).U32(72 << 16).U32(72 << 16).U16(16).U16(16).U16(3).U16(5).U32(0).U32(0).U32(0);
    b.R(0, 0, 2, 4).R(10, 10, 20, 40).U16(0);
    b.U8(3).Raw({0xFD, 0x7C, 0x00}).U8(9).Raw({0x03, 0, 0x1F, 0x03, 0xE0, 0x7C, 0, 0x7F, 0xFF});
    b.Op(0x00A1).U16(5).U16(3).Raw({1, 2, 3});
    std::vector<uint32_t> px(8 * 8, 0x00FF00);
    std::vector<uint8_t> jpeg = picturetest::EncodeJpeg(8, 8, px);
    Bytes q;
    q.U16(0).U32(0x10000).U32(0).U32(0).U32(0).U32(0x10000).U32(0).U32(0).U32(0).U32(0x40000000);
    q.U32(0).R(0, 0, 0, 0).U16(0).R(0, 0, 8, 8).U32(0).U32(0);
    q.U32(86).Raw({'j', 'p', 'e', 'g'}).U32(0).U16(0).U16(0).U16(0).U16(0).U32(0).U32(0).U32(0);
    q.U16(8).U16(8).U32(72 << 16).U32(72 << 16).U32(uint32_t(jpeg.size())).U16(1);
    q.Raw(std::vector<uint8_t>(32, 0)).U16(24).U16(0xFFFF).Raw(jpeg);
    b.Op(0x8200).U32(uint32_t(q.size())).Raw(q.data());
    b.Op(0x00FF);
    out.push_back(b.data());
    return out;
}

std::vector<uint8_t> Mutate(std::vector<uint8_t> p, std::mt19937& rng, bool* truncated)
{
    auto pick = [&](size_t n) { return size_t(rng() % n); };
    *truncated = false;
    switch (rng() % 5) {
    case 0:  // cut short
        p.resize(pick(p.size()));
        *truncated = true;
        break;
    case 1: {  // a wrong length or count word
        size_t at = (10 + pick(p.size() - 11)) & ~size_t(1);
        static const uint16_t values[] = {0, 1, 9, 10, 0x7FFF, 0x8000, 0xFFFF, 0x4000, 0x00FF};
        uint16_t v = (rng() & 1) ? values[pick(9)] : uint16_t(rng());
        p[at] = uint8_t(v >> 8);
        p[at + 1] = uint8_t(v);
        break;
    }
    case 2: {  // huge coordinates: a rectangle or region box blown up
        size_t at = 10 + pick(p.size() - 18);
        const uint8_t huge[] = {0x80, 0x00, 0x80, 0x00, 0x7F, 0xFF, 0x7F, 0xFF};
        std::copy(huge, huge + 8, p.begin() + std::ptrdiff_t(at));
        break;
    }
    case 3: {  // run flags that unpack past the row
        for (int i = 0; i < 4; ++i)
            p[10 + pick(p.size() - 10)] = uint8_t(0x70 + pick(0x90));
        break;
    }
    default:  // random bytes
        for (int i = 0; i < 1 + int(pick(6)); ++i)
            p[10 + pick(p.size() - 10)] = uint8_t(rng());
        break;
    }
    return p;
}

TEST(PictureMutation, DamagedPicturesStayInsideTheirDestination)
{
    QDSwapTextFlags(kQDUseTrueTypeScalerGlyphs | kQDUseCGTextMetrics);
    std::vector<std::vector<uint8_t>> seeds = WrittenPictures();
    seeds.insert(seeds.begin(), RecordedPicture());
    for (const auto& s : seeds) {
        World w(60, 40);
        Handle h = picturetest::ToHandle(s);
        DrawPicture(h, &kFrame);
        EXPECT_EQ(QDError(), noErr);
        EXPECT_GT(w.CountNot(drawingtest::kWhite), 50);
        DisposeHandle(h);
    }
    std::mt19937 rng(20261207);
    const Rect dsts[] = {{16, 16, 56, 76}, {20, 10, 40, 100}};
    World w(110, 70);
    int damaged = 0;
    for (int i = 0; i < 2000; ++i) {
        bool truncated = false;
        std::vector<uint8_t> bytes = Mutate(seeds[size_t(i) % seeds.size()], rng, &truncated);
        const Rect& dst = dsts[i % 2];
        RGBColor sentinel{0x1212, 0x3434, 0x5656};
        RGBBackColor(&sentinel);
        Rect all{0, 0, 70, 110};
        EraseRect(&all);
        Handle h = picturetest::ToHandle(bytes.empty() ? std::vector<uint8_t>{0} : bytes);
        DrawPicture(h, &dst);
        OSErr err = QDError();
        DisposeHandle(h);
        ASSERT_TRUE(err == noErr || err == codecBadDataErr || err == memFullErr) << i << ": " << err;
        if (truncated) {
            ASSERT_EQ(err, codecBadDataErr) << i;
        }
        damaged += err == codecBadDataErr;
        int outside = 0;
        for (int v = 0; v < 70; ++v)
            for (int x = 0; x < 110; ++x)
                if ((x < dst.left || x >= dst.right || v < dst.top || v >= dst.bottom) && w.At(x, v) != kSentinel)
                    ++outside;
        ASSERT_EQ(outside, 0) << "mutation " << i;
    }
    QDSwapTextFlags(kQDUseTrueTypeScalerGlyphs | kQDUseCGTextRendering | kQDUseCGTextMetrics);
    EXPECT_GT(damaged, 600);
}

}  // namespace
