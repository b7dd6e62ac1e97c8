#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/core/Memory.h"
#include "platform/drawing/Shapes.h"
#include "tests/toolbox/drawing/PainterTestSupport.h"
#include "toolbox/drawing/RotatePixels.h"
#include "toolbox/foundation/VMemoryMgr.h"

using namespace paintertest;

namespace {

struct Turned {
    std::vector<uint8_t> bytes;
    int32_t left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Turned&) const = default;
};

Turned Turn(double angle, const std::vector<uint8_t>& src, int32_t rowBytes, int32_t w, int32_t h, int16_t depth,
            int32_t ox = 0, int32_t oy = 0, int16_t align = 1)
{
    Turned t;
    char* out = RotatePixels(angle, src.data(), rowBytes, ox, oy, w, h, t.left, t.top, t.width, t.height, depth,
                             align, 0);
    EXPECT_NE(out, nullptr);
    if (!out) return t;
    const size_t size = size_t(GetRowBytes(t.width, depth, align)) * size_t(t.height);
    EXPECT_EQ(size_t(platform::GetPtrSize(out)), std::max<size_t>(size, 1)) << "exactly the size reported";
    t.bytes.assign(out, out + size);
    gMemory->DisposePtr(out);
    return t;
}

TEST(RotatePixels, RowLengths)
{
    EXPECT_EQ(GetRowBytes(13, 1, 2), 2);
    EXPECT_EQ(GetRowBytes(13, 24, 4), 40);
    EXPECT_EQ(GetRowBytes(5, 32, 16), 32);
    EXPECT_EQ(GetRowBytes(5, 2, 1), 2);
    EXPECT_EQ(GetRowBytes(3, 4, 3), 2) << "an alignment of 3 is not one";
    EXPECT_EQ(GetRowBytes(7, 16, 8), 16);
}

TEST(RotatePixels, AnglesAreTakenModuloAFullTurn)
{
    std::vector<uint8_t> src(5 * 3);
    for (size_t i = 0; i < src.size(); ++i) src[i] = uint8_t(i + 1);
    EXPECT_EQ(Turn(-90, src, 5, 5, 3, 8), Turn(270, src, 5, 5, 3, 8));
    EXPECT_EQ(Turn(90.005, src, 5, 5, 3, 8), Turn(90, src, 5, 5, 3, 8));
    EXPECT_EQ(Turn(-450, src, 5, 5, 3, 8), Turn(270, src, 5, 5, 3, 8));
    const Turned none = Turn(0, src, 5, 5, 3, 8);
    EXPECT_EQ(none.bytes, src);
    EXPECT_EQ(Turn(-720, src, 5, 5, 3, 8), none) << "two turns back is no turn";
    EXPECT_EQ(Turn(1080, src, 5, 5, 3, 8), none);
    EXPECT_EQ(Turn(725, src, 5, 5, 3, 8, 2, -1), Turn(5, src, 5, 5, 3, 8, 2, -1));
}

TEST(RotatePixels, RightAnglesAtEveryDepthMatchHandMadeBuffers)
{
    // A 3 x 2 source: a b c / d e f.
    const std::vector<uint8_t> src8{1, 2, 3, 4, 5, 6};
    const Turned q = Turn(90, src8, 3, 3, 2, 8);
    EXPECT_EQ(q.width, 2);
    EXPECT_EQ(q.height, 3);
    EXPECT_EQ(q.bytes, (std::vector<uint8_t>{3, 6, 2, 5, 1, 4})) << "top row: the right column, top to bottom";
    EXPECT_EQ(q.left, 0);
    EXPECT_EQ(q.top, -3);
    EXPECT_EQ(Turn(180, src8, 3, 3, 2, 8).bytes, (std::vector<uint8_t>{6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(Turn(270, src8, 3, 3, 2, 8).bytes, (std::vector<uint8_t>{4, 1, 5, 2, 6, 3}));

    // 32 bits: the same by words.
    std::vector<uint8_t> src32(3 * 2 * 4);
    for (size_t p = 0; p < 6; ++p) std::memset(&src32[p * 4], int(p + 1), 4);
    auto words = [](const Turned& t) {
        std::vector<uint8_t> first;
        for (size_t i = 0; i < t.bytes.size(); i += 4) first.push_back(t.bytes[i]);
        return first;
    };
    EXPECT_EQ(words(Turn(90, src32, 12, 3, 2, 32)), (std::vector<uint8_t>{3, 6, 2, 5, 1, 4}));
    EXPECT_EQ(words(Turn(180, src32, 12, 3, 2, 32)), (std::vector<uint8_t>{6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(words(Turn(270, src32, 12, 3, 2, 32)), (std::vector<uint8_t>{4, 1, 5, 2, 6, 3}));

    // 1 bit: a 3 x 2 source with a and f set (101 / 001 read as 100, 001).
    const std::vector<uint8_t> src1{0x80, 0x20};
    EXPECT_EQ(Turn(90, src1, 1, 3, 2, 1).bytes, (std::vector<uint8_t>{0x40, 0x00, 0x80}));
    EXPECT_EQ(Turn(180, src1, 1, 3, 2, 1).bytes, (std::vector<uint8_t>{0x80, 0x20}));
    EXPECT_EQ(Turn(270, src1, 1, 3, 2, 1).bytes, (std::vector<uint8_t>{0x40, 0x00, 0x80}));
    // 2 bits: a b c = 1 2 3, d e f = 0 1 2.
    const std::vector<uint8_t> src2{0x6C, 0x18};
    EXPECT_EQ(Turn(90, src2, 1, 3, 2, 2).bytes, (std::vector<uint8_t>{0xE0, 0x90, 0x40}));
    // Rows aligned to 16 bytes keep their padding clear.
    const Turned aligned = Turn(90, src1, 1, 3, 2, 1, 0, 0, 16);
    EXPECT_EQ(aligned.bytes.size(), 48u);
    EXPECT_EQ(aligned.bytes[0], 0x40);
    EXPECT_EQ(aligned.bytes[1], 0x00);
}

TEST(RotatePixels, GeneralAnglesKeepTheImageAboutItsCentre)
{
    // A 4 x 4 block turned by 45 degrees about its own centre: the middle
    // stays inked, the corners of the bounds take the fill.
    std::vector<uint8_t> src(16, 9);
    int32_t l, t, w, h;
    char* out = RotatePixels(45, src.data(), 4, -2, -2, 4, 4, l, t, w, h, 8, 1, 7);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(w, 6);
    EXPECT_EQ(h, 6);
    EXPECT_EQ(l, -3);
    EXPECT_EQ(t, -3);
    EXPECT_EQ(uint8_t(out[0]), 7);
    EXPECT_EQ(uint8_t(out[3 * 6 + 3]), 9);
    EXPECT_EQ(uint8_t(out[2 * 6 + 2]), 9);
    gMemory->DisposePtr(out);
    EXPECT_EQ(RotatePixels(10, nullptr, 4, 0, 0, 4, 4, l, t, w, h, 8, 1, 0), nullptr);
    EXPECT_EQ(RotatePixels(10, src.data(), 4, 0, 0, 4, 4, l, t, w, h, 12, 1, 0), nullptr) << "no such depth";
    // A row of the widest side turned half a degree grows past it: refused.
    const std::vector<uint8_t> wide(4096 * 300, 0xFF);
    EXPECT_EQ(RotatePixels(0.5, wide.data(), 4096, 0, 0, 0x7FFF, 300, l, t, w, h, 1, 1, 0), nullptr);
    EXPECT_EQ(w, 0);
}

class RotatedTextTest : public PainterTest {};

class AnglePainter : public VPainter {
public:
    using VPainter::_FinishDrawingRotatedText;
    using VPainter::_PrepareForDrawingRotatedText;
    using VPainter::VPainter;
    void SetAngle(float angle) { fTextAngle = angle; }
};

TEST_F(RotatedTextTest, TheWorldIsTurnedAboutTheStartOfItsBaseLine)
{
    gLookHandlers[5] = new TestLook;
    World port(120, 120);
    AnglePainter painter(port.get(), true);
    painter.SetEraseColor(kWhite);
    const int32_t ascent = painter.GetFontAscent();
    const platform::Rect rect{0, 0, 10, 20};
    platform::GWorldPtr world = nullptr;
    platform::CGrafPtr savedPort = nullptr;
    platform::GDHandle savedDevice = nullptr;
    platform::PixMapHandle pixMap = nullptr;
    EXPECT_FALSE(painter._PrepareForDrawingRotatedText(rect, world, savedPort, savedDevice, pixMap))
        << "no angle: nothing to turn";
    EXPECT_EQ(world, nullptr);

    painter.SetAngle(90);
    ASSERT_TRUE(painter._PrepareForDrawingRotatedText(rect, world, savedPort, savedDevice, pixMap));
    // Ink in the world's four left columns.
    const platform::Rect ink{0, 0, 10, 4};
    const platform::RGBColor black{0, 0, 0};
    platform::RGBForeColor(&black);
    platform::PaintRect(&ink);
    painter._FinishDrawingRotatedText(rect, savedPort, savedDevice, pixMap, 50, 60);
    platform::DisposeGWorld(world);

    // Turned a quarter left about (0, ascent): the left columns become the
    // bottom rows, 10 wide, just above the base line's start.
    int32_t outLeft, outTop, outWidth, outHeight;
    std::vector<uint8_t> dummy(20 * 10 * 4);
    char* probe = RotatePixels(90, dummy.data(), 80, 0, -ascent, 20, 10, outLeft, outTop, outWidth, outHeight, 32,
                               16, 0);
    gMemory->DisposePtr(probe);
    EXPECT_EQ(outWidth, 10);
    EXPECT_EQ(outHeight, 20);
    const int32_t left = 50 + outLeft, top = 60 + outTop;
    EXPECT_EQ(CountNot(port.get(), 0x000000, left, top + 16, left + 10, top + 20), 0);
    EXPECT_EQ(CountNot(port.get(), kWhite, left, top, left + 10, top + 16), 0);
    EXPECT_EQ(CountNot(port.get(), kWhite, 0, 0, 120, top), 0);
}

TEST_F(RotatedTextTest, GeneralAnglesLeaveNoCornersBehind)
{
    gLookHandlers[5] = new TestLook;
    World port(120, 120);
    AnglePainter painter(port.get(), true);
    painter.SetEraseColor(kWhite);
    painter.SetAngle(30);
    const platform::Rect rect{0, 0, 12, 40};
    platform::GWorldPtr world = nullptr;
    platform::CGrafPtr savedPort = nullptr;
    platform::GDHandle savedDevice = nullptr;
    platform::PixMapHandle pixMap = nullptr;
    ASSERT_TRUE(painter._PrepareForDrawingRotatedText(rect, world, savedPort, savedDevice, pixMap));
    painter._FinishDrawingRotatedText(rect, savedPort, savedDevice, pixMap, 60, 60);
    platform::DisposeGWorld(world);
    EXPECT_EQ(CountNot(port.get(), kWhite, 0, 0, 120, 120), 0) << "an empty world turned leaves nothing";
}

}  // namespace
