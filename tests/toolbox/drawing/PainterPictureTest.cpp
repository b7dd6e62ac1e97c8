#include <gtest/gtest.h>

#include <functional>

#include "platform/drawing/PixMaps.h"
#include "platform/drawing/Shapes.h"
#include "platform/pictures/PictWriter.h"
#include "tests/toolbox/drawing/PainterTestSupport.h"
#include "toolbox/drawing/VImageData.h"
#include "toolbox/drawing/VPicture.h"
#include "toolbox/foundation/VIcon.h"

using namespace paintertest;

namespace {

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGrey = 0x808080;

// White as standard colour 0 and black as 10, as the looks have them.
class PlainLook : public TestLook {
public:
    explicit PlainLook(bool paints = true) : paints_(paints) {}
    bool Paint(VPainter*, PaintMethod, PaintStatus, int32_t, int32_t, int32_t, int32_t, const VString*,
               void*) override
    {
        return paints_;
    }
    uint32_t GetStdColor(StdColor color) override
    {
        if (color == 0) return 0xFFFFFF;
        if (color == 10) return 0x000000;
        return TestLook::GetStdColor(color);
    }

private:
    bool paints_;
};

// A picture of w x h whose pixel (x, y) is colour(x, y).
VPictData* Picture(int16_t w, int16_t h, const std::function<uint32_t(int32_t, int32_t)>& colour)
{
    platform::PictWriter writer;
    const platform::Rect frame{0, 0, h, w};
    writer.Begin(frame, true, 72 << 16, 72 << 16, frame);
    std::vector<uint32_t> pixels(size_t(w) * size_t(h));
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) pixels[size_t(y) * size_t(w) + size_t(x)] = colour(x, y);
    writer.DirectBits(pixels.data(), w, h, frame, frame, frame, platform::srcCopy, nullptr);
    writer.Finish();
    return new VPictData(writer.bytes().data(), int32_t(writer.size()));
}

// Distinct colours by position, so a misplaced pixel shows.
uint32_t Coded(int32_t x, int32_t y) { return uint32_t(0x200000 + x * 0x100 + y * 2); }

void FillPort(platform::CGrafPtr port, uint32_t rgb)
{
    platform::SetGWorld(port, nullptr);
    const platform::RGBColor c{uint16_t((rgb >> 16 & 0xFF) * 0x101), uint16_t((rgb >> 8 & 0xFF) * 0x101),
                               uint16_t((rgb & 0xFF) * 0x101)};
    platform::RGBForeColor(&c);
    platform::Rect all;
    platform::GetPortBounds(port, &all);
    platform::PaintRect(&all);
}

class PainterPictureTest : public PainterTest {
protected:
    void SetUp() override
    {
        PainterTest::SetUp();
        gLookHandlers[5] = new PlainLook;
    }
};

TEST_F(PainterPictureTest, CentredLargerImagesAreClippedToTheFrame)
{
    World port(200, 200);
    VPainter painter(port.get(), true);
    VPicture picture(Picture(100, 50, Coded));
    picture.SetPos(60, 70);
    picture.SetSize(40, 40);
    picture.SetDisplayMode(kPictureCentred);
    LongRect image, frame;
    painter._MakePictureRect(picture, image, frame, 1.0);
    EXPECT_EQ(image.left, 30);
    EXPECT_EQ(image.top, 65);
    EXPECT_EQ(image.right, 130);
    EXPECT_EQ(image.bottom, 115);
    painter.DrawVPicture(picture, 1.0);
    EXPECT_EQ(PixelAt(port.get(), 60, 70), Coded(30, 5));
    EXPECT_EQ(PixelAt(port.get(), 99, 109), Coded(69, 44));
    EXPECT_EQ(CountNot(port.get(), kWhite, 0, 0, 200, 70), 0);
    EXPECT_EQ(CountNot(port.get(), kWhite, 0, 70, 60, 110), 0);
    EXPECT_EQ(CountNot(port.get(), kWhite, 100, 70, 200, 110), 0);
    EXPECT_EQ(CountNot(port.get(), kWhite, 0, 110, 200, 200), 0);
}

TEST_F(PainterPictureTest, ScaledImagesFitTheFrameAtTheTopOrCentred)
{
    for (int16_t mode : {kPictureScaled, kPictureScaledCentred}) {
        World port(200, 200);
        VPainter painter(port.get(), true);
        VPicture picture(Picture(200, 100, [](int32_t, int32_t) { return kRed; }));
        picture.SetPos(10, 20);
        picture.SetSize(100, 100);
        picture.SetDisplayMode(mode);
        LongRect image, frame;
        painter._MakePictureRect(picture, image, frame, 1.0);
        const int32_t top = mode == kPictureScaled ? 20 : 45;
        EXPECT_EQ(image.left, 10);
        EXPECT_EQ(image.top, top);
        EXPECT_EQ(image.right, 110);
        EXPECT_EQ(image.bottom, top + 50);
        painter.DrawVPicture(picture, 1.0);
        EXPECT_EQ(CountNot(port.get(), kRed, 10, top, 110, top + 50), 0) << mode;
        EXPECT_EQ(CountNot(port.get(), kWhite, 0, 0, 200, top), 0) << mode;
        EXPECT_EQ(CountNot(port.get(), kWhite, 0, top + 50, 200, 200), 0) << mode;
    }
}

// The narrowest image is drawn; an image of no height, scaled, has no
// rectangle at all.
TEST_F(PainterPictureTest, OnePixelWideImagesDrawAndImagesOfNoHeightPlaceNothing)
{
    World port(60, 60);
    VPainter painter(port.get(), true);
    VPicture narrow(Picture(1, 20, [](int32_t, int32_t) { return kRed; }));
    narrow.SetPos(10, 10);
    narrow.SetSize(30, 30);
    narrow.SetDisplayMode(kPictureTopLeft);
    painter.DrawVPicture(narrow, 1.0);
    EXPECT_EQ(CountNot(port.get(), kRed, 10, 10, 11, 30), 0);
    EXPECT_EQ(CountNot(port.get(), kWhite, 0, 0, 60, 60), 20);

    VPicture flat(Picture(20, 0, [](int32_t, int32_t) { return kRed; }));
    flat.SetPos(10, 10);
    flat.SetSize(30, 30);
    flat.SetDisplayMode(kPictureScaled);
    LongRect image, frame;
    painter._MakePictureRect(flat, image, frame, 1.0);
    EXPECT_EQ(image.right, image.left);
    EXPECT_EQ(image.bottom, image.top);
}

TEST_F(PainterPictureTest, TilesFillTheFrameFromItsTopLeftAndStopAtItsEdges)
{
    World port(200, 120);
    VPainter painter(port.get(), true);
    VPicture picture(Picture(30, 20, Coded));
    picture.SetPos(20, 10);
    picture.SetSize(100, 50);
    picture.SetDisplayMode(kPictureTiled);
    platform::ResetDrawingCallCounts();
    painter.DrawVPicture(picture, 1.0);
    EXPECT_EQ(Calls(platform::DrawingCall::CopyBits), 13u) << "4 columns of 3 rows, and the picture's own pixels once";
    EXPECT_EQ(Calls(platform::DrawingCall::NewGWorld), 1u) << "played once";
    for (int32_t y = 10; y < 60; y += 7)
        for (int32_t x = 20; x < 120; x += 9) ASSERT_EQ(PixelAt(port.get(), x, y), Coded((x - 20) % 30, (y - 10) % 20));
    EXPECT_EQ(CountNot(port.get(), kWhite, 120, 0, 200, 120), 0);
    EXPECT_EQ(CountNot(port.get(), kWhite, 0, 60, 200, 120), 0);
}

TEST_F(PainterPictureTest, TransparentPicturesKeepTheBackgroundUnderTheirWhite)
{
    World port(100, 100);
    FillPort(port.get(), kBlue);
    VPainter painter(port.get(), true);
    VPicture picture(Picture(40, 20, [](int32_t x, int32_t) { return x < 20 ? kWhite : kRed; }));
    picture.SetPos(10, 10);
    picture.SetTransferMode(kPictureTransparent);
    painter.DrawVPicture(picture, 1.0);
    EXPECT_EQ(CountNot(port.get(), kBlue, 10, 10, 30, 30), 0);
    EXPECT_EQ(CountNot(port.get(), kRed, 30, 10, 50, 30), 0);
    picture.SetTransferMode(0);
    painter.DrawVPicture(picture, 1.0);
    EXPECT_EQ(CountNot(port.get(), kWhite, 10, 10, 30, 30), 0);
}

// An image value of another kind: its bytes are no picture.
class OtherKind : public VPictData {
public:
    using VPictData::VPictData;
    ImageKind GetImageKind() const override { return kImageJPEG; }
};

TEST_F(PainterPictureTest, ImagesOfNoSizeOrAnotherKindDrawNothingAndStayAsTheyWere)
{
    World port(100, 100);
    VPainter painter(port.get(), true);
    for (int16_t mode = 1; mode <= 6; ++mode) {
        platform::PictWriter writer;
        const platform::Rect empty{5, 5, 5, 5};
        writer.Begin(empty, true, 72 << 16, 72 << 16, empty);
        writer.Finish();
        VPicture picture(new VPictData(writer.bytes().data(), int32_t(writer.size())));
        picture.SetPos(10, 10);
        picture.SetSize(50, 50);
        picture.SetDisplayMode(mode);
        painter.DrawVPicture(picture, 1.0);
    }
    EXPECT_EQ(CountNot(port.get(), kWhite, 0, 0, 100, 100), 0);

    VPictData* red = Picture(10, 10, [](int32_t, int32_t) { return kRed; });
    auto* other = new OtherKind(static_cast<const void*>(*red->GetData()), red->GetSize());
    delete red;
    VPicture picture(other);
    picture.SetPos(0, 0);
    platform::Handle before = other->GetData();
    painter.DrawVPicture(picture, 1.0);
    EXPECT_EQ(picture.GetImageData(), other);
    EXPECT_EQ(other->GetData(), before) << "the image is not replaced";
    EXPECT_EQ(CountNot(port.get(), kWhite, 0, 0, 100, 100), 0);
    VPicture none;
    painter.DrawVPicture(none, 1.0);
}

// A 4 x 4 'cicn': mask over the two left columns, the image bit at the
// top left, 8-bit pixels red in the left columns and white elsewhere.
std::vector<uint8_t> IconResource()
{
    std::vector<uint8_t> r;
    auto w16 = [&](uint16_t v) { r.push_back(uint8_t(v >> 8)), r.push_back(uint8_t(v)); };
    auto w32 = [&](uint32_t v) { w16(uint16_t(v >> 16)), w16(uint16_t(v)); };
    auto rect = [&](int16_t t, int16_t l, int16_t b, int16_t rr) { w16(t), w16(l), w16(b), w16(rr); };
    w32(0), w16(0x8004), rect(0, 0, 4, 4), w16(0), w16(0), w32(0), w32(0x480000), w32(0x480000);
    w16(0), w16(8), w16(1), w16(8), w32(0), w32(0), w32(0);
    w32(0), w16(2), rect(0, 0, 4, 4);  // mask
    w32(0), w16(2), rect(0, 0, 4, 4);  // image
    w32(0);
    for (int i = 0; i < 4; ++i) r.push_back(0xC0), r.push_back(0);
    for (int i = 0; i < 4; ++i) r.push_back(i == 0 ? 0x80 : 0), r.push_back(0);
    w32(0), w16(0), w16(1);
    w16(0), w16(0xFFFF), w16(0xFFFF), w16(0xFFFF);
    w16(1), w16(0xFFFF), w16(0), w16(0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) r.push_back(x < 2 ? 1 : 0);
    return r;
}

TEST_F(PainterPictureTest, IconsInTheirFourStates)
{
    const std::vector<uint8_t> bytes = IconResource();
    VIcon icon(nullptr, nullptr, int16_t(128));
    ASSERT_TRUE(icon.BuildMacIcon(nullptr, reinterpret_cast<const char*>(bytes.data()), int32_t(bytes.size())));
    const platform::CTabHandle table = (*icon.GetPixMap())->pmTable;
    const platform::ColorSpec red = platform::CTabEntries(table)[1];

    struct Case {
        IconState state;
        uint32_t inside;
    };
    for (const Case c : {Case{0, kRed}, Case{1, 0x7F0000}, Case{2, 0xFF7F7F}}) {
        World port(40, 40);
        FillPort(port.get(), kGrey);
        VPainter painter(port.get(), true);
        painter.AddOffset(10, 10);
        painter.DrawVIcon(icon, c.state);
        EXPECT_EQ(CountNot(port.get(), c.inside, 10, 10, 12, 14), 0) << c.state;
        EXPECT_EQ(CountNot(port.get(), kGrey, 12, 10, 40, 40), 0) << "nothing outside the mask, state " << c.state;
        EXPECT_EQ(CountNot(port.get(), kGrey, 0, 0, 10, 40), 0);
        EXPECT_EQ(CountNot(port.get(), kGrey, 0, 14, 40, 40), 0);
        const platform::ColorSpec after = platform::CTabEntries(table)[1];
        EXPECT_EQ(after.rgb.red, red.rgb.red);
        EXPECT_EQ(after.rgb.green, red.rgb.green);
        EXPECT_EQ(platform::CTabEntryCount(table), 2);
    }
    {
        World port(40, 40);
        FillPort(port.get(), kGrey);
        VPainter painter(port.get(), true);
        painter.AddOffset(10, 10);
        painter.DrawVIcon(icon, 3);
        EXPECT_EQ(PixelAt(port.get(), 10, 10), kWhite) << "the background where the image is set";
        EXPECT_EQ(CountNot(port.get(), kGrey, 0, 0, 40, 40), 1);
        painter.DrawVIcon(icon, 4);
        painter.DrawVIcon(icon, -1);
        EXPECT_EQ(CountNot(port.get(), kGrey, 0, 0, 40, 40), 1);
    }
    VIcon empty(nullptr, nullptr, int16_t(129));
    World port(10, 10);
    VPainter painter(port.get(), true);
    painter.DrawVIcon(empty, 0);
    EXPECT_EQ(CountNot(port.get(), kWhite, 0, 0, 10, 10), 0);
}

}  // namespace
