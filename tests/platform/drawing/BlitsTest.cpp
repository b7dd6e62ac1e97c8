#include <gtest/gtest.h>

#include <png.h>

#include "platform/core/Errors.h"
#include "platform/core/Faults.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/PixMaps.h"
#include "platform/drawing/PngExport.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "tests/platform/drawing/DrawingTestSupport.h"

using namespace platform;
using namespace drawingtest;

TEST(Blits, ScalingReplicatesAndSamples)
{
    World small(2, 2), big(4, 4), out(2, 2);
    small.Set(0, 0, 0x110000);
    small.Set(1, 0, 0x220000);
    small.Set(0, 1, 0x330000);
    small.Set(1, 1, 0x440000);
    Rect r2{0, 0, 2, 2}, r4{0, 0, 4, 4};
    CopyBits(small.bits(), big.bits(), &r2, &r4, srcCopy, nullptr);
    for (int v = 0; v < 4; ++v)
        for (int h = 0; h < 4; ++h)
            ASSERT_EQ(big.At(h, v), small.At(h / 2, v / 2)) << h << "," << v;
    for (int v = 0; v < 4; ++v)
        for (int h = 0; h < 4; ++h)
            big.Set(h, v, uint32_t(v * 4 + h));
    CopyBits(big.bits(), out.bits(), &r4, &r2, srcCopy, nullptr);
    EXPECT_EQ(out.At(0, 0), 0u);
    EXPECT_EQ(out.At(1, 0), 2u);
    EXPECT_EQ(out.At(0, 1), 8u);
    EXPECT_EQ(out.At(1, 1), 10u);
}

TEST(Blits, MaskRegionIconColoursAndMasks)
{
    World src(16, 16), dst(16, 16);
    Rect all{0, 0, 16, 16};
    SetGWorld(src.get(), nullptr);
    PaintRect(&all);
    SetGWorld(dst.get(), nullptr);
    RgnHandle mask = NewRgn();
    SetRectRgn(mask, 4, 4, 8, 8);
    CopyBits(src.bits(), dst.bits(), &all, &all, srcCopy, mask);
    EXPECT_EQ(dst.CountNot(kWhite), 16);
    EXPECT_EQ(dst.At(4, 4), kBlack);
    EXPECT_EQ(dst.At(8, 8), kWhite);

    // A 1-bit icon takes the port's colours.
    uint8_t icon[2 * 16] = {};
    icon[0] = 0x80;  // (0, 0) set
    BitMap bits{reinterpret_cast<Ptr>(icon), 2, {0, 0, 16, 16}};
    RGBColor green{0, 0xFFFF, 0}, grey{0x8080, 0x8080, 0x8080};
    RGBForeColor(&green);
    RGBBackColor(&grey);
    CopyBits(&bits, dst.bits(), &all, &all, srcCopy, nullptr);
    EXPECT_EQ(dst.At(0, 0), 0x00FF00u);
    EXPECT_EQ(dst.At(1, 0), 0x808080u);

    // CopyMask copies only where the mask has ink.
    uint8_t maskBits[2 * 16] = {};
    maskBits[2 * 3] = 0x10;  // (3, 3)
    BitMap maskMap{reinterpret_cast<Ptr>(maskBits), 2, {0, 0, 16, 16}};
    RGBColor black{0, 0, 0}, white{0xFFFF, 0xFFFF, 0xFFFF};
    RGBForeColor(&black);
    RGBBackColor(&white);
    EraseRect(&all);
    CopyMask(src.bits(), &maskMap, dst.bits(), &all, &all, &all);
    EXPECT_EQ(dst.CountNot(kWhite), 1);
    EXPECT_EQ(dst.At(3, 3), kBlack);

    // Rectangles outside either map copy nothing and read nothing outside.
    Rect far{-100, -100, 100, 100}, off{200, 200, 300, 300};
    CopyBits(src.bits(), dst.bits(), &far, &far, srcCopy, nullptr);
    CopyBits(src.bits(), dst.bits(), &off, &all, srcCopy, nullptr);
    CopyBits(nullptr, dst.bits(), &all, &all, srcCopy, nullptr);
    EXPECT_EQ(dst.At(15, 15), kBlack);
    DisposeRgn(mask);
}

TEST(Blits, ScrollRectMovesAndAnswersTheBand)
{
    World w(32, 40);
    for (int v = 0; v < 40; ++v)
        for (int h = 0; h < 32; ++h)
            w.Set(h, v, uint32_t(v));
    Rect all{0, 0, 40, 32};
    RgnHandle update = NewRgn();
    ScrollRect(&all, 0, 10, update);
    EXPECT_EQ(w.At(5, 10), 0u);
    EXPECT_EQ(w.At(5, 39), 29u);
    EXPECT_EQ(w.At(5, 9), kWhite);
    Rect band;
    GetRegionBounds(update, &band);
    EXPECT_EQ(band.top, 0);
    EXPECT_EQ(band.bottom, 10);
    EXPECT_EQ(band.left, 0);
    EXPECT_EQ(band.right, 32);
    EXPECT_TRUE(IsRegionRectangular(update));
    // Upwards and sideways.
    ScrollRect(&all, -3, -10, update);
    EXPECT_EQ(w.At(5, 0), 0u);
    EXPECT_EQ(w.At(28, 0), 0u);
    EXPECT_EQ(w.At(29, 0), kWhite);
    DisposeRgn(update);
}

TEST(Worlds, DepthsUpdatesFailuresAndCoordinates)
{
    GWorldPtr world = nullptr;
    Rect bounds{0, 0, 10, 20};
    {
        ScopedFault fault(FaultKind::Allocation, 0, -1);
        EXPECT_EQ(NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0), memFullErr);
        EXPECT_EQ(world, nullptr);
    }
    Rect bad{0, 0, 10, 30000};
    EXPECT_EQ(NewGWorld(&world, 32, &bad, nullptr, nullptr, 0), paramErr);

    // A 1-bit world draws black as set bits.
    World mono(20, 10, 1);
    EXPECT_EQ(GetPixDepth(GetGWorldPixMap(mono.get())), 1);
    Rect r{2, 3, 4, 5};
    PaintRect(&r);
    EXPECT_TRUE(GetPixel(3, 2));
    EXPECT_FALSE(GetPixel(5, 2));
    RgnHandle rgn = NewRgn();
    EXPECT_EQ(BitMapToRegion(rgn, mono.bits()), noErr);
    RgnHandle expected = NewRgn();
    RectRgn(expected, &r);
    EXPECT_TRUE(EqualRgn(rgn, expected));

    // Growing a world keeps its pixels with clipPix.
    World w(8, 8);
    w.Set(1, 1, 0x123456);
    GWorldPtr p = w.get();
    Rect larger{0, 0, 16, 16};
    GWorldFlags flags = UpdateGWorld(&p, 32, &larger, nullptr, nullptr, clipPix);
    EXPECT_TRUE(flags & reallocPix);
    EXPECT_EQ(w.At(1, 1), 0x123456u);
    EXPECT_EQ(w.get()->portRect.right, 16);

    // Local and global coordinates follow the origin and the global offset.
    SetPortGlobalOffset(w.get(), {100, 50});
    SetOrigin(10, 20);
    Point pt{20, 10};  // local top left
    LocalToGlobal(&pt);
    EXPECT_EQ(pt.h, 50);
    EXPECT_EQ(pt.v, 100);
    GlobalToLocal(&pt);
    EXPECT_EQ(pt.h, 10);
    EXPECT_EQ(pt.v, 20);
    DisposeRgn(rgn);
    DisposeRgn(expected);
}

TEST(Png, ExportDecodesToTheSamePixels)
{
    World w(3, 2);
    w.Set(0, 0, 0xFF0000);
    w.Set(2, 1, 0x00FF80);
    std::vector<uint8_t> data;
    ASSERT_EQ(EncodePNG(w.bits(), data), noErr);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, data.data(), data.size()));
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(pixels[0], 0xFF);
    EXPECT_EQ(pixels[1], 0x00);
    EXPECT_EQ(pixels[3], 0xFF);  // white
    EXPECT_EQ(pixels[5 * 3 + 1], 0xFF);
    EXPECT_EQ(pixels[5 * 3 + 2], 0x80);
    EXPECT_EQ(EncodePNG(nullptr, data), paramErr);
    EXPECT_EQ(WritePortPNG(w.get(), "/nonexistent-folder/x.png"), ioErr);
}
