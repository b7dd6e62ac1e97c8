// Picture playback beside direct drawing: 10,000 shapes and text lines
// drawn straight into a world, then recorded once and played back into
// another; prints both times and their ratio (playback / direct).
// Then a picture holding one 32-bit pixel map of a page (recorded from a
// world with CopyBits, packed as the recording packs it) drawn into a world
// of the page, beside one fill of the same page; pages of 1,000 and 4,000
// pixels a side, processor time, medians of five, and how both grow with
// the pixels.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "bench/BenchTiming.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/PixMaps.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/Fonts.h"
#include "platform/pictures/Pictures.h"

using namespace platform;

namespace {

constexpr int kWidth = 800, kHeight = 600, kItems = 10000, kRuns = 7;

// The same 10,000 calls every time: every shape kind in turn, a text line
// every tenth call, colours and pen changing as they go.
void DrawItems()
{
    Pattern gray{};
    GetQDGlobalsGray(&gray);
    for (int i = 0; i < kItems; ++i) {
        int16_t x = int16_t((i * 37) % (kWidth - 60)), y = int16_t((i * 53) % (kHeight - 40));
        Rect r{y, x, int16_t(y + 12 + i % 20), int16_t(x + 16 + i % 40)};
        RGBColor c{uint16_t(i * 97), uint16_t(i * 131), uint16_t(i * 173)};
        RGBForeColor(&c);
        PenSize(int16_t(1 + i % 3), int16_t(1 + i % 2));
        switch (i % 10) {
        case 0: FrameRect(&r); break;
        case 1: PaintOval(&r); break;
        case 2: FrameRoundRect(&r, 8, 8); break;
        case 3: FillRect(&r, &gray); break;
        case 4: InvertRect(&r); break;
        case 5: PaintArc(&r, 45, 135); break;
        case 6: EraseOval(&r); break;
        case 7:
            MoveTo(r.left, r.top);
            LineTo(r.right, r.bottom);
            break;
        case 8: FrameOval(&r); break;
        default:
            TextFont(i % 20 == 9 ? applFont : kFontIDTimes);
            TextSize(12);
            MoveTo(x, int16_t(y + 12));
            DrawString(reinterpret_cast<const unsigned char*>("\x1C" "A line of text in a picture."));
            break;
        }
    }
    PenNormal();
}

double Median(const std::function<void()>& f) { return bench::MedianMs(kRuns, f); }

// A page of `side` pixels a side: bands of colour with a pattern across
// them, so that rows pack as photographs and drawings do, some runs and
// some literals.
PicHandle PixelMapPicture(int16_t side)
{
    const Rect page{0, 0, side, side};
    GWorldPtr world = nullptr;
    if (NewGWorld(&world, 32, &page, nullptr, nullptr, 0) != noErr) return nullptr;
    PixMapHandle map = GetGWorldPixMap(world);
    auto* base = reinterpret_cast<uint8_t*>((*map)->baseAddr);
    const int32_t stride = (*map)->rowBytes & 0x3FFF;
    for (int32_t y = 0; y < side; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(base + int64_t(y) * stride);
        for (int32_t x = 0; x < side; ++x)
            row[x] = (x / 64 % 2 ? 0x00FF8040u : 0x002080C0u) + uint32_t((x * 7 + y * 3) % 29 < 3 ? (x ^ y) & 0xFF : 0);
    }
    CGrafPtr saved = nullptr;
    GDHandle device = nullptr;
    GetGWorld(&saved, &device);
    SetGWorld(world, nullptr);
    const OpenCPicParams params{page, 72 << 16, 72 << 16, -2, 0, 0};
    PicHandle picture = OpenCPicture(&params);
    if (picture) {
        CopyBits(GetPortBitMapForCopyBits(world), GetPortBitMapForCopyBits(world), &page, &page, srcCopy, nullptr);
        ClosePicture();
    }
    SetGWorld(saved, device);
    DisposeGWorld(world);
    return picture;
}

struct PageFigures {
    double drawn = 0, filled = 0;
    int32_t bytes = 0;
};

// The picture drawn into a world of the page, beside one fill of the page.
bool PixelMapPage(int16_t side, PageFigures* out)
{
    PicHandle picture = PixelMapPicture(side);
    const Rect page{0, 0, side, side};
    GWorldPtr world = nullptr;
    if (!picture || NewGWorld(&world, 32, &page, nullptr, nullptr, 0) != noErr) return false;
    out->bytes = int32_t(GetHandleSize(picture));
    CGrafPtr saved = nullptr;
    GDHandle device = nullptr;
    GetGWorld(&saved, &device);
    SetGWorld(world, nullptr);
    out->drawn = bench::MedianCpuMs(5, [&] { DrawPicture(picture, &page); });
    out->filled = bench::MedianCpuMs(5, [&] { PaintRect(&page); });
    SetGWorld(saved, device);
    DisposeGWorld(world);
    KillPicture(picture);
    return true;
}

}  // namespace

int main()
{
    Rect bounds{0, 0, kHeight, kWidth};
    GWorldPtr direct = nullptr, played = nullptr;
    if (NewGWorld(&direct, 32, &bounds, nullptr, nullptr, 0) || NewGWorld(&played, 32, &bounds, nullptr, nullptr, 0)) {
        std::fprintf(stderr, "cannot make the worlds\n");
        return 1;
    }
    SetGWorld(direct, nullptr);
    DrawItems();  // fonts and glyphs loaded before timing
    double directMs = Median([] {
        EraseRect(&GetQDGlobalsThePort()->portRect);
        DrawItems();
    });

    SetGWorld(played, nullptr);
    PicHandle pic = OpenPicture(&bounds);
    DrawItems();
    ClosePicture();
    if (!pic || QDError() != noErr) {
        std::fprintf(stderr, "cannot record the picture\n");
        return 1;
    }
    double playMs = Median([&] {
        EraseRect(&bounds);
        DrawPicture(pic, &bounds);
    });
    std::printf("picture of %d shapes and text lines (%d bytes)\n", kItems, int(GetHandleSize(pic)));
    std::printf("direct drawing   %8.2f ms\n", directMs);
    std::printf("picture playback %8.2f ms\n", playMs);
    std::printf("ratio playback/direct %.2f\n", playMs / directMs);
    KillPicture(pic);
    DisposeGWorld(direct);
    DisposeGWorld(played);

    const int16_t sides[2] = {1000, 4000};
    PageFigures pages[2];
    for (int i = 0; i < 2; ++i)
        if (!PixelMapPage(sides[i], &pages[i])) {
            std::fprintf(stderr, "cannot make the pixel-map picture\n");
            return 1;
        }
    std::printf("\npicture of one 32-bit pixel map of the page, drawn, beside one fill of the page (processor time, "
                "medians of 5)\n");
    std::printf("%6s %12s %12s %12s %8s\n", "side", "bytes", "drawn ms", "fill ms", "ratio");
    for (int i = 0; i < 2; ++i)
        std::printf("%6d %12d %12.2f %12.2f %8.2f\n", int(sides[i]), int(pages[i].bytes), pages[i].drawn,
                    pages[i].filled, pages[i].drawn / pages[i].filled);
    const double x = double(sides[1]) * sides[1] / (double(sides[0]) * sides[0]);
    std::printf("growth (pixels x%.0f): drawn e = %.2f, fill e = %.2f; 1 is linear\n", x,
                std::log(pages[1].drawn / pages[0].drawn) / std::log(x),
                std::log(pages[1].filled / pages[0].filled) / std::log(x));
    return 0;
}
