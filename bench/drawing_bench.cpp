// Fill, copy, invert and xor-frame throughput on a 1280 x 800 world, beside
// pixman doing the same compositing on the same kind of buffer.
#include <pixman.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "platform/drawing/Blits.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/PixMaps.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"

using namespace platform;

namespace {

constexpr int kWidth = 1280, kHeight = 800, kRuns = 200;

// Median time of one call in microseconds.
double Measure(const std::function<void()>& f)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        auto start = std::chrono::steady_clock::now();
        f();
        auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

pixman_image_t* ImageOf(GWorldPtr world)
{
    PixMapHandle pm = GetGWorldPixMap(world);
    return pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight,
                                    reinterpret_cast<uint32_t*>(GetPixBaseAddr(pm)), GetPixRowBytes(pm));
}

}  // namespace

int main()
{
    Rect bounds{0, 0, kHeight, kWidth};
    GWorldPtr a = nullptr, b = nullptr, pa = nullptr, pb = nullptr;
    if (NewGWorld(&a, 32, &bounds, nullptr, nullptr, 0) || NewGWorld(&b, 32, &bounds, nullptr, nullptr, 0) ||
        NewGWorld(&pa, 32, &bounds, nullptr, nullptr, 0) || NewGWorld(&pb, 32, &bounds, nullptr, nullptr, 0)) {
        std::fprintf(stderr, "cannot make the worlds\n");
        return 1;
    }
    pixman_image_t* imgA = ImageOf(pa);
    pixman_image_t* imgB = ImageOf(pb);
    pixman_color_t black{0, 0, 0, 0xFFFF}, white{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    pixman_image_t* solidWhite = pixman_image_create_solid_fill(&white);
    const pixman_rectangle16_t full{0, 0, kWidth, kHeight};
    const pixman_rectangle16_t frame[4] = {
        {0, 0, kWidth, 1}, {0, kHeight - 1, kWidth, 1}, {0, 1, 1, kHeight - 2}, {kWidth - 1, 1, 1, kHeight - 2}};

    SetGWorld(a, nullptr);
    Pattern blackPat;
    GetQDGlobalsBlack(&blackPat);
    const BitMap* bitsA = GetPortBitMapForCopyBits(a);
    const BitMap* bitsB = GetPortBitMapForCopyBits(b);

    struct Row {
        const char* name;
        double ours, pixman;
    };
    std::vector<Row> rows;
    rows.push_back({"fill", Measure([&] { FillRect(&bounds, &blackPat); }),
                    Measure([&] { pixman_image_fill_rectangles(PIXMAN_OP_SRC, imgA, &black, 1, &full); })});
    rows.push_back({"copy", Measure([&] { CopyBits(bitsB, bitsA, &bounds, &bounds, srcCopy, nullptr); }),
                    Measure([&] {
                        pixman_image_composite32(PIXMAN_OP_SRC, imgB, nullptr, imgA, 0, 0, 0, 0, 0, 0, kWidth,
                                                 kHeight);
                    })});
    rows.push_back({"invert", Measure([&] { InvertRect(&bounds); }), Measure([&] {
                        pixman_image_composite32(PIXMAN_OP_DIFFERENCE, solidWhite, nullptr, imgA, 0, 0, 0, 0, 0,
                                                 0, kWidth, kHeight);
                    })});
    PenMode(patXor);
    rows.push_back({"xor-frame", Measure([&] { FrameRect(&bounds); }), Measure([&] {
                        pixman_image_fill_rectangles(PIXMAN_OP_DIFFERENCE, imgA, &white, 4, frame);
                    })});

    std::printf("1280 x 800, 32 bits, median of %d runs\n", kRuns);
    std::printf("%-10s %12s %12s %8s\n", "operation", "ours (us)", "pixman (us)", "ratio");
    for (const Row& r : rows)
        std::printf("%-10s %12.1f %12.1f %8.2f\n", r.name, r.ours, r.pixman, r.ours / r.pixman);

    pixman_image_unref(solidWhite);
    pixman_image_unref(imgA);
    pixman_image_unref(imgB);
    DisposeGWorld(a);
    DisposeGWorld(b);
    DisposeGWorld(pa);
    DisposeGWorld(pb);
    return 0;
}
