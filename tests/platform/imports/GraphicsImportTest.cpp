// Image files imported as pictures: PNG (RGBA, palette, grey) and JPEG at
// their size, playing as their pixels; sizes past the pixel-map limits
// refused before any pixel memory is taken.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdlib>
#include <vector>

#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/GWorlds.h"
#include "platform/files/FileSpec.h"
#include "platform/files/WholeFile.h"
#include "platform/imports/GraphicsImport.h"
#include "platform/pictures/Pictures.h"
#include "tests/platform/drawing/DrawingTestSupport.h"
#include "tests/platform/files/TempFolder.h"
#include "tests/platform/pictures/ImageTestFiles.h"
#include "tests/platform/pictures/PictureTestSupport.h"

namespace {

using namespace platform;
using drawingtest::World;
using picturetest::PngKind;

std::vector<uint32_t> Gradient(int w, int h, bool alpha)
{
    std::vector<uint32_t> px(size_t(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t a = alpha ? uint32_t(x * 255 / (w - 1)) : 0xFF;
            px[size_t(y * w + x)] = (a << 24) | uint32_t((x * 37) & 0xFF) << 16 | uint32_t((y * 29) & 0xFF) << 8 |
                                    uint32_t((x * y) & 0xFF);
        }
    return px;
}

class Import : public ::testing::Test {
protected:
    FSSpec Write(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        FSSpec fileSpec{dir_ / name};
        EXPECT_EQ(WriteFileAtomically(fileSpec.path, bytes.data(), bytes.size()), noErr);
        return fileSpec;
    }
    // Imports the file and plays its picture into a fresh world.
    OSErr ImportAndPlay(const FSSpec& fileSpec, World& w, Rect* bounds, std::vector<uint8_t>* pict = nullptr)
    {
        SetGWorld(w.get(), nullptr);
        GraphicsImportComponent gi = nullptr;
        OSErr err = GetGraphicsImporterForFile(&fileSpec, &gi);
        if (err != noErr)
            return err;
        GraphicsImportGetNaturalBounds(gi, bounds);
        PicHandle pic = nullptr;
        err = OSErr(GraphicsImportGetAsPicture(gi, &pic));
        CloseComponent(gi);
        if (err != noErr)
            return err;
        if (pict)
            *pict = picturetest::FromHandle(pic);
        DrawPicture(pic, bounds);
        KillPicture(pic);
        return QDError();
    }
    platform::testing::TempFolder dir_;
};

TEST_F(Import, PngInEveryKindPlaysAsItsPixels)
{
    const int w = 24, h = 10;
    struct Case {
        PngKind kind;
        std::vector<uint32_t> px;
    };
    std::vector<uint32_t> palette(size_t(w * h));
    for (size_t i = 0; i < palette.size(); ++i)
        palette[i] = (i % 3 == 0) ? 0xFF123456 : (i % 3 == 1) ? 0xFFABCDEF : 0xFF00FF00;
    std::vector<uint32_t> grey(size_t(w * h));
    for (size_t i = 0; i < grey.size(); ++i)
        grey[i] = 0xFF000000 | uint32_t(i * 7 % 256) * 0x010101;
    Case cases[] = {{PngKind::RGBA, Gradient(w, h, true)}, {PngKind::Palette, palette}, {PngKind::Grey, grey}};
    for (const Case& c : cases) {
        World world(w, h);
        FSSpec fileSpec = Write("image.png", picturetest::EncodePng(w, h, c.px, c.kind));
        Rect bounds{};
        std::vector<uint8_t> pict;
        ASSERT_EQ(ImportAndPlay(fileSpec, world, &bounds, &pict), noErr);
        EXPECT_EQ(bounds.right, w);
        EXPECT_EQ(bounds.bottom, h);
        EXPECT_EQ(pict[40] << 8 | pict[41], 0x009A);  // direct bits
        int differ = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint32_t p = c.px[size_t(y * w + x)], a = p >> 24, expect = 0;
                for (int s = 16; s >= 0; s -= 8)
                    expect = (expect << 8) | ((((p >> s) & 0xFF) * a + 255 * (255 - a) + 127) / 255);
                if (c.kind == PngKind::Grey)
                    expect = p & 0xFFFFFF;
                differ += world.At(x, y) != expect;
            }
        EXPECT_EQ(differ, 0) << int(c.kind);
    }
}

TEST_F(Import, JpegKeepsItsCompressedDataAndPlaysAsItsPixels)
{
    const int w = 16, h = 16;
    std::vector<uint32_t> px(size_t(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[size_t(y * w + x)] = y < 8 ? 0x2080C0 : 0xF0E010;
    std::vector<uint8_t> jpeg = picturetest::EncodeJpeg(w, h, px);
    World world(w, h);
    FSSpec fileSpec = Write("photo.jpg", jpeg);
    Rect bounds{};
    std::vector<uint8_t> pict;
    ASSERT_EQ(ImportAndPlay(fileSpec, world, &bounds, &pict), noErr);
    EXPECT_EQ(bounds.right, w);
    EXPECT_EQ(bounds.bottom, h);
    EXPECT_EQ(pict[40] << 8 | pict[41], 0x8200);
    EXPECT_NE(std::search(pict.begin(), pict.end(), jpeg.begin(), jpeg.end()), pict.end());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t got = world.At(x, y), want = px[size_t(y * w + x)];
            for (int s = 0; s <= 16; s += 8)
                ASSERT_LE(std::abs(int((got >> s) & 0xFF) - int((want >> s) & 0xFF)), 6) << x << "," << y;
        }
    // Drawn straight into a world of the caller's choosing.
    World other(w, h);
    GraphicsImportComponent gi = nullptr;
    ASSERT_EQ(GetGraphicsImporterForFile(&fileSpec, &gi), noErr);
    EXPECT_EQ(GraphicsImportSetGWorld(gi, other.get(), nullptr), noErr);
    World current(4, 4);
    EXPECT_EQ(GraphicsImportDraw(gi), noErr);
    EXPECT_EQ(GetQDGlobalsThePort(), current.get());
    EXPECT_EQ(other.At(3, 3), world.At(3, 3));
    CloseComponent(gi);
}

TEST_F(Import, KindComesFromTheExtensionElseTheFinderType)
{
    std::vector<uint8_t> png = picturetest::EncodePng(4, 4, Gradient(4, 4, false), PngKind::RGBA);
    FSSpec plain = Write("image.dat", png);
    GraphicsImportComponent gi = nullptr;
    EXPECT_EQ(GetGraphicsImporterForFile(&plain, &gi), cantFindHandler);
    EXPECT_EQ(gi, nullptr);
    FInfo info{};
    info.fdType = FourCC("PNGf");
    ASSERT_EQ(FSpSetFInfo(plain, info), noErr);
    ASSERT_EQ(GetGraphicsImporterForFile(&plain, &gi), noErr);
    Rect bounds{};
    EXPECT_EQ(GraphicsImportGetNaturalBounds(gi, &bounds), noErr);
    EXPECT_EQ(bounds.right, 4);
    CloseComponent(gi);
    // A JPEG named as a PNG is damaged data, not a crash.
    FSSpec wrong = Write("wrong.png", picturetest::EncodeJpeg(4, 4, Gradient(4, 4, false)));
    World world(8, 8);
    EXPECT_EQ(ImportAndPlay(wrong, world, &bounds), codecBadDataErr);
    FSSpec missing{dir_ / "missing.png"};
    EXPECT_EQ(GetGraphicsImporterForFile(&missing, &gi), fnfErr);
}

// A PNG whose header claims 100,000 x 100,000 pixels.
std::vector<uint8_t> HugePng()
{
    std::vector<uint8_t> png = picturetest::EncodePng(4, 4, Gradient(4, 4, false), PngKind::RGBA);
    // IHDR data starts at 16: width, height, then its CRC over type and data at 29.
    for (int at : {16, 20}) {
        png[size_t(at)] = 0, png[size_t(at + 1)] = 0x01, png[size_t(at + 2)] = 0x86, png[size_t(at + 3)] = 0xA0;
    }
    uLong crc = crc32(0, png.data() + 12, 17);
    png[29] = uint8_t(crc >> 24), png[30] = uint8_t(crc >> 16), png[31] = uint8_t(crc >> 8), png[32] = uint8_t(crc);
    return png;
}

TEST_F(Import, SizesPastThePixelMapLimitsAreRefusedBeforeAllocating)
{
    std::vector<uint8_t> huge = HugePng();
    FSSpec fileSpec = Write("huge.png", huge);
    GraphicsImportComponent gi = nullptr;
    ASSERT_EQ(GetGraphicsImporterForFile(&fileSpec, &gi), noErr);
    Rect bounds{1, 1, 1, 1};
    EXPECT_EQ(GraphicsImportGetNaturalBounds(gi, &bounds), imageTooLargeErr);
    int64_t before = MemoryInUse();
    PicHandle pic = reinterpret_cast<PicHandle>(1);
    EXPECT_EQ(GraphicsImportGetAsPicture(gi, &pic), imageTooLargeErr);
    EXPECT_EQ(pic, nullptr);
    EXPECT_EQ(MemoryInUse(), before);
    CloseComponent(gi);

    // Within the limits but short of memory: -108.
    std::vector<uint8_t> png = picturetest::EncodePng(64, 64, Gradient(64, 64, false), PngKind::RGBA);
    PicHandle made = nullptr;
    {
        ScopedFault fault(FaultKind::Allocation, 0, -1);
        EXPECT_EQ(ImportPictureFromBytes(FourCC("PNGf"), png.data(), png.size(), &made), memFullErr);
    }
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(ImportPictureFromBytes(FourCC("PNGf"), png.data(), png.size(), &made), noErr);
    KillPicture(made);
}

}  // namespace
